#include "ChatHistoryCodec.h"

#include "JsonCoding.h"
#include "JsonDecodingError.h"

#include <QStringDecoder>
#include <QTimeZone>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace plimbo {

namespace {

// ---- writing -------------------------------------------------------------------------------

class Writer {
public:
    explicit Writer(qsizetype expectedSize) { m_buffer.reserve(expectedSize); }

    void raw(const char* text) { m_buffer.append(text); }
    void raw(char c) { m_buffer.append(c); }

    // A key with its quotes and colon; keys are plain ASCII.
    void key(const char* name, bool first = false) {
        if (!first) {
            m_buffer.append(',');
        }
        m_buffer.append('"').append(name).append("\":");
    }

    // The same escaping as QJsonDocument: \" \\ \b \f \n \r \t, other controls as \u00xx,
    // everything else as UTF-8; an unpaired surrogate as a \uxxxx escape.
    void string(const QString& text) {
        const qsizetype start = m_buffer.size();
        const qsizetype needed = start + 2 + text.size() * 6; // worst case: every unit escaped
        if (needed > m_buffer.capacity()) {
            // Grow geometrically: resize() alone reallocates to the exact size every time.
            m_buffer.reserve(std::max(needed, m_buffer.capacity() * 2));
        }
        m_buffer.resize(needed);
        char* out = m_buffer.data() + start;
        *out++ = '"';
        const char16_t* source = reinterpret_cast<const char16_t*>(text.constData());
        const char16_t* const end = source + text.size();
        while (source != end) {
            // Four plain ASCII units at a time (no control, quote or backslash): most text.
            while (end - source >= 4) {
                constexpr quint64 ones = 0x0001000100010001ULL;
                constexpr quint64 highs = 0x8000800080008000ULL;
                quint64 units;
                std::memcpy(&units, source, 8);
                const quint64 quote = units ^ (ones * '"');
                const quint64 backslash = units ^ (ones * '\\');
                if ((units & 0xff80ff80ff80ff80ULL) != 0 ||
                    ((((quote - ones) & ~quote) | ((backslash - ones) & ~backslash) |
                      ((units - ones * 0x20) & ~units)) &
                     highs) != 0) {
                    break;
                }
                out[0] = static_cast<char>(source[0]);
                out[1] = static_cast<char>(source[1]);
                out[2] = static_cast<char>(source[2]);
                out[3] = static_cast<char>(source[3]);
                out += 4;
                source += 4;
            }
            if (source == end) {
                break;
            }
            const char16_t unit = *source++;
            if (unit < 0x80) {
                if (unit >= 0x20 && unit != u'"' && unit != u'\\') {
                    *out++ = static_cast<char>(unit);
                    continue;
                }
                *out++ = '\\';
                switch (unit) {
                case u'"':
                    *out++ = '"';
                    break;
                case u'\\':
                    *out++ = '\\';
                    break;
                case 0x08:
                    *out++ = 'b';
                    break;
                case 0x0c:
                    *out++ = 'f';
                    break;
                case 0x0a:
                    *out++ = 'n';
                    break;
                case 0x0d:
                    *out++ = 'r';
                    break;
                case 0x09:
                    *out++ = 't';
                    break;
                default:
                    out = unicodeEscape(out, unit);
                }
            } else if (unit < 0x800) {
                *out++ = static_cast<char>(0xc0 | (unit >> 6));
                *out++ = static_cast<char>(0x80 | (unit & 0x3f));
            } else if (QChar::isHighSurrogate(unit) && source != end &&
                       QChar::isLowSurrogate(*source)) {
                const char32_t point = QChar::surrogateToUcs4(unit, *source++);
                *out++ = static_cast<char>(0xf0 | (point >> 18));
                *out++ = static_cast<char>(0x80 | ((point >> 12) & 0x3f));
                *out++ = static_cast<char>(0x80 | ((point >> 6) & 0x3f));
                *out++ = static_cast<char>(0x80 | (point & 0x3f));
            } else if (QChar::isSurrogate(unit)) {
                *out++ = '\\';
                out = unicodeEscape(out, unit);
            } else {
                *out++ = static_cast<char>(0xe0 | (unit >> 12));
                *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3f));
                *out++ = static_cast<char>(0x80 | (unit & 0x3f));
            }
        }
        *out++ = '"';
        m_buffer.resize(out - m_buffer.constData());
    }

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

    void date(const ChatDate& date) { number(date.secondsSinceReferenceDate()); }
    void uuid(const QUuid& id) { string(json::uuidString(id)); }

    QByteArray take() { return std::move(m_buffer); }

