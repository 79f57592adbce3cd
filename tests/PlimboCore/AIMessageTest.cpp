#include "AIMessage.h"
#include "AIRoutingProfile.h"
#include "AIStreamEvent.h"
#include "AIUsage.h"
#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace plimbo;
using Part = AIMessage::ContentPart;
using Role = AIMessage::Role;

namespace {

QByteArray encode(const AIMessage& message) {
    return json::toCompactBytes(message.toJson());
}

AIMessage decode(const QByteArray& bytes) {
    return AIMessage::fromJson(json::parseBytes(bytes));
}

// Fixtures are written by hand in the compact form Qt produces (keys in sorted order).
TEST(AIMessageJson, TextMessageMatchesFixtureAndRoundTrips) {
    const QByteArray fixture = R"({"content":"Hello there","role":"system"})";
    const AIMessage message(Role::system, QStringLiteral("Hello there"));
    EXPECT_EQ(encode(message), fixture);
    EXPECT_EQ(decode(fixture), message);

    const AIMessage empty(Role::user, QString());
    EXPECT_EQ(encode(empty), R"({"content":"","role":"user"})");
    const AIMessage back = decode(encode(empty));
    ASSERT_TRUE(back.content.isText());
    EXPECT_EQ(*back.content.asText(), QString());
}

TEST(AIMessageJson, PartsMessageMatchesFixtureAndRoundTrips) {
    const QByteArray fixture =
        R"({"content":[{"text":"Describe these","type":"text"},)"
        R"({"image_url":{"url":"data:image/png;base64,iVBO"},"type":"image_url"},)"
        R"({"file":{"file_data":"data:application/pdf;base64,JVBE","filename":"report.pdf"},"type":"file"}],)"
        R"("role":"user"})";
    const AIMessage message(Role::user,
                            {Part::makeText("Describe these"),
                             Part::makeImage("data:image/png;base64,iVBO"),
                             Part::makeFile("report.pdf", "data:application/pdf;base64,JVBE")});
    EXPECT_EQ(encode(message), fixture);
    EXPECT_EQ(decode(fixture), message);
    EXPECT_TRUE(message.containsFile());

    const AIMessage none(Role::assistant, QList<Part>{});
    EXPECT_EQ(encode(none), R"({"content":[],"role":"assistant"})");
    const AIMessage back = decode(encode(none));
    ASSERT_TRUE(back.content.isParts());
    EXPECT_TRUE(back.content.asParts()->isEmpty());
    EXPECT_FALSE(back.containsFile());
}

TEST(AIMessageJson, MakersSetOnlyTheMatchingField) {
    const Part text = Part::makeText("t");
    EXPECT_EQ(text.type, Part::Kind::text);
    EXPECT_FALSE(text.imageURL || text.file);
    const Part image = Part::makeImage("data:x");
    EXPECT_EQ(image.type, Part::Kind::imageURL);
    EXPECT_EQ(image.imageURL->url, "data:x");
    EXPECT_FALSE(image.text || image.file);
    const Part file = Part::makeFile("a.txt", "data:y");
    EXPECT_EQ(file.type, Part::Kind::file);
    EXPECT_EQ(file.file->filename, "a.txt");
    EXPECT_EQ(file.file->fileData, "data:y");
    EXPECT_FALSE(file.text || file.imageURL);
}

TEST(AIMessageJson, OptionalPartFieldsMayBeMissingNullOrCombined) {
    const AIMessage message =
        decode(R"({"role":"user","extra":1,"content":[{"type":"text"},)"
               R"({"type":"image_url","text":"caption","image_url":{"url":"u","detail":"high"}},)"
               R"({"type":"file","text":null,"image_url":null,"file":null}]})");
    const QList<Part> parts = *message.content.asParts();
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0].type, Part::Kind::text);
    EXPECT_FALSE(parts[0].text.has_value());
    EXPECT_EQ(parts[1].text, "caption");
    EXPECT_EQ(parts[1].imageURL->url, "u");
    EXPECT_FALSE(parts[2].text || parts[2].imageURL || parts[2].file);
    EXPECT_EQ(json::toCompactBytes(parts[2].toJson()), R"({"type":"file"})");
    EXPECT_TRUE(message.containsFile()) << "the kind counts, not the field";
}

