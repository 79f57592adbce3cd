#include "CodeScrollArea.h"

#include <QScrollBar>

namespace plimbo {

CodeScrollArea::CodeScrollArea(QWidget* content, QWidget* parent)
    : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setAttribute(Qt::WA_TranslucentBackground);
    viewport()->setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setWidget(content);
    content->setAutoFillBackground(false); // setWidget() turned it on
    contentChanged();
}

void CodeScrollArea::contentChanged() {
    if (widget()) {
        widget()->resize(widget()->sizeHint());
    }
    m_hadScrollBar = needsScrollBar();
    updateGeometry();
}

bool CodeScrollArea::needsScrollBar() const {
    return widget() && widget()->sizeHint().width() > viewport()->width();
}

QSize CodeScrollArea::sizeHint() const {
    const QSize content = widget() ? widget()->sizeHint() : QSize();
    const int bar = needsScrollBar() ? horizontalScrollBar()->sizeHint().height() : 0;
    return {std::min(content.width(), 200), content.height() + bar};
}

QSize CodeScrollArea::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void CodeScrollArea::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    if (needsScrollBar() != m_hadScrollBar) {
        m_hadScrollBar = needsScrollBar();
        updateGeometry();
    }
}

} // namespace plimbo