private:
    static char* unicodeEscape(char* out, char16_t unit) {
        static const char hex[] = "0123456789abcdef";
        *out++ = 'u';
        *out++ = hex[(unit >> 12) & 0xf];
        *out++ = hex[(unit >> 8) & 0xf];
        *out++ = hex[(unit >> 4) & 0xf];
        *out++ = hex[unit & 0xf];
        return out;
    }

    QByteArray m_buffer;
};

// Keys in sorted order, as QJsonObject keeps them.
void writeAttachment(Writer& w, const AIChatAttachment& attachment) {
    w.raw('{');
    w.key("byteCount", true);
    w.integer(attachment.byteCount);
    w.key("id");
    w.uuid(attachment.id);
    w.key("kind");
    w.string(toString(attachment.kind));
    w.key("mimeType");
    w.string(attachment.mimeType);
    w.key("name");
    w.string(attachment.name);
    w.key("storageFileName");
    w.string(attachment.storageFileName);
    w.raw('}');
}

void writeTurn(Writer& w, const AIChatTurn& turn) {
    w.raw('{');
    w.key("attachments", true);
    w.raw('[');
    for (qsizetype i = 0; i < turn.attachments.size(); ++i) {
        if (i > 0) {
            w.raw(',');
        }
        writeAttachment(w, turn.attachments.at(i));
    }
    w.raw(']');
    w.key("createdAt");
    w.date(turn.createdAt);
    if (turn.failureMessage) {
        w.key("failureMessage");
        w.string(*turn.failureMessage);
    }
    w.key("id");
    w.uuid(turn.id);
    w.key("prompt");
    w.string(turn.prompt);
    w.key("response");
    w.string(turn.response);
    w.key("state");
    w.string(toString(turn.state));
    w.raw('}');
}

void writeSession(Writer& w, const AIChatSession& session) {
    w.raw('{');
    w.key("createdAt", true);
    w.date(session.createdAt);
    w.key("id");
    w.uuid(session.id);
    w.key("title");
    w.string(session.title);
    w.key("turns");
    w.raw('[');
    for (qsizetype i = 0; i < session.turns.size(); ++i) {
        if (i > 0) {
            w.raw(',');
        }
        writeTurn(w, session.turns.at(i));
    }
    w.raw(']');
    w.key("updatedAt");
    w.date(session.updatedAt);
    w.raw('}');
}

// ---- reading -------------------------------------------------------------------------------

using Reason = JsonDecodingError::Reason;

[[noreturn]] void fail(Reason reason, const QString& context, const char* what) {
    throw JsonDecodingError(reason, context + QStringLiteral(": ") + QLatin1String(what));
}

[[noreturn]] void malformed(const char* what) {
    fail(Reason::malformedDocument, QStringLiteral("document"), what);
}

// A strict pull parser over the UTF-8 bytes of one JSON document.
class Reader {
public:
    explicit Reader(const QByteArray& bytes)
        : m_at(bytes.constData())
        , m_end(bytes.constData() + bytes.size()) {}

    enum class Kind { object, array, string, number, boolean, null };

    Kind peek() {
        skipSpace();
        if (m_at == m_end) {
            malformed("unexpected end");
        }
        switch (*m_at) {
        case '{':
            return Kind::object;
        case '[':
            return Kind::array;
        case '"':
            return Kind::string;
        case 't':
        case 'f':
            return Kind::boolean;
        case 'n':
            return Kind::null;
        default:
            if (*m_at == '-' || (*m_at >= '0' && *m_at <= '9')) {
                return Kind::number;
            }
            malformed("unexpected character");
        }
    }

