#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace plimbo {

// Cuts an event stream's bytes into lines as they arrive. Only LF, CR and CRLF end a line:
// Unicode line separators may stand inside JSON strings and must stay part of the payload.
//
// A line longer than the limit is never held: once one runs over, the splitter keeps nothing
// more and says so, since no honest event comes near the limit and a peer that sends one
// line without end must not exhaust memory.
class SSELineSplitter {
public:
    static constexpr qsizetype defaultMaximumLineBytes = 4 * 1024 * 1024;

    explicit SSELineSplitter(qsizetype maximumLineBytes = defaultMaximumLineBytes)
        : m_maximumLineBytes(maximumLineBytes) {}

    // Appends bytes and returns every line they complete, without its line break. Nothing
    // once a line has run over the limit.
    QList<QByteArray> append(QByteArrayView bytes);
    // The end of the stream: the last line when it had no line break.
    std::optional<QByteArray> finish();
    // A line ran over the limit; the stream cannot be read any further.
    bool overflowed() const { return m_overflowed; }

private:
    QList<QByteArray> overflow(QList<QByteArray>& completed);

    qsizetype m_maximumLineBytes;
    bool m_overflowed = false;
    QByteArray m_pending;
    // A CR ended the previous line; an LF right after it belongs to the same break.
    bool m_skipLineFeed = false;
};

} // namespace plimbo
