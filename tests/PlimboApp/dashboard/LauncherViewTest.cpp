#include "LauncherView.h"
#include "DashboardHarness.h"
#include "DashboardList.h"

#include <gtest/gtest.h>

#include <QLineEdit>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class LauncherViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.make();
        view = std::make_unique<LauncherView>(*harness.model);
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
