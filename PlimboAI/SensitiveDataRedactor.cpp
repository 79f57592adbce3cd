#include "SensitiveDataRedactor.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace plimbo {

namespace {

// One compiled copy per thread: the redactor runs on worker threads while building requests.
// Every subject is valid UTF-16 by the time it is matched (see validUtf16), so PCRE2 need not
// check it again on every search.
constexpr auto kMatchOptions = QRegularExpression::DontCheckSubjectStringMatchOption;

QRegularExpression compiled(const QString& pattern) {
    QRegularExpression expression(pattern, QRegularExpression::UseUnicodePropertiesOption);
    expression.optimize();
    return expression;
}

const QRegularExpression& providerKey() {
    thread_local const QRegularExpression expression =
        compiled(QStringLiteral("sk-or-v1-[A-Za-z0-9_-]{16,}"));
    return expression;
}

// Only the header: the key material up to the matching footer is found by plain search,
// which stays linear however long the key is.
const QRegularExpression& privateKeyHeader() {
    thread_local const QRegularExpression expression = compiled(
        QStringLiteral("-----BEGIN ((?:RSA |EC |OPENSSH |DSA |ENCRYPTED )?PRIVATE KEY)-----"));
    return expression;
}

const QRegularExpression& credentialAssignment() {
    thread_local const QRegularExpression expression =
        compiled(QStringLiteral(R"((?i)(?:api[_ -]?key|token|password)\s*[:=]\s*[^\s]{8,})"));
    return expression;
}

// The non-space run an assignment's value takes, with the same idea of space as the pattern.
const QRegularExpression& nonSpaceRun() {
    thread_local const QRegularExpression expression = compiled(QStringLiteral(R"([^\s]*)"));
    return expression;
}

// PCRE2 refuses a subject with a lone surrogate and then matches nothing at all, which would
// let every secret in such a text through. Lone surrogates become U+FFFD first (the UTF-8
// sent to the provider could not carry them anyway).
QString validUtf16(const QString& text) {
    if (text.isValidUtf16()) {
        return text;
    }
    QString repaired = text;
    QChar* data = repaired.data();
    const qsizetype size = repaired.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i].isHighSurrogate() && i + 1 < size && data[i + 1].isLowSurrogate()) {
            ++i;
        } else if (data[i].isSurrogate()) {
            data[i] = QChar::ReplacementCharacter;
        }
    }
    return repaired;
}

struct Range {
    qsizetype start;
    qsizetype end;
};

// The patterns apply one after another, each to the text the previous one left, markers
// included. Rebuilding the whole text after every pattern cost four full copies of up to
// 15 MiB; instead every pattern is searched in the original text, with the ranges already
// masked standing in for their markers, and the text is rebuilt once. That is exact because a
// marker is bracketed: "[" and "]" end every run the patterns look for (key characters,
// header text, an assignment's label, a word), so no match can begin inside a marker or join
// text across one, and only an assignment's value (any non-space characters) runs through it.

// Ranges sorted by start and not overlapping; `at` finds the one holding a position.
class Masked {
public:
    explicit Masked(QList<Range> ranges)
        : m_ranges(std::move(ranges)) {}

    const QList<Range>& ranges() const { return m_ranges; }

    // The range containing `position`, or nullptr.
    const Range* containing(qsizetype position) const {
        const auto next = std::upper_bound(
            m_ranges.cbegin(), m_ranges.cend(), position,
            [](qsizetype value, const Range& range) { return value < range.start; });
        if (next == m_ranges.cbegin()) {
            return nullptr;
        }
        const Range& candidate = *(next - 1);
        return position < candidate.end ? &candidate : nullptr;
    }

    // The first range ending after `start` and beginning before `end`, or nullptr.
    const Range* overlapping(qsizetype start, qsizetype end) const {
        const auto first =
            std::upper_bound(m_ranges.cbegin(), m_ranges.cend(), start,
                             [](qsizetype value, const Range& range) { return value < range.end; });
        return first != m_ranges.cend() && first->start < end ? &*first : nullptr;
    }

    // The first range beginning at or after `position`, or nullptr.
    const Range* from(qsizetype position) const {
        const auto first = std::lower_bound(
            m_ranges.cbegin(), m_ranges.cend(), position,
            [](const Range& range, qsizetype value) { return range.start < value; });
        return first != m_ranges.cend() ? &*first : nullptr;
    }

private:
    QList<Range> m_ranges;
};

