#pragma once

#include "InlineMarkdownParser.h"
#include "InlineRun.h"
#include "MarkdownBlock.h"

#include <QColor>
#include <QList>
#include <QUrl>
#include <QWidget>

#include <optional>

class QLabel;
class QVBoxLayout;

namespace plimbo {

class CodeScrollArea;
class RichTextView;

// Draws one Markdown block: a paragraph or heading as styled text, a list as marker rows, a
// quote beside an accent bar, code in a framed box that scrolls sideways. A new block of the
// same kind updates the view in place, touching only what changed (while a reply streams,
// only the last item of a list grows). The base font and colour come from the parent.
class MarkdownBlockView : public QWidget {
    Q_OBJECT

public:
    MarkdownBlockView(bool singleLine, bool selectable, QWidget* parent = nullptr);

    void setBlock(const MarkdownBlock& block);
    const MarkdownBlock& block() const { return m_block; }
    void setTextColor(std::optional<QColor> color);

    // The text views inside, in reading order (for tests and accessibility).
    QList<RichTextView*> textViews() const;
    // The row markers of a list ("•", "1.", ...), or the code block's language label.
    QStringList markers() const;
    QString languageLabel() const;

signals:
    void linkActivated(const QUrl& url);

protected:
    void changeEvent(QEvent* event) override;

private:
    struct Row {
        QWidget* widget = nullptr;
        QLabel* marker = nullptr;
        RichTextView* text = nullptr;
    };

    void clear();
    void build();
    void updateContent(const MarkdownBlock& previous);
    void applyFonts();
    RichTextView* makeText(bool inlineMarkdown);
    Row makeRow();
    void updateRows(const QStringList& items, bool numbered);
    QFont blockFont() const;
    // The inline runs of a text; a one-line view shows no links (it is part of a button).
    QList<InlineRun> runsFor(const QString& text) const;
    QList<InlineRun> withoutLinks(QList<InlineRun> runs) const;
    // The runs of the paragraph or heading text.
    QList<InlineRun> paragraphRuns();
    QColor baseColor() const;

    bool m_singleLine;
    bool m_selectable;
    std::optional<QColor> m_textColor;
    MarkdownBlock m_block;
    // Where the paragraph text may be parsed again from, and the text it came from.
    InlineMarkdownParser::Restart m_restart;
    QString m_restartText;
    bool m_built = false;
    QVBoxLayout* m_layout;
    RichTextView* m_text = nullptr;
    QList<Row> m_rows;
    QWidget* m_rowBox = nullptr;
    QLabel* m_language = nullptr;
    QWidget* m_bar = nullptr;
    CodeScrollArea* m_codeScroll = nullptr;
};

} // namespace plimbo
