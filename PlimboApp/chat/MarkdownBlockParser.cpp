#include "MarkdownBlockParser.h"

#include <algorithm>
#include <array>

namespace plimbo {

namespace {

const QString kFence = QStringLiteral("```");

// Han characters that carry a numeric value although their category is a letter (the Unihan
// primary, accounting and other numerals).
constexpr std::array<char32_t, 81> kNumericLetters{
    0x3405,  0x3483,  0x382A,  0x3B4D,  0x4E00,  0x4E03,  0x4E07,  0x4E09,  0x4E5D,
    0x4E8C,  0x4E94,  0x4E96,  0x4EBF,  0x4EC0,  0x4EDF,  0x4EE8,  0x4F0D,  0x4F70,
    0x5104,  0x5146,  0x5169,  0x516B,  0x516D,  0x5341,  0x5343,  0x5344,  0x5345,
    0x534C,  0x53C1,  0x53C2,  0x53C3,  0x53C4,  0x56DB,  0x58F1,  0x58F9,  0x5E7A,
    0x5EFE,  0x5EFF,  0x5F0C,  0x5F0D,  0x5F0E,  0x5F10,  0x62FE,  0x634C,  0x67D2,
    0x6F06,  0x7396,  0x767E,  0x8086,  0x842C,  0x8CAE,  0x8CB3,  0x8D30,  0x9621,
    0x9646,  0x964C,  0x9678,  0x96F6,  0xF96B,  0xF973,  0xF978,  0xF9B2,  0xF9D1,
    0xF9D3,  0xF9FD,  0x20001, 0x20064, 0x200E2, 0x20121, 0x2092A, 0x20983, 0x2098C,
    0x2099C, 0x20AEA, 0x20AFD, 0x20B19, 0x22390, 0x22998, 0x23B1B, 0x2626D, 0x2F890};

bool startsWithBullet(QStringView line) {
    return line.startsWith(u"- ") || line.startsWith(u"* ");
}

bool startsWithQuote(QStringView line) {
    return line.startsWith(u"> ");
}

// Whether a non-empty trimmed line would start a block of its own.
bool opensBlock(QStringView line) {
    return line.startsWith(kFence) || MarkdownBlockParser::heading(line).has_value() ||
           startsWithBullet(line) || MarkdownBlockParser::orderedItem(line).has_value() ||
           startsWithQuote(line);
}

QString joinLines(const QList<QStringView>& lines) {
    qsizetype size = lines.isEmpty() ? 0 : lines.size() - 1;
    for (const QStringView line : lines) {
        size += line.size();
    }
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += QLatin1Char('\n');
        }
        text += lines[i];
    }
    return text;
}

} // namespace

// ---------------------------------------------------------------- lines

MarkdownBlockParser::Lines::Lines(QStringView text) {
    resplit(text, 0);
}

void MarkdownBlockParser::Lines::resplit(QStringView text, qsizetype fromLine) {
    m_text = text;
    fromLine = std::clamp<qsizetype>(fromLine, 0, std::max<qsizetype>(m_starts.size() - 1, 0));
    if (m_starts.isEmpty()) {
        m_starts.append(0);
    }
    m_starts.resize(fromLine + 1);
    for (qsizetype i = m_starts.last(); i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n')) {
            m_starts.append(i + 1);
        }
    }
}

QStringView MarkdownBlockParser::Lines::at(qsizetype index) const {
    const qsizetype start = m_starts[index];
    const qsizetype end = index + 1 < m_starts.size() ? m_starts[index + 1] - 1 : m_text.size();
    return m_text.mid(start, end - start);
}

// ---------------------------------------------------------------- parsing

QList<MarkdownBlock> MarkdownBlockParser::parse(const QString& source) {
    const Lines lines(source);
    QList<Span> spans;
    parseLines(lines, 0, spans);
    QList<MarkdownBlock> blocks;
    blocks.reserve(std::max<qsizetype>(spans.size(), 1));
    for (Span& span : spans) {
        blocks.append(std::move(span.block));
    }
    if (blocks.isEmpty()) {
        blocks.append(MarkdownBlock::paragraph(source));
    }
    return blocks;
}

