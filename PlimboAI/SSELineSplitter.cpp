#include "SSELineSplitter.h"

namespace plimbo {

QList<QByteArray> SSELineSplitter::append(QByteArrayView bytes) {
    QList<QByteArray> lines;
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
        m_pending.append(data + start, size - start);
    }
    return lines;
}

std::optional<QByteArray> SSELineSplitter::finish() {
    m_skipLineFeed = false;
    if (m_pending.isEmpty()) {
        return std::nullopt;
    }
    QByteArray last = std::move(m_pending);
    m_pending = QByteArray();
    return last;
}

} // namespace plimbo
