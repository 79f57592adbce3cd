#include "FloatingPanel.h"

#include "OwnedWindows.h"
#include "X11PanelHints.h"

#include <QMouseEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace plimbo {

FloatingPanel::FloatingPanel(QWidget* parent)
    : QWidget(parent, panelFlags) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void FloatingPanel::setContent(QWidget* view) {
    if (m_content) {
        layout()->removeWidget(m_content);
        delete m_content;
    }
    m_content = view;
    if (view) {
        layout()->addWidget(view);
    }
}

void FloatingPanel::mousePressEvent(QMouseEvent* event) {
    if (m_movableByBackground && event->button() == Qt::LeftButton && windowHandle() &&
        windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void FloatingPanel::setTakesFocus(bool takesFocus) {
    if (m_takesFocus == takesFocus) {
        return;
    }
    m_takesFocus = takesFocus;
    if (QWindow* window = windowHandle()) {
        X11PanelHints::setTakesFocus(*window, takesFocus);
    }
}

void FloatingPanel::showEvent(QShowEvent* event) {
    // Before the window is mapped: the window manager reads these as it takes the window on.
    if (QWindow* window = windowHandle(); window && !event->spontaneous()) {
        X11PanelHints::markAsPanel(*window, m_onAllDesktops);
        X11PanelHints::setTakesFocus(*window, m_takesFocus);
        // Next turn: mapped by then.
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && windowHandle()) {
                X11PanelHints::settleMapped(*windowHandle(), m_onAllDesktops);
            }
        });
    }
    QWidget::showEvent(event);
}

void FloatingPanel::prepare() {
    if (isVisible()) {
        return;
    }
    ensurePolished();
    if (layout()) {
        layout()->activate();
    }
    // The drawing goes to a scratch image that is dropped at once.
    (void)grab();
    winId();
}

void FloatingPanel::present() {
    show();
    OwnedWindows::raise(*this);
    OwnedWindows::activate(*this);
    if (m_content && !focusWidget()) {
        m_content->setFocus(Qt::ActiveWindowFocusReason);
    }
}

} // namespace plimbo
