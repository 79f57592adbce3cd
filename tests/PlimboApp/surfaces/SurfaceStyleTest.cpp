#include "SurfaceStyle.h"
#include "symbols/SymbolIcon.h"

#include <gtest/gtest.h>

#include <QPalette>

using namespace plimbo;

namespace {

// Every symbol the palette frame, the quick-access panels and the menu-bar panel draw
// themselves (the palette's item symbols come from the model).
const QStringList kSurfaceSymbols{"sparkle.magnifyingglass",
                                  "magnifyingglass",
                                  "clipboard",
                                  "pin.fill",
                                  "doc.on.clipboard",
                                  "app",
                                  "cpu",
                                  "memorychip",
                                  "thermometer",
                                  "thermometer.low",
                                  "thermometer.medium",
                                  "thermometer.high",
                                  "questionmark.circle",
                                  "waveform.path.ecg",
                                  "clock.arrow.circlepath",
                                  "arrow.up.forward.app",
                                  "chevron.right",
                                  "arrow.up.right",
                                  "sparkles",
                                  "moon.zzz.fill",
                                  "cup.and.heat.waves",
                                  "gearshape",
                                  "info.circle",
                                  "power"};

int inkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 40 ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(SurfaceStyleTest, EverySurfaceSymbolIsShippedAndDrawsOffscreen) {
    SurfaceStyle::registerSymbols();
    for (const QString& name : kSurfaceSymbols) {
        EXPECT_TRUE(SymbolIcon::contains(name)) << name.toStdString();
        const QImage image = SymbolIcon::image(name, QSize(24, 24), Qt::black);
        EXPECT_GT(inkedPixels(image), 10) << name.toStdString();
    }
}

TEST(SurfaceStyleTest, TheSchemeIsLightWhenTheWindowIsLighterThanItsText) {
    QPalette light;
    light.setColor(QPalette::Window, QColor(236, 236, 236));
    light.setColor(QPalette::WindowText, QColor(20, 20, 20));
    EXPECT_TRUE(SurfaceStyle::isLightScheme(light));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 32));
    dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
    EXPECT_FALSE(SurfaceStyle::isLightScheme(dark));
    // The tones are the text colour at falling opacities.
    EXPECT_GT(SurfaceStyle::secondary(dark).alphaF(), SurfaceStyle::tertiary(dark).alphaF());
    EXPECT_EQ(SurfaceStyle::secondary(dark).rgb(), QColor(240, 240, 240).rgb());
}
