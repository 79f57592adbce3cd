#include "PaletteItemKind.h"

namespace plimbo {

QString toString(PaletteItemKind kind) {
    switch (kind) {
    case PaletteItemKind::application:
        return QStringLiteral("application");
    case PaletteItemKind::command:
        return QStringLiteral("command");
    case PaletteItemKind::clipboard:
        return QStringLiteral("clipboard");
    case PaletteItemKind::ai:
        return QStringLiteral("ai");
    }
    return QStringLiteral("command");
}

std::optional<PaletteItemKind> paletteItemKindFromString(const QString& raw) {
    for (PaletteItemKind kind : {PaletteItemKind::application, PaletteItemKind::command,
                                 PaletteItemKind::clipboard, PaletteItemKind::ai}) {
        if (toString(kind) == raw) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace plimbo