// Sorted ranges, merged where one overlaps or holds another: a match that took in markers
// becomes one marker.
QList<Range> merged(QList<Range> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const Range& a, const Range& b) { return a.start < b.start; });
    QList<Range> result;
    result.reserve(ranges.size());
    for (const Range& range : ranges) {
        if (!result.isEmpty() && range.start < result.last().end) {
            result.last().end = std::max(result.last().end, range.end);
        } else {
            result.append(range);
        }
    }
    return result;
}

QList<Range> providerKeyRanges(const QString& text) {
    QList<Range> ranges;
    QRegularExpressionMatchIterator matches =
        providerKey().globalMatch(text, 0, QRegularExpression::NormalMatch, kMatchOptions);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        ranges.append({match.capturedStart(), match.capturedEnd()});
    }
    return ranges;
}

// A private key runs from its header through the footer of the same kind, or through the end
// of the text when the footer is missing (a pasted key cut short is still secret). Headers and
// footers that a provider key already took are gone.
QList<Range> privateKeyRanges(const QString& text, const Masked& keys) {
    QList<Range> ranges;
    qsizetype offset = 0;
    while (offset < text.size()) {
        const QRegularExpressionMatch header =
            privateKeyHeader().match(text, offset, QRegularExpression::NormalMatch, kMatchOptions);
        if (!header.hasMatch()) {
            break;
        }
        if (const Range* taken = keys.overlapping(header.capturedStart(), header.capturedEnd())) {
            offset = std::max(taken->end, header.capturedStart() + 1);
            continue;
        }
        const QString footer =
            QStringLiteral("-----END ") + header.captured(1) + QStringLiteral("-----");
        qsizetype footerStart = text.indexOf(footer, header.capturedEnd());
        while (footerStart >= 0 && keys.overlapping(footerStart, footerStart + footer.size())) {
            footerStart = text.indexOf(footer, footerStart + 1);
        }
        if (footerStart < 0) {
            ranges.append({header.capturedStart(), text.size()});
            break;
        }
        // Any header inside the key is part of what is masked.
        offset = footerStart + footer.size();
        ranges.append({header.capturedStart(), offset});
    }
    return ranges;
}

// Assignments, searched with earlier secrets standing in for their markers: one that begins
// inside a masked range does not exist; a value that reaches a masked range runs through it
// (its marker has no space) and on to the next space.
QList<Range> assignmentRanges(const QString& text, const Masked& masked) {
    QList<Range> ranges;
    qsizetype offset = 0;
    while (offset < text.size()) {
        const QRegularExpressionMatch match = credentialAssignment().match(
            text, offset, QRegularExpression::NormalMatch, kMatchOptions);
        if (!match.hasMatch()) {
            break;
        }
        const qsizetype start = match.capturedStart();
        if (const Range* inside = masked.containing(start)) {
            offset = inside->end;
            continue;
        }
        qsizetype end = match.capturedEnd();
        // Label, sign and spaces cannot reach into a range (see above), so the first range the
        // match touches lies in its value.
        for (const Range* reached = masked.overlapping(start, end); reached;
             reached = masked.overlapping(reached->end, end)) {
            const QRegularExpressionMatch rest =
                nonSpaceRun().match(text, reached->end, QRegularExpression::NormalMatch,
                                    kMatchOptions | QRegularExpression::AnchorAtOffsetMatchOption);
            end = std::max(end, rest.capturedEnd());
        }
        ranges.append({start, end});
        offset = end;
    }
    return ranges;
}

// Word characters and decimal digits as PCRE2 defines \w and \d with Unicode properties:
// letters, numbers and the underscore; digits are category Nd.
enum CharClass : quint8 { other = 0, word = 1, digit = 3 };

const std::array<quint8, 128>& asciiClasses() {
    static const std::array<quint8, 128> classes = [] {
        std::array<quint8, 128> table{};
        for (int c = 0; c < 128; ++c) {
            if (c >= '0' && c <= '9') {
                table[c] = digit;
            } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_') {
                table[c] = word;
            }
        }
        return table;
    }();
    return classes;
}

