#include "SSELineSplitter.h"

namespace plimbo {

QList<QByteArray> SSELineSplitter::append(QByteArrayView bytes) {
    QList<QByteArray> lines;
    if (m_overflowed) {
        return lines;
    }
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    if (m_skipLineFeed && size > 0) {
        m_skipLineFeed = false;
        if (data[0] == '\n') {
            start = 1;
        }
    }
    for (qsizetype i = start; i < size; ++i) {
        const char c = data[i];
        if (c != '\n' && c != '\r') {
            continue;
        }
        if (m_pending.size() + (i - start) > m_maximumLineBytes) {
            return overflow(lines);
        }
        if (m_pending.isEmpty()) {
            lines.append(QByteArray(data + start, i - start));
        } else {
            m_pending.append(data + start, i - start);
            lines.append(std::move(m_pending));
            m_pending = QByteArray();
        }
        if (c == '\r') {
            if (i + 1 < size) {
                if (data[i + 1] == '\n') {
                    ++i;
                }
            } else {
                m_skipLineFeed = true;
            }
        }
        start = i + 1;
    }
    if (start < size) {
        if (m_pending.size() + (size - start) > m_maximumLineBytes) {
            return overflow(lines);
        }
        m_pending.append(data + start, size - start);
    }
    return lines;
}

QList<QByteArray> SSELineSplitter::overflow(QList<QByteArray>& completed) {
    m_overflowed = true;
    m_pending = QByteArray();
    // The lines before the long one are still the stream's.
    return std::move(completed);
}

std::optional<QByteArray> SSELineSplitter::finish() {
    m_skipLineFeed = false;
    if (m_overflowed) {
        return std::nullopt;
    }
    if (m_pending.isEmpty()) {
        return std::nullopt;
    }
    QByteArray last = std::move(m_pending);
    m_pending = QByteArray();
    return last;
}

} // namespace plimbo
