#include "MarkdownDocument.h"

namespace plimbo {

MarkdownDocument::MarkdownDocument()
    : m_lines(m_source)
    , m_blocks{MarkdownBlock::paragraph(QString())} {}

qsizetype MarkdownDocument::setSource(const QString& source) {
    if (source == m_source) {
        m_lastReparsedLines = 0;
        return m_blocks.size();
    }
    const bool extends = source.startsWith(m_source);
    const qsizetype oldLastLine = m_lines.count() - 1;

    // Keep the spans that ended (stopping line included) before the old last line: every line
    // they looked at is unchanged.
    qsizetype kept = 0;
    if (extends) {
        while (kept < m_spans.size() && m_spans[kept].endLine < oldLastLine) {
            ++kept;
        }
    }
    const qsizetype resumeLine = kept > 0 ? m_spans[kept - 1].endLine : 0;

    m_source = source;
    m_lines.resplit(m_source, extends ? oldLastLine : 0);
    m_spans.resize(kept);
    MarkdownBlockParser::parseLines(m_lines, resumeLine, m_spans);
    m_lastReparsedLines = m_lines.count() - resumeLine;

    QList<MarkdownBlock> blocks = m_blocks;
    blocks.resize(kept);
    for (qsizetype i = kept; i < m_spans.size(); ++i) {
        blocks.append(m_spans[i].block);
    }
    if (blocks.isEmpty()) {
        blocks.append(MarkdownBlock::paragraph(m_source));
    }

    qsizetype firstChanged = kept;
    while (firstChanged < blocks.size() && firstChanged < m_blocks.size() &&
           blocks[firstChanged] == m_blocks[firstChanged]) {
        ++firstChanged;
    }
    m_blocks = std::move(blocks);
    return firstChanged;
}

} // namespace plimbo
