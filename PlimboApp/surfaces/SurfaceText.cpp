#include "SurfaceText.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QResizeEvent>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace plimbo {

SurfaceText::SurfaceText(const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_text(text) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void SurfaceText::setText(const QString& text) {
    if (m_text == text) {
        return;
    }
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void SurfaceText::setTone(SurfaceStyle::Tone tone) {
    if (m_tone != tone) {
        m_tone = tone;
        update();
    }
}

void SurfaceText::setColor(const std::optional<QColor>& color) {
    if (m_color != color) {
        m_color = color;
        update();
    }
}

QColor SurfaceText::resolvedColor() const {
    return m_color ? *m_color : SurfaceStyle::color(m_tone, palette());
}

void SurfaceText::setMaximumLines(int lines) {
    m_maximumLines = std::max(1, lines);
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(m_maximumLines > 1);
    setSizePolicy(policy);
    updateGeometry();
}

void SurfaceText::setElideMode(Qt::TextElideMode mode) {
    m_elideMode = mode;
    update();
}

void SurfaceText::setMinimumScaleFactor(qreal factor) {
    m_minimumScaleFactor = std::clamp(factor, 0.1, 1.0);
    update();
}

void SurfaceText::setAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

QSize SurfaceText::sizeHint() const {
    const QFontMetricsF metrics(font());
    const int natural = static_cast<int>(std::ceil(metrics.horizontalAdvance(m_text)));
    if (m_maximumLines > 1) {
        // As many lines as the text takes at the width it has now (its own width before the
        // first layout), so layouts that go by the hint alone still leave room for every line.
        return QSize(natural, heightForWidth(width() > 0 ? width() : natural));
    }
    return QSize(natural, static_cast<int>(std::ceil(metrics.height())));
}

QSize SurfaceText::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void SurfaceText::resizeEvent(QResizeEvent* event) {
    // A new width can change how many lines the text takes, and so the height it asks for.
    if (m_maximumLines > 1 && event->oldSize().width() != event->size().width()) {
        updateGeometry();
    }
    QWidget::resizeEvent(event);
}

int SurfaceText::heightForWidth(int width) const {
    const QFontMetricsF metrics(font());
    const auto lines = std::max<qsizetype>(1, layoutLines(font(), width).size());
    return static_cast<int>(std::ceil(metrics.lineSpacing() * (lines - 1) + metrics.height()));
}

QStringList SurfaceText::layoutLines(const QFont& font, int width) const {
    const QFontMetricsF metrics(font);
    if (m_maximumLines == 1 || width <= 0) {
        return {metrics.elidedText(m_text, m_elideMode, std::max(0, width))};
    }
    QStringList lines;
    QTextLayout layout(m_text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(width);
        if (lines.size() == m_maximumLines - 1) {
            // The last allowed line takes the rest of the text, cut to fit.
            lines.append(metrics.elidedText(m_text.mid(line.textStart()), Qt::ElideRight, width));
            break;
        }
        lines.append(m_text.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    return lines;
}

QFont SurfaceText::fittedFont(int width) const {
    QFont fitted = font();
    if (m_maximumLines != 1 || m_minimumScaleFactor >= 1.0) {
        return fitted;
    }
    const qreal natural = QFontMetricsF(fitted).horizontalAdvance(m_text);
    if (natural <= width || natural <= 0) {
        return fitted;
    }
    const qreal scale = std::max(m_minimumScaleFactor, width / natural);
    const qreal base = fitted.pixelSize() > 0 ? fitted.pixelSize() : fitted.pointSizeF();
    if (fitted.pixelSize() > 0) {
        fitted.setPixelSize(std::max(1, static_cast<int>(std::floor(base * scale))));
    } else {
        fitted.setPointSizeF(std::max(1.0, base * scale));
    }
    return fitted;
}

void SurfaceText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont drawn = fittedFont(width());
    painter.setFont(drawn);
    painter.setPen(resolvedColor());
    const QFontMetricsF metrics(drawn);
    const QStringList lines = layoutLines(drawn, width());
    const qreal blockHeight = metrics.lineSpacing() * (lines.size() - 1) + metrics.height();
    qreal y = 0;
    if (m_alignment & Qt::AlignVCenter) {
        y = (height() - blockHeight) / 2;
    } else if (m_alignment & Qt::AlignBottom) {
        y = height() - blockHeight;
    }
    for (const QString& line : lines) {
        const QRectF box(0, y, width(), metrics.height());
        painter.drawText(box,
                         static_cast<int>((m_alignment & Qt::AlignHorizontal_Mask) |
                                          Qt::AlignVCenter | Qt::TextSingleLine),
                         line);
        y += metrics.lineSpacing();
    }
}

void SurfaceText::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

} // namespace plimbo
