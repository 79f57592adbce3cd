#include "JsonCompactWriter.h"

#include "JsonCoding.h"

#include <algorithm>
#include <cstring>

namespace plimbo {

namespace {

char* unicodeEscape(char* out, char16_t unit) {
    static const char hex[] = "0123456789abcdef";
    *out++ = 'u';
    *out++ = hex[(unit >> 12) & 0xf];
    *out++ = hex[(unit >> 8) & 0xf];
    *out++ = hex[(unit >> 4) & 0xf];
    *out++ = hex[unit & 0xf];
    return out;
}

} // namespace

void JsonCompactWriter::string(const QString& text) {
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

void JsonCompactWriter::uuid(const QUuid& id) {
    string(json::uuidString(id));
}

} // namespace plimbo
