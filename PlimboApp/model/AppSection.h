#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

namespace plimbo {

// The dashboard's sidebar sections, in sidebar order.
enum class AppSection { overview, launcher, clipboard, ai, permissions, diagnostics };

// Raw value (also the id): the case name.
QString toString(AppSection section);
// Exact, case-sensitive match of the raw value.
std::optional<AppSection> appSectionFromString(const QString& raw);
QList<AppSection> allAppSections();

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::AppSection)
