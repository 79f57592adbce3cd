#include "EmptyStateView.h"

#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"

#include <QVBoxLayout>

namespace plimbo {

EmptyStateView::EmptyStateView(const QString& symbol, const QString& title,
                               const QString& description, QWidget* parent)
    : QWidget(parent)
    , m_symbol(new SymbolView(symbol, 40, this))
    , m_title(new SurfaceText(title, this))
    , m_description(new SurfaceText(description, this)) {
    m_symbol->setTone(SurfaceStyle::Tone::secondary);
    m_title->setFont(SurfaceStyle::font(17, QFont::Bold));
    m_title->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_description->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::body));
    m_description->setTone(SurfaceStyle::Tone::secondary);
    m_description->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(8);
    column->addStretch(1);
    column->addWidget(m_symbol, 0, Qt::AlignHCenter);
    column->addSpacing(4);
    column->addWidget(m_title);
    column->addWidget(m_description);
    column->addStretch(1);
}

QString EmptyStateView::title() const {
    return m_title->text();
}

QString EmptyStateView::description() const {
    return m_description->text();
}

void EmptyStateView::setTexts(const QString& title, const QString& description) {
    m_title->setText(title);
    m_description->setText(description);
}

} // namespace plimbo
