#include "ClipboardSearchText.h"

#include <QChar>
#include <QtAlgorithms>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace plimbo {

namespace {

void appendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::size_t pairIndex(uchar a, uchar b) {
    return (std::size_t(a) << 8) | b;
}

std::size_t tripleIndex(uchar a, uchar b, uchar c, std::size_t bits) {
    const quint32 key = (quint32(a) << 16) | (quint32(b) << 8) | c;
    return (key * 2654435761u) >> 16 & (bits - 1);
}

bool hasLoneSurrogate(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            return true;
        }
    }
    return false;
}

} // namespace

QByteArray ClipboardSearchText::fold(QStringView text) {
    QByteArray out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(char16_t(c), text[i + 1].unicode());
            ++i;
        }
        // QString folds each code unit, or a whole pair at its low half, and leaves lone
        // surrogates as they are.
        appendUtf8(out, QChar::isSurrogate(c) ? c : QChar::toCaseFolded(c));
    }
    return out;
}

std::optional<QByteArray> ClipboardSearchText::foldQuery(QStringView query) {
    if (hasLoneSurrogate(query)) {
        return std::nullopt;
    }
    return fold(query);
}

ClipboardSearchText::ClipboardSearchText(QStringView text)
    : m_folded(fold(text))
    , m_pairs(1 << 16)
    , m_triples(tripleBits) {
    const auto* bytes = reinterpret_cast<const uchar*>(m_folded.constData());
    const qsizetype size = m_folded.size();
    for (qsizetype i = 0; i < size; ++i) {
        ++m_byteCounts[bytes[i]];
        if (i + 1 < size) {
            m_pairs[pairIndex(bytes[i], bytes[i + 1])] = true;
        }
        if (i + 2 < size) {
            m_triples[tripleIndex(bytes[i], bytes[i + 1], bytes[i + 2], tripleBits)] = true;
        }
    }
}

bool ClipboardSearchText::mayContain(const QByteArray& foldedQuery) const {
    const auto* bytes = reinterpret_cast<const uchar*>(foldedQuery.constData());
    const qsizetype size = foldedQuery.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (m_byteCounts[bytes[i]] == 0) {
            return false;
        }
        if (i + 1 < size && !m_pairs[pairIndex(bytes[i], bytes[i + 1])]) {
            return false;
        }
        if (i + 2 < size &&
            !m_triples[tripleIndex(bytes[i], bytes[i + 1], bytes[i + 2], tripleBits)]) {
            return false;
        }
    }
    return true;
}

bool ClipboardSearchText::contains(const QByteArray& foldedQuery) const {
    const qsizetype length = foldedQuery.size();
    if (length == 0) {
        return true;
    }
    if (length > m_folded.size() || !mayContain(foldedQuery)) {
        return false;
    }
    const char* text = m_folded.constData();
    const char* query = foldedQuery.constData();
    if (length == 1) {
        return std::memchr(text, query[0], m_folded.size()) != nullptr;
    }
    // Candidates are the places where the query's two rarest bytes (in this text) both sit;
    // only those are compared in full.
    qsizetype first = 0;
    qsizetype second = 1;
    const auto count = [&](qsizetype i) {
        return m_byteCounts[uchar(query[i])];
    };
    if (count(second) < count(first)) {
        std::swap(first, second);
    }
    for (qsizetype i = 2; i < length; ++i) {
        if (count(i) < count(first)) {
            second = first;
            first = i;
        } else if (count(i) < count(second)) {
            second = i;
        }
    }
    const qsizetype starts = m_folded.size() - length + 1;
    qsizetype start = 0;
#ifdef __SSE2__
    const __m128i firstByte = _mm_set1_epi8(query[first]);
    const __m128i secondByte = _mm_set1_epi8(query[second]);
    for (; start + 16 <= starts; start += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + start + first));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + start + second));
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(a, firstByte), _mm_cmpeq_epi8(b, secondByte))));
        while (mask != 0) {
            const qsizetype candidate = start + qCountTrailingZeroBits(mask);
            if (std::memcmp(text + candidate, query, length) == 0) {
                return true;
            }
            mask &= mask - 1;
        }
    }
#endif
    for (; start < starts; ++start) {
        if (text[start + first] == query[first] && text[start + second] == query[second] &&
            std::memcmp(text + start, query, length) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace plimbo
