#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>

namespace plimbo {

// One captured clipboard text.
struct ClipboardItem {
    QUuid id;
    // Exactly as read, not trimmed.
    QString text;
    QDateTime createdAt;
    // Keeps the entry through eviction and clear().
    bool isPinned = false;

    // The text on one line (line feeds become spaces), at most 100 characters long, counted in
    // user-perceived characters.
    QString preview() const;

    bool operator==(const ClipboardItem&) const = default;
};

} // namespace plimbo
