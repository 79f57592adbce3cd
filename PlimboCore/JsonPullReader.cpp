#include "JsonPullReader.h"

#include "JsonCoding.h"

#include <QStringDecoder>

#include <charconv>
#include <cmath>
#include <cstring>

namespace plimbo {

namespace {

using Reason = JsonDecodingError::Reason;

constexpr int maximumSkipDepth = 256;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void JsonPullReader::fail(Reason reason, const char* key, const char* what) {
    throw JsonDecodingError(reason,
                            QLatin1String(key) + QStringLiteral(": ") + QLatin1String(what));
}

void JsonPullReader::malformed(const char* what) {
    fail(Reason::malformedDocument, "document", what);
}

QString JsonPullReader::string() {
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

double JsonPullReader::number() {
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

bool JsonPullReader::integer(qint64& value) {
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

bool JsonPullReader::boolean() {
    if (literal("true")) {
        return true;
    }
    if (literal("false")) {
        return false;
    }
    malformed("bad literal");
}

void JsonPullReader::null() {
    if (!literal("null")) {
        malformed("bad literal");
    }
}

// The depth is bounded so that no document can exhaust the stack.
void JsonPullReader::skipValue(int depth) {
    if (depth > maximumSkipDepth) {
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

void JsonPullReader::finish() {
    skipSpace();
    if (m_at != m_end) {
        malformed("text after the document");
    }
}

bool JsonPullReader::literal(const char* word) {
    skipSpace();
    const size_t length = std::strlen(word);
    if (static_cast<size_t>(m_end - m_at) < length || std::memcmp(m_at, word, length) != 0) {
        return false;
    }
    m_at += length;
    return true;
}

// Moves to the next quote, backslash or control character (or the end), clearing `ascii`
// when a byte outside ASCII was passed. Whole 8-byte words are tested at once: replies are
// long, and this keeps scanning them cheap.
void JsonPullReader::scanRun(bool& ascii) {
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
void JsonPullReader::scanNumber() {
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

QString JsonPullReader::utf8(const char* start, qsizetype length) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                     QStringConverter::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(start, length));
    if (decoder.hasError()) {
        malformed("invalid UTF-8");
    }
    return text;
}

// A key without escapes (all the keys callers look for) is handed out without a copy.
QByteArray JsonPullReader::rawString() {
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
QString JsonPullReader::escapedString(const char* start) {
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
bool JsonPullReader::appendUnicodeEscape() {
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
QString JsonPullReader::withUnpairedSurrogates(const char* start) {
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

char16_t JsonPullReader::hexUnit() {
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

void JsonPullReader::requireKind(Kind expected, const char* key, const char* what) {
    const Kind kind = peek();
    if (kind == Kind::null) {
        fail(Reason::missingValue, key, "missing value");
    }
    if (kind != expected) {
        fail(Reason::wrongType, key, what);
    }
}

bool JsonPullReader::skipNull() {
    if (peek() == Kind::null) {
        null();
        return true;
    }
    return false;
}

QString JsonPullReader::requireString(const char* key) {
    requireKind(Kind::string, key, "expected a string");
    return string();
}

std::optional<QString> JsonPullReader::optionalString(const char* key) {
    if (skipNull()) {
        return std::nullopt;
    }
    return requireString(key);
}

QUuid JsonPullReader::requireUuid(const char* key) {
    const std::optional<QUuid> id = json::uuidFromString(requireString(key));
    if (!id) {
        fail(Reason::invalidValue, key, "malformed UUID");
    }
    return *id;
}

double JsonPullReader::requireDouble(const char* key) {
    requireKind(Kind::number, key, "expected a number");
    return number();
}

qint64 JsonPullReader::requireInteger(const char* key) {
    const Kind kind = peek();
    if (kind == Kind::null) {
        fail(Reason::missingValue, key, "missing value");
    }
    qint64 value = 0;
    if (kind != Kind::number || !integer(value)) {
        fail(Reason::wrongType, key, "expected an integer");
    }
    return value;
}

void JsonPullReader::requirePresent(bool present, const char* key) {
    if (!present) {
        fail(Reason::missingValue, key, "missing value");
    }
}

} // namespace plimbo