    // Object members: call beginObject, then nextKey until it returns false.
    void beginObject() {
        expect('{');
        m_first = true;
    }
    bool nextKey(QByteArray& key) {
        skipSpace();
        if (m_at != m_end && *m_at == '}') {
            ++m_at;
            return false;
        }
        if (!m_first) {
            expect(',');
            skipSpace();
        }
        m_first = false;
        key = rawString();
        skipSpace();
        expect(':');
        return true;
    }

    // Array elements: beginArray, then hasElement before each one.
    void beginArray() {
        expect('[');
        m_first = true;
    }
    bool hasElement() {
        skipSpace();
        if (m_at != m_end && *m_at == ']') {
            ++m_at;
            return false;
        }
        if (!m_first) {
            expect(',');
        }
        m_first = false;
        return true;
    }

    QString string() {
        skipSpace();
        if (m_at == m_end || *m_at != '"') {
            malformed("expected a string");
        }
        ++m_at;
        const char* start = m_at;
        bool ascii = true;
        scanRun(ascii);
        if (m_at == m_end) {
            malformed("unterminated string");
        }
        if (*m_at == '"') {
            const qsizetype length = m_at - start;
            ++m_at;
            return ascii ? QString::fromLatin1(start, length) : utf8(start, length);
        }
        if (*m_at != '\\') {
            malformed("control character in string");
        }
        return escapedString(start);
    }

    double number() {
        skipSpace();
        const char* start = m_at;
        scanNumber();
        double value = 0;
        const auto result = std::from_chars(start, m_at, value);
        if (result.ec == std::errc::result_out_of_range) {
            // Like QJsonDocument: out-of-range numbers become infinities, rejected by readers.
            return (*start == '-') ? -HUGE_VAL : HUGE_VAL;
        }
        if (result.ec != std::errc() || result.ptr != m_at) {
            malformed("bad number");
        }
        return value;
    }

    // An integral number; a number with a fraction or out of range fails.
    bool integer(qint64& value) {
        skipSpace();
        const char* start = m_at;
        scanNumber();
        const auto result = std::from_chars(start, m_at, value);
        if (result.ec == std::errc() && result.ptr == m_at) {
            return true;
        }
        // "12.0" or "1.2e1" are integral numbers too.
        double d = 0;
        const auto asDouble = std::from_chars(start, m_at, d);
        if (asDouble.ec != std::errc() || asDouble.ptr != m_at || d != std::trunc(d) ||
            std::fabs(d) >= 9.2e18) {
            return false;
        }
        value = static_cast<qint64>(d);
        return true;
    }

    bool boolean() {
        if (literal("true")) {
            return true;
        }
        if (literal("false")) {
            return false;
        }
        malformed("bad literal");
    }

    void null() {
        if (!literal("null")) {
            malformed("bad literal");
        }
    }

    // Reads past any value (members the records do not declare).
    void skipValue(int depth = 0) {
        if (depth > 256) {
            malformed("nested too deeply");
        }
        switch (peek()) {
        case Kind::object: {
            beginObject();
            QByteArray key;
            while (nextKey(key)) {
                skipValue(depth + 1);
                m_first = false;
            }
            break;
        }
        case Kind::array:
            beginArray();
            while (hasElement()) {
                skipValue(depth + 1);
                m_first = false;
            }
            break;
        case Kind::string:
            string();
            break;
        case Kind::number:
            number();
            break;
        case Kind::boolean:
            boolean();
            break;
        case Kind::null:
            null();
            break;
        }
    }

    void finish() {
        skipSpace();
        if (m_at != m_end) {
            malformed("text after the document");
        }
    }