void MarkdownBlockParser::parseLines(const Lines& lines, qsizetype fromLine, QList<Span>& out) {
    const qsizetype count = lines.count();
    qsizetype i = fromLine;
    while (i < count) {
        const QStringView line = trimmed(lines.at(i));
        const qsizetype first = i;
        if (line.isEmpty()) {
            ++i;
            continue;
        }
        if (line.startsWith(kFence)) {
            const QStringView word = trimmed(line.mid(3));
            std::optional<QString> language;
            if (!word.isEmpty()) {
                language = word.toString();
            }
            QList<QStringView> code;
            ++i;
            while (i < count && !trimmed(lines.at(i)).startsWith(kFence)) {
                code.append(lines.at(i));
                ++i;
            }
            if (i < count) {
                ++i; // the closing fence, with whatever follows its backticks
            }
            out.append({MarkdownBlock::code(std::move(language), joinLines(code)), first, i});
            continue;
        }
        if (const std::optional<Heading> found = heading(line)) {
            ++i;
            out.append({MarkdownBlock::heading(found->level, found->text), first, i});
            continue;
        }
        if (startsWithBullet(line)) {
            QStringList items;
            for (QStringView item = line; i < count && startsWithBullet(item);) {
                items.append(item.mid(2).toString());
                ++i;
                if (i < count) {
                    item = trimmed(lines.at(i));
                }
            }
            out.append({MarkdownBlock::unordered(std::move(items)), first, i});
            continue;
        }
        if (std::optional<QString> item = orderedItem(line)) {
            QStringList items;
            while (item) {
                items.append(*item);
                ++i;
                item = i < count ? orderedItem(trimmed(lines.at(i))) : std::nullopt;
            }
            out.append({MarkdownBlock::ordered(std::move(items)), first, i});
            continue;
        }
        if (startsWithQuote(line)) {
            QStringList entries;
            for (QStringView entry = line; i < count && startsWithQuote(entry);) {
                entries.append(entry.mid(2).toString());
                ++i;
                if (i < count) {
                    entry = trimmed(lines.at(i));
                }
            }
            out.append({MarkdownBlock::quote(std::move(entries)), first, i});
            continue;
        }
        QList<QStringView> paragraph{lines.at(i)};
        ++i;
        while (i < count) {
            const QStringView next = trimmed(lines.at(i));
            if (next.isEmpty() || opensBlock(next)) {
                break;
            }
            paragraph.append(lines.at(i));
            ++i;
        }
        out.append({MarkdownBlock::paragraph(joinLines(paragraph)), first, i});
    }
}

// ---------------------------------------------------------------- line tests

std::optional<MarkdownBlockParser::Heading> MarkdownBlockParser::heading(QStringView line) {
    qsizetype marks = 0;
    while (marks < line.size() && line[marks] == QLatin1Char('#')) {
        ++marks;
    }
    if (marks < 1 || marks > 6 || marks >= line.size() || line[marks] != QLatin1Char(' ')) {
        return std::nullopt;
    }
    return Heading{static_cast<int>(marks), line.mid(marks + 1).toString()};
}

std::optional<QString> MarkdownBlockParser::orderedItem(QStringView line) {
    const qsizetype dot = line.indexOf(QLatin1Char('.'));
    if (dot <= 0) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < dot; ++i) {
        char32_t codePoint = line[i].unicode();
        if (line[i].isHighSurrogate() && i + 1 < dot && line[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(line[i], line[i + 1]);
            ++i;
        }
        if (!isNumeric(codePoint)) {
            return std::nullopt;
        }
    }
    if (dot + 1 >= line.size() || line[dot + 1] != QLatin1Char(' ')) {
        return std::nullopt;
    }
    return line.mid(dot + 2).toString();
}

QStringView MarkdownBlockParser::trimmed(QStringView line) {
    qsizetype start = 0;
    qsizetype end = line.size();
    while (start < end && isHorizontalSpace(line[start])) {
        ++start;
    }
    while (end > start && isHorizontalSpace(line[end - 1])) {
        --end;
    }
    return line.mid(start, end - start);
}

bool MarkdownBlockParser::isHorizontalSpace(QChar c) {
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

bool MarkdownBlockParser::isNumeric(char32_t codePoint) {
    return QChar::isNumber(codePoint) ||
           std::binary_search(kNumericLetters.begin(), kNumericLetters.end(), codePoint);
}

} // namespace plimbo
