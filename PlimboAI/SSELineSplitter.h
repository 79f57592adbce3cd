#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace plimbo {

// Cuts an event stream's bytes into lines as they arrive. Only LF, CR and CRLF end a line:
// Unicode line separators may stand inside JSON strings and must stay part of the payload.
class SSELineSplitter {
public:
    // Appends bytes and returns every line they complete, without its line break.
    QList<QByteArray> append(QByteArrayView bytes);
    // The end of the stream: the last line when it had no line break.
    std::optional<QByteArray> finish();

private:
    QByteArray m_pending;
    // A CR ended the previous line; an LF right after it belongs to the same break.
    bool m_skipLineFeed = false;
};

} // namespace plimbo
