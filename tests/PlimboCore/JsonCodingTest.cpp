#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

QDateTime utc(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone::utc());
}

QJsonObject object(const QByteArray& text) {
    return json::parseBytes(text).toObject();
}

TEST(JsonCoding, DatesAreSecondsSince2001) {
    EXPECT_EQ(json::fromDate(utc(2001, 1, 1, 0, 0, 0)).toDouble(), 0.0);
    EXPECT_EQ(json::fromDate(utc(2001, 1, 1, 0, 0, 1, 500)).toDouble(), 1.5);
    EXPECT_EQ(json::fromDate(utc(2000, 12, 31, 23, 59, 59)).toDouble(), -1.0);
    // 2024-05-06T07:08:09.250Z
    const QByteArray fixture = R"({"at":736672089.25})";
    EXPECT_EQ(
        json::toCompactBytes(QJsonObject{{"at", json::fromDate(utc(2024, 5, 6, 7, 8, 9, 250))}}),
        fixture);
    const QDateTime read = json::requireDate(object(fixture), "at");
    EXPECT_EQ(read, utc(2024, 5, 6, 7, 8, 9, 250));
    EXPECT_EQ(read.timeSpec(), Qt::UTC);
    // A date in another zone is written as the same instant.
    const QDateTime local(QDate(2001, 1, 1), QTime(2, 0), QTimeZone(7200));
    EXPECT_EQ(json::fromDate(local).toDouble(), 0.0);
}

TEST(JsonCoding, DatesReadStrictly) {
    EXPECT_THROW(json::requireDate(object(R"({"at":"2024-05-06"})"), "at"), JsonDecodingError);
    EXPECT_THROW(json::requireDate(object(R"({})"), "at"), JsonDecodingError);
    EXPECT_THROW(json::requireDate(object(R"({"at":1e300})"), "at"), JsonDecodingError);
    EXPECT_FALSE(json::optionalDate(object(R"({"at":null})"), "at").has_value());
    EXPECT_THROW(json::optionalDate(object(R"({"at":true})"), "at"), JsonDecodingError);
}

TEST(JsonCoding, UuidsAreWrittenUpperAndReadInAnyCase) {
    const QUuid id = QUuid::fromString(QStringLiteral("{0f8fad5b-d9cb-469f-a165-70867728950e}"));
    EXPECT_EQ(json::fromUuid(id).toString(), "0F8FAD5B-D9CB-469F-A165-70867728950E");
    EXPECT_EQ(json::requireUuid(object(R"({"id":"0f8fad5b-d9cb-469f-a165-70867728950e"})"), "id"),
              id);
    EXPECT_EQ(json::requireUuid(object(R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E"})"), "id"),
              id);
    EXPECT_THROW(
        json::requireUuid(object(R"({"id":"{0f8fad5b-d9cb-469f-a165-70867728950e}"})"), "id"),
        JsonDecodingError);
    EXPECT_THROW(json::requireUuid(object(R"({"id":"not-a-uuid-at-all-not-a-uuid-at-all"})"), "id"),
                 JsonDecodingError);
    EXPECT_THROW(json::requireUuid(object(R"({"id":42})"), "id"), JsonDecodingError);
    EXPECT_EQ(json::uuidFromString("00000000-0000-0000-0000-000000000000"), QUuid());
}

TEST(JsonCoding, ScalarsNeverFallBackToDefaults) {
    const QJsonObject o =
        object(R"({"s":"x","n":3,"f":3.0,"h":3.5,"b":false,"z":null,"big":1e20})");
    EXPECT_EQ(json::requireString(o, "s"), "x");
    EXPECT_THROW(json::requireString(o, "n"), JsonDecodingError);
    EXPECT_THROW(json::requireString(o, "z"), JsonDecodingError);
    EXPECT_THROW(json::requireString(o, "missing"), JsonDecodingError);
    EXPECT_EQ(json::requireInteger(o, "n"), 3);
    EXPECT_EQ(json::requireInteger(o, "f"), 3);
    EXPECT_THROW(json::requireInteger(o, "h"), JsonDecodingError);
    EXPECT_THROW(json::requireInteger(o, "big"), JsonDecodingError);
    EXPECT_THROW(json::requireInteger(o, "s"), JsonDecodingError);
    EXPECT_EQ(json::requireDouble(o, "h"), 3.5);
    EXPECT_FALSE(json::requireBool(o, "b"));
    EXPECT_THROW(json::requireBool(o, "n"), JsonDecodingError);
    EXPECT_FALSE(json::optionalString(o, "z").has_value());
    EXPECT_FALSE(json::optionalInteger(o, "missing").has_value());
    EXPECT_THROW(json::optionalBool(o, "s"), JsonDecodingError);
    EXPECT_THROW(json::requireArray(o, "s"), JsonDecodingError);
    EXPECT_THROW(json::requireObject(o, "s"), JsonDecodingError);
}

TEST(JsonCoding, ParsesAndWritesScalarsAndContainers) {
    EXPECT_EQ(json::toCompactBytes(QJsonValue("a\"b")), R"("a\"b")");
    EXPECT_EQ(json::toCompactBytes(QJsonValue(1.5)), "1.5");
    EXPECT_EQ(json::parseBytes(R"("x")").toString(), "x");
    EXPECT_EQ(json::parseBytes("[1,2]").toArray().size(), 2);
    EXPECT_THROW(json::parseBytes("{"), JsonDecodingError);
    EXPECT_THROW(json::parseBytes("1 2"), JsonDecodingError);
    EXPECT_THROW(json::parseBytes(""), JsonDecodingError);
    QJsonObject out;
    json::insertOptional(out, "absent", std::optional<QString>());
    json::insertOptional(out, "present", std::optional<qint64>(5));
    EXPECT_EQ(json::toCompactBytes(out), R"({"present":5})");
}

} // namespace
