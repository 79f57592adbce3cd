#pragma once

#include "MarkdownBlock.h"
#include "MarkdownBlockParser.h"

#include <QList>
#include <QString>

namespace plimbo {

// The blocks of a text that changes, mostly by growing at its end while a reply streams.
// When the new text extends the old one, only the blocks that could have changed are parsed
// again: a block is kept when neither it nor the line that ended it touches the old last line.
// The blocks are always exactly MarkdownBlockParser::parse() of the current text.
class MarkdownDocument {
public:
    MarkdownDocument();
    // The line index points into the text it owns.
    MarkdownDocument(const MarkdownDocument&) = delete;
    MarkdownDocument& operator=(const MarkdownDocument&) = delete;

    // Replaces the text; returns the index of the first block that differs from before
    // (blocks().size() when none does).
    qsizetype setSource(const QString& source);

    const QString& source() const { return m_source; }
    const QList<MarkdownBlock>& blocks() const { return m_blocks; }
    // Lines parsed again by the last setSource(), for tests and measurements.
    qsizetype lastReparsedLines() const { return m_lastReparsedLines; }

private:
    QString m_source;
    MarkdownBlockParser::Lines m_lines;
    QList<MarkdownBlockParser::Span> m_spans;
    QList<MarkdownBlock> m_blocks;
    qsizetype m_lastReparsedLines = 0;
};

} // namespace plimbo
