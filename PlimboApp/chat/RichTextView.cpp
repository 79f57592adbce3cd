#include "RichTextView.h"

#include "ChatStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <utility>

namespace plimbo {

namespace {

const QString kEllipsis = QStringLiteral("…");
const QChar kZeroWidthSpace(0x200B);
// Longest stretch without a break opportunity handed to the text layout: wrapping a long
// unbroken token costs the layout engine time that grows with the square of its length.
constexpr qsizetype kLongestUnbroken = 64;

// Lets an overlong token wrap: an invisible break opportunity every few dozen characters.
QString withBreakOpportunities(const QString& text, qsizetype& unbroken) {
    QString result;
    bool changed = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isSpace()) {
            unbroken = 0;
        } else {
            // Never between the halves of a surrogate pair or before a combining mark.
            if (unbroken >= kLongestUnbroken && !c.isLowSurrogate() && !c.isMark()) {
                if (!changed) {
                    result.reserve(text.size() + text.size() / kLongestUnbroken + 1);
                    result = text.left(i);
                    changed = true;
                }
                result += kZeroWidthSpace;
                unbroken = 0;
            }
            ++unbroken;
        }
        if (changed) {
            result += c;
        }
    }
    return changed ? result : text;
}

QString withoutBreakOpportunities(QString text) {
    text.remove(kZeroWidthSpace);
    return text;
}

QTextCharFormat formatFor(const InlineRun& run, const QColor& linkColor) {
    QTextCharFormat format;
    if (run.styles & InlineRun::strong) {
        format.setFontWeight(QFont::Bold);
    }
    if (run.styles & InlineRun::emphasis) {
        format.setFontItalic(true);
    }
    if (run.styles & InlineRun::strikethrough) {
        format.setFontStrikeOut(true);
    }
    if (run.styles & InlineRun::code) {
        format.setFontFamilies(QFontDatabase::systemFont(QFontDatabase::FixedFont).families());
        format.setFontFixedPitch(true);
    }
    if (run.link.isValid()) {
        format.setAnchor(true);
        format.setAnchorHref(run.link.toString(QUrl::FullyEncoded));
        format.setForeground(linkColor);
        format.setFontUnderline(true);
    }
    return format;
}

} // namespace

RichTextView::RichTextView(QWidget* parent)
    : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    rebuild();
}

void RichTextView::setRuns(const QList<InlineRun>& runs) {
    if (runs == m_runs) {
        return;
    }
    if (extends(runs)) {
        append(runs);
        return;
    }
    m_runs = runs;
    rebuild();
}

bool RichTextView::extends(const QList<InlineRun>& runs) const {
    if (m_runs.isEmpty() || runs.size() < m_runs.size()) {
        return false;
    }
    const qsizetype last = m_runs.size() - 1;
    for (qsizetype i = 0; i < last; ++i) {
        if (runs[i] != m_runs[i]) {
            return false;
        }
    }
    return runs[last].styles == m_runs[last].styles && runs[last].link == m_runs[last].link &&
           runs[last].text.startsWith(m_runs[last].text);
}

QString RichTextView::shownText(const QString& text) {
    if (m_layout == Layout::singleLine) {
        QString line = text;
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return line;
    }
    if (m_layout == Layout::wrapping) {
        return withBreakOpportunities(text, m_unbroken);
    }
    return text;
}

void RichTextView::append(const QList<InlineRun>& runs) {
    // Inserted at the end of the laid-out document: only its last paragraphs are laid out
    // again, and a selection stays where it is.
    const qsizetype last = m_runs.size() - 1;
    const QColor linkColor = ChatStyle::accentText(palette());
    QTextCursor cursor(m_document.get());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    cursor.insertText(shownText(runs[last].text.mid(m_runs[last].text.size())),
                      formatFor(runs[last], linkColor));
    for (qsizetype i = last + 1; i < runs.size(); ++i) {
        cursor.insertText(shownText(runs[i].text), formatFor(runs[i], linkColor));
    }
    cursor.endEditBlock();
    m_runs = runs;
    m_layoutWidth = -2;
    m_naturalWidth.reset();
    updateGeometry();
    update();
}

void RichTextView::setPlainText(const QString& text) {
    setRuns(text.isEmpty() ? QList<InlineRun>{} : QList<InlineRun>{InlineRun{text, 0, {}}});
}

QString RichTextView::plainText() const {
    QString text;
    for (const InlineRun& run : m_runs) {
        text += run.text;
    }
    return text;
}

void RichTextView::setTextLayout(Layout layout) {
    if (m_layout == layout) {
        return;
    }
    m_layout = layout;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(layout == Layout::wrapping);
    if (layout != Layout::wrapping) {
        policy.setVerticalPolicy(QSizePolicy::Fixed);
    }
    setSizePolicy(policy);
    rebuild();
}

void RichTextView::setSelectable(bool selectable) {
    m_selectable = selectable;
    setFocusPolicy(selectable ? Qt::ClickFocus : Qt::NoFocus);
    setCursor(selectable ? Qt::IBeamCursor : Qt::ArrowCursor);
    if (!selectable) {
        clearSelection();
    }
}