    // Nested containers reset the "first member" flag; callers restore it after a value.
    void afterValue() { m_first = false; }

private:
    void skipSpace() {
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t')) {
            ++m_at;
        }
    }

    void expect(char c) {
        skipSpace();
        if (m_at == m_end || *m_at != c) {
            malformed("unexpected character");
        }
        ++m_at;
    }

    bool literal(const char* word) {
        skipSpace();
        const size_t length = std::strlen(word);
        if (static_cast<size_t>(m_end - m_at) < length || std::memcmp(m_at, word, length) != 0) {
            return false;
        }
        m_at += length;
        return true;
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // Moves to the next quote, backslash or control character (or the end), clearing `ascii`
    // when a byte outside ASCII was passed. Whole 8-byte words are tested at once: replies are
    // long, and this keeps scanning them cheap.
    void scanRun(bool& ascii) {
        constexpr quint64 ones = 0x0101010101010101ULL;
        constexpr quint64 highs = 0x8080808080808080ULL;
        quint64 high = 0;
        while (m_end - m_at >= 8) {
            quint64 word;
            std::memcpy(&word, m_at, 8);
            const quint64 quote = word ^ (ones * '"');
            const quint64 backslash = word ^ (ones * '\\');
            const quint64 special = ((quote - ones) & ~quote) | ((backslash - ones) & ~backslash) |
                                    ((word - ones * 0x20) & ~word);
            if (special & highs) {
                break;
            }
            high |= word;
            m_at += 8;
        }
        while (m_at != m_end) {
            const unsigned char c = static_cast<unsigned char>(*m_at);
            if (c == '"' || c == '\\' || c < 0x20) {
                break;
            }
            high |= c;
            ++m_at;
        }
        if (high & highs) {
            ascii = false;
        }
    }

    // JSON's number grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    void scanNumber() {
        if (m_at != m_end && *m_at == '-') {
            ++m_at;
        }
        if (m_at == m_end || !isDigit(*m_at)) {
            malformed("bad number");
        }
        if (*m_at == '0') {
            ++m_at;
        } else {
            while (m_at != m_end && isDigit(*m_at)) {
                ++m_at;
            }
        }
        if (m_at != m_end && *m_at == '.') {
            ++m_at;
            if (m_at == m_end || !isDigit(*m_at)) {
                malformed("bad number");
            }
            while (m_at != m_end && isDigit(*m_at)) {
                ++m_at;
            }
        }
        if (m_at != m_end && (*m_at == 'e' || *m_at == 'E')) {
            ++m_at;
            if (m_at != m_end && (*m_at == '+' || *m_at == '-')) {
                ++m_at;
            }
            if (m_at == m_end || !isDigit(*m_at)) {
                malformed("bad number");
            }
            while (m_at != m_end && isDigit(*m_at)) {
                ++m_at;
            }
        }
    }

    static QString utf8(const char* start, qsizetype length) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                         QStringConverter::Flag::Stateless);
        QString text = decoder.decode(QByteArrayView(start, length));
        if (decoder.hasError()) {
            malformed("invalid UTF-8");
        }
        return text;
    }

    // A key's bytes, unescaped; keys the records declare are plain ASCII.
    QByteArray rawString() {
        skipSpace();
        if (m_at == m_end || *m_at != '"') {
            malformed("expected a key");
        }
        const char* start = m_at + 1;
        for (const char* p = start; p != m_end; ++p) {
            if (*p == '"') {
                m_at = p + 1;
                return QByteArray::fromRawData(start, p - start);
            }
            if (*p == '\\') {
                return string().toUtf8();
            }
            if (static_cast<unsigned char>(*p) < 0x20) {
                malformed("control character in key");
            }
        }
        malformed("unterminated key");
    }

    // Called at the first backslash of a string that began at `start`. The unescaped text is
    // gathered as UTF-8 and decoded (and validated) once.
    QString escapedString(const char* start) {
        m_scratch.assign(start, m_at - start);
        for (;;) {
            if (m_at == m_end) {
                malformed("unterminated string");
            }
            const char c = *m_at;
            if (c == '"') {
                ++m_at;
                return utf8(m_scratch.data(), static_cast<qsizetype>(m_scratch.size()));
            }
            if (c != '\\') {
                malformed("control character in string");
            }
            ++m_at;
            if (m_at == m_end) {
                malformed("unterminated string");
            }
            switch (*m_at++) {
            case '"':
                m_scratch.push_back('"');
                break;
            case '\\':
                m_scratch.push_back('\\');
                break;
            case '/':
                m_scratch.push_back('/');
                break;
            case 'b':
                m_scratch.push_back('\b');
                break;
            case 'f':
                m_scratch.push_back('\f');
                break;
            case 'n':
                m_scratch.push_back('\n');
                break;
            case 'r':
                m_scratch.push_back('\r');
                break;
            case 't':
                m_scratch.push_back('\t');
                break;
            case 'u':
                if (!appendUnicodeEscape()) {
                    return withUnpairedSurrogates(start);
                }
                break;
            default:
                malformed("bad escape");
            }
            const char* run = m_at;
            bool ascii = true;
            scanRun(ascii);
            m_scratch.append(run, m_at - run);
        }
    }

    // Appends the UTF-8 of a \u escape (m_at just past the "u"); a surrogate pair written as two
    // escapes counts as one character. False for an unpaired surrogate, which UTF-8 cannot hold.
    bool appendUnicodeEscape() {
        char32_t point = hexUnit();
        if (QChar::isLowSurrogate(point)) {
            return false;
        }
        if (QChar::isHighSurrogate(point)) {
            if (m_end - m_at < 6 || m_at[0] != '\\' || m_at[1] != 'u') {
                return false;
            }
            const char* resume = m_at;
            m_at += 2;
            const char16_t low = hexUnit();
            if (!QChar::isLowSurrogate(low)) {
                m_at = resume;
                return false;
            }
            point = QChar::surrogateToUcs4(static_cast<char16_t>(point), low);
        }
        char bytes[4];
        int length = 0;
        if (point < 0x80) {
            bytes[length++] = static_cast<char>(point);
        } else if (point < 0x800) {
            bytes[length++] = static_cast<char>(0xc0 | (point >> 6));
            bytes[length++] = static_cast<char>(0x80 | (point & 0x3f));
        } else if (point < 0x10000) {
            bytes[length++] = static_cast<char>(0xe0 | (point >> 12));
            bytes[length++] = static_cast<char>(0x80 | ((point >> 6) & 0x3f));
            bytes[length++] = static_cast<char>(0x80 | (point & 0x3f));
        } else {
            bytes[length++] = static_cast<char>(0xf0 | (point >> 18));
            bytes[length++] = static_cast<char>(0x80 | ((point >> 12) & 0x3f));
            bytes[length++] = static_cast<char>(0x80 | ((point >> 6) & 0x3f));
            bytes[length++] = static_cast<char>(0x80 | (point & 0x3f));
        }
        m_scratch.append(bytes, length);
        return true;
    }

    // The rare string with an unpaired surrogate escape (QJsonDocument writes one for such a
    // QString): decoded in UTF-16 pieces so the lone unit survives, as QJsonDocument keeps it.
    QString withUnpairedSurrogates(const char* start) {
        m_at = start;
        QString text;
        const char* run = m_at;
        const auto flush = [&] {
            if (m_at != run) {
                text += utf8(run, m_at - run);
            }
        };
        while (m_at != m_end) {
            const unsigned char c = static_cast<unsigned char>(*m_at);
            if (c == '"') {
                flush();
                ++m_at;
                return text;
            }
            if (c < 0x20) {
                malformed("control character in string");
            }
            if (c != '\\') {
                ++m_at;
                continue;
            }
            flush();
            ++m_at;
            if (m_at == m_end) {
                break;
            }
            switch (*m_at++) {
            case '"':
                text += u'"';
                break;
            case '\\':
                text += u'\\';
                break;
            case '/':
                text += u'/';
                break;
            case 'b':
                text += u'\b';
                break;
            case 'f':
                text += u'\f';
                break;
            case 'n':
                text += u'\n';
                break;
            case 'r':
                text += u'\r';
                break;
            case 't':
                text += u'\t';
                break;
            case 'u':
                text += QChar(hexUnit());
                break;
            default:
                malformed("bad escape");
            }
            run = m_at;
        }
        malformed("unterminated string");
    }

    char16_t hexUnit() {
        if (m_end - m_at < 4) {
            malformed("bad escape");
        }
        char16_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *m_at++;
            unit <<= 4;
            if (c >= '0' && c <= '9') {
                unit |= c - '0';
            } else if (c >= 'a' && c <= 'f') {
                unit |= c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                unit |= c - 'A' + 10;
            } else {
                malformed("bad escape");
            }
        }
        return unit;
    }

    const char* m_at;
    const char* m_end;
    bool m_first = true;
    std::string m_scratch; // reused for every escaped string
};

