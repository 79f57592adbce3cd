#include "JsonPullReader.h"

#include <gtest/gtest.h>

#include <QList>

#include <cmath>
#include <limits>
#include <tuple>

using namespace plimbo;

namespace {

// Walks a whole document the way a caller skipping every member does; the error's detail, the
// part logs show and tests tell apart, or "(read)".
std::string failureOf(const QByteArray& bytes) {
    try {
        JsonPullReader reader(bytes);
        reader.skipValue();
        reader.finish();
    } catch (const JsonDecodingError& error) {
        return error.detail().toStdString();
    }
    return "(read)";
}

QString stringOf(const QByteArray& json) {
    JsonPullReader reader(json);
    const QString text = reader.string();
    reader.finish();
    return text;
}

// What reading one member value with `read` reports.
template <typename Read> std::string memberFailureOf(const QByteArray& value, Read read) {
    try {
        JsonPullReader reader(value);
        read(reader);
    } catch (const JsonDecodingError& error) {
        return error.detail().toStdString();
    }
    return "(read)";
}

} // namespace

// A document cut short, hand-edited or damaged fails with a detail that says what is wrong,
// not with a generic "bad document" or a wrong value read on.
TEST(JsonPullReader, NamesWhatIsWrongWithADamagedDocument) {
    const QByteArray deep = QByteArray(300, '[') + QByteArray(300, ']');
    const QList<std::pair<QByteArray, const char*>> cases{
        // Structure.
        {"[", "document: unexpected end"},
        {"[+1]", "document: unexpected character"},
        {R"([{"x":x}])", "document: unexpected character"},
        {"[{", "document: expected a key"},
        {R"([{1:2}])", "document: expected a key"},
        {R"([{"x":12)", "document: unexpected character"},
        {R"([{"id")", "document: unexpected character"},
        {"[{\"a\x01\":1}]", "document: control character in key"},
        {R"([{"x":)" + deep + "}]", "document: nested too deeply"},
        // Literals.
        {R"([{"x":tru}])", "document: bad literal"},
        {R"([{"x":fals}])", "document: bad literal"},
        {R"([{"x":t)", "document: bad literal"},
        {R"([{"x":nul}])", "document: bad literal"},
        // Numbers.
        {R"([{"x":-)", "document: bad number"},
        {R"([{"x":1.)", "document: bad number"},
        {R"([{"x":1.x}])", "document: bad number"},
        {R"([{"x":1e)", "document: bad number"},
        {R"([{"x":1e+}])", "document: bad number"},
        {R"([{"x":1.5)", "document: unexpected character"},
        {R"([{"x":1e5)", "document: unexpected character"},
        // Strings.
        {R"([{"title":"abc)", "document: unterminated string"},
        {R"([{"title":"a\nb)", "document: unterminated string"},
        {R"([{"title":"a\)", "document: unterminated string"},
        {"[{\"title\":\"a\tb\"}]", "document: control character in string"},
        {R"([{"title":"\u1)", "document: bad escape"},
        {R"([{"title":"\u00g9"}])", "document: bad escape"},
        {R"([{"title":"\u00:9"}])", "document: bad escape"},
        {R"([{"title":"\u00+9"}])", "document: bad escape"},
        // The same faults after an unpaired surrogate, which is read another way.
        {R"([{"title":"\udc00abc)", "document: unterminated string"},
        {R"([{"title":"\udc00\)", "document: unterminated string"},
        {"[{\"title\":\"\\udc00a\x01\"}]", "document: control character in string"},
        {R"([{"title":"\udc00\x"}])", "document: bad escape"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(failureOf(bytes), expected) << bytes.constData();
    }
}

TEST(JsonPullReader, RejectsMalformedJson) {
    const QByteArray good = R"([{"a":"caf\u00e9 café","b":"x\ny\\z","c":[1,-2.5e3,true,false,)"
                            R"(null],"d":{}},{"e":"f"}])";
    ASSERT_EQ(failureOf(good), "(read)");

    QByteArray invalidUtf8 = good;
    invalidUtf8.replace("café", "caf\xc3\x28");
    QByteArray rawControl = good;
    rawControl.replace("\\n", "\n");
    QByteArray badEscape = good;
    badEscape.replace("\\\\", "\\x");
    const QByteArray deep = "[" + QByteArray(300, '[') + QByteArray(300, ']') + "]";

    const QList<std::tuple<const char*, QByteArray, const char*>> cases{
        {"invalid UTF-8 in a string", invalidUtf8, "document: invalid UTF-8"},
        {"raw control character in a string", rawControl, "document: control character in string"},
        {"unknown escape", badEscape, "document: bad escape"},
        {"text after the document", good + " []", "document: text after the document"},
        {"trailing comma in array", "[" + good.mid(1, good.size() - 2) + ",]",
         "document: unexpected character"},
        {"missing comma", QByteArray(good).replace("\",\"", "\" \""),
         "document: unexpected character"},
        {"number with leading zero", R"([{"createdAt":01}])", "document: unexpected character"},
        {"number without digits", R"([{"createdAt":-}])", "document: bad number"},
        {"bare word", "[nul]", "document: bad literal"},
        {"nested too deeply", deep, "document: nested too deeply"},
    };
    for (const auto& [name, bytes, expected] : cases) {
        EXPECT_EQ(failureOf(bytes), expected) << name;
    }
}

// However a document is cut short, reading it fails as malformed and never reads past its end.
TEST(JsonPullReader, EveryTruncationFails) {
    const QByteArray document = R"( [ {"k" : "v\u00e9\"\ud83d\ude00", "n":-1.5e+3, "t":true,)"
                                R"( "f":false, "z":null, "a":[{}, [], "\udc00"]} ] )";
    ASSERT_EQ(failureOf(document), "(read)");
    const qsizetype end = document.trimmed().size() + 1; // the leading space
    for (qsizetype length = 0; length < end; ++length) {
        EXPECT_EQ(failureOf(document.left(length)).rfind("document: ", 0), 0u) << length;
    }
}

