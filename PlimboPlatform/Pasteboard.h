#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace plimbo {

// The desktop's general clipboard (never the X11 primary selection). The change count moves
// every time the content changes, whoever changed it, so callers can poll cheaply.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    virtual qint64 changeCount() const = 0;
    // The plain text on the clipboard; none when it holds no text.
    virtual std::optional<QString> readText() const = 0;
    // True when a password manager marked the content as secret
    // (MIME "x-kde-passwordManagerHint" holding "secret"): it must never be kept.
    virtual bool isConcealed() const = 0;
    // Each write replaces the whole content.
    virtual void writeText(const QString& text) = 0;
    virtual void writeFileUrls(const QList<QUrl>& urls) = 0;
};

} // namespace plimbo
