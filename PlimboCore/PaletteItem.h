#pragma once

#include "PaletteAction.h"
#include "PaletteItemKind.h"

#include <QHashFunctions>
#include <QMetaType>
#include <QString>

namespace plimbo {

// One entry of the command palette's result list; `id` is unique within one list.
struct PaletteItem {
    QString id;
    PaletteItemKind kind = PaletteItemKind::command;
    QString title;
    QString subtitle;
    QString symbol;
    PaletteAction action;
    double score = 0.0; // higher ranks first

    bool operator==(const PaletteItem&) const = default;
};

size_t qHash(const PaletteItem& item, size_t seed = 0) noexcept;

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::PaletteItem)
