#include "LauncherView.h"
#include "DashboardHarness.h"
#include "DashboardList.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// How dark a text is drawn where it stands in the whole view: the lowest lightness (0 to 255)
// among its pixels, on the view's own background.
int darkestInk(QWidget& view, QWidget* text) {
    const QImage image = view.grab().toImage();
    const QRect area(text->mapTo(&view, QPoint(0, 0)), text->size());
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            darkest = std::min(darkest, QColor(image.pixel(x, y)).lightness());
        }
    }
    return darkest;
}

class LauncherViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.make();
        view = std::make_unique<LauncherView>(harness.model->launcher());
        view->resize(700, 600);
        view->show();
    }

    DashboardHarness harness;
    std::unique_ptr<LauncherView> view;
};

TEST_F(LauncherViewTest, ListsTheIndexLiveAndNarrowsItAsTheQueryChanges) {
    EXPECT_EQ(view->list()->count(), 0) << "nothing indexed yet";
    harness.index({QStringLiteral("Zed"), QStringLiteral("Firefox"), QStringLiteral("Files")});
    EXPECT_EQ(view->listedIds(),
              (QStringList{QStringLiteral("/usr/share/applications/files.desktop"),
                           QStringLiteral("/usr/share/applications/firefox.desktop"),
                           QStringLiteral("/usr/share/applications/zed.desktop")}));

    view->searchField()->setText(QStringLiteral("fire"));
    EXPECT_EQ(view->listedIds(),
              QStringList{QStringLiteral("/usr/share/applications/firefox.desktop")});
    view->searchField()->setText(QStringLiteral("   "));
    EXPECT_EQ(view->list()->count(), 3);

    // Switching the module off empties the index, and the list with it.
    harness.model->launcher().stop();
    EXPECT_EQ(view->list()->count(), 0);
}

TEST_F(LauncherViewTest, ShowsAtMostEightyApplications) {
    QStringList names;
    for (int i = 0; i < 85; ++i) {
        names.append(QStringLiteral("App %1").arg(i, 2, 10, QLatin1Char('0')));
    }
    harness.index(names);
    EXPECT_EQ(view->list()->count(), LauncherView::resultLimit);
}

TEST_F(LauncherViewTest, ClickingARowOpensThatApplicationAndKeepsTheQuery) {
    harness.index({QStringLiteral("Calculator"), QStringLiteral("Terminal")});
    view->searchField()->setText(QStringLiteral("term"));
    ASSERT_EQ(view->list()->count(), 1);
    clickOn(view->list()->rows().first());
    EXPECT_EQ(harness.h.folders->launchedPaths(),
              QStringList{QStringLiteral("/usr/share/applications/terminal.desktop")});
    EXPECT_EQ(view->searchField()->text(), QStringLiteral("term"));
}

} // namespace

TEST_F(LauncherViewTest, TheFolderUnderTheNameIsInTheSecondaryColour) {
    harness.index({QStringLiteral("Calculator")});
    ASSERT_EQ(view->list()->count(), 1);
    const QList<QLabel*> texts = view->list()->rows().first()->findChildren<QLabel*>();
    const auto name = std::find_if(texts.begin(), texts.end(), [](QLabel* label) {
        return label->text() == QStringLiteral("Calculator");
    });
    const auto path = std::find_if(texts.begin(), texts.end(), [](QLabel* label) {
        return label->text().endsWith(QStringLiteral(".desktop"));
    });
    ASSERT_NE(name, texts.end());
    ASSERT_NE(path, texts.end());
    // Dark text on a light list: the name in full ink, the path at 55 % of it, so clearly
    // lighter (about 45 % of the way to the background) but still well readable.
    const int nameInk = darkestInk(*view, *name);
    const int pathInk = darkestInk(*view, *path);
    EXPECT_LT(nameInk, 40);
    EXPECT_GT(pathInk, nameInk + 70);
    EXPECT_LT(pathInk, 170);
}
