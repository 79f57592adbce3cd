#include "AIChatHistoryStore.h"
#include "AIChatSession.h"
#include "ChatHistoryCodec.h"
#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>

using namespace plimbo;

namespace {

QDateTime referencePlus(double seconds) {
    return QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc())
        .addMSecs(static_cast<qint64>(seconds * 1000));
}

QUuid uuid(const char* text) {
    return QUuid::fromString(QLatin1String(text));
}

// Written by hand in the encoder's form: compact, keys in the order QJsonDocument writes them.
const QByteArray fixture =
    R"([{"createdAt":818379604,"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"Trip plans",)"
    R"("turns":[{"attachments":[{"byteCount":12,"id":"A1B2C3D4-E5F6-4789-9ABC-DEF012345678",)"
    R"("kind":"pdf","mimeType":"application/pdf","name":"Scan.PDF",)"
    R"("storageFileName":"A1B2C3D4-E5F6-4789-9ABC-DEF012345678.pdf"}],"createdAt":818379604.125,)"
    R"("id":"0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978","prompt":"Summarise this","response":"Done.",)"
    R"("state":"completed"},{"attachments":[],"createdAt":818379700.5,)"
    R"("failureMessage":"No text was returned.","id":"11111111-2222-4333-8444-555555555555",)"
    R"("prompt":"And again?","response":"","state":"failed"}],"updatedAt":818379700.5}])";

AIChatSession fixtureSession() {
    const AIChatAttachment scan{uuid("A1B2C3D4-E5F6-4789-9ABC-DEF012345678"),
                                QStringLiteral("Scan.PDF"),
                                QStringLiteral("application/pdf"),
                                AIChatAttachmentKind::pdf,
                                12,
                                QStringLiteral("A1B2C3D4-E5F6-4789-9ABC-DEF012345678.pdf")};
    const AIChatTurn first(uuid("0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978"),
                           QStringLiteral("Summarise this"), QStringLiteral("Done."),
                           referencePlus(818379604.125), AIChatTurnState::completed, {scan});
    const AIChatTurn second(uuid("11111111-2222-4333-8444-555555555555"),
                            QStringLiteral("And again?"), QString(), referencePlus(818379700.5),
                            AIChatTurnState::failed, QStringLiteral("No text was returned."), {});
    return AIChatSession{uuid("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"),
                         QStringLiteral("Trip plans"),
                         {first, second},
                         referencePlus(818379604),
                         referencePlus(818379700.5)};
}

QJsonObject minimalTurn() {
    return QJsonObject{{"id", "0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978"},
                       {"prompt", "Hi"},
                       {"response", "Hello"},
                       {"createdAt", 10}};
}

QJsonObject validAttachment() {
    return fixtureSession().turns.first().attachments.first().toJson();
}

// The records' own QJsonObject path, which the history file codec must agree with.
QList<AIChatSession> decodeThroughRecords(const QByteArray& bytes) {
    QList<AIChatSession> sessions;
    for (const QJsonValue& value : json::requireArray(json::parseBytes(bytes), "history")) {
        sessions.append(AIChatSession::fromJson(value));
    }
    return sessions;
}

QByteArray historyWithTurn(const QJsonObject& turn) {
    QJsonObject session = fixtureSession().toJson();
    session.insert("turns", QJsonArray{turn});
    return QJsonDocument(QJsonArray{session}).toJson(QJsonDocument::Compact);
}

} // namespace

TEST(AIChatRecords, EncodesAndDecodesTheHandWrittenFile) {
    EXPECT_EQ(AIChatHistoryStore::encodeHistory({fixtureSession()}), fixture);
    EXPECT_EQ(json::toCompactBytes(QJsonArray{fixtureSession().toJson()}), fixture);
    for (const QList<AIChatSession>& decoded :
         {AIChatHistoryStore::decodeHistory(fixture), decodeThroughRecords(fixture)}) {
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(decoded.first(), fixtureSession());
    }
}

TEST(AIChatRecords, TurnWritesFailureMessageOnlyWhenPresentAndAlwaysStateAndAttachments) {
    AIChatTurn turn = fixtureSession().turns.at(1);
    EXPECT_EQ(turn.toJson().value("failureMessage").toString(), "No text was returned.");
    turn.failureMessage.reset();
    turn.state = AIChatTurnState::completed;
    const QJsonObject written = turn.toJson();
    EXPECT_FALSE(written.contains("failureMessage"));
    EXPECT_EQ(written.keys(),
              (QStringList{"attachments", "createdAt", "id", "prompt", "response", "state"}));
    EXPECT_EQ(written.value("attachments"), QJsonValue(QJsonArray()));
    EXPECT_EQ(written.value("state").toString(), "completed");
}