TEST(AIMessageJson, StrictReadingFailsTheWholeMessage) {
    const QList<QByteArray> bad = {
        R"({"content":"x"})",                                      // role missing
        R"({"role":"user"})",                                      // content missing
        R"({"role":null,"content":"x"})",                          // role null
        R"({"role":"user","content":null})",                       // content null
        R"({"role":"User","content":"x"})",                        // role letter case
        R"({"role":"tool","content":"x"})",                        // unknown role
        R"({"role":7,"content":"x"})",                             // role wrong type
        R"({"role":"user","content":42})",                         // content a number
        R"({"role":"user","content":{"type":"text"}})",            // content an object
        R"({"role":"user","content":[{"text":"no type"}]})",       // part type missing
        R"({"role":"user","content":[{"type":"video"}]})",         // unknown part type
        R"({"role":"user","content":[{"type":"Text"}]})",          // part type letter case
        R"({"role":"user","content":[{"type":"text","text":5}]})", // text wrong type
        R"({"role":"user","content":[{"type":"text"},"loose"]})",  // part not an object
        R"({"role":"user","content":[{"type":"image_url","image_url":{}}]})",
        R"({"role":"user","content":[{"type":"image_url","image_url":"u"}]})",
        R"({"role":"user","content":[{"type":"file","file":{"filename":"a"}}]})",
        R"({"role":"user","content":[{"type":"file","file":{"file_data":"d"}}]})",
        R"(["role","user"])",
        R"({"role":"user","content":"x")", // malformed text
    };
    for (const QByteArray& bytes : bad) {
        EXPECT_THROW(decode(bytes), JsonDecodingError) << bytes.constData();
    }
    try {
        decode(R"({"content":"x"})");
    } catch (const JsonDecodingError& error) {
        EXPECT_EQ(error.description(), "The data couldn’t be read because it is missing.");
        EXPECT_TRUE(error.detail().contains("role"));
    }
}

TEST(AIMessage, ContainsFileLooksAtPartKindsOnly) {
    EXPECT_TRUE(
        AIMessage(Role::user, {Part::makeText("a"), Part::makeFile("f", "d")}).containsFile());
    EXPECT_FALSE(AIMessage(Role::user, {Part::makeText("a"), Part::makeImage("i")}).containsFile());
    EXPECT_FALSE(AIMessage(Role::user, QStringLiteral("file")).containsFile());
    Part bare;
    bare.type = Part::Kind::file;
    EXPECT_TRUE(AIMessage(Role::user, {bare}).containsFile());
}

TEST(AIMessage, EqualityAndHashCoverEveryField) {
    const AIMessage a(Role::user, {Part::makeText("a")});
    AIMessage b = a;
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    b.role = Role::assistant;
    EXPECT_NE(a, b);
    EXPECT_NE(AIMessage(Role::user, QStringLiteral("a")), a) << "text is not a one-part list";
    Part withNullText = Part::makeText("");
    Part withoutText;
    EXPECT_NE(withNullText, withoutText);
    QSet<AIMessage> set{a, a, AIMessage(Role::user, QStringLiteral("a"))};
    EXPECT_EQ(set.size(), 2);
}

TEST(AIUsageJson, WritesOnlyPresentCountsAndReadsStrictly) {
    EXPECT_EQ(json::toCompactBytes(AIUsage{{}, {}, 12}.toJson()), R"({"totalTokens":12})");
    const AIUsage all{3, 4, 7};
    const QByteArray fixture = R"({"completionTokens":4,"promptTokens":3,"totalTokens":7})";
    EXPECT_EQ(json::toCompactBytes(all.toJson()), fixture);
    EXPECT_EQ(AIUsage::fromJson(json::parseBytes(fixture)), all);
    EXPECT_EQ(AIUsage::fromJson(json::parseBytes(R"({"promptTokens":null})")), AIUsage{});
    EXPECT_THROW(AIUsage::fromJson(json::parseBytes(R"({"totalTokens":"7"})")), JsonDecodingError);
    EXPECT_THROW(AIUsage::fromJson(json::parseBytes(R"({"totalTokens":7.5})")), JsonDecodingError);
    EXPECT_THROW(AIUsage::fromJson(json::parseBytes(R"([7])")), JsonDecodingError);
}

TEST(AIStreamEvent, MakersCarryTheirPayload) {
    EXPECT_EQ(AIStreamEvent::makeText("hi").kind, AIStreamEvent::Kind::text);
    EXPECT_EQ(AIStreamEvent::makeText("hi").text, "hi");
    EXPECT_EQ(AIStreamEvent::makeMetadata(QStringLiteral("m")).model, "m");
    EXPECT_EQ(AIStreamEvent::makeUsage(AIUsage{1, 2, 3}).usage, (AIUsage{1, 2, 3}));
    EXPECT_EQ(AIStreamEvent::makeFinished(std::nullopt).kind, AIStreamEvent::Kind::finished);
    EXPECT_NE(AIStreamEvent::makeFinished(std::nullopt),
              AIStreamEvent::makeFinished(QStringLiteral("stop")));
}

TEST(AIRoutingProfile, RawValuesAndLabels) {
    QStringList labels;
    for (AIRoutingProfile profile : allAIRoutingProfiles()) {
        labels.append(label(profile));
        EXPECT_EQ(aiRoutingProfileFromString(toString(profile)), profile);
    }
    EXPECT_EQ(labels, (QStringList{"Fast", "Balanced", "Quality", "Economical", "Custom"}));
    EXPECT_FALSE(aiRoutingProfileFromString("Fast").has_value());
}

} // namespace
