#include "NotchFileTray.h"

#include "ChatStyle.h"
#include "DesktopActions.h"
#include "FileActionButton.h"
#include "NotchCircleButton.h"
#include "NotchFileShelfItem.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace plimbo {

namespace {

constexpr int kPadding = 10;
constexpr int kHeaderHeight = 24;
constexpr qreal kHeaderSpacing = 7;

QColor airDropBlue() {
    return QColor::fromRgbF(0.34f, 0.72f, 1.0f);
}

QFont titleFont() {
    return ChatStyle::font(12, QFont::DemiBold);
}

QFont badgeFont() {
    return ChatStyle::font(9, QFont::Bold);
}

QFont hintFont() {
    return ChatStyle::font(9, QFont::Medium);
}

const QString kTitle = QStringLiteral("File Shelf");
const QString kHint = QStringLiteral("Drag a file back anywhere");

} // namespace

NotchFileTray::NotchFileTray(DesktopActions& desktop, QWidget* parent)
    : QWidget(parent)
    , m_desktop(desktop) {
    setAccessibleName(QStringLiteral("File shelf and actions"));

    m_dismiss = new NotchCircleButton(
        kHeaderHeight,
        [](const NotchCircleButton& button) {
            NotchCircleButton::Look look;
            look.symbol = QStringLiteral("xmark");
            look.symbolPointSize = 9;
            look.symbolColor = Qt::white;
            look.fill = ChatStyle::white(0.08);
            if (button.isFocused()) {
                look.stroke = PlimboTheme::accent();
                look.strokeWidth = 2;
            }
            return look;
        },
        this);
    m_dismiss->setTitle(QStringLiteral("Dismiss file actions"));
    m_dismiss->setToolTip(QString());
    connect(m_dismiss, &QAbstractButton::clicked, this, [this] { m_desktop.setShelfURLs({}); });

    m_strip = new QScrollArea(this);
    m_strip->setAccessibleName(QStringLiteral("Files on the Plimbo shelf"));
    m_strip->setFrameShape(QFrame::NoFrame);
    m_strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setWidgetResizable(true);
    m_strip->setFixedHeight(NotchFileShelfItem::tileSize.height());
    m_strip->setStyleSheet(QStringLiteral("background: transparent;"));
    m_strip->viewport()->setAutoFillBackground(false);
    m_strip->viewport()->installEventFilter(this);
    m_stripContent = new QWidget;
    m_stripContent->setAutoFillBackground(false);
    m_tileRow = new QHBoxLayout(m_stripContent);
    m_tileRow->setContentsMargins(0, 0, 0, 0);
    m_tileRow->setSpacing(7);
    m_tileRow->addStretch(1);
    m_strip->setWidget(m_stripContent);

    auto whole = [this] {
        return m_desktop.shelfURLs();
    };
    m_actions = {
        new FileActionButton(QStringLiteral("AirDrop"),
                             QStringLiteral("antenna.radiowaves.left.and.right"), airDropBlue(),
                             [this, whole] {
                                 const QList<QUrl> files = whole();
                                 if (!files.isEmpty()) {
                                     m_desktop.performAirDrop(files);
                                 }
                             }),
        new FileActionButton(QStringLiteral("Copy"), QStringLiteral("doc.on.doc"),
                             PlimboTheme::accent(), [this] { m_desktop.copyShelfFiles(); }),
        new FileActionButton(QStringLiteral("Open"), QStringLiteral("arrow.up.forward.app"),
                             PlimboTheme::positive(), [this] { m_desktop.openShelfFiles(); }),
        new FileActionButton(QStringLiteral("Files"), QStringLiteral("folder"), Qt::white,
                             [this] { m_desktop.revealShelfFiles(); }),
    };

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(8);
    auto* header = new QHBoxLayout;
    header->setContentsMargins(0, 0, 0, 0);
    header->addStretch(1);
    header->addWidget(m_dismiss);
    column->addLayout(header);
    column->addWidget(m_strip);
    auto* actionRow = new QHBoxLayout;
    actionRow->setContentsMargins(0, 0, 0, 0);
    actionRow->setSpacing(8);
    for (FileActionButton* action : m_actions) {
        actionRow->addWidget(action, 1);
    }
    column->addLayout(actionRow);

    connect(&desktop, &DesktopActions::shelfURLsChanged, this, &NotchFileTray::rebuildTiles);
    rebuildTiles();
}

