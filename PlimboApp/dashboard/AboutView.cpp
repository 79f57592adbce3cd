#include "AboutView.h"

#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "PlimboTheme.h"
#include "RuntimeResources.h"
#include "symbols/SymbolIcon.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace plimbo {

namespace {

QColor rgb(qreal red, qreal green, qreal blue) {
    return QColor::fromRgbF(static_cast<float>(red), static_cast<float>(green),
                            static_cast<float>(blue));
}

// The dark appearance whatever the desktop's.
QPalette darkPalette() {
    QPalette palette;
    const QColor window = rgb(0.12, 0.12, 0.13);
    const QColor text(Qt::white);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Base, rgb(0.16, 0.16, 0.17));
        palette.setColor(group, QPalette::AlternateBase, rgb(0.2, 0.2, 0.21));
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::Button, rgb(0.2, 0.2, 0.21));
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Highlight, PlimboTheme::accent());
        palette.setColor(group, QPalette::HighlightedText, text);
    }
    return palette;
}

// A widget filled with one colour, for the two bands.
class Band : public QWidget {
public:
    Band(const QColor& fill, QWidget* parent)
        : QWidget(parent)
        , m_fill(fill) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), m_fill); }

private:
    QColor m_fill;
};

// The note box: control background in a rounded rectangle with an accent outline.
class NoteBox : public QWidget {
public:
    explicit NoteBox(QWidget* parent)
        : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawRoundedRect(box, 14, 14);
        QColor outline = PlimboTheme::accent();
        outline.setAlphaF(0.42f);
        painter.setPen(QPen(outline, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(box, 14, 14);
    }
};

QString textOr(const QVariant& value, const QString& fallback) {
    return value.typeId() == QMetaType::QString ? value.toString() : fallback;
}

} // namespace

AboutView::BundleInfo AboutView::BundleInfo::installed() {
    return installed(QCoreApplication::applicationDirPath());
}

AboutView::BundleInfo AboutView::BundleInfo::installed(const QString& programDirectory) {
    BundleInfo bundle;
    bundle.iconFile = RuntimeResources::iconFile(programDirectory);
    if (!QCoreApplication::applicationVersion().isEmpty()) {
        bundle.shortVersion = QCoreApplication::applicationVersion();
    }
    return bundle;
}

AboutView::AboutView(QWidget* parent)
    : AboutView(BundleInfo::installed(), parent) {}

AboutView::AboutView(const BundleInfo& bundle, QWidget* parent)
    : QWidget(parent) {
    DashboardSymbols::load();
    setPalette(darkPalette());
    setAutoFillBackground(true);
    setFixedSize(viewSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(hero(bundle), 1);
    layout->addWidget(facts(bundle), 0);
}

QImage AboutView::icon(const BundleInfo& bundle) {
    if (!bundle.iconFile.isEmpty()) {
        const QImage image(bundle.iconFile);
        if (!image.isNull()) {
            return image;
        }
    }
    const QIcon application = QApplication::windowIcon();
    if (!application.isNull()) {
        return application.pixmap(QSize(iconSide, iconSide) * 2).toImage();
    }
    return {};
}

QString AboutView::version(const BundleInfo& bundle) {
    return textOr(bundle.shortVersion, QStringLiteral("0.1.0"));
}

QString AboutView::build(const BundleInfo& bundle) {
    return textOr(bundle.buildVersion, QStringLiteral("1"));
}

QWidget* AboutView::hero(const BundleInfo& bundle) {
    auto* band = new Band(rgb(0.025, 0.03, 0.045), this);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(68, 0, 68, 0);
    row->setSpacing(54);

    m_icon = new QLabel(band);
    m_icon->setFixedSize(iconSide, iconSide);
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->setAccessibleName(QStringLiteral("Plimbo application icon"));
    const QImage image = icon(bundle);
    if (!image.isNull()) {
        const qreal ratio = devicePixelRatioF();
        QPixmap pixmap = QPixmap::fromImage(image.scaled(
            QSize(iconSide, iconSide) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        pixmap.setDevicePixelRatio(ratio);
        m_icon->setPixmap(pixmap);
    }
    row->addWidget(m_icon, 0, Qt::AlignVCenter);

    // Centred by stretches rather than by alignment, so the tag line gets the height it needs
    // for the width it is given.
    auto* texts = new QVBoxLayout;
    texts->setSpacing(20);
    texts->addStretch(1);
    QFont titleFont = DashboardStyle::font(54, QFont::Bold);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, -1.6);
    texts->addWidget(DashboardStyle::label(QStringLiteral("Plimbo"), titleFont,
                                           DashboardStyle::Emphasis::primary, band));
    QLabel* tagLine = DashboardStyle::label(
        QStringLiteral("One app. One shortcut.\nEverything your desktop is missing."),
        DashboardStyle::font(27, QFont::DemiBold), DashboardStyle::Emphasis::secondary, band);
    tagLine->setWordWrap(true);
    texts->addWidget(tagLine);
    texts->addStretch(1);
    row->addLayout(texts, 1);
    return band;
}

QWidget* AboutView::facts(const BundleInfo& bundle) {
    using S = DashboardStyle;
    auto* band = new Band(rgb(0.1, 0.1, 0.11), this);
    auto* column = new QVBoxLayout(band);
    column->setContentsMargins(68, 34, 68, 34);
    column->setSpacing(24);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(34);
    grid->setVerticalSpacing(16);
    const QFont headline = S::font(S::Text::headline);
    const auto infoRow = [&](int row, const QString& label, const QString& value) {
        QLabel* name = S::label(label, headline, S::Emphasis::secondary, band);
        name->setFixedWidth(150);
        grid->addWidget(name, row, 0, Qt::AlignLeft);
        QLabel* text = S::label(value, headline, S::Emphasis::primary, band);
        grid->addWidget(text, row, 1, Qt::AlignLeft);
        return text;
    };
    m_version = infoRow(0, QStringLiteral("Version"),
                        version(bundle) + QStringLiteral(" (") + build(bundle) + QLatin1Char(')'));
    infoRow(1, QStringLiteral("Requires"),
            QStringLiteral("Linux with X11, or Wayland through XWayland"));
    infoRow(2, QStringLiteral("Distribution"), QStringLiteral("Ad-hoc local build"));
    grid->setColumnStretch(2, 1);
    column->addLayout(grid);

    auto* note = new NoteBox(band);
    auto* noteRow = new QHBoxLayout(note);
    noteRow->setContentsMargins(18, 18, 18, 18);
    noteRow->setSpacing(18);
    auto* symbol = new QLabel(note);
    symbol->setFixedWidth(42);
    symbol->setAlignment(Qt::AlignCenter);
    symbol->setPixmap(SymbolIcon::pixmap(QStringLiteral("hand.raised.fill"), QSize(30, 30),
                                         PlimboTheme::accent(), devicePixelRatioF()));
    noteRow->addWidget(symbol);
    auto* noteTexts = new QVBoxLayout;
    noteTexts->setSpacing(3);
    noteTexts->addWidget(
        S::label(QStringLiteral("Local-first by design"), headline, S::Emphasis::primary, note));
    QLabel* detail = S::label(QStringLiteral("Disabled modules stay dormant. AI sends text only "
                                             "after an explicit action."),
                              S::font(S::Text::callout), S::Emphasis::secondary, note);
    detail->setWordWrap(true);
    noteTexts->addWidget(detail);
    noteRow->addLayout(noteTexts, 1);
    column->addWidget(note);
    return band;
}

} // namespace plimbo
