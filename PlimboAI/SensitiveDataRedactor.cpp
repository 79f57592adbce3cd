#include "SensitiveDataRedactor.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace plimbo {

namespace {

// One compiled copy per thread: the redactor runs on worker threads while building requests.
// Every subject is valid UTF-16 by the time it is matched (see validUtf16), so PCRE2 need not
// check each of the four passes over it again.
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
    thread_local const QRegularExpression expression =
        compiled(QStringLiteral("-----BEGIN ((?:RSA |EC |OPENSSH )?PRIVATE KEY)-----"));
    return expression;
}

const QRegularExpression& credentialAssignment() {
    thread_local const QRegularExpression expression =
        compiled(QStringLiteral(R"((?i)(?:api[_ -]?key|token|password)\s*[:=]\s*[^\s]{8,})"));
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

// Rebuilds the text with each range replaced by the marker, in one allocation of the exact
// size; the same (shared) string when there is no range.
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

QList<Range> matchRanges(const QString& text, const QRegularExpression& expression) {
    QList<Range> ranges;
    QRegularExpressionMatchIterator matches =
        expression.globalMatch(text, 0, QRegularExpression::NormalMatch, kMatchOptions);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        ranges.append({match.capturedStart(), match.capturedEnd()});
    }
    return ranges;
}

// A private key runs from its header through the footer of the same kind, or through the end
// of the text when the footer is missing (a pasted key cut short is still secret).
QList<Range> privateKeyRanges(const QString& text) {
    QList<Range> ranges;
    QRegularExpressionMatchIterator headers =
        privateKeyHeader().globalMatch(text, 0, QRegularExpression::NormalMatch, kMatchOptions);
    qsizetype covered = 0;
    while (headers.hasNext()) {
        const QRegularExpressionMatch header = headers.next();
        if (header.capturedStart() < covered) {
            continue; // a header inside a key already masked
        }
        const QString footer =
            QStringLiteral("-----END ") + header.captured(1) + QStringLiteral("-----");
        const qsizetype footerStart = text.indexOf(footer, header.capturedEnd());
        if (footerStart < 0) {
            ranges.append({header.capturedStart(), text.size()});
            break;
        }
        covered = footerStart + footer.size();
        ranges.append({header.capturedStart(), covered});
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
// is six decimal digits long (in code points).
QList<Range> oneTimeCodeRanges(const QString& text) {
    QList<Range> ranges;
    const QChar* data = text.constData();
    const qsizetype size = text.size();
    qsizetype runStart = -1;
    int runLength = 0;
    bool runIsDigits = true;
    qsizetype i = 0;
    while (i <= size) {
        quint8 kind = other;
        qsizetype width = 1;
        if (i < size) {
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
        i += width;
    }
    return ranges;
}

} // namespace

QString SensitiveDataRedactor::redacted(const QString& text) const {
    QString result = validUtf16(text);
    result = replaceRanges(result, matchRanges(result, providerKey()));
    result = replaceRanges(result, privateKeyRanges(result));
    result = replaceRanges(result, matchRanges(result, credentialAssignment()));
    return replaceRanges(result, oneTimeCodeRanges(result));
}

bool SensitiveDataRedactor::containsSensitiveData(const QString& text) const {
    const QString subject = validUtf16(text);
    const auto matches = [&](const QRegularExpression& expression) {
        return expression.match(subject, 0, QRegularExpression::NormalMatch, kMatchOptions)
            .hasMatch();
    };
    return matches(providerKey()) || matches(privateKeyHeader()) ||
           matches(credentialAssignment()) || !oneTimeCodeRanges(subject).isEmpty();
}

} // namespace plimbo