TEST(AIChatRecords, TurnWithOnlyRequiredKeysOrNullOptionalsGetsDefaults) {
    QJsonObject withNulls = minimalTurn();
    withNulls.insert("state", QJsonValue::Null);
    withNulls.insert("failureMessage", QJsonValue::Null);
    withNulls.insert("attachments", QJsonValue::Null);
    for (const QJsonObject& object : {minimalTurn(), withNulls}) {
        const AIChatTurn turn = AIChatTurn::fromJson(object);
        EXPECT_EQ(turn.state, AIChatTurnState::completed);
        EXPECT_FALSE(turn.failureMessage.has_value());
        EXPECT_TRUE(turn.attachments.isEmpty());
        EXPECT_EQ(turn.createdAt, referencePlus(10));
        EXPECT_EQ(turn.response, "Hello");
        // The history file codec reads the same turn.
        const QList<AIChatSession> decoded = ChatHistoryCodec::decode(historyWithTurn(object));
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(decoded.first().turns, QList<AIChatTurn>{turn});
    }
}

TEST(AIChatRecords, ReadsEveryStateAndKindRawValue) {
    for (AIChatTurnState state : {AIChatTurnState::streaming, AIChatTurnState::completed,
                                  AIChatTurnState::stopped, AIChatTurnState::failed}) {
        QJsonObject object = minimalTurn();
        object.insert("state", toString(state));
        EXPECT_EQ(AIChatTurn::fromJson(object).state, state);
    }
    for (AIChatAttachmentKind kind :
         {AIChatAttachmentKind::image, AIChatAttachmentKind::pdf, AIChatAttachmentKind::text}) {
        QJsonObject object = validAttachment();
        object.insert("kind", toString(kind));
        EXPECT_EQ(AIChatAttachment::fromJson(object).kind, kind);
    }
}

TEST(AIChatRecords, AcceptsLowerCaseUuidsAndIgnoresUnknownKeys) {
    QJsonObject object = minimalTurn();
    object.insert("id", "0f6d7b3a-9c1e-4a55-8b0e-2d3c4b5a6978");
    object.insert("tokens", 42);
    const AIChatTurn turn = AIChatTurn::fromJson(object);
    EXPECT_EQ(turn.id, uuid("0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978"));
    EXPECT_EQ(turn.toJson().value("id").toString(), "0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978");
    EXPECT_FALSE(turn.toJson().contains("tokens"));
}

TEST(AIChatRecords, DatesSurviveWritingAndReading) {
    for (qint64 milliseconds : {0LL, 1LL, 999LL, 818379604123LL, -86400001LL, 4102444800007LL}) {
        AIChatTurn turn = AIChatTurn::fromJson(minimalTurn());
        turn.createdAt = referencePlus(0).addMSecs(milliseconds);
        const QByteArray bytes = QJsonDocument(turn.toJson()).toJson(QJsonDocument::Compact);
        const AIChatTurn back = AIChatTurn::fromJson(QJsonDocument::fromJson(bytes).object());
        EXPECT_EQ(back.createdAt, turn.createdAt) << bytes.constData();
        EXPECT_EQ(back, turn);
    }
}

TEST(AIChatRecords, MalformedHistoriesFailAsAWhole) {
    const auto withTurnKey = [](const char* key, const QJsonValue& value) {
        QJsonObject turn = minimalTurn();
        turn.insert(key, value);
        return historyWithTurn(turn);
    };
    const auto withoutTurnKey = [](const char* key) {
        QJsonObject turn = minimalTurn();
        turn.remove(key);
        return historyWithTurn(turn);
    };
    const auto withAttachment = [](const QJsonObject& attachment) {
        QJsonObject turn = minimalTurn();
        turn.insert("attachments", QJsonArray{attachment});
        return historyWithTurn(turn);
    };
    const auto withSessionKey = [](const char* key, const std::optional<QJsonValue>& value) {
        QJsonObject session = fixtureSession().toJson();
        if (value) {
            session.insert(key, *value);
        } else {
            session.remove(key);
        }
        // A good session first: no partial list may come out.
        return QJsonDocument(QJsonArray{fixtureSession().toJson(), session})
            .toJson(QJsonDocument::Compact);
    };
    QJsonObject noByteCount = validAttachment();
    noByteCount.remove("byteCount");
    QJsonObject fractionalByteCount = validAttachment();
    fractionalByteCount.insert("byteCount", 1.5);
    QJsonObject textByteCount = validAttachment();
    textByteCount.insert("byteCount", "12");
    QJsonObject unknownKind = validAttachment();
    unknownKind.insert("kind", "video");
    QJsonObject nullStorageName = validAttachment();
    nullStorageName.insert("storageFileName", QJsonValue::Null);

    const QList<std::pair<const char*, QByteArray>> cases{
        {"unknown state", withTurnKey("state", "done")},
        {"state in other case", withTurnKey("state", "Completed")},
        {"state as number", withTurnKey("state", 1)},
        {"prompt missing", withoutTurnKey("prompt")},
        {"response missing", withoutTurnKey("response")},
        {"response null", withTurnKey("response", QJsonValue::Null)},
        {"createdAt as text", withTurnKey("createdAt", "2026-12-07T23:40:04Z")},
        {"failureMessage as number", withTurnKey("failureMessage", 3)},
        {"attachments as object", withTurnKey("attachments", QJsonObject())},
        {"malformed turn id", withTurnKey("id", "not-a-uuid")},
        {"braced turn id", withTurnKey("id", "{0F6D7B3A-9C1E-4A55-8B0E-2D3C4B5A6978}")},
        {"attachment without byteCount", withAttachment(noByteCount)},
        {"fractional byteCount", withAttachment(fractionalByteCount)},
        {"byteCount as text", withAttachment(textByteCount)},
        {"unknown kind", withAttachment(unknownKind)},
        {"null storageFileName", withAttachment(nullStorageName)},
        {"session without updatedAt", withSessionKey("updatedAt", std::nullopt)},
        {"session without title", withSessionKey("title", std::nullopt)},
        {"session title as number", withSessionKey("title", 5)},
        {"session turns null", withSessionKey("turns", QJsonValue::Null)},
        {"session turn not an object", withSessionKey("turns", QJsonArray{"turn"})},
        {"top level object", QByteArray(R"({"id":"x"})")},
        {"truncated file", fixture.left(fixture.size() - 3)},
        {"empty file", QByteArray()},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_THROW(ChatHistoryCodec::decode(bytes), JsonDecodingError) << name;
        EXPECT_THROW(decodeThroughRecords(bytes), JsonDecodingError) << name;
    }
}

