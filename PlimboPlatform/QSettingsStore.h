#pragma once

#include "SettingsStore.h"

#include <QSettings>

#include <memory>

namespace plimbo {

// User defaults in an INI file: $XDG_CONFIG_HOME/Plimbo/Plimbo.conf (~/.config when unset)
// by default.
class QSettingsStore : public SettingsStore {
public:
    QSettingsStore();
    // An INI file at an explicit path (tests, sandboxes).
    explicit QSettingsStore(const QString& filePath);
    ~QSettingsStore() override;

    bool contains(const QString& key) const override;
    QVariant value(const QString& key, const QVariant& defaultValue = {}) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace plimbo
