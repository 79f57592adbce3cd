#include "JsonCoding.h"

#include "JsonDecodingError.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QTimeZone>

#include <cmath>

namespace plimbo::json {

namespace {

using Reason = JsonDecodingError::Reason;

[[noreturn]] void fail(Reason reason, const QString& context, const char* what) {
    throw JsonDecodingError(reason, context + QStringLiteral(": ") + QLatin1String(what));
}

void requirePresent(const QJsonValue& value, const QString& context) {
    if (value.isUndefined() || value.isNull()) {
        fail(Reason::missingValue, context, "missing value");
    }
}

bool isAbsent(const QJsonValue& value) {
    return value.isUndefined() || value.isNull();
}

const QDateTime& referenceDate() {
    static const QDateTime reference =
        QDateTime(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc()).toUTC();
    return reference;
}

} // namespace

QByteArray toCompactBytes(const QJsonValue& value) {
    if (value.isObject()) {
        return QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    }
    if (value.isArray()) {
        return QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    }
    // QJsonDocument holds only containers: wrap the scalar and strip the brackets.
    QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

QJsonValue parseBytes(const QByteArray& bytes) {
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError) {
        return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    }
    // A lone scalar is valid JSON; QJsonDocument only takes containers.
    QByteArray wrapped = QByteArray("[") + bytes + QByteArray("]");
    document = QJsonDocument::fromJson(wrapped, &error);
    if (error.error == QJsonParseError::NoError && document.array().size() == 1) {
        return document.array().first();
    }
    fail(Reason::malformedDocument, QStringLiteral("document"), "malformed JSON");
}

QJsonObject requireObject(const QJsonValue& value, const QString& context) {
    requirePresent(value, context);
    if (!value.isObject()) {
        fail(Reason::wrongType, context, "expected an object");
    }
    return value.toObject();
}

QJsonArray requireArray(const QJsonValue& value, const QString& context) {
    requirePresent(value, context);
    if (!value.isArray()) {
        fail(Reason::wrongType, context, "expected an array");
    }
    return value.toArray();
}

QString requireString(const QJsonValue& value, const QString& context) {
    requirePresent(value, context);
    if (!value.isString()) {
        fail(Reason::wrongType, context, "expected a string");
    }
    return value.toString();
}

bool requireBool(const QJsonValue& value, const QString& context) {
    requirePresent(value, context);
    if (!value.isBool()) {
        fail(Reason::wrongType, context, "expected a Boolean");
    }
    return value.toBool();
}

double requireDouble(const QJsonValue& value, const QString& context) {
    requirePresent(value, context);
    if (!value.isDouble()) {
        fail(Reason::wrongType, context, "expected a number");
    }
    return value.toDouble();
}

qint64 requireInteger(const QJsonValue& value, const QString& context) {
    requirePresent(value, context);
    if (!value.isDouble()) {
        fail(Reason::wrongType, context, "expected an integer");
    }
    // toInteger() hands back its default when the number is not integral; two different
    // defaults tell that apart from a stored value.
    const qint64 first = value.toInteger(0);
    const qint64 second = value.toInteger(1);
    if (first != second) {
        fail(Reason::wrongType, context, "expected an integer");
    }
    return first;
}

QJsonObject requireObject(const QJsonObject& object, const QString& key) {
    return requireObject(object.value(key), key);
}

QJsonArray requireArray(const QJsonObject& object, const QString& key) {
    return requireArray(object.value(key), key);
}

QString requireString(const QJsonObject& object, const QString& key) {
    return requireString(object.value(key), key);
}

bool requireBool(const QJsonObject& object, const QString& key) {
    return requireBool(object.value(key), key);
}

double requireDouble(const QJsonObject& object, const QString& key) {
    return requireDouble(object.value(key), key);
}

qint64 requireInteger(const QJsonObject& object, const QString& key) {
    return requireInteger(object.value(key), key);
}

QUuid requireUuid(const QJsonObject& object, const QString& key) {
    const QString text = requireString(object, key);
    const std::optional<QUuid> uuid = uuidFromString(text);
    if (!uuid) {
        fail(Reason::invalidValue, key, "malformed UUID");
    }
    return *uuid;
}

QDateTime requireDate(const QJsonObject& object, const QString& key) {
    const double seconds = requireDouble(object, key);
    // Beyond a few thousand years the millisecond count would overflow.
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e12) {
        fail(Reason::invalidValue, key, "invalid date");
    }
    return dateFromSeconds(seconds);
}

std::optional<QJsonObject> optionalObject(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return isAbsent(value) ? std::nullopt : std::optional(requireObject(value, key));
}

std::optional<QJsonArray> optionalArray(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return isAbsent(value) ? std::nullopt : std::optional(requireArray(value, key));
}

std::optional<QString> optionalString(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return isAbsent(value) ? std::nullopt : std::optional(requireString(value, key));
}

std::optional<bool> optionalBool(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return isAbsent(value) ? std::nullopt : std::optional(requireBool(value, key));
}

std::optional<double> optionalDouble(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return isAbsent(value) ? std::nullopt : std::optional(requireDouble(value, key));
}

std::optional<qint64> optionalInteger(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    return isAbsent(value) ? std::nullopt : std::optional(requireInteger(value, key));
}

std::optional<QUuid> optionalUuid(const QJsonObject& object, const QString& key) {
    return isAbsent(object.value(key)) ? std::nullopt : std::optional(requireUuid(object, key));
}

std::optional<QDateTime> optionalDate(const QJsonObject& object, const QString& key) {
    return isAbsent(object.value(key)) ? std::nullopt : std::optional(requireDate(object, key));
}

QJsonValue fromDate(const QDateTime& date) {
    return QJsonValue(static_cast<double>(referenceDate().msecsTo(date)) / 1000.0);
}

QDateTime dateFromSeconds(double secondsSinceReferenceDate) {
    return referenceDate().addMSecs(std::llround(secondsSinceReferenceDate * 1000.0));
}

QJsonValue fromUuid(const QUuid& uuid) {
    return QJsonValue(uuidString(uuid));
}

QString uuidString(const QUuid& uuid) {
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

std::optional<QUuid> uuidFromString(const QString& text) {
    // Exactly 8-4-4-4-12 hex digits; QUuid itself would also take braces.
    if (text.size() != 36) {
        return std::nullopt;
    }
    const QUuid uuid = QUuid::fromString(text);
    if (uuid.isNull() && text != QLatin1String("00000000-0000-0000-0000-000000000000")) {
        return std::nullopt;
    }
    return uuid;
}

} // namespace plimbo::json
