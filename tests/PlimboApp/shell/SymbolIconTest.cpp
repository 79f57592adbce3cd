#include "symbols/SymbolIcon.h"

#include <gtest/gtest.h>

#include <QPainter>

using namespace plimbo;

namespace {

// Every symbol the chat views draw.
const QStringList kChatSymbols{
    "square.and.pencil", "magnifyingglass", "xmark.circle.fill", "bubble.left.and.bubble.right",
    "ellipsis", "pencil", "trash", "text.magnifyingglass", "pencil.line", "checklist", "plus",
    "stop.fill", "arrow.up", "doc.on.doc", "stop.circle", "exclamationmark.circle",
    "arrow.clockwise", "doc.text.fill", "doc.richtext.fill", "photo", "xmark", "paperclip",
    // and the palette's commands, the chevrons and the info marks shipped beside them
    "app", "clipboard", "square.grid.2x2", "sparkles", "sparkle.magnifyingglass",
    "antenna.radiowaves.left.and.right", "viewfinder", "cup.and.heat.waves", "moon.zzz",
    "gearshape", "chevron.up", "chevron.down", "chevron.right", "info.circle",
    "questionmark.circle"};

int inkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 40 ? 1 : 0;
        }
    }
    return count;
}

TEST(SymbolIcon, EveryChatSymbolIsShippedAndDrawsOffscreen) {
    for (const QString& name : kChatSymbols) {
        EXPECT_TRUE(SymbolIcon::contains(name)) << name.toStdString();
        const QImage image = SymbolIcon::image(name, QSize(24, 24), Qt::black);
        EXPECT_GT(inkedPixels(image), 10) << name.toStdString();
    }
    EXPECT_TRUE(SymbolIcon::names().contains("paperclip"));
    EXPECT_FALSE(SymbolIcon::names().contains("symbol.fallback"));
}

TEST(SymbolIcon, UnknownNamesDrawANeutralPlaceholder) {
    EXPECT_FALSE(SymbolIcon::contains("no.such.symbol"));
    EXPECT_FALSE(SymbolIcon::contains(""));
    const QImage unknown = SymbolIcon::image("no.such.symbol", QSize(24, 24), Qt::black);
    EXPECT_GT(inkedPixels(unknown), 10);
    EXPECT_EQ(unknown, SymbolIcon::image("another.unknown", QSize(24, 24), Qt::black));
    EXPECT_NE(unknown, SymbolIcon::image("plus", QSize(24, 24), Qt::black));
}

TEST(SymbolIcon, DrawingsTakeTheirColourAndCutOutsStayClear) {
    const QColor accent = QColor::fromRgbF(0.43f, 0.36f, 0.96f);
    const QImage plus = SymbolIcon::image("plus", QSize(48, 48), accent);
    const QRgb centre = plus.pixel(24, 24);
    EXPECT_EQ(qAlpha(centre), 255);
    EXPECT_EQ(QColor(centre).rgb(), accent.rgb());
    // The cross cut out of the filled disc is see-through, the disc around it is not.
    const QImage cleared = SymbolIcon::image("xmark.circle.fill", QSize(48, 48), Qt::red);
    EXPECT_LT(qAlpha(cleared.pixel(24, 24)), 60);
    EXPECT_EQ(qAlpha(cleared.pixel(24, 10)), 255);
    // A translucent colour stays translucent.
    const QImage faint = SymbolIcon::image("stop.fill", QSize(24, 24), QColor(0, 0, 0, 100));
    EXPECT_NEAR(qAlpha(faint.pixel(12, 12)), 100, 2);
}

TEST(SymbolIcon, IconsDrawAtTheSizeAskedAndFainterWhenDisabled) {
    const QIcon icon = SymbolIcon::icon("trash", Qt::black);
    const QPixmap normal = icon.pixmap(QSize(32, 32));
    EXPECT_EQ(normal.size(), QSize(32, 32));
    const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
    int strongest = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            strongest = std::max(strongest, qAlpha(disabled.pixel(x, y)));
        }
    }
    EXPECT_LT(strongest, 120);
    EXPECT_EQ(SymbolIcon::pixmap("trash", QSize(10, 10), Qt::black, 2.0).size(), QSize(20, 20));
}

} // namespace