// Field readers with the records' rules: null counts as missing.

bool isNull(Reader& r) {
    if (r.peek() == Reader::Kind::null) {
        r.null();
        return true;
    }
    return false;
}

QString readString(Reader& r, const char* key) {
    const Reader::Kind kind = r.peek();
    if (kind == Reader::Kind::null) {
        fail(Reason::missingValue, QLatin1String(key), "missing value");
    }
    if (kind != Reader::Kind::string) {
        fail(Reason::wrongType, QLatin1String(key), "expected a string");
    }
    return r.string();
}

std::optional<QString> readOptionalString(Reader& r, const char* key) {
    if (isNull(r)) {
        return std::nullopt;
    }
    return readString(r, key);
}

QUuid readUuid(Reader& r, const char* key) {
    const std::optional<QUuid> id = json::uuidFromString(readString(r, key));
    if (!id) {
        fail(Reason::invalidValue, QLatin1String(key), "malformed UUID");
    }
    return *id;
}

ChatDate readDate(Reader& r, const char* key) {
    const Reader::Kind kind = r.peek();
    if (kind == Reader::Kind::null) {
        fail(Reason::missingValue, QLatin1String(key), "missing value");
    }
    if (kind != Reader::Kind::number) {
        fail(Reason::wrongType, QLatin1String(key), "expected a number");
    }
    const double seconds = r.number();
    if (!ChatDate::isReadableSeconds(seconds)) {
        fail(Reason::invalidValue, QLatin1String(key), "invalid date");
    }
    return ChatDate::fromSecondsSinceReferenceDate(seconds);
}

