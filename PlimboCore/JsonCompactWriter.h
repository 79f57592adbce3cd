#pragma once

#include <QByteArray>
#include <QString>
#include <QUuid>

#include <charconv>

namespace plimbo {

// Writes compact JSON text straight into one growing buffer, byte for byte what
// QJsonDocument::Compact writes for the same values, without building a QJsonDocument first
// (several times too slow for a large file). The caller writes the structure: brackets, commas
// and keys in the order it wants them (QJsonObject sorts its keys; a caller matching it writes
// them sorted). Nothing is checked: a caller that writes "{" and never "}" gets broken text.
// Used on one thread at a time.
class JsonCompactWriter {
public:
    explicit JsonCompactWriter(qsizetype expectedSize) { m_buffer.reserve(expectedSize); }

    void raw(const char* text) { m_buffer.append(text); }
    void raw(char c) { m_buffer.append(c); }

    // A member's key with its quotes and colon, after a comma unless it is the object's first.
    // Keys are plain ASCII and written unescaped.
    void key(const char* name, bool first = false) {
        if (!first) {
            m_buffer.append(',');
        }
        m_buffer.append('"').append(name).append("\":");
    }

    // The same escaping as QJsonDocument: \" \\ \b \f \n \r \t, other controls as \u00xx,
    // everything else as UTF-8; an unpaired surrogate as a \uxxxx escape.
    void string(const QString& text);

    // The shortest text that reads back as the same double.
    void number(double value) {
        char digits[32];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        m_buffer.append(digits, result.ptr - digits);
    }

    void integer(qint64 value) {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, value);
        m_buffer.append(digits, result.ptr - digits);
    }

    // As json::fromUuid writes it: upper case, without braces.
    void uuid(const QUuid& id);

    QByteArray take() { return std::move(m_buffer); }

private:
    QByteArray m_buffer;
};

} // namespace plimbo