void RichTextView::setTextColor(std::optional<QColor> color) {
    m_textColor = std::move(color);
    update();
}

void RichTextView::setHugsContent(bool hugs) {
    m_hugsContent = hugs;
    updateGeometry();
}

QColor RichTextView::textColor() const {
    return m_textColor.value_or(palette().color(QPalette::WindowText));
}

void RichTextView::rebuild() {
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDocumentMargin(0);
    document->setDefaultFont(font());
    QTextOption option = document->defaultTextOption();
    option.setWrapMode(m_layout == Layout::wrapping ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                                    : QTextOption::NoWrap);
    document->setDefaultTextOption(option);
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    m_unbroken = 0;
    const QColor linkColor = ChatStyle::accentText(palette());
    for (const InlineRun& run : m_runs) {
        cursor.insertText(shownText(run.text), formatFor(run, linkColor));
    }
    cursor.endEditBlock();
    m_document = std::move(document);
    contentChanged();
}

void RichTextView::contentChanged() {
    m_layoutWidth = -2;
    m_naturalWidth.reset();
    m_anchor = m_position = -1;
    m_pressedLink.reset();
    updateGeometry();
    update();
}

void RichTextView::layoutFor(int width) const {
    const int target = m_layout == Layout::wrapping ? std::max(width, 1) : -1;
    if (target == m_layoutWidth) {
        return;
    }
    // Setting a width lays the whole document out again, even the same width; text appended
    // since is laid out by the document itself.
    if (m_document->textWidth() != target) {
        m_document->setTextWidth(target);
    }
    m_layoutWidth = target;
    m_layoutHeight = static_cast<int>(std::ceil(m_document->size().height()));
    if (m_layout == Layout::singleLine) {
        const QTextBlock first = m_document->firstBlock();
        const QTextLayout* layout = first.layout();
        if (layout && layout->lineCount() > 0) {
            m_layoutHeight = static_cast<int>(std::ceil(layout->lineAt(0).height()));
        }
    }
    if (m_layout != Layout::wrapping) {
        m_naturalWidth = m_document->idealWidth();
    }
    ++m_layoutCount;
}

qreal RichTextView::naturalWidth() const {
    if (!m_naturalWidth) {
        if (m_layout == Layout::wrapping) {
            // Measured unwrapped, then laid out again at the last width when asked.
            const int previous = m_layoutWidth;
            m_document->setTextWidth(-1);
            m_naturalWidth = m_document->idealWidth();
            ++m_layoutCount;
            m_layoutWidth = -2;
            if (previous > 0) {
                layoutFor(previous);
            }
        } else {
            layoutFor(-1);
        }
    }
    return *m_naturalWidth;
}

bool RichTextView::hasHeightForWidth() const {
    return m_layout == Layout::wrapping;
}

int RichTextView::heightForWidth(int width) const {
    if (m_layout != Layout::wrapping) {
        layoutFor(-1);
        return m_layoutHeight;
    }
    layoutFor(width);
    return m_layoutHeight;
}

QSize RichTextView::sizeHint() const {
    const QFontMetrics metrics(font());
    if (m_layout != Layout::wrapping) {
        layoutFor(-1);
        const int height = std::max(m_layoutHeight, metrics.height());
        const int width = m_hugsContent || m_layout == Layout::unwrapped
                              ? static_cast<int>(std::ceil(*m_naturalWidth))
                              : metrics.averageCharWidth() * 4;
        return {width, height};
    }
    const int width = m_hugsContent ? static_cast<int>(std::ceil(naturalWidth()))
                                    : metrics.averageCharWidth() * 4;
    // Measured at the width it has (or last had) so that asking does not lay it out again.
    const int laidOut = m_layoutWidth > 0   ? m_layoutWidth
                        : this->width() > 0 ? this->width()
                                            : std::max(width, 1);
    return {width, std::max(heightForWidth(laidOut), m_runs.isEmpty() ? 0 : metrics.height())};
}

QSize RichTextView::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    if (m_layout == Layout::unwrapped) {
        return sizeHint();
    }
    return {m_hugsContent ? metrics.averageCharWidth() * 4 : 0,
            m_runs.isEmpty() ? 0 : metrics.height()};
}

bool RichTextView::isElided() const {
    return m_layout == Layout::singleLine && naturalWidth() > width() + 0.5;
}

void RichTextView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

void RichTextView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        rebuild();
    } else if (event->type() == QEvent::PaletteChange) {
        // Links take their colour from the palette.
        const bool hasLinks = std::any_of(m_runs.cbegin(), m_runs.cend(),
                                          [](const InlineRun& run) { return run.link.isValid(); });
        if (hasLinks) {
            rebuild();
        } else {
            update();
        }
    }
}

