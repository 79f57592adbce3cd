#include "LauncherQuickAccessView.h"
#include "EmptyStateView.h"
#include "HotKeyBackend.h"
#include "LauncherRow.h"
#include "QuickAccessFooter.h"
#include "QuickAccessSearchField.h"
#include "SurfaceText.h"
#include "SurfacesHarness.h"

#include <gtest/gtest.h>

#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

QString pathOf(const QString& name) {
    return QStringLiteral("/usr/share/applications/") + name.toLower() + QStringLiteral(".desktop");
}

QStringList names(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i) {
        list.append(QStringLiteral("App %1").arg(QChar(u'A' + i)));
    }
    return list;
}

class LauncherQuickAccessViewTest : public ::testing::Test {
protected:
    void SetUp() override { surfaces.make(); }

    AppModel& model() { return *surfaces.model; }

    std::unique_ptr<LauncherQuickAccessView> makeView(bool show = true) {
        auto view = std::make_unique<LauncherQuickAccessView>(
            model().launcher(), model().shortcuts(), [this] { ++dismissals; },
            [this](const ApplicationRecord& record) { opened.append(record.id); });
        if (show) {
            view->show();
        }
        return view;
    }

    QStringList resultIDs(const QString& query = QString()) const {
        QStringList ids;
        for (const ApplicationRecord& record : surfaces.model->launcher().search(query, 12)) {
            ids.append(record.id);
        }
        return ids;
    }

    static QStringList marked(const SelectableRowList* list) {
        QStringList ids;
        for (SelectableRow* row : list->rows()) {
            if (!qobject_cast<LauncherRow*>(row)->returnMark()->isHidden()) {
                ids.append(row->id());
            }
        }
        return ids;
    }

    SurfacesHarness surfaces;
    int dismissals = 0;
    QStringList opened;
};

} // namespace

TEST_F(LauncherQuickAccessViewTest, TheFrameHasItsSizeTextsAndFooter) {
    auto view = makeView();
    EXPECT_EQ(view->size(), QSize(640, 520));
    EXPECT_EQ(view->accessibleName(), QStringLiteral("Plimbo Launcher"));
    EXPECT_EQ(view->searchField()->placeholderText(), QStringLiteral("Open an application"));
    EXPECT_EQ(view->searchField()->accessibleName(), QStringLiteral("Search applications"));
    EXPECT_EQ(view->footer()->openHint()->text(), QStringLiteral("↩ Open"));
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("Alt+Space"));
    EXPECT_EQ(view->footer()->height(), 42);
}

TEST_F(LauncherQuickAccessViewTest, AppearingClearsTheQueryFocusesTheFieldAndSelectsTheFirstApp) {
    surfaces.index(names(3));
    auto view = makeView(false);
    QTest::keyClicks(view->searchField(), QStringLiteral("App B"));
    view->show();
    EXPECT_TRUE(view->query().isEmpty());
    EXPECT_EQ(view->focusWidget(), view->searchField());
    EXPECT_EQ(view->selectedID(), pathOf(QStringLiteral("App A")));
    EXPECT_EQ(rowIDs(view->resultList()), resultIDs());
}

TEST_F(LauncherQuickAccessViewTest, ArrowsClampAtTwelveResultsAndOnlyTheSelectedRowShowsTheMark) {
    surfaces.index(names(15));
    auto view = makeView();
    ASSERT_EQ(view->resultList()->rows().size(), 12);
    const QStringList ids = resultIDs();
    EXPECT_EQ(marked(view->resultList()), QStringList{ids.first()});

    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Up));
    EXPECT_EQ(view->selectedID(), ids.first());
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Down));
    }
    EXPECT_EQ(view->selectedID(), ids.at(11));
    EXPECT_EQ(marked(view->resultList()), QStringList{ids.at(11)});
    EXPECT_EQ(selectedRows(view->resultList()), QStringList{ids.at(11)});

    pressKey(view->searchField(), Qt::Key_Return);
    EXPECT_EQ(opened, QStringList{ids.at(11)});
    // The controller's closure closes the panel; the view does not dismiss by itself.
    EXPECT_EQ(dismissals, 0);
}

TEST_F(LauncherQuickAccessViewTest, WithoutASelectionDownTakesTheSecondAndReturnTheFirst) {
    surfaces.index(names(3));
    auto down = makeView(false);
    EXPECT_EQ(down->selectedID(), std::nullopt);
    pressKey(down->searchField(), Qt::Key_Down);
    EXPECT_EQ(down->selectedID(), pathOf(QStringLiteral("App B")));

    auto enter = makeView(false);
    pressKey(enter->searchField(), Qt::Key_Return);
    EXPECT_EQ(opened, QStringList{pathOf(QStringLiteral("App A"))});
}

