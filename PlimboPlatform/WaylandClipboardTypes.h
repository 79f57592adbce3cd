#pragma once

#include "Pasteboard.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace plimbo {

// What a Wayland clipboard offer's MIME types tell a reader, and how its bytes become text.
// The names are those X11 owners use too, since the compositor passes XWayland owners' targets
// on as MIME types.
class WaylandClipboardTypes {
public:
    WaylandClipboardTypes() = delete;

    // A password manager's mark; the content is secret when it holds "secret".
    static constexpr const char* passwordManagerHint = "x-kde-passwordManagerHint";
    // Each clipboard writer puts a type of its own beside what it writes, so its own copies
    // coming back through the compositor are not taken for new content: this, then a number
    // no other writer in any process uses.
    static constexpr const char* ownContentPrefix = "application/x-plimbo-copy-";

    // The text type to ask for, in order of preference; none when the offer has no text.
    static std::optional<QString> textType(const QStringList& offered);
    static bool offersPasswordHint(const QStringList& offered);
    // A type for one writer, unique across processes.
    static QString newOwnContentType();
    static bool hintSaysSecret(const QByteArray& hint);
    // The received bytes of `type` as text.
    static QString decode(QByteArray bytes, const QString& type);
};

} // namespace plimbo
