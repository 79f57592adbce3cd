#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QMetaType>

#include <compare>

namespace plimbo {

// A moment in the chat history, as the history file holds it: seconds since
// 2001-01-01T00:00:00Z, a double kept exactly, so a date read from the file is written back as
// the same number (a QDateTime would round it to milliseconds). It converts to and from
// QDateTime (at millisecond precision) for the code that shows or sets dates. A default one is
// invalid, like a default QDateTime, and is written as 0.
class ChatDate {
public:
    ChatDate() = default;
    ChatDate(const QDateTime& date); // NOLINT: implicit, dates are set from the clock
    static ChatDate fromSecondsSinceReferenceDate(double seconds);
    // Whether a stored number is a date this type reads: finite and within a few thousand
    // years, so the millisecond count of toDateTime() cannot overflow.
    static bool isReadableSeconds(double seconds);
    // A required date member of a JSON object; JsonDecodingError when it is missing, not a
    // number or not readable.
    static ChatDate requireFromJson(const QJsonObject& object, const QString& key);

    bool isValid() const { return m_valid; }
    double secondsSinceReferenceDate() const { return m_seconds; }
    QDateTime toDateTime() const;
    operator QDateTime() const { return toDateTime(); } // NOLINT: implicit, see above

    friend bool operator==(const ChatDate&, const ChatDate&) = default;
    friend std::partial_ordering operator<=>(const ChatDate&, const ChatDate&) = default;
    // Against a QDateTime, as a date of this kind: without these both conversions would fit.
    friend bool operator==(const ChatDate& a, const QDateTime& b) { return a == ChatDate(b); }
    friend std::partial_ordering operator<=>(const ChatDate& a, const QDateTime& b) {
        return a <=> ChatDate(b);
    }

private:
    bool m_valid = false;
    double m_seconds = 0;
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::ChatDate)