TEST_F(LauncherQuickAccessViewTest, QueryAndIndexChangesBothMoveTheSelectionToTheFirstResult) {
    surfaces.index(
        {QStringLiteral("Calendar"), QStringLiteral("Calculator"), QStringLiteral("Camera")});
    auto view = makeView();
    pressKey(view->searchField(), Qt::Key_Down);
    ASSERT_EQ(view->selectedID(), pathOf(QStringLiteral("Calendar")));

    // Still listed after typing, yet the first result is selected.
    QTest::keyClicks(view->searchField(), QStringLiteral("Ca"));
    ASSERT_TRUE(resultIDs(QStringLiteral("Ca")).contains(pathOf(QStringLiteral("Calendar"))));
    EXPECT_EQ(view->selectedID(), resultIDs(QStringLiteral("Ca")).first());

    view->searchField()->clear();
    pressKey(view->searchField(), Qt::Key_Down);
    ASSERT_EQ(view->selectedID(), pathOf(QStringLiteral("Calendar")));
    surfaces.index({QStringLiteral("Calendar"), QStringLiteral("Calculator"),
                    QStringLiteral("Camera"), QStringLiteral("Atlas")});
    EXPECT_EQ(view->selectedID(), pathOf(QStringLiteral("Atlas")));
    EXPECT_EQ(rowIDs(view->resultList()), resultIDs());
}

TEST_F(LauncherQuickAccessViewTest, AClickOpensTheClickedRowNotTheSelectedOne) {
    surfaces.index(names(4));
    auto view = makeView();
    clickRow(view->resultList(), pathOf(QStringLiteral("App C")));
    EXPECT_EQ(opened, QStringList{pathOf(QStringLiteral("App C"))});
    EXPECT_EQ(view->selectedID(), pathOf(QStringLiteral("App A")));
}

TEST_F(LauncherQuickAccessViewTest, NoMatchShowsTheEmptyStateAndABlankQueryListsTheIndex) {
    surfaces.index(names(14));
    auto view = makeView();
    QTest::keyClicks(view->searchField(), QStringLiteral("zzqq"));
    EXPECT_EQ(view->shownContent(), LauncherQuickAccessView::Content::empty);
    EXPECT_EQ(view->emptyState()->title(), QStringLiteral("No applications found"));
    EXPECT_EQ(view->emptyState()->description(), QStringLiteral("Try another app name."));
    EXPECT_EQ(view->selectedID(), std::nullopt);
    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Down));
    pressKey(view->searchField(), Qt::Key_Return);
    EXPECT_TRUE(opened.isEmpty());

    view->searchField()->setText(QStringLiteral("   "));
    EXPECT_EQ(view->shownContent(), LauncherQuickAccessView::Content::results);
    EXPECT_EQ(rowIDs(view->resultList()), resultIDs());
    EXPECT_EQ(view->resultList()->rows().size(), 12);
}

TEST_F(LauncherQuickAccessViewTest, WhileTheFirstScanRunsOnlyEscapeDoesAnything) {
    surfaces.h.folders->setEntries({SurfacesHarness::entry(QStringLiteral("Atlas"))});
    surfaces.h.folders->holdNextScan();
    QFuture<void> started = model().launcher().start();
    ASSERT_TRUE(surfaces.h.folders->waitUntilScanHeld());
    auto view = makeView();
    EXPECT_EQ(view->shownContent(), LauncherQuickAccessView::Content::indexing);
    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Down));
    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Up));
    pressKey(view->searchField(), Qt::Key_Return);
    EXPECT_TRUE(opened.isEmpty());
    pressKey(view->searchField(), Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);

    surfaces.h.folders->releaseHeldScans();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    EXPECT_EQ(view->shownContent(), LauncherQuickAccessView::Content::results);
    EXPECT_EQ(view->selectedID(), pathOf(QStringLiteral("Atlas")));
}

TEST_F(LauncherQuickAccessViewTest, RowsShowTheNameAndTheFolderOfTheEntry) {
    surfaces.index({QStringLiteral("Atlas")});
    auto view = makeView();
    auto* row = qobject_cast<LauncherRow*>(view->resultList()->rows().value(0));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->name()->text(), QStringLiteral("Atlas"));
    EXPECT_EQ(row->folder()->text(), QStringLiteral("/usr/share/applications"));
}

TEST_F(LauncherQuickAccessViewTest, TheFooterFollowsTheKeysTheDesktopBoundOrThatThereAreNone) {
    surfaces.h.hotKeys->answersLater = true;
    auto view = makeView();
    model().retryGlobalShortcuts();
    const quint32 launcher = rawValue(PlimboGlobalShortcut::launcher);
    // Ours while the desktop has not answered.
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("Alt+Space"));
    surfaces.h.hotKeys->answer(launcher, {HotKeyStatus::success, QStringLiteral("Meta+Shift+L")});
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("Super+Shift+L"));
    surfaces.h.hotKeys->answer(launcher, {HotKeyStatus::noKeys, {}});
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("No keys"));
    surfaces.h.hotKeys->answer(launcher, {HotKeyStatus::noShortcutsFacility, {}});
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("Unavailable"));
}
