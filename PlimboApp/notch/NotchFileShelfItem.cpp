#include "NotchFileShelfItem.h"

#include "ChatStyle.h"
#include "MainThreadContinuation.h"
#include "NotchCircleButton.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"
#include "symbols/SymbolIcon.h"

#include <QApplication>
#include <QDrag>
#include <QEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QMimeData>
#include <QMimeDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>
#include <QtMath>

namespace plimbo {

namespace {

constexpr qreal kIconSide = 28;
constexpr qreal kLeading = 7;
constexpr qreal kTrailing = 6;
constexpr qreal kSpacing = 7;
constexpr int kRemoveSide = 18;

} // namespace

NotchFileShelfItem::NotchFileShelfItem(const QUrl& url, std::function<void()> onRemove,
                                       QWidget* parent)
    : QWidget(parent)
    , m_url(url)
    , m_onRemove(std::move(onRemove))
    , m_icon(icon(url)) {
    setFixedSize(tileSize);
    const QString fileName = name(url);
    setToolTip(QStringLiteral("Drag ") + fileName +
               QStringLiteral(" to the file manager or another app"));
    setAccessibleName(fileName + QStringLiteral(", draggable file"));
    m_remove = new NotchCircleButton(
        kRemoveSide,
        [this](const NotchCircleButton&) {
            NotchCircleButton::Look look;
            if (showsRemoveButton()) {
                look.symbol = QStringLiteral("xmark");
                look.symbolPointSize = 8;
                look.symbolColor = ChatStyle::white(0.72);
                look.fill = ChatStyle::white(0.09);
            }
            return look;
        },
        this);
    m_remove->setTitle(QStringLiteral("Remove ") + fileName + QStringLiteral(" from shelf"));
    m_remove->setToolTip(QString());
    m_remove->move(tileSize.width() - qRound(kTrailing) - kRemoveSide,
                   (tileSize.height() - kRemoveSide) / 2);
    connect(m_remove, &QAbstractButton::clicked, this, [this] {
        if (m_onRemove) {
            m_onRemove();
        }
    });
    connect(qApp, &QApplication::focusChanged, this, [this] { updateRemoveButton(); });
    updateRemoveButton();

    // Judged by the name alone: the file is only read off the main thread.
    const QString path = url.toLocalFile();
    if (!path.isEmpty() && QMimeDatabase()
                               .mimeTypeForFile(path, QMimeDatabase::MatchExtension)
                               .name()
                               .startsWith(QStringLiteral("image/"))) {
        const int side = qCeil(kIconSide * devicePixelRatioF());
        const QFuture<QImage> decoding = QtConcurrent::run([path, side] {
            QImageReader reader(path);
            reader.setAutoTransform(true);
            const QSize full = reader.size();
            if (full.isValid()) {
                reader.setScaledSize(full.scaled(side, side, Qt::KeepAspectRatio));
            }
            return reader.read();
        });
        whenFinished(decoding, this, [this](const QFuture<QImage>& done) {
            const std::optional<QImage> image = resultOf(done);
            if (!image || image->isNull()) {
                return; // unreadable: the desktop's icon stays
            }
            m_icon = QIcon(QPixmap::fromImage(*image));
            m_showsThumbnail = true;
            update();
        });
    }
}

QString NotchFileShelfItem::name(const QUrl& url) {
    QString path = url.path();
    while (path.size() > 1 && path.endsWith(u'/')) {
        path.chop(1);
    }
    const QString last = path.section(u'/', -1);
    return last.isEmpty() ? path : last;
}

QString NotchFileShelfItem::kind(const QUrl& url) {
    const QString fileName = name(url);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    // A leading dot names a hidden file, not an extension.
    if (dot <= 0 || dot == fileName.size() - 1) {
        return QStringLiteral("FILE");
    }
    return fileName.mid(dot + 1).toUpper();
}

QIcon NotchFileShelfItem::icon(const QUrl& url) {
    const QFileInfo info(url.toLocalFile());
    QIcon found = QFileIconProvider().icon(info);
    if (!found.isNull() && !found.availableSizes().isEmpty()) {
        return found;
    }
    NotchSymbols::ensureRegistered();
    return SymbolIcon::icon(info.isDir() ? QStringLiteral("folder") : QStringLiteral("doc"),
                            ChatStyle::white(0.78));
}

bool NotchFileShelfItem::showsRemoveButton() const {
    return m_hovered || m_remove->isFocused();
}

QMimeData* NotchFileShelfItem::dragData() const {
    auto* data = new QMimeData;
    data->setUrls({m_url});
    return data;
}

void NotchFileShelfItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setBrush(ChatStyle::white(m_hovered ? 0.11 : 0.07));
    painter.setPen(QPen(m_hovered ? ChatStyle::withOpacity(PlimboTheme::accent(), 0.46)
                                  : ChatStyle::white(0.08),
                        1));
    painter.drawRoundedRect(box, 11, 11);

