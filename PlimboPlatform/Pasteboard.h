#pragma once

#include <QFuture>
#include <QList>
#include <QString>
#include <QUrl>

namespace plimbo {

// What one read of the clipboard found.
struct PasteboardText {
    enum class Status {
        text,
        // Nothing on the clipboard, or nothing that is plain text.
        noText,
        // A password manager marked the content as secret (MIME "x-kde-passwordManagerHint"
        // holding "secret"): it must never be kept, so it is not even read.
        concealed,
        // More text than the read allowed; none of it is kept.
        tooLarge,
        // The owner did not answer in time, or the read was abandoned for a newer one.
        failed,
    };

    Status status = Status::noText;
    // The text, when the status is `text`.
    QString text;

    bool operator==(const PasteboardText&) const = default;
};

// The desktop's general clipboard (never the X11 primary selection). The change count moves
// every time the content changes, whoever changed it, so callers can poll cheaply.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    virtual qint64 changeCount() const = 0;
    // Reads the plain text without blocking the calling thread, holding no more than
    // `maximumBytes` + 1 bytes of it at any time: larger text is `tooLarge`. The future may
    // finish on another thread (continue with whenFinished) or be finished already.
    virtual QFuture<PasteboardText> readText(qsizetype maximumBytes) = 0;
    // Each write replaces the whole content.
    virtual void writeText(const QString& text) = 0;
    virtual void writeFileUrls(const QList<QUrl>& urls) = 0;
};

} // namespace plimbo
