#include "SettingsSection.h"

namespace plimbo {

QString toString(SettingsSection section) {
    switch (section) {
    case SettingsSection::general:
        return QStringLiteral("general");
    case SettingsSection::modules:
        return QStringLiteral("modules");
    case SettingsSection::openRouter:
        return QStringLiteral("openRouter");
    case SettingsSection::privacy:
        return QStringLiteral("privacy");
    }
    return QStringLiteral("general");
}

QList<SettingsSection> allSettingsSections() {
    return {SettingsSection::general, SettingsSection::modules, SettingsSection::openRouter,
            SettingsSection::privacy};
}

std::optional<SettingsSection> settingsSectionFromString(const QString& raw) {
    for (SettingsSection section : allSettingsSections()) {
        if (toString(section) == raw) {
            return section;
        }
    }
    return std::nullopt;
}

} // namespace plimbo
