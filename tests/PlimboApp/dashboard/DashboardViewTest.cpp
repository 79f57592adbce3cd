#include "DashboardView.h"
#include "AIWorkbenchView.h"
#include "ClipboardHistoryView.h"
#include "DashboardHarness.h"
#include "LauncherView.h"
#include "OverviewView.h"
#include "PermissionsView.h"
#include "PresentedErrorAlert.h"
#include "ShellViews.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class DashboardViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.make();
        // As the window factory composes it, with every section's view.
        view.reset(qobject_cast<DashboardView*>(ShellViews::dashboard(*harness.model)));
        ASSERT_NE(view, nullptr);
        view->resize(1060, 720);
        view->show();
    }

    AppModel& model() { return *harness.model; }

    void clickSidebar(AppSection section) {
        QListWidget* sidebar = view->sidebar();
        const int row = static_cast<int>(allAppSections().indexOf(section));
        const QRect area = sidebar->visualItemRect(sidebar->item(row));
        QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, {}, area.center());
    }

    QMessageBox* alert() const { return view->errorAlert()->messageBox(); }

    DashboardHarness harness;
    std::unique_ptr<DashboardView> view;
};

TEST_F(DashboardViewTest, SidebarListsTheSixSectionsAndStartsAtTheOverview) {
    QStringList titles;
    for (int i = 0; i < view->sidebar()->count(); ++i) {
        titles.append(view->sidebar()->item(i)->text());
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Overview"), QStringLiteral("Launcher"),
                                   QStringLiteral("Clipboard"), QStringLiteral("Plimbo AI"),
                                   QStringLiteral("Permissions"), QStringLiteral("Diagnostics")}));
    EXPECT_EQ(view->sidebar()->currentRow(), 0);
    EXPECT_NE(qobject_cast<OverviewView*>(view->sectionView()), nullptr);
}

TEST_F(DashboardViewTest, TheModelsSectionChoosesTheHighlightAndTheDetail) {
    model().showDashboard(AppSection::ai);
    EXPECT_EQ(view->sidebar()->currentRow(), 3);
    EXPECT_NE(qobject_cast<AIWorkbenchView*>(view->sectionView()), nullptr);

    clickSidebar(AppSection::permissions);
    EXPECT_EQ(model().selectedSection(), AppSection::permissions);
    EXPECT_NE(qobject_cast<PermissionsView*>(view->sectionView()), nullptr);

    // Clicking the selected row again keeps the same view.
    QWidget* shown = view->sectionView();
    clickSidebar(AppSection::permissions);
    EXPECT_EQ(view->sectionView(), shown);
}

TEST_F(DashboardViewTest, ComingBackToASectionStartsItAfresh) {
    clickSidebar(AppSection::launcher);
    auto* launcher = qobject_cast<LauncherView*>(view->sectionView());
    ASSERT_NE(launcher, nullptr);
    launcher->searchField()->setText(QStringLiteral("terminal"));

    clickSidebar(AppSection::clipboard);
    ASSERT_NE(qobject_cast<ClipboardHistoryView*>(view->sectionView()), nullptr);
    clickSidebar(AppSection::launcher);
    launcher = qobject_cast<LauncherView*>(view->sectionView());
    ASSERT_NE(launcher, nullptr);
    EXPECT_TRUE(launcher->searchField()->text().isEmpty());
}

TEST_F(DashboardViewTest, CommandPaletteButtonOpensThePaletteAndKeepsTheSection) {
    harness.start();
    model().showDashboard(AppSection::diagnostics);
    clickOn(view->commandPaletteButton());
    EXPECT_TRUE(harness.h.surfaces->palette->visible);
    EXPECT_EQ(model().selectedSection(), AppSection::diagnostics);
}

TEST_F(DashboardViewTest, SidebarNeverNarrowsBelowItsMinimum) {
    view->splitter()->setSizes({40, 1020});
    EXPECT_GE(view->splitter()->widget(0)->width(), DashboardView::sidebarMinimumWidth);
}

TEST_F(DashboardViewTest, TheErrorAlertShowsTheMessageAndOkClearsIt) {
    EXPECT_FALSE(view->errorAlert()->isPresented());
    const QString message = QStringLiteral("Chat history could not be saved. Disk full");
    model().setPresentedError(message);
    ASSERT_TRUE(view->errorAlert()->isPresented());
    EXPECT_EQ(alert()->text(), PresentedErrorAlert::defaultTitle);
    EXPECT_EQ(alert()->windowTitle(), QStringLiteral("Plimbo needs attention"));
    EXPECT_EQ(alert()->informativeText(), message);
    ASSERT_EQ(alert()->buttons().size(), 1);
    QAbstractButton* ok = alert()->buttons().first();
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));

    ok->click();
    EXPECT_FALSE(model().presentedError().has_value());
    EXPECT_FALSE(view->errorAlert()->isPresented());
}

TEST_F(DashboardViewTest, AServersMarkupInTheMessageIsShownAsTyped) {
    const QString hostile = QStringLiteral("<a href=\"file:///etc\">Click</a> <img src=\"x.png\">");
    model().setPresentedError(QStringLiteral("plain first"));
    // Replacing the message of an open alert must not bring markup back either.
    model().setPresentedError(hostile);
    ASSERT_TRUE(view->errorAlert()->isPresented());
    auto* label = alert()->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), hostile);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_FALSE(label->openExternalLinks());
}

TEST_F(DashboardViewTest, AMessageClearedElsewhereClosesTheAlert) {
    model().setPresentedError(QStringLiteral("first"));
    QPointer<QMessageBox> box = alert();
    ASSERT_FALSE(box.isNull());
    model().setPresentedError(QStringLiteral("second"));
    EXPECT_EQ(alert(), box.data());
    EXPECT_EQ(alert()->informativeText(), QStringLiteral("second"));

    model().setPresentedError(std::nullopt);
    EXPECT_FALSE(view->errorAlert()->isPresented());
    EXPECT_FALSE(box && box->isVisible());
}

TEST_F(DashboardViewTest, ClosedWindowShowsNoAlertUntilItIsOpenedAgain) {
    view->hide();
    model().setPresentedError(QStringLiteral("while closed"));
    spin();
    EXPECT_FALSE(view->errorAlert()->isPresented());

    view->show();
    ASSERT_TRUE(settle([&] { return view->errorAlert()->isPresented(); }));
    EXPECT_EQ(alert()->informativeText(), QStringLiteral("while closed"));

    // Closing the window is no answer: the message stays for the other windows.
    view->hide();
    ASSERT_TRUE(settle([&] { return !view->errorAlert()->isPresented(); }));
    EXPECT_EQ(model().presentedError(), QStringLiteral("while closed"));
}

} // namespace
