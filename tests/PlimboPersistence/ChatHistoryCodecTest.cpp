#include "ChatHistoryCodec.h"
#include "AIChatHistoryStore.h"
#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QRandomGenerator>
#include <QTimeZone>

#include <limits>

using namespace plimbo;

namespace {

QByteArray encodeThroughRecords(const QList<AIChatSession>& sessions) {
    QJsonArray array;
    for (const AIChatSession& session : sessions) {
        array.append(session.toJson());
    }
    return json::toCompactBytes(array);
}

// Text that exercises every escaping rule: controls, quotes, backslashes, slashes, DEL,
// two- three- and four-byte UTF-8, and unpaired surrogates.
QString awkwardText(int variant) {
    QString text = QStringLiteral("plain \"quoted\" back\\slash /slash \x7f café 東京 ");
    for (char16_t c = 0; c < 0x20; ++c) {
        text += QChar(c);
    }
    text += QString::fromUtf8("😀 emoji");
    switch (variant % 4) {
    case 0:
        text += QChar(0xd83d); // high surrogate at the end
        break;
    case 1:
        text += QChar(0xde00) + QStringLiteral("x"); // lone low surrogate
        break;
    case 2:
        text = QChar(0xd800) + text; // lone high surrogate first
        break;
    default:
        break;
    }
    return text;
}

QList<AIChatSession> variedHistory() {
    QRandomGenerator random(20261207);
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    const QList<qint64> byteCounts{0, 1, 9007199254740993LL, std::numeric_limits<qint64>::max(),
                                   -5};
    QList<AIChatSession> sessions;
    for (int chat = 0; chat < 6; ++chat) {
        AIChatSession session{QUuid::createUuid(),
                              awkwardText(chat),
                              {},
                              reference.addMSecs(random.bounded(4000000000000LL) - 100000),
                              reference.addMSecs(random.bounded(4000000000000LL))};
        for (int turn = 0; turn < 8; ++turn) {
            QList<AIChatAttachment> attachments;
            for (int a = 0; a < turn % 3; ++a) {
                attachments.append(AIChatAttachment{
                    QUuid::createUuid(), awkwardText(a), QStringLiteral("text/plain"),
                    static_cast<AIChatAttachmentKind>(a % 3), byteCounts.at((turn + a) % 5),
                    QStringLiteral("NAME.txt")});
            }
            const std::optional<QString> failure =
                turn % 2 ? std::optional(awkwardText(turn)) : std::nullopt;
            session.turns.append(AIChatTurn(QUuid::createUuid(), awkwardText(turn + 1),
                                            turn == 3 ? QString() : awkwardText(turn + 2),
                                            reference.addMSecs(random.bounded(3000000000000LL)),
                                            static_cast<AIChatTurnState>(turn % 4), failure,
                                            attachments));
        }
        sessions.append(session);
    }
    sessions.append(AIChatSession{QUuid(), QString(), {}, reference, reference.addMSecs(1)});
    return sessions;
}

} // namespace

TEST(ChatHistoryCodec, WritesWhatQJsonDocumentWritesAndReadsItBack) {
    const QList<AIChatSession> sessions = variedHistory();
    const QByteArray bytes = ChatHistoryCodec::encode(sessions);
    EXPECT_EQ(bytes, encodeThroughRecords(sessions));
    EXPECT_EQ(ChatHistoryCodec::decode(bytes), sessions);
}

