#include "MenuExitButton.h"

#include "PlimboGlobalShortcut.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"

#include <QHBoxLayout>

namespace plimbo {

QString MenuExitButton::shortcutHint(const QKeySequence& shortcut) {
    return shortcut.isEmpty() ? QString() : shortcutLabel(shortcut[0]);
}

MenuExitButton::MenuExitButton(const QKeySequence& shortcut, std::function<void()> action,
                               QWidget* parent)
    : QAbstractButton(parent) {
    auto* icon = new SymbolView(QStringLiteral("power"), 13, this);
    icon->setTone(SurfaceStyle::Tone::secondary);
    auto* title = new SurfaceText(tr("Exit Plimbo"), this);
    title->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::callout));
    title->setTone(SurfaceStyle::Tone::secondary);
    auto* hint = new SurfaceText(shortcutHint(shortcut), this);
    hint->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption));
    hint->setTone(SurfaceStyle::Tone::tertiary);
    hint->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 7, 10, 7);
    row->setSpacing(8);
    row->addWidget(icon, 0, Qt::AlignVCenter);
    row->addWidget(title, 1, Qt::AlignVCenter);
    row->addWidget(hint, 0, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setShortcut(shortcut);
    setAccessibleName(title->text());

    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action) {
            action();
        }
    });
}

void MenuExitButton::paintEvent(QPaintEvent*) {}

} // namespace plimbo
