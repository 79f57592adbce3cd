#include "NotchCameraStage.h"

#include "ChatStyle.h"
#include "DesktopActions.h"
#include "MiniCameraPreview.h"
#include "MiniCameraService.h"
#include "NotchCircleButton.h"
#include "NotchSpinner.h"
#include "NotchSurfaceView.h"
#include "NotchSymbols.h"
#include "PlimboTheme.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace plimbo {

namespace {

constexpr qreal kCaptionPadding = 14;

// The layers over the picture: the shade, the caption and the border. It holds the close
// button; the rest of it takes no clicks of its own.
class StageOverlay : public QWidget {
public:
    StageOverlay(NotchCameraStage& stage, std::function<bool()> isActive)
        : QWidget(&stage)
        , m_isActive(std::move(isActive)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF bounds(rect());
        QPainterPath clip;
        clip.addRoundedRect(bounds, NotchCameraStage::cornerRadius, NotchCameraStage::cornerRadius);
        painter.setClipPath(clip);

        QLinearGradient shade(bounds.center(), QPointF(bounds.center().x(), bounds.bottom()));
        shade.setColorAt(0, Qt::transparent);
        shade.setColorAt(1, ChatStyle::black(0.62));
        painter.fillRect(bounds.adjusted(0, bounds.height() / 2, 0, 0), shade);

        const bool active = m_isActive();
        const QFont titleFont = ChatStyle::font(12, QFont::DemiBold);
        const QFont subtitleFont =
            ChatStyle::font(ChatStyle::pixelSize(ChatStyle::TextStyle::caption2));
        const QFontMetricsF titleMetrics(titleFont);
        const QFontMetricsF subtitleMetrics(subtitleFont);
        const qreal bottom = bounds.bottom() - kCaptionPadding;
        const qreal subtitleTop = bottom - subtitleMetrics.height();
        const qreal titleTop = subtitleTop - 2 - titleMetrics.height();
        const qreal left = kCaptionPadding;
        const qreal symbolSide = NotchSymbols::side(12);
        NotchSymbols::paint(painter,
                            QPointF(left + symbolSide / 2, titleTop + titleMetrics.height() / 2),
                            12, QStringLiteral("video.fill"), Qt::white);
        painter.setFont(titleFont);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(left + symbolSide + 5, titleTop, 200, titleMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Camera"));
        painter.setFont(subtitleFont);
        painter.setPen(ChatStyle::white(0.68));
        painter.drawText(QRectF(left, subtitleTop, 200, subtitleMetrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         active ? QStringLiteral("Live preview") : QStringLiteral("Connecting…"));

        painter.setClipping(false);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(active ? ChatStyle::withOpacity(PlimboTheme::positive(), 0.72)
                                   : ChatStyle::white(0.14),
                            1));
        painter.drawRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5),
                                NotchCameraStage::cornerRadius, NotchCameraStage::cornerRadius);
    }

private:
    std::function<bool()> m_isActive;
};

} // namespace

NotchCameraStage::NotchCameraStage(NotchSurfaceView& surface, QWidget* parent)
    : QWidget(parent)
    , m_surface(surface)
    , m_spinner(new NotchSpinner(20, Qt::white, this)) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_overlay = new StageOverlay(*this, [this] { return isActive(); });
    m_close = new NotchCircleButton(
        30,
        [](const NotchCircleButton& button) {
            NotchCircleButton::Look look;
            look.symbol = QStringLiteral("xmark");
            look.symbolPointSize = 11;
            look.symbolColor = Qt::white;
            look.fill = ChatStyle::black(0.48);
            look.stroke = button.isFocused() ? PlimboTheme::accent() : ChatStyle::white(0.18);
            look.strokeWidth = button.isFocused() ? 2 : 1;
            return look;
        },
        m_overlay);
    m_close->setTitle(QStringLiteral("Close camera"));
    connect(m_close, &QAbstractButton::clicked, this,
            [this] { m_surface.features().desktop.toggleMiniCamera(); });
    connect(&surface, &NotchSurfaceView::cameraPresentationChanged, this,
            &NotchCameraStage::refresh);
    refresh();
}

int NotchCameraStage::heightForWidth(int width) const {
    return qRound(width * 9.0 / 16.0);
}

QSize NotchCameraStage::sizeHint() const {
    return {488, heightForWidth(488)};
}

bool NotchCameraStage::isActive() const {
    const MiniCamera* camera = m_surface.features().camera;
    return camera && camera->isActive();
}

bool NotchCameraStage::showsLivePreview() const {
    return isActive() && m_preview;
}

QString NotchCameraStage::captionText() const {
    return isActive() ? QStringLiteral("Live preview") : QStringLiteral("Connecting…");
}

void NotchCameraStage::refresh() {
    const bool active = isActive();
    // Made when the camera is first wanted: the video backend loads with it.
    if (!m_preview && m_surface.cameraPresentationActive()) {
        if (MiniCameraService* camera = m_surface.camera()) {
            m_preview = new MiniCameraPreview(camera->capture(), cornerRadius, this);
            m_preview->setGeometry(rect());
        }
    }
    if (m_preview) {
        m_preview->setVisible(active);
    }
    m_spinner->setVisible(!active);
    setAccessibleName(active ? QStringLiteral("Live camera preview")
                             : QStringLiteral("Camera is starting"));
    m_overlay->raise();
    update();
    m_overlay->update();
}

void NotchCameraStage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_preview) {
        m_preview->setGeometry(rect());
    }
    m_overlay->setGeometry(rect());
    m_close->move(width() - qRound(kCaptionPadding) - m_close->width(),
                  height() - qRound(kCaptionPadding) - m_close->height());
    // Spinner and its caption sit together in the middle.
    const QFontMetricsF metrics(ChatStyle::font(ChatStyle::TextStyle::caption, QFont::Medium));
    const qreal block = m_spinner->height() + 10 + metrics.height();
    m_spinner->move((width() - m_spinner->width()) / 2, qRound((height() - block) / 2));
}

void NotchCameraStage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    if (isActive()) {
        return;
    }
    const QFont font = ChatStyle::font(ChatStyle::TextStyle::caption, QFont::Medium);
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    painter.setPen(ChatStyle::white(0.72));
    const qreal top = m_spinner->geometry().bottom() + 10;
    painter.drawText(QRectF(0, top, width(), metrics.height()), Qt::AlignCenter,
                     QStringLiteral("Starting camera…"));
}

} // namespace plimbo
