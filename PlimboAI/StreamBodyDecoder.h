#pragma once

#include "AIStreamEvent.h"
#include "OpenRouterError.h"
#include "SSELineSplitter.h"
#include "SSEParser.h"

#include <QByteArray>

#include <functional>
#include <optional>

namespace plimbo {

struct StreamChunk;

// Turns the body of a streamed chat reply, in pieces as they arrive, into events, and says
// when and how the reply has ended: at the end marker, at a chunk that cannot be decoded, at a
// provider error inside a chunk, or at the end of the body. Knows nothing of the network.
//
// A hostile or broken server cannot exhaust memory: a line over the splitter's limit or a
// reply text over `maximumReplyCharacters` fails the reply as unreadable; the text delivered
// before stays with the receiver.
class StreamBodyDecoder {
public:
    // Far beyond any model's output limit.
    static constexpr qsizetype maximumReplyCharacters = 8 * 1024 * 1024;

    // Receives each event in order; returns false when the stream must stop at once (its
    // receiver ended or deleted it).
    using EventSink = std::function<bool(const AIStreamEvent&)>;

    struct Outcome {
        enum class Kind {
            reading,   // more of the body may follow
            abandoned, // the sink stopped the stream
            succeeded,
            failed,
        };
        Kind kind = Kind::reading;
        std::optional<OpenRouterError> error; // with `failed`

        bool isReading() const { return kind == Kind::reading; }
        bool isAbandoned() const { return kind == Kind::abandoned; }
    };

    // Decodes the complete lines in `bytes`, stopping at the first line that ends the reply.
    Outcome append(const QByteArrayView& bytes, const EventSink& sink);
    // The body has ended: decodes a last line left without a break, then succeeds when some
    // text arrived and fails with an invalid response otherwise.
    Outcome finish(const EventSink& sink);

private:
    Outcome handleLine(const QByteArray& line, const EventSink& sink);
    Outcome handleChunk(const StreamChunk& chunk, const EventSink& sink);

    SSELineSplitter m_splitter;
    SSEParser m_parser;
    bool m_textSeen = false;
    qsizetype m_replyCharacters = 0;
};

} // namespace plimbo
