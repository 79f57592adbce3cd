#include "MenuQuickAction.h"

#include "PlimboTheme.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace plimbo {

MenuQuickAction::MenuQuickAction(const QString& title, const QString& detail, const QString& symbol,
                                 const QColor& color, const QString& accessibilityTitle,
                                 std::function<void()> action, QWidget* parent)
    : MenuActionButton(std::move(action), parent)
    , m_symbol(new SymbolView(symbol, 17, this))
    , m_title(new SurfaceText(title, this))
    , m_detail(new SurfaceText(detail, this)) {
    auto* arrow = new SymbolView(QStringLiteral("arrow.up.right"), 8, this);
    arrow->setTone(SurfaceStyle::Tone::tertiary);
    m_title->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption, QFont::DemiBold));
    m_title->setMinimumScaleFactor(0.82);
    m_detail->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption2));
    m_detail->setTone(SurfaceStyle::Tone::secondary);

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(m_symbol, 0, Qt::AlignVCenter);
    top->addStretch(1);
    top->addWidget(arrow, 0, Qt::AlignTop);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(6);
    column->addLayout(top);
    column->addWidget(m_title);
    column->addWidget(m_detail);
    // Side by side, the tiles share the width equally whatever their texts.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    setContent(title, detail, symbol, color, accessibilityTitle);
}

void MenuQuickAction::setContent(const QString& title, const QString& detail, const QString& symbol,
                                 const QColor& color, const QString& accessibilityTitle) {
    m_title->setText(title);
    m_detail->setText(detail);
    m_symbol->setSymbol(symbol);
    m_symbol->setColor(color);
    setAccessibleName(accessibilityTitle);
    setAccessibleDescription(detail);
}

void MenuQuickAction::setDetail(const QString& detail) {
    m_detail->setText(detail);
    setAccessibleDescription(detail);
}

QString MenuQuickAction::title() const {
    return m_title->text();
}

QString MenuQuickAction::detail() const {
    return m_detail->text();
}

QString MenuQuickAction::symbol() const {
    return m_symbol->symbol();
}

QColor MenuQuickAction::color() const {
    return m_symbol->resolvedColor();
}

MenuQuickAction::Appearance MenuQuickAction::appearance() const {
    const QPalette& colours = palette();
    const bool lifted = isHovered() || isFocused();
    return Appearance{
        SurfaceStyle::primary(colours, lifted ? 0.085 : 0.045),
        isFocused() ? SurfaceStyle::withOpacity(PlimboTheme::accent(), 0.75)
                    : SurfaceStyle::primary(colours, 0.06),
    };
}

void MenuQuickAction::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const Appearance look = appearance();
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(look.border, 1));
    painter.setBrush(look.fill);
    painter.drawRoundedRect(shape, cornerRadius, cornerRadius);
}

} // namespace plimbo
