#include "MenuUtilityAction.h"

#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"
#include "PlimboTheme.h"

#include <QHBoxLayout>
#include <QPainter>

namespace plimbo {

MenuUtilityAction::MenuUtilityAction(const QString& title, const QString& symbol,
                                     std::function<void()> action, QWidget* parent)
    : MenuActionButton(std::move(action), parent) {
    auto* icon = new SymbolView(symbol, 14, this);
    icon->setTone(SurfaceStyle::Tone::accent);
    auto* text = new SurfaceText(title, this);
    text->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::callout, QFont::Medium));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 9, 10, 9);
    row->setSpacing(8);
    row->addWidget(icon, 0, Qt::AlignVCenter);
    row->addWidget(text, 1, Qt::AlignVCenter);
    // Side by side, the rows share the width equally whatever their texts.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setAccessibleName(accessibilityLabel(title));
}

QString MenuUtilityAction::accessibilityLabel(const QString& title) {
    return title == QLatin1String("About") ? tr("About Plimbo") : title;
}

MenuUtilityAction::Appearance MenuUtilityAction::appearance() const {
    const bool lifted = isHovered() || isFocused();
    return Appearance{
        SurfaceStyle::primary(palette(), lifted ? 0.08 : 0.035),
        isFocused() ? SurfaceStyle::withOpacity(PlimboTheme::accent(), 0.75)
                    : QColor(Qt::transparent),
    };
}

void MenuUtilityAction::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance look = appearance();
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(look.border.alpha() > 0 ? QPen(look.border, 1) : QPen(Qt::NoPen));
    painter.setBrush(look.fill);
    painter.drawRoundedRect(shape, cornerRadius, cornerRadius);
}

} // namespace plimbo
