#include "SentAIAttachmentView.h"

#include "ByteCountFormatter.h"
#include "ChatStyle.h"
#include "PlimboTheme.h"
#include "symbols/SymbolIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace plimbo {

namespace {

constexpr QSize kPhoto(190, 126);
constexpr QSize kDocument(230, 56);

} // namespace

SentAIAttachmentView::SentAIAttachmentView(const AIChatAttachment& attachment,
                                           std::optional<QImage> image, QWidget* parent)
    : QWidget(parent)
    , m_attachment(attachment)
    , m_image(std::move(image)) {
    if (m_image && m_image->isNull()) {
        m_image.reset();
    }
    setFixedSize(m_image ? kPhoto : kDocument);
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(tr("Attachment %1").arg(attachment.name));
}

void SentAIAttachmentView::setImage(std::optional<QImage> image) {
    m_image = std::move(image);
    setFixedSize(m_image ? kPhoto : kDocument);
    update();
}

QString SentAIAttachmentView::sentAttachmentSubtitle() const {
    const QString word = m_attachment.kind == AIChatAttachmentKind::pdf ? QStringLiteral("PDF")
                                                                        : QStringLiteral("TEXT");
    return word + QStringLiteral(" · ") + ByteCountFormatter::fileString(m_attachment.byteCount);
}

QString SentAIAttachmentView::badgeSymbol() const {
    return m_attachment.kind == AIChatAttachmentKind::pdf ? QStringLiteral("doc.richtext.fill")
                                                          : QStringLiteral("doc.text.fill");
}

bool SentAIAttachmentView::isLightScheme() const {
    return palette().color(QPalette::Window).lightnessF() >=
           palette().color(QPalette::WindowText).lightnessF();
}

QColor SentAIAttachmentView::textColor() const {
    // White on the dark bubble; on a light window's lavender bubble white cannot be read.
    return isLightScheme() ? palette().color(QPalette::WindowText) : QColor(Qt::white);
}

QColor SentAIAttachmentView::subtitleColor() const {
    // The row sits in the prompt bubble: the accent at 0.22 over the window.
    const QColor bubble = ChatStyle::composite(ChatStyle::withOpacity(PlimboTheme::accent(), 0.22),
                                               palette().color(QPalette::Window));
    const QColor row = ChatStyle::composite(ChatStyle::withOpacity(textColor(), 0.085), bubble);
    return ChatStyle::secondary(textColor(), row);
}

QColor SentAIAttachmentView::badgeColor() const {
    if (m_attachment.kind == AIChatAttachmentKind::pdf) {
        return isLightScheme() ? QColor::fromRgbF(0.75f, 0.16f, 0.14f)
                               : QColor::fromRgbF(1.0f, 0.52f, 0.49f);
    }
    return textColor();
}

void SentAIAttachmentView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_image) {
        paintPhoto(painter);
    } else {
        paintDocument(painter);
    }
}

void SentAIAttachmentView::paintPhoto(QPainter& painter) {
    const QRectF tile(QPointF(0, 0), QSizeF(kPhoto));
    QPainterPath shape;
    shape.addRoundedRect(tile, 13, 13);
    painter.save();
    painter.setClipPath(shape);
    const QSizeF scaled =
        QSizeF(m_image->size()).scaled(tile.size(), Qt::KeepAspectRatioByExpanding);
    painter.drawImage(QRectF(tile.center().x() - scaled.width() / 2,
                             tile.center().y() - scaled.height() / 2, scaled.width(),
                             scaled.height()),
                      *m_image);
    const QRectF fade(0, tile.height() - 48, tile.width(), 48);
    QLinearGradient gradient(fade.topLeft(), fade.bottomLeft());
    gradient.setColorAt(0, Qt::transparent);
    gradient.setColorAt(1, ChatStyle::black(0.72));
    painter.fillRect(fade, gradient);
    const QFont font = ChatStyle::font(ChatStyle::TextStyle::caption2, QFont::DemiBold);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetricsF metrics(font);
    const QRectF text(9, 9, tile.width() - 18, tile.height() - 18);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                     metrics.elidedText(m_attachment.name, Qt::ElideRight, text.width()));
    painter.restore();
    painter.setPen(QPen(ChatStyle::white(0.13), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 13, 13);
}

void SentAIAttachmentView::paintDocument(QPainter& painter) {
    const QRectF row(QPointF(0, 0), QSizeF(kDocument));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::withOpacity(textColor(), 0.085));
    painter.drawRoundedRect(row, 12, 12);

    const QRectF badge(8, (row.height() - 38) / 2, 38, 38);
    painter.setBrush(ChatStyle::withOpacity(textColor(), 0.11));
    painter.drawRoundedRect(badge, 9, 9);
    SymbolIcon::paint(painter, QRectF(badge.center().x() - 8.5, badge.center().y() - 8.5, 17, 17),
                      badgeSymbol(), badgeColor());

    const qreal textX = badge.right() + 10;
    const qreal textWidth = row.width() - 8 - 6 - textX;
    const QFont nameFont = ChatStyle::font(ChatStyle::TextStyle::caption, QFont::DemiBold);
    const QFont subtitleFont = ChatStyle::font(ChatStyle::TextStyle::caption2);
    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF subtitleMetrics(subtitleFont);
    const qreal total = nameMetrics.height() + 3 + subtitleMetrics.height();
    const qreal top = (row.height() - total) / 2;
    painter.setFont(nameFont);
    painter.setPen(textColor());
    painter.drawText(QRectF(textX, top, textWidth, nameMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     nameMetrics.elidedText(m_attachment.name, Qt::ElideRight, textWidth));
    painter.setFont(subtitleFont);
    painter.setPen(subtitleColor());
    painter.drawText(
        QRectF(textX, top + nameMetrics.height() + 3, textWidth, subtitleMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        subtitleMetrics.elidedText(sentAttachmentSubtitle(), Qt::ElideRight, textWidth));

    painter.setPen(QPen(ChatStyle::withOpacity(textColor(), 0.11), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(row.adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

} // namespace plimbo
