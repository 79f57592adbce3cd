#include "OwnedWindows.h"

#include <QWidget>

namespace plimbo {

namespace {

QList<QWidget*> shownOwnedWindows(QWidget& window) {
    QList<QWidget*> owned;
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (child->isWindow() && child->isVisible()) {
            owned.append(child);
        }
    }
    return owned;
}

} // namespace

void OwnedWindows::raise(QWidget& window) {
    window.raise();
    for (QWidget* owned : shownOwnedWindows(window)) {
        owned->raise();
    }
}

void OwnedWindows::activate(QWidget& window) {
    if (QWidget* modal = shownModal(window)) {
        modal->activateWindow();
    } else {
        window.activateWindow();
    }
}

QWidget* OwnedWindows::shownModal(QWidget& window) {
    QWidget* modal = nullptr;
    for (QWidget* owned : shownOwnedWindows(window)) {
        if (owned->isModal()) {
            modal = owned;
        }
    }
    return modal;
}

} // namespace plimbo
