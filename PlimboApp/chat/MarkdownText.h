#pragma once

#include "MarkdownBlock.h"
#include "MarkdownDocument.h"

#include <QColor>
#include <QList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

class QVBoxLayout;

namespace plimbo {

class MarkdownBlockView;

// The one way assistant text is shown: the reply's Markdown blocks stacked with 8 pixels
// between them, inline syntax styled, filling the width it is given. Fonts are set only for
// headings and code; the base font and colour come from the caller (its font and palette, or
// setTextColor()). A new source that extends the old one re-parses and re-lays out only the
// blocks at its end, so a streaming reply costs the size of its last block per update.
//
// Links open only for http, https and mailto addresses; images are shown as their
// description and never loaded.
class MarkdownText : public QWidget {
    Q_OBJECT

public:
    explicit MarkdownText(QWidget* parent = nullptr);

    void setSource(const QString& source);
    QString source() const { return m_document.source(); }
    const QList<MarkdownBlock>& blocks() const { return m_document.blocks(); }
    QList<MarkdownBlockView*> blockViews() const { return m_views; }

    // Only the first block, on one line, cut with "…" when it does not fit.
    void setSingleLine(bool singleLine);
    // Whether the text can be selected (code blocks always can).
    void setSelectable(bool selectable);
    void setTextColor(std::optional<QColor> color);

    // Runs for every link the user activates, instead of opening it in the browser.
    void setLinkHandler(std::function<void(const QUrl&)> handler);
    // The plain text shown, blocks separated by line feeds.
    QString displayedText() const;

signals:
    void linkActivated(const QUrl& url);

private:
    void updateViews(qsizetype firstChanged);
    void rebuildViews();
    void openLink(const QUrl& url);

    MarkdownDocument m_document;
    QVBoxLayout* m_layout;
    QList<MarkdownBlockView*> m_views;
    bool m_singleLine = false;
    bool m_selectable = true;
    std::optional<QColor> m_textColor;
    std::function<void(const QUrl&)> m_linkHandler;
};

} // namespace plimbo