    const QRectF iconRect(kLeading, (height() - kIconSide) / 2, kIconSide, kIconSide);
    m_icon.paint(&painter, iconRect.toRect(), Qt::AlignCenter);

    const qreal textLeft = iconRect.right() + kSpacing;
    const qreal textWidth = width() - kTrailing - kRemoveSide - kSpacing - textLeft;
    const QFont nameFont = ChatStyle::font(10.5, QFont::DemiBold);
    const QFont kindFont = ChatStyle::font(8.5, QFont::Medium);
    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF kindMetrics(kindFont);
    const qreal blockHeight = nameMetrics.height() + 2 + kindMetrics.height();
    const qreal top = (height() - blockHeight) / 2;
    painter.setFont(nameFont);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(textLeft, top, textWidth, nameMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     nameMetrics.elidedText(name(m_url), Qt::ElideRight, textWidth));
    painter.setFont(kindFont);
    painter.setPen(ChatStyle::white(0.48));
    painter.drawText(
        QRectF(textLeft, top + nameMetrics.height() + 2, textWidth, kindMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        kindMetrics.elidedText(kind(m_url), Qt::ElideRight, textWidth));
}

void NotchFileShelfItem::enterEvent(QEnterEvent* event) {
    setHovered(true);
    QWidget::enterEvent(event);
}

void NotchFileShelfItem::leaveEvent(QEvent* event) {
    setHovered(false);
    QWidget::leaveEvent(event);
}

void NotchFileShelfItem::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressPosition = event->position().toPoint();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void NotchFileShelfItem::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressPosition || !(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - *m_pressPosition).manhattanLength() <
            QApplication::startDragDistance()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    m_pressPosition.reset();
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData());
    const QPixmap preview = dragPreview();
    drag->setPixmap(preview);
    drag->setHotSpot(QPoint(preview.width() / 2, preview.height() / 2));
    // A copy, never a move: the file stays where it is and on the shelf.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void NotchFileShelfItem::mouseReleaseEvent(QMouseEvent* event) {
    m_pressPosition.reset();
    QWidget::mouseReleaseEvent(event);
}

void NotchFileShelfItem::setHovered(bool hovered) {
    if (m_hovered != hovered) {
        m_hovered = hovered;
        updateRemoveButton();
        update();
    }
}

void NotchFileShelfItem::updateRemoveButton() {
    // Invisible and deaf to clicks until the tile is hovered or the button is focused.
    m_remove->setAttribute(Qt::WA_TransparentForMouseEvents, !showsRemoveButton());
    m_remove->update();
}

QPixmap NotchFileShelfItem::dragPreview() const {
    const QFont font = ChatStyle::font(ChatStyle::TextStyle::caption, QFont::DemiBold);
    const QFontMetricsF metrics(font);
    const QString text = metrics.elidedText(name(m_url), Qt::ElideRight, 220);
    const qreal iconSide = 30;
    const qreal padding = 9;
    const QSizeF size(padding * 2 + iconSide + 7 + metrics.horizontalAdvance(text),
                      padding * 2 + std::max(iconSide, metrics.height()));
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap((size * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(236, 236, 238, 235));
    painter.drawRoundedRect(QRectF(QPointF(0, 0), size), 12, 12);
    const QRectF iconRect(padding, (size.height() - iconSide) / 2, iconSide, iconSide);
    m_icon.paint(&painter, iconRect.toRect(), Qt::AlignCenter);
    painter.setFont(font);
    painter.setPen(QColor(30, 30, 30));
    painter.drawText(QRectF(iconRect.right() + 7, 0, size.width(), size.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
    return pixmap;
}

} // namespace plimbo
