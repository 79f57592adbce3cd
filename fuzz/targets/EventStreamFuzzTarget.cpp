#include "EventStreamFuzzTarget.h"

#include "AIStreamEvent.h"
#include "FuzzCheck.h"
#include "JsonDecodingError.h"
#include "OpenRouterError.h"
#include "SSELineSplitter.h"
#include "SSEParser.h"
#include "StreamChunk.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <array>
#include <optional>

namespace plimbo {

namespace {

// Piece sizes for the body: the control byte picks the largest piece (one byte up to a whole
// network read) and seeds a small generator for the sizes, so line breaks, CR LF pairs and
// UTF-8 sequences land on every kind of boundary.
QList<QByteArrayView> cutIntoPieces(QByteArrayView body, uint8_t control) {
    static constexpr std::array<qsizetype, 8> largest{1, 2, 3, 5, 8, 64, 512, 16384};
    const qsizetype limit = largest[control & 7];
    uint32_t state = 0x9e3779b9u ^ (uint32_t(control) * 0x01000193u);
    QList<QByteArrayView> pieces;
    for (qsizetype at = 0; at < body.size();) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const qsizetype size =
            std::min<qsizetype>(1 + qsizetype(state % uint32_t(limit)), body.size() - at);
        pieces.append(body.sliced(at, size));
        at += size;
    }
    return pieces;
}

QList<QByteArray> splitWhole(QByteArrayView body) {
    SSELineSplitter splitter;
    QList<QByteArray> lines = splitter.append(body);
    if (const std::optional<QByteArray> last = splitter.finish()) {
        lines.append(*last);
    }
    return lines;
}

// OpenRouterStream's handling of one reply, minus the signals: each step stops exactly where
// the stream would end (end marker, undecodable chunk, provider error).
class StreamReplay {
public:
    // False once the stream has ended.
    bool handleLine(const QByteArray& line) {
        const SSEParseResult result = m_parser.parse(QString::fromUtf8(line));
        switch (result.kind()) {
        case SSEParseResult::Kind::ignored:
            return true;
        case SSEParseResult::Kind::done:
            m_events.append(AIStreamEvent::makeFinished(std::nullopt));
            return false;
        case SSEParseResult::Kind::payload:
            break;
        }
        StreamChunk chunk;
        try {
            chunk = StreamChunk::fromJsonBytes(result.bytes());
        } catch (const JsonDecodingError&) {
            m_failure = OpenRouterError::decodingFailed();
            return false;
        }
        return handleChunk(chunk);
    }

    // The body ended without an end marker.
    void finish() {
        if (!m_failure && !m_textSeen) {
            m_failure = OpenRouterError::invalidResponse();
        }
    }

    const QList<AIStreamEvent>& events() const { return m_events; }

private:
    bool handleChunk(const StreamChunk& chunk) {
        const StreamChunk::Choice* choice =
            chunk.choices.isEmpty() ? nullptr : &chunk.choices.first();
        if (chunk.model) {
            m_events.append(AIStreamEvent::makeMetadata(chunk.model));
        }
        if (choice && choice->delta.content && !choice->delta.content->isEmpty()) {
            m_textSeen = true;
            m_events.append(AIStreamEvent::makeText(*choice->delta.content));
        }
        if (chunk.usage) {
            m_events.append(AIStreamEvent::makeUsage(chunk.usage->toAIUsage()));
        }
        const bool errorFinish = choice && choice->finishReason == QStringLiteral("error");
        if (chunk.error || errorFinish) {
            const std::optional<QString> message =
                chunk.error ? chunk.error->message : std::nullopt;
            if (message && !message->isEmpty()) {
                const QString shown = OpenRouterError::shortened(*message);
                fuzzCheck(message->startsWith(shown) && !shown.isEmpty(),
                          "a shortened provider message is a non-empty prefix of it");
                m_failure = OpenRouterError::message(shown);
            } else {
                m_failure = OpenRouterError::invalidResponse();
            }
            // The user sees this text.
            fuzzCheck(!m_failure->description().isEmpty(), "a stream failure has a description");
            return false;
        }
        if (choice && choice->finishReason) {
            m_events.append(AIStreamEvent::makeFinished(choice->finishReason));
        }
        return true;
    }

    SSEParser m_parser;
    QList<AIStreamEvent> m_events;
    std::optional<OpenRouterError> m_failure;
    bool m_textSeen = false;
};

} // namespace

int fuzzEventStream(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const QByteArrayView body(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const QList<QByteArray> expected = splitWhole(body);
    for (const QByteArray& line : expected) {
        fuzzCheck(!line.contains('\n') && !line.contains('\r'), "a line holds no line break");
    }

    SSELineSplitter splitter;
    StreamReplay replay;
    QList<QByteArray> lines;
    bool open = true;
    for (const QByteArrayView piece : cutIntoPieces(body, data[0])) {
        // The splitter keeps running after the stream ends so every line can be compared.
        for (const QByteArray& line : splitter.append(piece)) {
            lines.append(line);
            open = open && replay.handleLine(line);
        }
    }
    if (const std::optional<QByteArray> last = splitter.finish()) {
        lines.append(*last);
        open = open && replay.handleLine(*last);
    }
    if (open) {
        replay.finish();
    }
    fuzzCheck(lines == expected, "cutting the body into pieces leaves its lines unchanged");
    return 0;
}

} // namespace plimbo
