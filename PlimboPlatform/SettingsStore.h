#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace plimbo {

// The user's defaults: a flat key/value store with dotted keys ("modules.<id>.enabled").
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual bool contains(const QString& key) const = 0;
    virtual QVariant value(const QString& key, const QVariant& defaultValue = {}) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;

    // A stored Boolean: only a bool or the exact texts "true"/"false" count; anything else
    // (absent, "1", "yes", a number) gives nullopt.
    std::optional<bool> boolValue(const QString& key) const;
};

} // namespace plimbo
