#pragma once

#include "SettingsStore.h"

#include <QMap>

namespace plimbo {

// Settings kept in memory only; values are stored as given (a bool stays a bool).
class InMemorySettingsStore : public SettingsStore {
public:
    bool contains(const QString& key) const override { return m_values.contains(key); }
    QVariant value(const QString& key, const QVariant& defaultValue = {}) const override {
        return m_values.value(key, defaultValue);
    }
    void setValue(const QString& key, const QVariant& value) override {
        m_values.insert(key, value);
    }
    void remove(const QString& key) override { m_values.remove(key); }

    QMap<QString, QVariant> values() const { return m_values; }

private:
    QMap<QString, QVariant> m_values;
};

} // namespace plimbo