void RichTextView::paintEvent(QPaintEvent* event) {
    layoutFor(width());
    QPainter painter(this);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, textColor());
    context.clip = QRectF(event->rect());
    if (m_anchor >= 0 && m_position >= 0 && m_anchor != m_position) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = QTextCursor(m_document.get());
        selection.cursor.setPosition(m_anchor);
        selection.cursor.setPosition(m_position, QTextCursor::KeepAnchor);
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        context.selections.append(selection);
    }
    if (m_layout == Layout::singleLine && isElided()) {
        const QFontMetricsF metrics(font());
        const qreal ellipsis = metrics.horizontalAdvance(kEllipsis);
        const qreal cut = std::max<qreal>(0, width() - ellipsis);
        painter.save();
        painter.setClipRect(QRectF(0, 0, cut, height()));
        m_document->documentLayout()->draw(&painter, context);
        painter.restore();
        const QTextLayout* layout = m_document->firstBlock().layout();
        const qreal baseline =
            layout && layout->lineCount() > 0 ? layout->lineAt(0).ascent() : metrics.ascent();
        painter.setFont(font());
        painter.setPen(textColor());
        painter.drawText(QPointF(cut, baseline), kEllipsis);
        return;
    }
    m_document->documentLayout()->draw(&painter, context);
}

int RichTextView::positionAt(const QPoint& point) const {
    layoutFor(width());
    const int position = m_document->documentLayout()->hitTest(point, Qt::FuzzyHit);
    return std::max(position, 0);
}

std::optional<QUrl> RichTextView::linkAt(const QPoint& point) const {
    layoutFor(width());
    const QString href = m_document->documentLayout()->anchorAt(point);
    if (href.isEmpty()) {
        return std::nullopt;
    }
    return QUrl(href, QUrl::StrictMode);
}

QString RichTextView::linkToolTipAt(const QPoint& point) const {
    const std::optional<QUrl> link = linkAt(point);
    return link ? link->toDisplayString() : QString();
}

bool RichTextView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = linkToolTipAt(help->pos());
        if (!tip.isEmpty()) {
            QToolTip::showText(help->globalPos(), tip, this);
            return true;
        }
    }
    return QWidget::event(event);
}

QString RichTextView::selectedText() const {
    if (m_anchor < 0 || m_position < 0 || m_anchor == m_position) {
        return QString();
    }
    QTextCursor cursor(m_document.get());
    cursor.setPosition(m_anchor);
    cursor.setPosition(m_position, QTextCursor::KeepAnchor);
    return withoutBreakOpportunities(cursor.selection().toPlainText());
}

void RichTextView::selectAll() {
    QTextCursor cursor(m_document.get());
    cursor.movePosition(QTextCursor::End);
    m_anchor = 0;
    m_position = cursor.position();
    update();
}

void RichTextView::clearSelection() {
    if (m_anchor != -1 || m_position != -1) {
        m_anchor = m_position = -1;
        update();
    }
}

void RichTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    m_pressedLink = linkAt(point);
    m_pressPoint = point;
    if (m_selectable) {
        m_anchor = m_position = positionAt(point);
        m_selecting = true;
        setFocus(Qt::MouseFocusReason);
        update();
        event->accept();
    } else if (m_pressedLink) {
        event->accept();
    } else {
        event->ignore();
    }
}

void RichTextView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const bool overLink = linkAt(point).has_value();
    setCursor(overLink ? Qt::PointingHandCursor
                       : (m_selectable ? Qt::IBeamCursor : Qt::ArrowCursor));
    if (m_selecting && (event->buttons() & Qt::LeftButton)) {
        m_position = positionAt(point);
        update();
        event->accept();
        return;
    }
    event->ignore();
}

void RichTextView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const bool wasSelecting = m_selecting;
    m_selecting = false;
    const std::optional<QUrl> pressed = std::exchange(m_pressedLink, std::nullopt);
    if (event->button() == Qt::LeftButton && pressed &&
        (point - m_pressPoint).manhattanLength() < QApplication::startDragDistance() &&
        linkAt(point) == pressed) {
        clearSelection();
        emit linkActivated(*pressed);
        event->accept();
        return;
    }
    if (wasSelecting) {
        if (m_anchor == m_position) {
            clearSelection();
        }
        event->accept();
        return;
    }
    event->ignore();
}

void RichTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_selectable || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QTextCursor cursor(m_document.get());
    cursor.setPosition(positionAt(event->position().toPoint()));
    cursor.select(QTextCursor::WordUnderCursor);
    m_anchor = cursor.anchor();
    m_position = cursor.position();
    update();
    event->accept();
}

void RichTextView::keyPressEvent(QKeyEvent* event) {
    if (m_selectable && event->matches(QKeySequence::Copy) && !selectedText().isEmpty()) {
        QApplication::clipboard()->setText(selectedText());
        event->accept();
        return;
    }
    if (m_selectable && event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->accept();
        return;
    }
    event->ignore();
}

void RichTextView::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_selectable) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    QAction* copy = menu.addAction(tr("Copy"));
    copy->setEnabled(!selectedText().isEmpty());
    QAction* all = menu.addAction(tr("Select All"));
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == copy) {
        QApplication::clipboard()->setText(selectedText());
    } else if (chosen == all) {
        selectAll();
    }
}

} // namespace plimbo
