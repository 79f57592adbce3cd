#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUuid>

#include <optional>

// Strict readers and shared writers for the project's JSON formats. Every reader throws
// JsonDecodingError instead of falling back to QJsonValue's silent defaults. A missing key and
// a null value count the same: "required" readers fail on both, "optional" readers give nullopt.
namespace plimbo::json {

// Compact UTF-8 text of a value (object, array or scalar).
QByteArray toCompactBytes(const QJsonValue& value);
// Parses a whole document; scalars at the top level are allowed. Throws on malformed text.
QJsonValue parseBytes(const QByteArray& bytes);

QJsonObject requireObject(const QJsonValue& value, const QString& context);
QJsonArray requireArray(const QJsonValue& value, const QString& context);
QString requireString(const QJsonValue& value, const QString& context);
bool requireBool(const QJsonValue& value, const QString& context);
double requireDouble(const QJsonValue& value, const QString& context);
// An integral JSON number; 3.5 or a string fails.
qint64 requireInteger(const QJsonValue& value, const QString& context);

QJsonObject requireObject(const QJsonObject& object, const QString& key);
QJsonArray requireArray(const QJsonObject& object, const QString& key);
QString requireString(const QJsonObject& object, const QString& key);
bool requireBool(const QJsonObject& object, const QString& key);
double requireDouble(const QJsonObject& object, const QString& key);
qint64 requireInteger(const QJsonObject& object, const QString& key);
QUuid requireUuid(const QJsonObject& object, const QString& key);
QDateTime requireDate(const QJsonObject& object, const QString& key);

std::optional<QJsonObject> optionalObject(const QJsonObject& object, const QString& key);
std::optional<QJsonArray> optionalArray(const QJsonObject& object, const QString& key);
std::optional<QString> optionalString(const QJsonObject& object, const QString& key);
std::optional<bool> optionalBool(const QJsonObject& object, const QString& key);
std::optional<double> optionalDouble(const QJsonObject& object, const QString& key);
std::optional<qint64> optionalInteger(const QJsonObject& object, const QString& key);
std::optional<QUuid> optionalUuid(const QJsonObject& object, const QString& key);
std::optional<QDateTime> optionalDate(const QJsonObject& object, const QString& key);

// Dates are seconds since 2001-01-01T00:00:00Z as a double (sub-millisecond parts are lost).
QJsonValue fromDate(const QDateTime& date);
QDateTime dateFromSeconds(double secondsSinceReferenceDate);
// UUIDs are written upper case without braces and read in any letter case.
QJsonValue fromUuid(const QUuid& uuid);
QString uuidString(const QUuid& uuid);
std::optional<QUuid> uuidFromString(const QString& text);

// Writes the key only when the value is present.
template <typename T, typename Convert>
void insertOptional(QJsonObject& object, const QString& key, const std::optional<T>& value,
                    Convert convert) {
    if (value) {
        object.insert(key, convert(*value));
    }
}
template <typename T>
void insertOptional(QJsonObject& object, const QString& key, const std::optional<T>& value) {
    if (value) {
        object.insert(key, QJsonValue(*value));
    }
}

} // namespace plimbo::json
