#pragma once

#include "SettingsStore.h"

#include <QSettings>
#include <QVariantMap>

#include <memory>
#include <optional>

namespace plimbo {

// User defaults in an INI file: $XDG_CONFIG_HOME/Plimbo/Plimbo.conf (~/.config when unset)
// by default. Something other than a regular file at that path (a pipe would block the read
// for ever, a device could be anything) is never opened: the defaults then live in memory for
// the run, and problem() says why.
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
    // Why the file is not used, for the user; none when it is.
    std::optional<QString> problem() const { return m_problem; }

private:
    QString m_fileName;
    std::unique_ptr<QSettings> m_settings;
    // The defaults while the file is refused.
    QVariantMap m_memory;
    std::optional<QString> m_problem;
};

} // namespace plimbo
