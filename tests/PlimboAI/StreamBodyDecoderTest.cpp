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

} // namespace
