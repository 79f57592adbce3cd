#include "ChatStyle.h"
#include "PlimboTheme.h"

#include <gtest/gtest.h>

#include <QWidget>

using namespace plimbo;

namespace {

QPalette scheme(bool light) {
    QPalette palette;
    palette.setColor(QPalette::Window, light ? QColor(246, 246, 248) : QColor(36, 36, 40));
    palette.setColor(QPalette::WindowText, light ? QColor(28, 28, 30) : QColor(236, 236, 240));
    return palette;
}

TEST(ChatStyle, ContrastRatiosAsWcagDefinesThem) {
    EXPECT_NEAR(ChatStyle::contrast(Qt::black, Qt::white), 21.0, 0.01);
    EXPECT_NEAR(ChatStyle::contrast(Qt::white, Qt::white), 1.0, 0.001);
    EXPECT_NEAR(ChatStyle::contrast(QColor(118, 118, 118), Qt::white), 4.54, 0.01);
    // A see-through colour counts as painted over the background.
    EXPECT_NEAR(ChatStyle::contrast(QColor(0, 0, 0, 0), Qt::white), 1.0, 0.001);
}

TEST(ChatStyle, SecondaryAndWarningTextsReadInBothSchemes) {
    for (const bool light : {true, false}) {
        QWidget widget;
        widget.setPalette(scheme(light));
        const QColor window = scheme(light).color(QPalette::Window);
        // On the window, and on the tints laid under text: a selected history row, the code box.
        const QList<QColor> backgrounds{
            window,
            ChatStyle::composite(ChatStyle::withOpacity(PlimboTheme::accent(), 0.17), window),
            ChatStyle::composite(ChatStyle::primary(&widget, 0.065), window)};
        for (const QColor& background : backgrounds) {
            EXPECT_GE(ChatStyle::contrast(ChatStyle::secondary(&widget), background), 4.5)
                << light << " " << background.name().toStdString();
            EXPECT_GE(ChatStyle::contrast(ChatStyle::warning(&widget), background), 4.5)
                << light << " " << background.name().toStdString();
        }
    }
    // Secondary stays a lighter shade of the text; a dark window keeps the design's warning.
    QWidget dark;
    dark.setPalette(scheme(false));
    EXPECT_LE(ChatStyle::secondary(&dark).alphaF(), 0.7);
    EXPECT_EQ(ChatStyle::warning(&dark), PlimboTheme::warning());
}

} // namespace
