#include "NotchShelfFooter.h"

#include "ChatStyle.h"
#include "NotchSurfaceState.h"
#include "NotchSurfaceView.h"
#include "NotchSymbols.h"
#include "NotchTextButton.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>

namespace plimbo {

NotchShelfFooter::NotchShelfFooter(NotchSurfaceView& surface, QWidget* parent)
    : QWidget(parent)
    , m_surface(surface)
    , m_settings(new NotchTextButton(QStringLiteral("Settings"), this))
    , m_divider(new QWidget(this))
    , m_exit(new NotchTextButton(QStringLiteral("Exit"), this)) {
    m_divider->setFixedSize(1, 13);
    m_divider->setAutoFillBackground(true);
    QPalette palette = m_divider->palette();
    palette.setColor(QPalette::Window, ChatStyle::white(0.16));
    m_divider->setPalette(palette);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(10);
    row->addStretch(1);
    row->addWidget(m_settings);
    row->addWidget(m_divider);
    row->addWidget(m_exit);

    connect(m_settings, &QAbstractButton::clicked, this, [this] {
        m_surface.onCollapse();
        m_surface.features().open.settings(SettingsSection::general);
    });
    // Quits at once; the shelf is not collapsed first.
    connect(m_exit, &QAbstractButton::clicked, this, [] { QCoreApplication::quit(); });
    connect(&surface.state(), &NotchSurfaceState::screenNameChanged, this,
            qOverload<>(&QWidget::update));
}

void NotchShelfFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont font = ChatStyle::font(ChatStyle::TextStyle::caption);
    const QFontMetricsF metrics(font);
    const QColor color = ChatStyle::white(0.64);
    const qreal left = 2;
    const qreal symbolSide = NotchSymbols::side(metrics.height() * 0.8);
    const qreal middle = height() / 2.0;
    NotchSymbols::paint(painter, QPointF(left + symbolSide / 2, middle), metrics.height() * 0.8,
                        QStringLiteral("display"), color);
    const qreal textLeft = left + symbolSide + 5;
    const qreal textWidth = std::max<qreal>(0, m_settings->x() - 10 - textLeft);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRectF(textLeft, 0, textWidth, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(m_surface.state().screenName(), Qt::ElideRight, textWidth));
}

} // namespace plimbo
