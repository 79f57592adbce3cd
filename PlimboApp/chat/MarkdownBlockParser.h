#pragma once

#include "MarkdownBlock.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace plimbo {

// Splits a reply into blocks one line at a time: paragraphs, headings, bulleted and numbered
// lists, quotes and fenced code. Never nests and never fails; inline syntax is left in the text.
class MarkdownBlockParser {
public:
    MarkdownBlockParser() = delete;

    struct Heading {
        int level = 0;
        QString text;
        bool operator==(const Heading&) const = default;
    };

    // The lines of a text, split at every line feed (a final line feed gives an empty last
    // line). Views into the text, which must outlive this.
    class Lines {
    public:
        explicit Lines(QStringView text);
        // Lines from `fromLine` on are split again from the (longer or changed) text; the
        // lines before it are kept.
        void resplit(QStringView text, qsizetype fromLine);
        qsizetype count() const { return m_starts.size(); }
        QStringView at(qsizetype index) const;

    private:
        QStringView m_text;
        QList<qsizetype> m_starts;
    };

    // A parsed block and the lines it came from: [firstLine, endLine).
    struct Span {
        MarkdownBlock block;
        qsizetype firstLine = 0;
        qsizetype endLine = 0;
    };

    // Never empty: a text with no block at all is one paragraph holding it unchanged.
    static QList<MarkdownBlock> parse(const QString& source);
    // Walks from `fromLine` to the end and appends what it finds; the caller applies the
    // empty-text rule.
    static void parseLines(const Lines& lines, qsizetype fromLine, QList<Span>& out);

    // Tests on one line whose horizontal white space is already trimmed.
    static std::optional<Heading> heading(QStringView line);
    static std::optional<QString> orderedItem(QStringView line);

    // Removes tabs and Unicode space separators at both ends (never line breaks).
    static QStringView trimmed(QStringView line);
    static bool isHorizontalSpace(QChar c);
    // Whether a code point has a Unicode numeric type: digits of any script, superscripts,
    // fractions, numeral letters and the numeric Han characters.
    static bool isNumeric(char32_t codePoint);
};

} // namespace plimbo