qint64 readInteger(Reader& r, const char* key) {
    const Reader::Kind kind = r.peek();
    if (kind == Reader::Kind::null) {
        fail(Reason::missingValue, QLatin1String(key), "missing value");
    }
    qint64 value = 0;
    if (kind != Reader::Kind::number || !r.integer(value)) {
        fail(Reason::wrongType, QLatin1String(key), "expected an integer");
    }
    return value;
}

void requireKind(Reader& r, Reader::Kind expected, const char* key, const char* what) {
    const Reader::Kind kind = r.peek();
    if (kind == Reader::Kind::null) {
        fail(Reason::missingValue, QLatin1String(key), "missing value");
    }
    if (kind != expected) {
        fail(Reason::wrongType, QLatin1String(key), what);
    }
}

void requirePresent(bool present, const char* key) {
    if (!present) {
        fail(Reason::missingValue, QLatin1String(key), "missing value");
    }
}

AIChatAttachment readAttachment(Reader& r) {
    requireKind(r, Reader::Kind::object, "attachment", "expected an object");
    AIChatAttachment attachment;
    bool id = false, name = false, mimeType = false, kind = false, byteCount = false,
         storageFileName = false;
    QByteArray key;
    r.beginObject();
    while (r.nextKey(key)) {
        if (key == "id") {
            attachment.id = readUuid(r, "id");
            id = true;
        } else if (key == "name") {
            attachment.name = readString(r, "name");
            name = true;
        } else if (key == "mimeType") {
            attachment.mimeType = readString(r, "mimeType");
            mimeType = true;
        } else if (key == "kind") {
            const std::optional<AIChatAttachmentKind> value =
                aiChatAttachmentKindFromString(readString(r, "kind"));
            if (!value) {
                fail(Reason::invalidValue, QStringLiteral("kind"), "unknown attachment kind");
            }
            attachment.kind = *value;
            kind = true;
        } else if (key == "byteCount") {
            attachment.byteCount = readInteger(r, "byteCount");
            byteCount = true;
        } else if (key == "storageFileName") {
            attachment.storageFileName = readString(r, "storageFileName");
            storageFileName = true;
        } else {
            r.skipValue();
        }
        r.afterValue();
    }
    requirePresent(id, "id");
    requirePresent(name, "name");
    requirePresent(mimeType, "mimeType");
    requirePresent(kind, "kind");
    requirePresent(byteCount, "byteCount");
    requirePresent(storageFileName, "storageFileName");
    return attachment;
}

