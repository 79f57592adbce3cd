#pragma once

#include <QString>

#include <optional>

namespace plimbo {

// The group a palette entry belongs to.
enum class PaletteItemKind { application, command, clipboard, ai };

QString toString(PaletteItemKind kind);
// Exact, case-sensitive match of the raw value.
std::optional<PaletteItemKind> paletteItemKindFromString(const QString& raw);

} // namespace plimbo
