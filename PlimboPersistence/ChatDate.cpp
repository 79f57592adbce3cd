#include "ChatDate.h"

#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <QTimeZone>

#include <cmath>

namespace plimbo {

namespace {

const QDateTime& referenceDate() {
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return reference;
}

} // namespace

ChatDate::ChatDate(const QDateTime& date)
    : m_valid(date.isValid())
    , m_seconds(date.isValid() ? static_cast<double>(referenceDate().msecsTo(date)) / 1000.0 : 0) {}

ChatDate ChatDate::fromSecondsSinceReferenceDate(double seconds) {
    ChatDate date;
    date.m_valid = true;
    date.m_seconds = seconds;
    return date;
}

bool ChatDate::isReadableSeconds(double seconds) {
    return std::isfinite(seconds) && std::fabs(seconds) <= 1e12;
}

ChatDate ChatDate::requireFromJson(const QJsonObject& object, const QString& key) {
    const double seconds = json::requireDouble(object, key);
    if (!isReadableSeconds(seconds)) {
        throw JsonDecodingError(JsonDecodingError::Reason::invalidValue,
                                key + QStringLiteral(": invalid date"));
    }
    return fromSecondsSinceReferenceDate(seconds);
}

QDateTime ChatDate::toDateTime() const {
    if (!m_valid) {
        return {};
    }
    return referenceDate().addMSecs(std::llround(m_seconds * 1000.0));
}

} // namespace plimbo