AIChatTurn readTurn(Reader& r) {
    requireKind(r, Reader::Kind::object, "turn", "expected an object");
    AIChatTurn turn;
    bool id = false, prompt = false, response = false, createdAt = false;
    QByteArray key;
    r.beginObject();
    while (r.nextKey(key)) {
        if (key == "id") {
            turn.id = readUuid(r, "id");
            id = true;
        } else if (key == "prompt") {
            turn.prompt = readString(r, "prompt");
            prompt = true;
        } else if (key == "response") {
            turn.response = readString(r, "response");
            response = true;
        } else if (key == "createdAt") {
            turn.createdAt = readDate(r, "createdAt");
            createdAt = true;
        } else if (key == "state") {
            turn.state = AIChatTurnState::completed;
            if (const std::optional<QString> raw = readOptionalString(r, "state")) {
                const std::optional<AIChatTurnState> state = aiChatTurnStateFromString(*raw);
                if (!state) {
                    fail(Reason::invalidValue, QStringLiteral("state"), "unknown turn state");
                }
                turn.state = *state;
            }
        } else if (key == "failureMessage") {
            turn.failureMessage = readOptionalString(r, "failureMessage");
        } else if (key == "attachments") {
            turn.attachments.clear();
            if (!isNull(r)) {
                requireKind(r, Reader::Kind::array, "attachments", "expected an array");
                r.beginArray();
                while (r.hasElement()) {
                    turn.attachments.append(readAttachment(r));
                    r.afterValue();
                }
            }
        } else {
            r.skipValue();
        }
        r.afterValue();
    }
    requirePresent(id, "id");
    requirePresent(prompt, "prompt");
    requirePresent(response, "response");
    requirePresent(createdAt, "createdAt");
    return turn;
}

AIChatSession readSession(Reader& r) {
    requireKind(r, Reader::Kind::object, "session", "expected an object");
    AIChatSession session;
    bool id = false, title = false, turns = false, createdAt = false, updatedAt = false;
    QByteArray key;
    r.beginObject();
    while (r.nextKey(key)) {
        if (key == "id") {
            session.id = readUuid(r, "id");
            id = true;
        } else if (key == "title") {
            session.title = readString(r, "title");
            title = true;
        } else if (key == "turns") {
            requireKind(r, Reader::Kind::array, "turns", "expected an array");
            session.turns.clear();
            r.beginArray();
            while (r.hasElement()) {
                session.turns.append(readTurn(r));
                r.afterValue();
            }
            turns = true;
        } else if (key == "createdAt") {
            session.createdAt = readDate(r, "createdAt");
            createdAt = true;
        } else if (key == "updatedAt") {
            session.updatedAt = readDate(r, "updatedAt");
            updatedAt = true;
        } else {
            r.skipValue();
        }
        r.afterValue();
    }
    requirePresent(id, "id");
    requirePresent(title, "title");
    requirePresent(turns, "turns");
    requirePresent(createdAt, "createdAt");
    requirePresent(updatedAt, "updatedAt");
    return session;
}

} // namespace

QByteArray ChatHistoryCodec::encode(const QList<AIChatSession>& sessions) {
    qsizetype expected = 2;
    for (const AIChatSession& session : sessions) {
        for (const AIChatTurn& turn : session.turns) {
            expected += 256 + turn.prompt.size() + turn.response.size() * 11 / 10;
        }
    }
    Writer w(expected);
    w.raw('[');
    for (qsizetype i = 0; i < sessions.size(); ++i) {
        if (i > 0) {
            w.raw(',');
        }
        writeSession(w, sessions.at(i));
    }
    w.raw(']');
    return w.take();
}

QList<AIChatSession> ChatHistoryCodec::decode(const QByteArray& bytes) {
    Reader r(bytes);
    requireKind(r, Reader::Kind::array, "history", "expected an array");
    QList<AIChatSession> sessions;
    r.beginArray();
    while (r.hasElement()) {
        sessions.append(readSession(r));
        r.afterValue();
    }
    r.finish();
    return sessions;
}

} // namespace plimbo