TEST(JsonPullReader, NestingUpToTheLimitIsSkipped) {
    const int limit = 257; // skipValue's own level plus 256 nested ones
    EXPECT_EQ(failureOf(QByteArray(limit, '[') + QByteArray(limit, ']')), "(read)");
    EXPECT_EQ(failureOf(QByteArray(limit + 1, '[') + QByteArray(limit + 1, ']')),
              "document: nested too deeply");
}

TEST(JsonPullReader, ReadsEscapesAndSurrogatesAsQJsonDocumentDoes) {
    const QChar high(0xd83d);
    const QChar low(0xde00);
    EXPECT_EQ(stringOf(R"("plain")"), "plain");
    EXPECT_EQ(stringOf("\"caf\xc3\xa9 \xe6\x9d\xb1\""), QString::fromUtf8("café 東"));
    EXPECT_EQ(stringOf(R"("\"\\\/\b\f\n\r\t")"), QStringLiteral("\"\\/\b\f\n\r\t"));
    EXPECT_EQ(stringOf(R"("\u6771\u4EAC \u00E9")"), QString::fromUtf8("東京 é"));
    // A pair written as two escapes is one character; an unpaired half survives as it is.
    EXPECT_EQ(stringOf(R"("\ud83d\ude00")"), QString::fromUtf8("😀"));
    EXPECT_EQ(stringOf(R"("\ude00x")"), low + QStringLiteral("x"));
    EXPECT_EQ(stringOf(R"("\ud83d\u0041x")"), high + QStringLiteral("Ax"));
    EXPECT_EQ(stringOf(R"("x\ud83d")"), QStringLiteral("x") + high);
    EXPECT_EQ(stringOf(R"("\ud83d\n\udc00")"), high + QStringLiteral("\n") + QChar(0xdc00));
    // A long run without escapes, read in words, keeps its end.
    const QByteArray longRun = QByteArray(61, 'a') + "\xc3\xa9" + QByteArray(13, 'b');
    EXPECT_EQ(stringOf("\"" + longRun + "\""), QString::fromUtf8(longRun));
}

