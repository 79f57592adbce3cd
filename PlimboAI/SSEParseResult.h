#pragma once

#include <QByteArray>

namespace plimbo {

// What one line of an event stream carries.
class SSEParseResult {
public:
    enum class Kind { payload, ignored, done };

    static SSEParseResult payload(QByteArray bytes) { return {Kind::payload, std::move(bytes)}; }
    static SSEParseResult ignored() { return {Kind::ignored, {}}; }
    static SSEParseResult done() { return {Kind::done, {}}; }

    Kind kind() const { return m_kind; }
    // UTF-8 bytes of a data line's payload; empty for the other kinds.
    const QByteArray& bytes() const { return m_bytes; }

    bool operator==(const SSEParseResult& other) const {
        return m_kind == other.m_kind && m_bytes == other.m_bytes;
    }

private:
    SSEParseResult(Kind kind, QByteArray bytes)
        : m_kind(kind)
        , m_bytes(std::move(bytes)) {}

    Kind m_kind;
    QByteArray m_bytes;
};

} // namespace plimbo
