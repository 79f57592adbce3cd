#pragma once

#include "InlineRun.h"

#include <QColor>
#include <QList>
#include <QTextDocument>
#include <QUrl>
#include <QWidget>

#include <memory>
#include <optional>

namespace plimbo {

// Read-only styled text built from inline runs or plain text, never from markup: the text is
// inserted as it is, so nothing in it is ever taken for HTML or fetched. Wraps to its width
// (its height for a width is cached until the text, font or width changes), or keeps each line
// whole, or shows only its first line cut with "…". Text can be selected with the mouse and
// copied; links open through linkActivated() and are only ever the runs' checked links.
class RichTextView : public QWidget {
    Q_OBJECT

public:
    enum class Layout { wrapping, unwrapped, singleLine };

    explicit RichTextView(QWidget* parent = nullptr);

    void setRuns(const QList<InlineRun>& runs);
    void setPlainText(const QString& text);
    QString plainText() const;
    const QList<InlineRun>& runs() const { return m_runs; }

    void setTextLayout(Layout layout);
    void setSelectable(bool selectable);
    bool isSelectable() const { return m_selectable; }
    // None: the palette's text colour.
    void setTextColor(std::optional<QColor> color);
    // Whether the size hint asks for the text's natural width (a view stretched by its parent
    // says no and saves the measuring).
    void setHugsContent(bool hugs);

    QString selectedText() const;
    void selectAll();
    void clearSelection();
    // The link under a point of this widget, when it has one.
    std::optional<QUrl> linkAt(const QPoint& point) const;
    // The tool tip over a point: the address a click there opens; empty away from links.
    QString linkToolTipAt(const QPoint& point) const;
    // Whether the single line does not fit and is cut.
    bool isElided() const;

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Layouts done since creation, for tests of the caching.
    int layoutCount() const { return m_layoutCount; }

signals:
    void linkActivated(const QUrl& url);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void rebuild();
    // Whether `runs` are the current runs with text added at the end.
    bool extends(const QList<InlineRun>& runs) const;
    void append(const QList<InlineRun>& runs);
    // A run's text as the document holds it (break opportunities, one line).
    QString shownText(const QString& text);
    void contentChanged();
    void layoutFor(int width) const;
    qreal naturalWidth() const;
    int positionAt(const QPoint& point) const;
    QColor textColor() const;

    // Rebuilt for every new text: a fresh document has no layout yet, so filling it costs
    // no layout passes; it is laid out once, at the width it is shown at.
    std::unique_ptr<QTextDocument> m_document;
    QList<InlineRun> m_runs;
    Layout m_layout = Layout::wrapping;
    bool m_selectable = true;
    bool m_hugsContent = true;
    std::optional<QColor> m_textColor;
    // Characters since the last break opportunity at the end of the document.
    qsizetype m_unbroken = 0;

    mutable int m_layoutWidth = -2;
    mutable int m_layoutHeight = 0;
    mutable std::optional<qreal> m_naturalWidth;
    mutable int m_layoutCount = 0;

    int m_anchor = -1;
    int m_position = -1;
    bool m_selecting = false;
    std::optional<QUrl> m_pressedLink;
    QPoint m_pressPoint;
};

} // namespace plimbo