QList<NotchFileShelfItem*> NotchFileTray::tiles() const {
    QList<NotchFileShelfItem*> ordered;
    for (int i = 0; i < m_tileRow->count(); ++i) {
        if (auto* tile = qobject_cast<NotchFileShelfItem*>(m_tileRow->itemAt(i)->widget())) {
            ordered.append(tile);
        }
    }
    return ordered;
}

QString NotchFileTray::countText() const {
    return QString::number(m_desktop.shelfURLs().size());
}

void NotchFileTray::rebuildTiles() {
    const QList<QUrl> files = m_desktop.shelfURLs();
    // Tiles of files still on the shelf are kept (with their hover and focus); the rest go.
    QHash<QUrl, NotchFileShelfItem*> kept;
    for (const QUrl& file : files) {
        if (NotchFileShelfItem* tile = m_tiles.take(file)) {
            kept.insert(file, tile);
        }
    }
    for (NotchFileShelfItem* gone : std::as_const(m_tiles)) {
        m_tileRow->removeWidget(gone);
        gone->deleteLater();
    }
    m_tiles = kept;
    for (qsizetype i = 0; i < files.size(); ++i) {
        NotchFileShelfItem* tile = m_tiles.value(files[i]);
        if (!tile) {
            const QUrl file = files[i];
            tile = new NotchFileShelfItem(
                file, [this, file] { m_desktop.removeDroppedFile(file); }, m_stripContent);
            m_tiles.insert(file, tile);
        } else {
            m_tileRow->removeWidget(tile);
        }
        m_tileRow->insertWidget(int(i), tile);
    }
    update();
}

QRectF NotchFileTray::headerRect() const {
    return QRectF(kPadding, kPadding, width() - 2 * kPadding, kHeaderHeight);
}

void NotchFileTray::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setBrush(ChatStyle::white(0.055));
    painter.setPen(QPen(ChatStyle::withOpacity(PlimboTheme::accent(), 0.26), 1));
    painter.drawRoundedRect(box, 15, 15);

    // Header: symbol, title, count badge ... hint, then the dismiss button (a child).
    const QRectF header = headerRect();
    const qreal middle = header.center().y();
    qreal x = header.left();
    const qreal symbolSide = NotchSymbols::side(12);
    NotchSymbols::paint(painter, QPointF(x + symbolSide / 2, middle), 12,
                        QStringLiteral("tray.full"), PlimboTheme::accent());
    x += symbolSide + kHeaderSpacing;

    const QFontMetricsF titleMetrics(titleFont());
    painter.setFont(titleFont());
    painter.setPen(Qt::white);
    const qreal titleWidth = titleMetrics.horizontalAdvance(kTitle);
    painter.drawText(QRectF(x, header.top(), titleWidth + 1, header.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, kTitle);
    x += titleWidth + kHeaderSpacing;

    const QFontMetricsF badgeMetrics(badgeFont());
    const QString count = countText();
    const QSizeF badge(badgeMetrics.horizontalAdvance(count) + 12, badgeMetrics.height() + 6);
    const QRectF badgeRect(x, middle - badge.height() / 2, badge.width(), badge.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(ChatStyle::withOpacity(PlimboTheme::accent(), 0.16));
    painter.drawRoundedRect(badgeRect, badge.height() / 2, badge.height() / 2);
    painter.setFont(badgeFont());
    painter.setPen(PlimboTheme::accent());
    painter.drawText(badgeRect, Qt::AlignCenter, count);

    const QFontMetricsF hintMetrics(hintFont());
    const qreal hintRight = m_dismiss->geometry().left() - kHeaderSpacing;
    const qreal hintLeft = badgeRect.right() + kHeaderSpacing;
    const QString hint =
        hintMetrics.elidedText(kHint, Qt::ElideRight, std::max<qreal>(0, hintRight - hintLeft));
    painter.setFont(hintFont());
    painter.setPen(ChatStyle::white(0.48));
    painter.drawText(QRectF(hintLeft, header.top(), hintRight - hintLeft, header.height()),
                     Qt::AlignRight | Qt::AlignVCenter, hint);
}

bool NotchFileTray::eventFilter(QObject* watched, QEvent* event) {
    // The strip scrolls sideways with an ordinary wheel too.
    if (watched == m_strip->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const QPoint delta = wheel->angleDelta();
        const int step = delta.x() != 0 ? delta.x() : delta.y();
        QScrollBar* bar = m_strip->horizontalScrollBar();
        bar->setValue(bar->value() - step / 2);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plimbo
