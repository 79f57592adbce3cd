#include "DashboardStyle.h"

#include "PlimboTheme.h"

#include <QFontMetrics>
#include <QLabel>
#include <QWidget>

namespace plimbo {

namespace {

qreal opacity(DashboardStyle::Emphasis emphasis) {
    switch (emphasis) {
    case DashboardStyle::Emphasis::primary:
        return 1.0;
    case DashboardStyle::Emphasis::secondary:
        return 0.55;
    case DashboardStyle::Emphasis::tertiary:
        return 0.32;
    }
    return 1.0;
}

} // namespace

QColor DashboardStyle::color(const QWidget* widget, Emphasis emphasis) {
    QColor color = widget->palette().color(QPalette::WindowText);
    color.setAlphaF(static_cast<float>(opacity(emphasis)));
    return color;
}

QColor DashboardStyle::hairline(const QWidget* widget) {
    QColor color = widget->palette().color(QPalette::WindowText);
    color.setAlphaF(0.12f);
    return color;
}

QLabel* DashboardStyle::label(const QString& text, const QFont& font, Emphasis emphasis,
                              QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    setEmphasis(label, emphasis);
    return label;
}

void DashboardStyle::setEmphasis(QLabel* label, Emphasis emphasis) {
    QPalette palette = label->palette();
    QColor text = palette.color(QPalette::Active, QPalette::WindowText);
    text.setAlphaF(static_cast<float>(opacity(emphasis)));
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    // Inside a list on the base colour a label would take the base's text role and draw in
    // full ink; the emphasis is on the window text.
    label->setForegroundRole(QPalette::WindowText);
}

void DashboardStyle::applyTint(QWidget* root) {
    QPalette palette = root->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, PlimboTheme::accent());
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Link, PlimboTheme::accent());
    }
    root->setPalette(palette);
}

int DashboardStyle::symbolPixels(const QFont& font) {
    return QFontMetrics(font).height();
}

} // namespace plimbo