quint8 classOf(char32_t codePoint) {
    if (codePoint < 128) {
        return asciiClasses()[codePoint];
    }
    switch (QChar::category(codePoint)) {
    case QChar::Number_DecimalDigit:
        return digit;
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return word;
    default:
        return other;
    }
}

// "\b\d{6}\b" (a one-time code) scanned by hand: with Unicode properties PCRE2 cannot skip
// ahead to a likely start and costs several times more than the other patterns together.
// Since digits are word characters, a match is exactly a maximal run of word characters that
// is six decimal digits long (in code points). Masked ranges are skipped and end a run, as
// their bracketed markers would.
QList<Range> oneTimeCodeRanges(const QString& text, const Masked& masked) {
    QList<Range> ranges;
    const QChar* data = text.constData();
    const qsizetype size = text.size();
    const QList<Range>& skipped = masked.ranges();
    qsizetype nextSkip = 0;
    qsizetype runStart = -1;
    int runLength = 0;
    bool runIsDigits = true;
    qsizetype i = 0;
    while (i <= size) {
        quint8 kind = other;
        qsizetype width = 1;
        bool jump = false;
        if (nextSkip < skipped.size() && i == skipped[nextSkip].start) {
            jump = true; // the marker's "[" ends the run
        } else if (i < size) {
            const char16_t unit = data[i].unicode();
            if (unit < 128) {
                kind = asciiClasses()[unit];
            } else if (QChar::isHighSurrogate(unit) && i + 1 < size &&
                       data[i + 1].isLowSurrogate()) {
                kind = classOf(QChar::surrogateToUcs4(unit, data[i + 1].unicode()));
                width = 2;
            } else {
                kind = classOf(unit);
            }
        }
        if (kind != other) {
            if (runStart < 0) {
                runStart = i;
                runLength = 0;
                runIsDigits = true;
            }
            ++runLength;
            runIsDigits = runIsDigits && kind == digit;
        } else if (runStart >= 0) {
            if (runLength == 6 && runIsDigits) {
                ranges.append({runStart, i});
            }
            runStart = -1;
        }
        if (jump) {
            i = skipped[nextSkip++].end;
        } else {
            i += width;
        }
    }
    return ranges;
}

// The text with each range replaced by the marker, in one allocation of the exact size; the
// same (shared) string when there is no range.
QString replaceRanges(const QString& text, const QList<Range>& ranges) {
    if (ranges.isEmpty()) {
        return text;
    }
    const QString& marker = SensitiveDataRedactor::marker;
    qsizetype size = text.size();
    for (const Range& range : ranges) {
        size += marker.size() - (range.end - range.start);
    }
    QString result(size, Qt::Uninitialized);
    QChar* out = result.data();
    const QChar* in = text.constData();
    qsizetype copied = 0;
    for (const Range& range : ranges) {
        out = std::copy(in + copied, in + range.start, out);
        out = std::copy(marker.cbegin(), marker.cend(), out);
        copied = range.end;
    }
    std::copy(in + copied, in + text.size(), out);
    return result;
}

} // namespace

QString SensitiveDataRedactor::redacted(const QString& text) const {
    const QString subject = validUtf16(text);
    QList<Range> ranges = providerKeyRanges(subject);
    const Masked keys(ranges);
    ranges += privateKeyRanges(subject, keys);
    const Masked keysAndBlocks(merged(std::move(ranges)));
    ranges = keysAndBlocks.ranges();
    ranges += assignmentRanges(subject, keysAndBlocks);
    const Masked beforeCodes(merged(std::move(ranges)));
    ranges = beforeCodes.ranges();
    ranges += oneTimeCodeRanges(subject, beforeCodes);
    return replaceRanges(subject, merged(std::move(ranges)));
}

bool SensitiveDataRedactor::containsSensitiveData(const QString& text) const {
    const QString subject = validUtf16(text);
    const auto matches = [&](const QRegularExpression& expression) {
        return expression.match(subject, 0, QRegularExpression::NormalMatch, kMatchOptions)
            .hasMatch();
    };
    return matches(providerKey()) || matches(privateKeyHeader()) ||
           matches(credentialAssignment()) || !oneTimeCodeRanges(subject, Masked({})).isEmpty();
}

} // namespace plimbo
