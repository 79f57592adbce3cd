#include "QuickAccessSearchField.h"

#include "SurfaceStyle.h"

#include <QKeyEvent>

namespace plimbo {

QuickAccessSearchField::QuickAccessSearchField(const QString& placeholder, QWidget* parent)
    : QLineEdit(parent) {
    setPlaceholderText(placeholder);
    setFrame(false);
    setFont(SurfaceStyle::font(19, QFont::Medium));
    setAttribute(Qt::WA_MacShowFocusRect, false);
    // Plain field: no bezel, the panel shows through.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    setPalette(colours);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

bool QuickAccessSearchField::event(QEvent* event) {
    // Claim the arrows and Return before any shortcut can take them.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
                event->accept();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QLineEdit::event(event);
}

void QuickAccessSearchField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Down:
        event->accept();
        emit selectionStepRequested(1);
        return;
    case Qt::Key_Up:
        event->accept();
        emit selectionStepRequested(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit submitted();
        return;
    case Qt::Key_Escape:
        // The panel's exit command, not the field's.
        event->ignore();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace plimbo
