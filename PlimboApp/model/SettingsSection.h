#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

namespace plimbo {

// The settings window's tabs, in tab order.
enum class SettingsSection { general, modules, openRouter, privacy };

// Raw value: the case name.
QString toString(SettingsSection section);
// Exact, case-sensitive match of the raw value.
std::optional<SettingsSection> settingsSectionFromString(const QString& raw);
QList<SettingsSection> allSettingsSections();

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::SettingsSection)