TEST(ChatHistoryCodec, ReadsOtherSpellingsOfTheSameDocument) {
    const QByteArray spaced = R"( [ { "id" : "e621e1f8-c36c-495a-93fc-0c247a3e6e5f" ,
        "t\u0069tle" : "A\/B \ud83d\ude00 \u00e9" , "extra" : { "deep" : [ 1 , -2.5e-3 , true ,
        false , null , "x" , { } , [ ] ] } , "turns" : [ { "id" :
        "0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978", "prompt" : "", "response" : "r",
        "createdAt" : 8.1837960412E8, "attachments" : [ { "byteCount" : 1.2e1, "id" :
        "A1B2C3D4-E5F6-4789-9ABC-DEF012345678", "kind" : "image", "mimeType" : "image/png",
        "name" : "n", "storageFileName" : "s" } ] } ] , "createdAt" : 0 , "updatedAt" : -1.5 }
        ]
    )";
    const QList<AIChatSession> sessions = ChatHistoryCodec::decode(spaced);
    ASSERT_EQ(sessions.size(), 1);
    EXPECT_EQ(sessions.first(),
              AIChatSession::fromJson(json::parseBytes(spaced).toArray().first()));
    EXPECT_EQ(sessions.first().title, QString::fromUtf8("A/B 😀 é"));
    ASSERT_EQ(sessions.first().turns.size(), 1);
    EXPECT_EQ(sessions.first().turns.first().attachments.first().byteCount, 12);
    EXPECT_EQ(sessions.first().turns.first().createdAt.toDateTime().toMSecsSinceEpoch(),
              978307200000LL + 818379604120LL);
    EXPECT_EQ(sessions.first().updatedAt.toDateTime().toMSecsSinceEpoch(), 978307200000LL - 1500);
}

// A date keeps every digit the file gave it: reading and writing a history changes no number,
// through the codec and through the records' own JSON alike.
TEST(ChatHistoryCodec, DatesKeepTheirFullValue) {
    const QByteArray bytes =
        R"([{"createdAt":786276000.123456,"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F",)"
        R"("title":"t","turns":[{"attachments":[],"createdAt":786276000.987654,)"
        R"("id":"0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978","prompt":"p","response":"r",)"
        R"("state":"completed"}],"updatedAt":818379604.1234567}])";
    const QList<AIChatSession> sessions = ChatHistoryCodec::decode(bytes);
    ASSERT_EQ(sessions.size(), 1);
    EXPECT_EQ(sessions.first().createdAt.secondsSinceReferenceDate(), 786276000.123456);
    EXPECT_EQ(ChatHistoryCodec::encode(sessions), bytes);
    EXPECT_EQ(encodeThroughRecords(sessions), bytes);
    EXPECT_EQ(AIChatSession::fromJson(json::parseBytes(bytes).toArray().first()), sessions.first());
    // Shown and compared at millisecond precision like any other date.
    EXPECT_EQ(sessions.first().createdAt.toDateTime(),
              QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc()).addMSecs(786276000123));
    EXPECT_LT(sessions.first().createdAt, sessions.first().updatedAt);
}

// The grammar's faults are the reader's (JsonPullReaderTest); these are the history's own.
TEST(ChatHistoryCodec, RejectsMalformedJson) {
    QByteArray good = ChatHistoryCodec::encode(variedHistory());
    ASSERT_NO_THROW(ChatHistoryCodec::decode(good));

    const QList<std::pair<const char*, QByteArray>> cases{
        {"text after the document", good + " []"},
        {"byteCount out of range",
         R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"t",)"
         R"("createdAt":0,"updatedAt":0,"turns":[{"id":)"
         R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F","prompt":"",)"
         R"("response":"","createdAt":0,"attachments":[{"byteCount":)"
         R"(1e400,"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F",)"
         R"("kind":"text","mimeType":"","name":"","storageFileName":""}]}]}])"},
        {"date out of range", R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"t",)"
                              R"("createdAt":1e300,"updatedAt":0,"turns":[]}])"},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_THROW(ChatHistoryCodec::decode(bytes), JsonDecodingError) << name;
    }
}

