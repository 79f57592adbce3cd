#include "StreamBodyDecoder.h"
#include "AITestPrinters.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

using Kind = StreamBodyDecoder::Outcome::Kind;

const QByteArray twoWordsAndEnd = "data: {\"choices\":[{\"delta\":{\"content\":\"one\"}}]}\n"
                                  "data: {\"choices\":[{\"delta\":{\"content\":\"two\"}}]}\n"
                                  "data: [DONE]\n";

TEST(StreamBodyDecoderTest, AReceiverThatStopsTheStreamHearsNothingMore) {
    StreamBodyDecoder decoder;
    QList<AIStreamEvent> heard;
    const auto stopAtFirst = [&heard](const AIStreamEvent& event) {
        heard.append(event);
        return false;
    };
    const StreamBodyDecoder::Outcome outcome = decoder.append(twoWordsAndEnd, stopAtFirst);
    EXPECT_EQ(outcome.kind, Kind::abandoned);
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard.first(), AIStreamEvent::makeText(QStringLiteral("one")));
}

TEST(StreamBodyDecoderTest, TheReplyEndsAtTheMarkerOrWithTheBody) {
    QList<AIStreamEvent> heard;
    const auto listen = [&heard](const AIStreamEvent& event) {
        heard.append(event);
        return true;
    };

    // Lines after the end marker are never read.
    StreamBodyDecoder marked;
    EXPECT_EQ(marked.append(twoWordsAndEnd + "data: {broken\n", listen).kind, Kind::succeeded);
    EXPECT_EQ(heard.size(), 3);
    EXPECT_EQ(heard.last(), AIStreamEvent::makeFinished(std::nullopt));

    // A last line without a break still counts; text without a marker is a reply.
    heard.clear();
    StreamBodyDecoder unmarked;
    EXPECT_TRUE(unmarked.append("data: {\"choices\":[{\"delta\":{\"content\":\"hi\"}}]}", listen)
                    .isReading());
    EXPECT_TRUE(heard.isEmpty());
    EXPECT_EQ(unmarked.finish(listen).kind, Kind::succeeded);
    EXPECT_EQ(heard, QList<AIStreamEvent>{AIStreamEvent::makeText(QStringLiteral("hi"))});

    // A body without text or marker is not an answer.
    StreamBodyDecoder empty;
    EXPECT_TRUE(empty.append(": keep-alive\n\n", listen).isReading());
    const StreamBodyDecoder::Outcome nothing = empty.finish(listen);
    EXPECT_EQ(nothing.kind, Kind::failed);
    EXPECT_EQ(nothing.error, OpenRouterError::invalidResponse());
}

TEST(StreamBodyDecoderTest, AReceiverCanStopAtEveryKindOfEvent) {
    // One chunk with every event, the end marker after it; the receiver stops at one kind.
    const QByteArray body =
        R"(data: {"model":"m","choices":[{"delta":{"content":"hi"},"finish_reason":"stop"}],)"
        R"("usage":{"prompt_tokens":1,"completion_tokens":2,"total_tokens":3}})"
        "\ndata: [DONE]\n";
    const QList<AIStreamEvent> all = {
        AIStreamEvent::makeMetadata(QStringLiteral("m")),
        AIStreamEvent::makeText(QStringLiteral("hi")),
        AIStreamEvent::makeUsage(AIUsage{1, 2, 3}),
        AIStreamEvent::makeFinished(QStringLiteral("stop")),
        AIStreamEvent::makeFinished(std::nullopt),
    };
    for (qsizetype stopAt = 0; stopAt < all.size(); ++stopAt) {
        SCOPED_TRACE(stopAt);
        StreamBodyDecoder decoder;
        QList<AIStreamEvent> heard;
        const auto listen = [&](const AIStreamEvent& event) {
            heard.append(event);
            return heard.size() <= stopAt;
        };
        EXPECT_EQ(decoder.append(body, listen).kind, Kind::abandoned);
        EXPECT_EQ(heard, all.mid(0, stopAt + 1));
    }

    // The same when the body ends without a line break after the marker.
    StreamBodyDecoder unterminated;
    QList<AIStreamEvent> heard;
    const auto stopAtOnce = [&heard](const AIStreamEvent& event) {
        heard.append(event);
        return false;
    };
    EXPECT_TRUE(unterminated.append("data: [DONE]", stopAtOnce).isReading());
    EXPECT_EQ(unterminated.finish(stopAtOnce).kind, Kind::abandoned);
    EXPECT_EQ(heard, QList<AIStreamEvent>{AIStreamEvent::makeFinished(std::nullopt)});
}

QByteArray textChunk(const QByteArray& text) {
    return "data: {\"choices\":[{\"delta\":{\"content\":\"" + text + "\"}}]}\n";
}

TEST(StreamBodyDecoderTest, AnEndlessLineOrReplyFailsAsUnreadableAndKeepsTheTextBefore) {
    QList<AIStreamEvent> heard;
    const auto listen = [&heard](const AIStreamEvent& event) {
        heard.append(event);
        return true;
    };

    // One data line that never ends, arriving in pieces.
    StreamBodyDecoder endlessLine;
    EXPECT_TRUE(endlessLine.append(textChunk("before"), listen).isReading());
    EXPECT_TRUE(
        endlessLine.append("data: {\"choices\":[{\"delta\":{\"content\":\"", listen).isReading());
    const QByteArray piece(1024 * 1024, 'x');
    StreamBodyDecoder::Outcome outcome;
    int pieces = 0;
    do {
        outcome = endlessLine.append(piece, listen);
    } while (outcome.isReading() && ++pieces < 64);
    EXPECT_LE(pieces, 5);
    EXPECT_EQ(outcome.kind, Kind::failed);
    EXPECT_EQ(outcome.error, OpenRouterError::decodingFailed());
    EXPECT_EQ(heard, QList<AIStreamEvent>{AIStreamEvent::makeText(QStringLiteral("before"))});

    // Many well-formed lines whose text together runs over the reply's bound.
    heard.clear();
    StreamBodyDecoder endlessReply;
    const QByteArray line = textChunk(QByteArray(1024 * 1024, 'y'));
    pieces = 0;
    do {
        outcome = endlessReply.append(line, listen);
    } while (outcome.isReading() && ++pieces < 64);
    EXPECT_EQ(outcome.kind, Kind::failed);
    EXPECT_EQ(outcome.error, OpenRouterError::decodingFailed());
    qsizetype received = 0;
    for (const AIStreamEvent& event : heard) {
        received += event.text.size();
    }
    EXPECT_EQ(received, StreamBodyDecoder::maximumReplyCharacters);
}

} // namespace
