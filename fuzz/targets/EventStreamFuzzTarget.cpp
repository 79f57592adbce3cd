#include "EventStreamFuzzTarget.h"

#include "AIStreamEvent.h"
#include "FuzzCheck.h"
#include "OpenRouterError.h"
#include "SSELineSplitter.h"
#include "StreamBodyDecoder.h"

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

// Everything the stream's receiver would learn from one body.
struct Decoded {
    QList<AIStreamEvent> events;
    StreamBodyDecoder::Outcome outcome;
};

Decoded decode(const QList<QByteArrayView>& pieces) {
    Decoded decoded;
    StreamBodyDecoder decoder;
    const auto sink = [&decoded](const AIStreamEvent& event) {
        decoded.events.append(event);
        return true;
    };
    for (const QByteArrayView piece : pieces) {
        decoded.outcome = decoder.append(piece, sink);
        if (!decoded.outcome.isReading()) {
            return decoded;
        }
    }
    decoded.outcome = decoder.finish(sink);
    return decoded;
}

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

    const QList<QByteArrayView> pieces = cutIntoPieces(body, data[0]);
    SSELineSplitter splitter;
    QList<QByteArray> lines;
    for (const QByteArrayView piece : pieces) {
        lines.append(splitter.append(piece));
    }
    if (const std::optional<QByteArray> last = splitter.finish()) {
        lines.append(*last);
    }
    fuzzCheck(lines == expected, "cutting the body into pieces leaves its lines unchanged");

    const Decoded cut = decode(pieces);
    const Decoded whole = decode({body});
    fuzzCheck(!cut.outcome.isReading(), "a decoded body always ends");
    fuzzCheck(cut.events == whole.events, "cutting the body leaves its events unchanged");
    fuzzCheck(cut.outcome.kind == whole.outcome.kind && cut.outcome.error == whole.outcome.error,
              "cutting the body leaves its ending unchanged");
    if (cut.outcome.error) {
        // The user sees this text.
        fuzzCheck(!cut.outcome.error->description().isEmpty(),
                  "a stream failure has a description");
    }
    return 0;
}

} // namespace plimbo