namespace {

// What decoding reports: the error's detail, the part logs show and tests tell apart.
std::string failureOf(const QByteArray& bytes) {
    try {
        ChatHistoryCodec::decode(bytes);
    } catch (const JsonDecodingError& error) {
        return error.detail().toStdString();
    }
    return "(decoded)";
}

// A session whose first member is `members`, and an attachment likewise; decoding fails at
// the first bad member, before any required key is missed.
QByteArray inSession(const QByteArray& members) {
    return "[{" + members + "}]";
}

QByteArray inAttachment(const QByteArray& members) {
    return R"([{"turns":[{"attachments":[{)" + members + "}]}]}]";
}

} // namespace

// A hand-edited or damaged history fails with a detail that names the member that is wrong
// (the grammar's own faults are named in JsonPullReaderTest).
TEST(ChatHistoryCodec, NamesWhatIsWrongWithADamagedDocument) {
    const QList<std::pair<QByteArray, const char*>> cases{
        // Values of the wrong kind.
        {inSession(R"("title":null)"), "title: missing value"},
        {inSession(R"("createdAt":null)"), "createdAt: missing value"},
        {inSession(R"("createdAt":1e400)"), "createdAt: invalid date"},
        {inSession(R"("createdAt":-1e400)"), "createdAt: invalid date"},
        {inAttachment(R"("byteCount":12.5)"), "byteCount: expected an integer"},
        {inAttachment(R"("byteCount":null)"), "byteCount: missing value"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(failureOf(bytes), expected) << bytes.constData();
    }
}

// Spellings the program never writes but another writer (or a hand edit) may: the codec reads
// each of them as QJsonDocument does.
TEST(ChatHistoryCodec, ReadsRareSpellingsAsQJsonDocumentDoes) {
    const QByteArray bytes =
        "[\r\n\t{\"id\":\"E621E1F8-C36C-495A-93FC-0C247A3E6E5F\",\r\n"
        R"("createdAt":1E+2,"updatedAt":2.5e-1,"icon":{"glyph":"x"},)"
        R"("turns":[{"id":"0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978",)"
        // Three-byte escapes and upper-case hex digits.
        R"("prompt":"\u6771\u4EAC \u00E9",)"
        // Unpaired high surrogates: before an escape of another unit, before a plain
        // character, before another escape, and (the title) right before the document ends.
        R"("response":"\ud83d\u0041x",)"
        R"("failureMessage":"\ud83d\n\udc00\/\"\\\b\f\r\t",)"
        R"("createdAt":-0.0,"model":"some/model","tokens":[1,2],)"
        R"("attachments":[{"byteCount":7,"id":"A1B2C3D4-E5F6-4789-9ABC-DEF012345678",)"
        R"("kind":"text","mimeType":"text/plain","name":"a\ud83dbcdefg","storageFileName":"s",)"
        R"("thumbnail":{"width":3,"data":null}}]}],"title":"x\ud83d"}])";
    const QList<AIChatSession> sessions = ChatHistoryCodec::decode(bytes);
    ASSERT_EQ(sessions.size(), 1);
    EXPECT_EQ(sessions.first(), AIChatSession::fromJson(json::parseBytes(bytes).toArray().first()));
    const QChar high(0xd83d);
    const AIChatSession& session = sessions.first();
    EXPECT_EQ(session.title, QStringLiteral("x") + high);
    EXPECT_EQ(session.createdAt.secondsSinceReferenceDate(), 100);
    ASSERT_EQ(session.turns.size(), 1);
    const AIChatTurn& turn = session.turns.first();
    EXPECT_EQ(turn.prompt, QString::fromUtf8("東京 é"));
    EXPECT_EQ(turn.response, high + QStringLiteral("Ax"));
    EXPECT_EQ(turn.failureMessage,
              high + QStringLiteral("\n") + QChar(0xdc00) + QStringLiteral("/\"\\\b\f\r\t"));
    ASSERT_EQ(turn.attachments.size(), 1);
    EXPECT_EQ(turn.attachments.first().name, QStringLiteral("a") + high + QStringLiteral("bcdefg"));
    EXPECT_EQ(turn.attachments.first().byteCount, 7);
    EXPECT_EQ(turn.attachments.first().storageFileName, "s");
}
