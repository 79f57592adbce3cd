#include "PlaceholderView.h"

#include "PlimboMenuBarIcon.h"
#include "PlimboTheme.h"

#include <QKeyEvent>
#include <QPainter>

namespace plimbo {

PlaceholderView::PlaceholderView(const QString& name, std::function<void()> onEscape,
                                 QWidget* parent)
    : QWidget(parent)
    , m_name(name)
    , m_onEscape(std::move(onEscape)) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(name);
}

void PlaceholderView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawRoundedRect(QRectF(rect()), 18, 18);

    const int side = std::min(48, std::min(width(), height()) / 2);
    const QRectF mark((width() - side) / 2.0, height() / 2.0 - side, side, side);
    PlimboMenuBarIcon::paint(painter, mark, PlimboTheme::accent(), true);

    QColor secondary = palette().color(QPalette::WindowText);
    secondary.setAlphaF(0.5);
    painter.setPen(secondary);
    painter.drawText(QRectF(0, height() / 2.0 + 8, width(), 24), Qt::AlignHCenter | Qt::AlignTop,
                     m_name);
}

void PlaceholderView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_onEscape) {
        const std::function<void()> onEscape = m_onEscape;
        event->accept();
        onEscape();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace plimbo
