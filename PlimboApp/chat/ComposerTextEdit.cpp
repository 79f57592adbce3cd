#include "ComposerTextEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace plimbo {

ComposerTextEdit::ComposerTextEdit(int maximumLines, int minimumHeight, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_maximumLines(maximumLines)
    , m_minimumHeight(minimumHeight) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setAttribute(Qt::WA_TranslucentBackground);
    viewport()->setAutoFillBackground(false);
    document()->setDocumentMargin(0);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, &ComposerTextEdit::updateHeight);
    updateHeight();
}

void ComposerTextEdit::setTextIfDifferent(const QString& text) {
    if (toPlainText() == text) {
        return;
    }
    setPlainText(text);
    moveCursor(QTextCursor::End);
}

void ComposerTextEdit::setDropHandler(DropHandler handler) {
    m_dropHandler = std::move(handler);
}

int ComposerTextEdit::visibleLines() const {
    int lines = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        lines += layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
        if (lines >= m_maximumLines) {
            return m_maximumLines;
        }
    }
    return std::max(lines, 1);
}

int ComposerTextEdit::heightForLines(int lines) const {
    const int lineHeight = fontMetrics().lineSpacing();
    const QMargins margins = contentsMargins() + viewportMargins();
    return std::max(m_minimumHeight, lines * lineHeight + margins.top() + margins.bottom() + 4);
}

void ComposerTextEdit::updateHeight() {
    const int height = heightForLines(visibleLines());
    if (height != this->height() || maximumHeight() != height) {
        setFixedHeight(height);
    }
}

QSize ComposerTextEdit::sizeHint() const {
    return {QPlainTextEdit::sizeHint().width(), heightForLines(visibleLines())};
}

QSize ComposerTextEdit::minimumSizeHint() const {
    return {40, heightForLines(1)};
}

void ComposerTextEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    updateHeight();
}

void ComposerTextEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier)) {
            insertPlainText(QStringLiteral("\n"));
        } else {
            emit submitted();
        }
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ComposerTextEdit::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        emit dropTargetChanged(true);
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void ComposerTextEdit::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void ComposerTextEdit::dragLeaveEvent(QDragLeaveEvent* event) {
    emit dropTargetChanged(false);
    QPlainTextEdit::dragLeaveEvent(event);
}

void ComposerTextEdit::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        QPlainTextEdit::dropEvent(event);
        return;
    }
    emit dropTargetChanged(false);
    const bool taken = m_dropHandler && m_dropHandler(event->mimeData()->urls());
    if (taken) {
        event->acceptProposedAction();
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
}

} // namespace plimbo
