#include "MenuMetricColumn.h"

#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace plimbo {

MenuMetricColumn::MenuMetricColumn(const QString& symbol, const QString& label, QWidget* parent)
    : QWidget(parent)
    , m_symbol(new SymbolView(symbol, 11, this))
    , m_label(new SurfaceText(label, this))
    , m_value(new SurfaceText(QString(), this)) {
    m_label->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption2, QFont::Medium));
    m_label->setTone(SurfaceStyle::Tone::secondary);
    m_value->setFont(SurfaceStyle::font(19, QFont::DemiBold));
    m_value->setMinimumScaleFactor(0.72);

    auto* top = new QHBoxLayout;
    top->setSpacing(5);
    top->addWidget(m_symbol, 0, Qt::AlignVCenter);
    top->addWidget(m_label, 1, Qt::AlignVCenter);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(9, 0, 9, 0);
    column->setSpacing(5);
    column->addLayout(top);
    column->addWidget(m_value);
    // Side by side, the columns share the width equally whatever their texts.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void MenuMetricColumn::setReading(const QString& symbol, const QString& value,
                                  const QColor& color) {
    m_symbol->setSymbol(symbol);
    m_symbol->setColor(color);
    m_value->setText(value);
    m_value->setColor(color);
    setAccessibleName(tr("%1, %2").arg(m_label->text(), value));
}

QString MenuMetricColumn::symbol() const {
    return m_symbol->symbol();
}

QString MenuMetricColumn::label() const {
    return m_label->text();
}

QString MenuMetricColumn::value() const {
    return m_value->text();
}

QColor MenuMetricColumn::color() const {
    return m_value->resolvedColor();
}

} // namespace plimbo
