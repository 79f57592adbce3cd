#include "MenuPrimaryAction.h"

#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"
#include "PlimboTheme.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace plimbo {

MenuPrimaryAction::MenuPrimaryAction(const QString& title, const QString& subtitle,
                                     const QString& symbol, std::function<void()> action,
                                     QWidget* parent)
    : MenuActionButton(std::move(action), parent) {
    const QColor white = Qt::white;
    auto* icon = new SymbolView(symbol, 16, this);
    icon->setFixedSize(31, 31);
    icon->setColor(white);
    icon->setBackdrop(0.16, 9, white);
    auto* titleText = new SurfaceText(title, this);
    titleText->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::headline));
    titleText->setColor(white);
    auto* subtitleText = new SurfaceText(subtitle, this);
    subtitleText->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption));
    subtitleText->setColor(white);
    auto* chevron = new SymbolView(QStringLiteral("chevron.right"), 10, this);
    chevron->setColor(white);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addWidget(titleText);
    texts->addWidget(subtitleText);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 10, 12, 10);
    row->setSpacing(11);
    row->addWidget(icon, 0, Qt::AlignVCenter);
    row->addLayout(texts, 1);
    row->addWidget(chevron, 0, Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setColor(SurfaceStyle::withOpacity(PlimboTheme::accent(), 0.18));
    shadow->setBlurRadius(16);
    shadow->setOffset(0, 3);
    setGraphicsEffect(shadow);

    setAccessibleName(title);
    setAccessibleDescription(subtitle);
}

MenuPrimaryAction::Appearance MenuPrimaryAction::appearance() const {
    return Appearance{isHovered() ? 0.08 : 0.0, isFocused() ? 0.75 : 0.0};
}

void MenuPrimaryAction::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(1, 1, -1, -1);
    const Appearance look = appearance();
    painter.setPen(Qt::NoPen);
    painter.setBrush(PlimboTheme::accent());
    painter.drawRoundedRect(shape, cornerRadius, cornerRadius);
    if (look.washOpacity > 0) {
        painter.setBrush(QColor::fromRgbF(1, 1, 1, static_cast<float>(look.washOpacity)));
        painter.drawRoundedRect(shape, cornerRadius, cornerRadius);
    }
    if (look.ringOpacity > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor::fromRgbF(1, 1, 1, static_cast<float>(look.ringOpacity)), 2));
        painter.drawRoundedRect(shape, cornerRadius, cornerRadius);
    }
}

} // namespace plimbo