TEST(JsonPullReader, NumbersAndIntegers) {
    const auto numberOf = [](const QByteArray& text) {
        JsonPullReader reader(text);
        return reader.number();
    };
    EXPECT_EQ(numberOf("1E+2"), 100);
    EXPECT_EQ(numberOf("2.5e-1"), 0.25);
    EXPECT_TRUE(std::signbit(numberOf("-0.0")));
    EXPECT_EQ(numberOf("786276000.123456"), 786276000.123456);
    // Out of range reads as an infinity, as QJsonDocument reads it.
    EXPECT_EQ(numberOf("1e400"), HUGE_VAL);
    EXPECT_EQ(numberOf("-1e400"), -HUGE_VAL);

    const auto integerOf = [](const QByteArray& text) -> std::optional<qint64> {
        JsonPullReader reader(text);
        qint64 value = 0;
        return reader.integer(value) ? std::optional(value) : std::nullopt;
    };
    EXPECT_EQ(integerOf("12"), 12);
    EXPECT_EQ(integerOf("1.2e1"), 12);
    EXPECT_EQ(integerOf("12.0"), 12);
    EXPECT_EQ(integerOf("9223372036854775807"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(integerOf("-9223372036854775808"), std::numeric_limits<qint64>::min());
    EXPECT_EQ(integerOf("12.5"), std::nullopt);
    const auto requireInteger = [](JsonPullReader& r) {
        r.requireInteger("byteCount");
    };
    for (const QByteArray text : {"1e19", "-9.3e18", "99999999999999999999"}) {
        EXPECT_EQ(memberFailureOf(text, requireInteger), "byteCount: expected an integer")
            << text.constData();
    }
}

// Member values fail as json::require… does: a null is missing, another kind is the wrong type.
TEST(JsonPullReader, MemberValuesNameTheirKey) {
    const auto requireString = [](JsonPullReader& r) {
        r.requireString("title");
    };
    EXPECT_EQ(memberFailureOf("null", requireString), "title: missing value");
    EXPECT_EQ(memberFailureOf("1", requireString), "title: expected a string");
    EXPECT_EQ(memberFailureOf("\"t\"", requireString), "(read)");

    const auto requireUuid = [](JsonPullReader& r) {
        r.requireUuid("id");
    };
    EXPECT_EQ(memberFailureOf(R"("{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}")", requireUuid),
              "id: malformed UUID");
    EXPECT_EQ(memberFailureOf(R"("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")", requireUuid), "(read)");

    const auto requireDouble = [](JsonPullReader& r) {
        r.requireDouble("at");
    };
    EXPECT_EQ(memberFailureOf("\"1\"", requireDouble), "at: expected a number");
    const auto requireInteger = [](JsonPullReader& r) {
        r.requireInteger("n");
    };
    EXPECT_EQ(memberFailureOf("null", requireInteger), "n: missing value");
    EXPECT_EQ(memberFailureOf("true", requireInteger), "n: expected an integer");

    const auto beginObject = [](JsonPullReader& r) {
        r.beginObject("session");
    };
    EXPECT_EQ(memberFailureOf("[]", beginObject), "session: expected an object");
    EXPECT_EQ(memberFailureOf("null", beginObject), "session: missing value");
    const auto beginArray = [](JsonPullReader& r) {
        r.beginArray("turns");
    };
    EXPECT_EQ(memberFailureOf("{}", beginArray), "turns: expected an array");

    const QByteArray array = "[null,\"x\"]";
    JsonPullReader optional(array);
    optional.beginArray();
    ASSERT_TRUE(optional.hasElement());
    EXPECT_EQ(optional.optionalString("a"), std::nullopt);
    optional.afterValue();
    ASSERT_TRUE(optional.hasElement());
    EXPECT_EQ(optional.optionalString("a"), "x");
    optional.afterValue();
    EXPECT_FALSE(optional.hasElement());
}

// The reader hands every key to the caller in document order, repeats included: whether a later
// member replaces an earlier one is the caller's rule.
TEST(JsonPullReader, KeysComeInDocumentOrder) {
    const QByteArray document = R"({"b":1, "a":{"x":[2]}, "b":2, "c\u0041":3})";
    JsonPullReader reader(document);
    QList<QByteArray> keys;
    QByteArray key;
    reader.beginObject();
    while (reader.nextKey(key)) {
        keys.append(key);
        reader.skipValue();
        reader.afterValue();
    }
    reader.finish();
    EXPECT_EQ(keys, (QList<QByteArray>{"b", "a", "b", "cA"}));
}
