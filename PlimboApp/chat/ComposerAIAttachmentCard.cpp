#include "ComposerAIAttachmentCard.h"

#include "ChatStyle.h"
#include "PlimboTheme.h"
#include "SymbolButton.h"
#include "symbols/SymbolIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace plimbo {

namespace {

constexpr qreal kCorner = 13;
constexpr int kRemoveSide = 21;
constexpr int kRemoveInset = 6;

} // namespace

ComposerAIAttachmentCard::ComposerAIAttachmentCard(const AIChatAttachment& attachment,
                                                   std::optional<QImage> image, bool compact,
                                                   std::function<void()> onRemove, QWidget* parent)
    : QWidget(parent)
    , m_attachment(attachment)
    , m_image(std::move(image))
    , m_compact(compact)
    , m_onRemove(std::move(onRemove))
    , m_remove(new SymbolButton(QStringLiteral("xmark"), kRemoveSide, 9, this)) {
    if (m_image && m_image->isNull()) {
        m_image.reset();
    }
    const Measures& size = measures();
    setFixedSize(size.width, size.height);
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(attachment.name);
    m_remove->setCircleColor(RoundedBox::fixed(ChatStyle::black(0.74)));
    m_remove->setSymbolColor(RoundedBox::fixed(Qt::white));
    m_remove->setLabel(tr("Remove %1").arg(attachment.name));
    m_remove->move(size.width - kRemoveInset - kRemoveSide, kRemoveInset);
    connect(m_remove, &SymbolButton::clicked, this, [this] {
        if (m_onRemove) {
            m_onRemove();
        }
    });
}

const ComposerAIAttachmentCard::Measures& ComposerAIAttachmentCard::measures() const {
    static const Measures regular{156, 96, 66, 30, 29, 10, 11};
    static const Measures compact{124, 74, 48, 26, 24, 9, 10};
    return m_compact ? compact : regular;
}

QString ComposerAIAttachmentCard::markSymbol() const {
    return m_attachment.kind == AIChatAttachmentKind::pdf ? QStringLiteral("doc.richtext.fill")
                                                          : QStringLiteral("doc.text.fill");
}

QColor ComposerAIAttachmentCard::markColor() const {
    return m_attachment.kind == AIChatAttachmentKind::pdf ? QColor::fromRgbF(0.98f, 0.34f, 0.32f)
                                                          : PlimboTheme::accent();
}

QString ComposerAIAttachmentCard::stripSymbol() const {
    switch (m_attachment.kind) {
    case AIChatAttachmentKind::image:
        return QStringLiteral("photo");
    case AIChatAttachmentKind::pdf:
        return QStringLiteral("doc.richtext.fill");
    case AIChatAttachmentKind::text:
        break;
    }
    return QStringLiteral("doc.text.fill");
}

void ComposerAIAttachmentCard::setImage(std::optional<QImage> image) {
    m_image = std::move(image);
    update();
}

void ComposerAIAttachmentCard::paintEvent(QPaintEvent*) {
    const Measures& size = measures();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF card(0, 0, size.width, size.height);
    QPainterPath shape;
    shape.addRoundedRect(card, kCorner, kCorner);

    painter.save();
    painter.setClipPath(shape);
    painter.fillRect(card, ChatStyle::primary(this, 0.045));
    const QRectF mark(0, 0, size.width, size.markHeight);
    if (m_image) {
        // Fills the mark area; what overflows below shows through the name strip.
        const QSizeF scaled =
            QSizeF(m_image->size()).scaled(mark.size(), Qt::KeepAspectRatioByExpanding);
        const QRectF target(mark.center().x() - scaled.width() / 2,
                            mark.center().y() - scaled.height() / 2, scaled.width(),
                            scaled.height());
        painter.drawImage(target, *m_image);
    } else {
        painter.fillRect(mark, ChatStyle::primary(this, 0.025));
        const QRectF symbol(mark.center().x() - size.markSymbol / 2,
                            mark.center().y() - size.markSymbol / 2, size.markSymbol,
                            size.markSymbol);
        SymbolIcon::paint(painter, symbol, markSymbol(), markColor());
    }
    const QRectF strip(0, size.markHeight, size.width, size.stripHeight);
    painter.fillRect(strip, ChatStyle::primary(this, 0.055));
    const qreal symbolX = 8;
    const QRectF stripIcon(symbolX, strip.center().y() - size.stripSymbol / 2, size.stripSymbol,
                           size.stripSymbol);
    SymbolIcon::paint(painter, stripIcon, stripSymbol(), ChatStyle::secondary(this));
    const QFont nameFont = ChatStyle::font(size.name, QFont::DemiBold);
    painter.setFont(nameFont);
    painter.setPen(ChatStyle::primary(this));
    const qreal nameX = symbolX + size.stripSymbol + 6;
    const QRectF nameArea(nameX, strip.top(), size.width - 8 - nameX, strip.height());
    const QString name =
        QFontMetricsF(nameFont).elidedText(m_attachment.name, Qt::ElideMiddle, nameArea.width());
    painter.drawText(nameArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
    painter.restore();

    painter.setPen(QPen(ChatStyle::primary(this, 0.11), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), kCorner, kCorner);
}

} // namespace plimbo
