#include "StreamBodyDecoder.h"

#include "JsonDecodingError.h"
#include "StreamChunk.h"

namespace plimbo {

namespace {

using Kind = StreamBodyDecoder::Outcome::Kind;

StreamBodyDecoder::Outcome outcome(Kind kind) {
    return {kind, std::nullopt};
}

StreamBodyDecoder::Outcome failure(const OpenRouterError& error) {
    return {Kind::failed, error};
}

} // namespace

StreamBodyDecoder::Outcome StreamBodyDecoder::append(const QByteArrayView& bytes,
                                                     const EventSink& sink) {
    for (const QByteArray& line : m_splitter.append(bytes)) {
        Outcome result = handleLine(line, sink);
        if (!result.isReading()) {
            return result;
        }
    }
    if (m_splitter.overflowed()) {
        return failure(OpenRouterError::decodingFailed());
    }
    return outcome(Kind::reading);
}

StreamBodyDecoder::Outcome StreamBodyDecoder::finish(const EventSink& sink) {
    // The last line may come without a line break.
    if (const std::optional<QByteArray> last = m_splitter.finish()) {
        Outcome result = handleLine(*last, sink);
        if (!result.isReading()) {
            return result;
        }
    }
    return m_textSeen ? outcome(Kind::succeeded) : failure(OpenRouterError::invalidResponse());
}

StreamBodyDecoder::Outcome StreamBodyDecoder::handleLine(const QByteArray& line,
                                                         const EventSink& sink) {
    const SSEParseResult result = m_parser.parse(QString::fromUtf8(line));
    switch (result.kind()) {
    case SSEParseResult::Kind::ignored:
        return outcome(Kind::reading);
    case SSEParseResult::Kind::done:
        return outcome(sink(AIStreamEvent::makeFinished(std::nullopt)) ? Kind::succeeded
                                                                       : Kind::abandoned);
    case SSEParseResult::Kind::payload:
        break;
    }
    StreamChunk chunk;
    try {
        chunk = StreamChunk::fromJsonBytes(result.bytes());
    } catch (const JsonDecodingError&) {
        return failure(OpenRouterError::decodingFailed());
    }
    return handleChunk(chunk, sink);
}

StreamBodyDecoder::Outcome StreamBodyDecoder::handleChunk(const StreamChunk& chunk,
                                                          const EventSink& sink) {
    const StreamChunk::Choice* choice = chunk.choices.isEmpty() ? nullptr : &chunk.choices.first();
    if (chunk.model && !sink(AIStreamEvent::makeMetadata(chunk.model))) {
        return outcome(Kind::abandoned);
    }
    if (choice && choice->delta.content && !choice->delta.content->isEmpty()) {
        m_replyCharacters += choice->delta.content->size();
        if (m_replyCharacters > maximumReplyCharacters) {
            return failure(OpenRouterError::decodingFailed());
        }
        m_textSeen = true;
        if (!sink(AIStreamEvent::makeText(*choice->delta.content))) {
            return outcome(Kind::abandoned);
        }
    }
    if (chunk.usage && !sink(AIStreamEvent::makeUsage(chunk.usage->toAIUsage()))) {
        return outcome(Kind::abandoned);
    }
    // A provider that fails mid-reply still answers 200 and says so in the chunk; that is a
    // failure, not a finished reply. Text already delivered stays with the receiver.
    const bool errorFinish = choice && choice->finishReason == QStringLiteral("error");
    if (chunk.error || errorFinish) {
        const std::optional<QString> message = chunk.error ? chunk.error->message : std::nullopt;
        if (message && !message->isEmpty()) {
            return failure(OpenRouterError::message(OpenRouterError::shortened(*message)));
        }
        return failure(OpenRouterError::invalidResponse());
    }
    if (choice && choice->finishReason &&
        !sink(AIStreamEvent::makeFinished(choice->finishReason))) {
        return outcome(Kind::abandoned);
    }
    return outcome(Kind::reading);
}

} // namespace plimbo
