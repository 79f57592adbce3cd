#include "SSEParser.h"
#include "AITestPrinters.h"
#include "SSELineSplitter.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

struct ParseCase {
    const char16_t* line;
    SSEParseResult expected;
};

TEST(SSEParserTest, ClassifiesLines) {
    const ParseCase cases[] = {
        {u"data: {\"a\":1}", SSEParseResult::payload("{\"a\":1}")},
        {u"data:{\"a\":1}", SSEParseResult::payload("{\"a\":1}")},
        {u"data: {\"a\":1}  \t", SSEParseResult::payload("{\"a\":1}")},
        {u"data:", SSEParseResult::payload({})},
        {u"data: \t ", SSEParseResult::payload({})},
        {u"data: [DONE]", SSEParseResult::done()},
        {u"data:[DONE]", SSEParseResult::done()},
        {u"data: \t[DONE] \t", SSEParseResult::done()},
        // No-break and ideographic spaces are space separators too.
        {u"data:\u00a0[DONE]\u3000", SSEParseResult::done()},
        {u"data: [done]", SSEParseResult::payload("[done]")},
        {u"data: [DONE]x", SSEParseResult::payload("[DONE]x")},
        {u"data: \"\u00e9\u2028\"", SSEParseResult::payload("\"\xc3\xa9\xe2\x80\xa8\"")},
        {u" data: [DONE]", SSEParseResult::ignored()},
        {u"Data: [DONE]", SSEParseResult::ignored()},
        {u"DATA: {}", SSEParseResult::ignored()},
        {u"data [DONE]", SSEParseResult::ignored()},
        {u"dat", SSEParseResult::ignored()},
        {u"", SSEParseResult::ignored()},
        {u": OPENROUTER PROCESSING", SSEParseResult::ignored()},
        {u"event: message", SSEParseResult::ignored()},
        {u"id: 7", SSEParseResult::ignored()},
        {u"retry: 1000", SSEParseResult::ignored()},
    };
    const SSEParser parser;
    for (const ParseCase& item : cases) {
        const QString line = QString::fromUtf16(item.line);
        SCOPED_TRACE(line.toStdString());
        const SSEParseResult result = parser.parse(line);
        EXPECT_EQ(result.kind(), item.expected.kind());
        EXPECT_EQ(result.bytes(), item.expected.bytes());
    }
}

QList<QByteArray> splitAll(const QList<QByteArray>& pieces, bool finish = true) {
    SSELineSplitter splitter;
    QList<QByteArray> lines;
    for (const QByteArray& piece : pieces) {
        lines += splitter.append(piece);
    }
    if (finish) {
        if (const auto last = splitter.finish()) {
            lines.append(*last);
        }
    }
    return lines;
}

QList<QByteArray> oneBytePieces(const QByteArray& bytes) {
    QList<QByteArray> pieces;
    for (char c : bytes) {
        pieces.append(QByteArray(1, c));
    }
    return pieces;
}

TEST(SSELineSplitterTest, SplitsOnLineFeedCarriageReturnAndBoth) {
    struct Case {
        QByteArray bytes;
        QList<QByteArray> lines;
    };
    const Case cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\n", {""}},
        {"", {}},
        {"last line without break", {"last line without break"}},
        // U+2028, U+2029, U+0085 and form feed stay inside the line.
        {"x\xe2\x80\xa8y\xe2\x80\xa9z\xc2\x85w\x0bv\x0cu\n",
         {"x\xe2\x80\xa8y\xe2\x80\xa9z\xc2\x85w\x0bv\x0cu"}},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.bytes.toStdString());
        EXPECT_EQ(splitAll({item.bytes}), item.lines);
        EXPECT_EQ(splitAll(oneBytePieces(item.bytes)), item.lines);
    }
}

TEST(SSELineSplitterTest, CarriageReturnAtEndOfChunkStillPairsWithFollowingLineFeed) {
    SSELineSplitter splitter;
    EXPECT_EQ(splitter.append("data: 1\r"), QList<QByteArray>{"data: 1"});
    EXPECT_EQ(splitter.append("\ndata: 2\r"), QList<QByteArray>{"data: 2"});
    EXPECT_EQ(splitter.append("\r"), QList<QByteArray>{""});
    EXPECT_TRUE(splitter.append("\n").isEmpty());
    EXPECT_EQ(splitter.append("\n"), QList<QByteArray>{""});
    EXPECT_FALSE(splitter.finish().has_value());

    // An empty read between the two halves changes nothing.
    EXPECT_EQ(splitter.append("data: 3\r"), QList<QByteArray>{"data: 3"});
    EXPECT_TRUE(splitter.append(QByteArrayView()).isEmpty());
    EXPECT_TRUE(splitter.append("").isEmpty());
    EXPECT_TRUE(splitter.append("\n").isEmpty());
    EXPECT_FALSE(splitter.finish().has_value());
}

TEST(SSELineSplitterTest, KeepsPartialLineUntilItsBreakArrives) {
    SSELineSplitter splitter;
    EXPECT_TRUE(splitter.append("data: {\"x\"").isEmpty());
    EXPECT_TRUE(splitter.append(":1}").isEmpty());
    EXPECT_EQ(splitter.append("\ndata: [DO"), QList<QByteArray>{"data: {\"x\":1}"});
    EXPECT_EQ(splitter.finish(), QByteArray("data: [DO"));
    EXPECT_FALSE(splitter.finish().has_value());
}

TEST(SSELineSplitterTest, ALineOverTheLimitIsDroppedAndEndsTheSplitting) {
    // Exactly the limit is still a line, in one piece or in several.
    SSELineSplitter atLimit(8);
    EXPECT_TRUE(atLimit.append("data").isEmpty());
    EXPECT_EQ(atLimit.append(": 12\n"), QList<QByteArray>{"data: 12"});
    EXPECT_FALSE(atLimit.overflowed());

    // One byte more, without a line break, is held no longer; the lines before it stay.
    SSELineSplitter pieces(8);
    EXPECT_EQ(pieces.append("a\ndata: 12"), QList<QByteArray>{"a"});
    EXPECT_TRUE(pieces.append("3").isEmpty());
    EXPECT_TRUE(pieces.overflowed());
    EXPECT_TRUE(pieces.append("\nb\n").isEmpty());
    EXPECT_FALSE(pieces.finish().has_value());

    SSELineSplitter whole(8);
    EXPECT_EQ(whole.append("a\ndata: 123\nb\n"), QList<QByteArray>{"a"});
    EXPECT_TRUE(whole.overflowed());
}

} // namespace
