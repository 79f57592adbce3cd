#include "MenuPrimaryAction.h"
#include "MenuQuickAction.h"
#include "MenuUtilityAction.h"
#include "PlimboTheme.h"
#include "SurfaceStyle.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <QVBoxLayout>

using namespace plimbo;

namespace {

void hover(QWidget* widget, bool inside) {
    if (inside) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }
}

// Buttons in an active window, so focus is real keyboard focus.
class MenuActionButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* column = new QVBoxLayout(&window);
        primary = new MenuPrimaryAction(QStringLiteral("Open Plimbo"),
                                        QStringLiteral("Dashboard & modules"),
                                        QStringLiteral("arrow.up.forward.app"), [this] { ++runs; });
        quick =
            new MenuQuickAction(QStringLiteral("Command"), QStringLiteral("Super+Alt+Space"),
                                QStringLiteral("sparkle.magnifyingglass"), PlimboTheme::accent(),
                                QStringLiteral("Open Command Palette"), [this] { ++runs; });
        utility = new MenuUtilityAction(QStringLiteral("Settings"), QStringLiteral("gearshape"),
                                        [this] { ++runs; });
        elsewhere = new QWidget;
        elsewhere->setFocusPolicy(Qt::StrongFocus);
        for (QWidget* widget : {static_cast<QWidget*>(primary), static_cast<QWidget*>(quick),
                                static_cast<QWidget*>(utility), elsewhere}) {
            column->addWidget(widget);
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        // The window hands focus to its first button; start from none of them.
        elsewhere->setFocus();
    }

    QColor primaryAt(qreal opacity) const {
        return SurfaceStyle::primary(window.palette(), opacity);
    }
    static QColor accentAt(qreal opacity) {
        return SurfaceStyle::withOpacity(PlimboTheme::accent(), opacity);
    }

    QWidget window;
    MenuPrimaryAction* primary = nullptr;
    MenuQuickAction* quick = nullptr;
    MenuUtilityAction* utility = nullptr;
    QWidget* elsewhere = nullptr;
    int runs = 0;
};

} // namespace

TEST_F(MenuActionButtonTest, ThePrimaryRowsWashFollowsHoverAndItsRingFollowsFocus) {
    EXPECT_EQ(primary->appearance().washOpacity, 0);
    EXPECT_EQ(primary->appearance().ringOpacity, 0);
    primary->setFocus();
    EXPECT_EQ(primary->appearance().washOpacity, 0);
    EXPECT_EQ(primary->appearance().ringOpacity, 0.75);
    hover(primary, true);
    EXPECT_EQ(primary->appearance().washOpacity, 0.08);
    elsewhere->setFocus();
    EXPECT_EQ(primary->appearance().washOpacity, 0.08);
    EXPECT_EQ(primary->appearance().ringOpacity, 0);
    hover(primary, false);
    EXPECT_EQ(primary->appearance().washOpacity, 0);
}

TEST_F(MenuActionButtonTest, ATileKeepsItsHoverFillWhenFocusLeaves) {
    EXPECT_EQ(quick->appearance().fill, primaryAt(0.045));
    EXPECT_EQ(quick->appearance().border, primaryAt(0.06));
    hover(quick, true);
    quick->setFocus();
    EXPECT_EQ(quick->appearance().fill, primaryAt(0.085));
    EXPECT_EQ(quick->appearance().border, accentAt(0.75));
    elsewhere->setFocus();
    EXPECT_EQ(quick->appearance().fill, primaryAt(0.085));
    EXPECT_EQ(quick->appearance().border, primaryAt(0.06));
    hover(quick, false);
    EXPECT_EQ(quick->appearance().fill, primaryAt(0.045));
}

TEST_F(MenuActionButtonTest, AUtilityRowShowsABorderOnlyWhileFocused) {
    EXPECT_EQ(utility->appearance().fill, primaryAt(0.035));
    EXPECT_EQ(utility->appearance().border.alpha(), 0);
    hover(utility, true);
    EXPECT_EQ(utility->appearance().fill, primaryAt(0.08));
    EXPECT_EQ(utility->appearance().border.alpha(), 0);
    hover(utility, false);
    utility->setFocus();
    EXPECT_EQ(utility->appearance().fill, primaryAt(0.08));
    EXPECT_EQ(utility->appearance().border, accentAt(0.75));
}

TEST_F(MenuActionButtonTest, ButtonsRunTheirActionFromTheMouseAndTheKeyboard) {
    QTest::mouseClick(primary, Qt::LeftButton);
    QTest::mouseClick(quick, Qt::LeftButton);
    QTest::mouseClick(utility, Qt::LeftButton);
    EXPECT_EQ(runs, 3);
    utility->setFocus();
    QTest::keyClick(utility, Qt::Key_Space);
    EXPECT_EQ(runs, 4);
}

TEST_F(MenuActionButtonTest, OnlyTheExactTitleAboutIsAnnouncedAsAboutPlimbo) {
    EXPECT_EQ(MenuUtilityAction::accessibilityLabel(QStringLiteral("About")),
              QStringLiteral("About Plimbo"));
    EXPECT_EQ(MenuUtilityAction::accessibilityLabel(QStringLiteral("about")),
              QStringLiteral("about"));
    EXPECT_EQ(MenuUtilityAction::accessibilityLabel(QStringLiteral("Settings")),
              QStringLiteral("Settings"));
    EXPECT_EQ(utility->accessibleName(), QStringLiteral("Settings"));
    EXPECT_EQ(quick->accessibleName(), QStringLiteral("Open Command Palette"));
    EXPECT_EQ(quick->accessibleDescription(), QStringLiteral("Super+Alt+Space"));
    EXPECT_EQ(primary->accessibleDescription(), QStringLiteral("Dashboard & modules"));
}