TEST(AIChatRecords, EmptyHistoryIsAnEmptyArray) {
    EXPECT_EQ(AIChatHistoryStore::encodeHistory({}), "[]");
    EXPECT_TRUE(AIChatHistoryStore::decodeHistory("[]").isEmpty());
}

// A date never set (a default one, or from an invalid QDateTime) shows as no date, is written
// as 0 like the reference date, and reads back as that date.
TEST(AIChatRecords, AnUnsetDateShowsAsNoneAndIsWrittenAsTheReferenceDate) {
    for (const ChatDate& unset : {ChatDate(), ChatDate(QDateTime())}) {
        EXPECT_FALSE(unset.isValid());
        EXPECT_FALSE(unset.toDateTime().isValid());
        EXPECT_EQ(unset.secondsSinceReferenceDate(), 0);
    }
    AIChatSession session = fixtureSession();
    session.createdAt = QDateTime();
    const QByteArray bytes = AIChatHistoryStore::encodeHistory({session});
    EXPECT_TRUE(bytes.startsWith(R"([{"createdAt":0,"id")")) << bytes.constData();
    const AIChatSession back = AIChatHistoryStore::decodeHistory(bytes).first();
    EXPECT_TRUE(back.createdAt.isValid());
    EXPECT_EQ(back.createdAt, referencePlus(0));
}

// Chats are listed newest first by these comparisons: a date before 2001 is older than the
// reference date, and an unset date is older than any date that is set.
TEST(AIChatRecords, DatesOrderByTimeAndUnsetDatesFirst) {
    const ChatDate unset;
    const ChatDate before2001(referencePlus(-86400));
    const ChatDate reference(referencePlus(0));
    const ChatDate later = ChatDate::fromSecondsSinceReferenceDate(0.0005);
    EXPECT_LT(unset, before2001);
    EXPECT_LT(before2001, reference);
    EXPECT_LT(reference, later);
    EXPECT_GT(later, unset);
    EXPECT_NE(unset, reference); // both written as 0, yet one is no date at all
    EXPECT_EQ(reference, ChatDate::fromSecondsSinceReferenceDate(0));
    EXPECT_EQ(unset, ChatDate(QDateTime()));
    EXPECT_EQ(reference, referencePlus(0));
    EXPECT_GT(later, referencePlus(0));
    EXPECT_LT(unset, referencePlus(-86400));
}

// A date outside what the program can show fails the record it is in, on both read paths.
TEST(AIChatRecords, UnreadableDatesFailWithTheirKey) {
    for (const double seconds : {1e300, -1e13}) {
        QJsonObject session = fixtureSession().toJson();
        session.insert("updatedAt", seconds);
        try {
            AIChatSession::fromJson(session);
            ADD_FAILURE() << "read " << seconds;
        } catch (const JsonDecodingError& error) {
            EXPECT_EQ(error.reason(), JsonDecodingError::Reason::invalidValue);
            EXPECT_EQ(error.detail(), "updatedAt: invalid date");
        }
        const QByteArray bytes = QJsonDocument(QJsonArray{session}).toJson(QJsonDocument::Compact);
        EXPECT_THROW(ChatHistoryCodec::decode(bytes), JsonDecodingError) << seconds;
    }
}

// A state or kind outside the enumerations (a value cast from a number) is written as the
// default, so the history file stays readable.
TEST(AIChatRecords, UnknownStateAndKindAreWrittenAsTheDefaults) {
    AIChatSession session = fixtureSession();
    session.turns.first().state = static_cast<AIChatTurnState>(17);
    session.turns.first().attachments.first().kind = static_cast<AIChatAttachmentKind>(17);
    const AIChatSession back =
        AIChatHistoryStore::decodeHistory(AIChatHistoryStore::encodeHistory({session})).first();
    EXPECT_EQ(back.turns.first().state, AIChatTurnState::completed);
    EXPECT_EQ(back.turns.first().attachments.first().kind, AIChatAttachmentKind::text);
    EXPECT_EQ(session.turns.first().toJson().value("state").toString(), "completed");
}
