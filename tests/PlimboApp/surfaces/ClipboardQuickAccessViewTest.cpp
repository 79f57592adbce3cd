#include "ClipboardQuickAccessView.h"
#include "ClipboardRow.h"
#include "EmptyStateView.h"
#include "HotKeyBackend.h"
#include "QuickAccessFooter.h"
#include "QuickAccessSearchField.h"
#include "SurfaceText.h"
#include "SurfacesHarness.h"
#include "SymbolView.h"

#include <gtest/gtest.h>

#include <QSignalBlocker>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class ClipboardQuickAccessViewTest : public ::testing::Test {
protected:
    void SetUp() override { surfaces.make(); }

    AppModel& model() { return *surfaces.model; }

    std::unique_ptr<ClipboardQuickAccessView> makeView(bool show = true) {
        auto view = std::make_unique<ClipboardQuickAccessView>(
            model().clipboard(), model().shortcuts(), [this] { ++dismissals; });
        if (show) {
            view->show();
        }
        return view;
    }

    // Copies "entry 1" ... "entry <count>"; the last is the newest.
    void copyEntries(int count) {
        for (int i = 1; i <= count; ++i) {
            surfaces.copy(QStringLiteral("entry %1").arg(i));
        }
    }

    QUuid idOf(const QString& text) const {
        for (const ClipboardItem& item : surfaces.model->clipboard().items()) {
            if (item.text == text) {
                return item.id;
            }
        }
        return QUuid();
    }

    static QString rowID(const QUuid& id) { return id.toString(QUuid::WithoutBraces); }

    std::optional<QString> pasted() const { return surfaces.board->text(); }
    int writes() const { return surfaces.board->writes(); }

    SurfacesHarness surfaces;
    int dismissals = 0;
};

} // namespace

TEST_F(ClipboardQuickAccessViewTest, TheFrameHasItsSizeTextsAndFooter) {
    auto view = makeView();
    EXPECT_EQ(view->size(), QSize(640, 500));
    EXPECT_EQ(view->accessibleName(), QStringLiteral("Plimbo Clipboard"));
    EXPECT_EQ(view->searchField()->placeholderText(), QStringLiteral("Search clipboard"));
    EXPECT_EQ(view->searchField()->accessibleName(), QStringLiteral("Search clipboard history"));
    EXPECT_EQ(view->footer()->navigateHint()->text(), QStringLiteral("↑↓ Navigate"));
    EXPECT_EQ(view->footer()->openHint()->text(), QStringLiteral("↩ Copy"));
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("Ctrl+Alt+V"));
}

TEST_F(ClipboardQuickAccessViewTest, OpeningSelectsTheNewestAndReturnCopiesItAndCloses) {
    copyEntries(3);
    auto view = makeView();
    EXPECT_EQ(view->focusWidget(), view->searchField());
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 3")));

    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Return));
    EXPECT_EQ(pasted(), QStringLiteral("entry 3"));
    EXPECT_EQ(dismissals, 1);
    // Copying does not reorder the history.
    EXPECT_EQ(model().clipboard().items().first().text, QStringLiteral("entry 3"));
    EXPECT_EQ(model().clipboard().items().size(), 3);
}

TEST_F(ClipboardQuickAccessViewTest, OnlyFourteenEntriesAreListedAndDownStopsAtTheLast) {
    copyEntries(20);
    auto view = makeView();
    ASSERT_EQ(view->resultList()->rows().size(), 14);
    for (int i = 0; i < 30; ++i) {
        EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Down));
    }
    // Newest first: the fourteenth is "entry 7".
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 7")));
    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Up));
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 8")));

    int marks = 0;
    for (SelectableRow* row : view->resultList()->rows()) {
        const bool shown = !qobject_cast<ClipboardRow*>(row)->returnMark()->isHidden();
        marks += shown ? 1 : 0;
        EXPECT_EQ(shown, row->id() == rowID(idOf(QStringLiteral("entry 8"))));
    }
    EXPECT_EQ(marks, 1);
}

TEST_F(ClipboardQuickAccessViewTest, WithoutASelectionDownTakesTheSecondAndUpTheFirst) {
    copyEntries(3);
    auto down = makeView(false);
    EXPECT_EQ(down->selectedID(), std::nullopt);
    pressKey(down->searchField(), Qt::Key_Down);
    EXPECT_EQ(down->selectedID(), idOf(QStringLiteral("entry 2")));

    auto up = makeView(false);
    pressKey(up->searchField(), Qt::Key_Up);
    EXPECT_EQ(up->selectedID(), idOf(QStringLiteral("entry 3")));
}

TEST_F(ClipboardQuickAccessViewTest, AHistoryChangeKeepsAListedSelectionButATypedQueryResetsIt) {
    copyEntries(3);
    auto view = makeView();
    pressKey(view->searchField(), Qt::Key_Down);
    ASSERT_EQ(view->selectedID(), idOf(QStringLiteral("entry 2")));

    surfaces.copy(QStringLiteral("entry 4"));
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 2")));
    EXPECT_EQ(selectedRows(view->resultList()),
              QStringList{rowID(idOf(QStringLiteral("entry 2")))});
    EXPECT_EQ(view->resultList()->rows().size(), 4);

    // Typing always goes back to the first result, even though "entry 2" still matches.
    QTest::keyClicks(view->searchField(), QStringLiteral("entry"));
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 4")));
}

TEST_F(ClipboardQuickAccessViewTest, ASelectionPushedOutOfTheListMovesToTheFirstResult) {
    copyEntries(14);
    auto view = makeView();
    for (int i = 0; i < 13; ++i) {
        pressKey(view->searchField(), Qt::Key_Down);
    }
    ASSERT_EQ(view->selectedID(), idOf(QStringLiteral("entry 1")));
    surfaces.copy(QStringLiteral("entry 15"));
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 15")));
}

TEST_F(ClipboardQuickAccessViewTest, AStaleSelectionCountsAsNoneAndKeysActOnTheCurrentHistory) {
    copyEntries(14);
    auto view = makeView();
    for (int i = 0; i < 13; ++i) {
        pressKey(view->searchField(), Qt::Key_Down);
    }
    ASSERT_EQ(view->selectedID(), idOf(QStringLiteral("entry 1")));
    {
        // A capture the view has not heard of pushes the selected entry out of the 14.
        QSignalBlocker quiet(model().clipboard());
        surfaces.board->copyText(QStringLiteral("entry 15"));
        ASSERT_TRUE(settle([&] { return model().clipboard().items().size() == 15; }));
    }
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 1")));

    pressKey(view->searchField(), Qt::Key_Down);
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 14")));

    pressKey(view->searchField(), Qt::Key_Up);
    pressKey(view->searchField(), Qt::Key_Up);
    {
        QSignalBlocker quiet(model().clipboard());
        surfaces.board->copyText(QStringLiteral("entry 16"));
        ASSERT_TRUE(settle([&] { return model().clipboard().items().size() == 16; }));
    }
    // "entry 15" is still listed, so Return copies it; the newest was never shown.
    pressKey(view->searchField(), Qt::Key_Return);
    EXPECT_EQ(pasted(), QStringLiteral("entry 15"));
}

TEST_F(ClipboardQuickAccessViewTest, AClickCopiesTheClickedRowAndEscapeNeverCopies) {
    copyEntries(3);
    auto view = makeView();
    const int before = writes();
    pressKey(view->searchField(), Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);
    EXPECT_EQ(writes(), before);

    clickRow(view->resultList(), rowID(idOf(QStringLiteral("entry 1"))));
    EXPECT_EQ(pasted(), QStringLiteral("entry 1"));
    EXPECT_EQ(dismissals, 2);
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("entry 3")));
}

TEST_F(ClipboardQuickAccessViewTest, TheEmptyStateDependsOnTheRawQuery) {
    auto view = makeView();
    EXPECT_TRUE(view->isShowingEmptyState());
    EXPECT_EQ(view->emptyState()->title(), QStringLiteral("Clipboard history is empty"));
    EXPECT_EQ(view->emptyState()->description(),
              QStringLiteral("Copy text in any app and it will appear here."));
    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Down));
    pressKey(view->searchField(), Qt::Key_Return);
    EXPECT_EQ(dismissals, 0);
    EXPECT_EQ(writes(), 0);

    // Spaces search like an empty query, but they are not an empty query.
    QTest::keyClicks(view->searchField(), QStringLiteral("  "));
    EXPECT_EQ(view->emptyState()->title(), QStringLiteral("Nothing found"));
    EXPECT_EQ(view->emptyState()->description(), QStringLiteral("Try another search."));

    surfaces.copy(QStringLiteral("first words"));
    EXPECT_FALSE(view->isShowingEmptyState());
    EXPECT_EQ(view->selectedID(), idOf(QStringLiteral("first words")));
}

TEST_F(ClipboardQuickAccessViewTest, RowsShowTheOneLinePreview) {
    surfaces.copy(QStringLiteral("line one\nline two"));
    auto view = makeView();
    auto* row = qobject_cast<ClipboardRow*>(view->resultList()->rows().value(0));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->preview()->text(), QStringLiteral("line one line two"));
    EXPECT_EQ(row->symbol()->symbol(), QStringLiteral("doc.on.clipboard"));
    EXPECT_FALSE(row->time()->text().isEmpty());
}

TEST_F(ClipboardQuickAccessViewTest, TheFooterFollowsTheKeysTheDesktopBound) {
    surfaces.h.hotKeys->answersLater = true;
    auto view = makeView();
    model().retryGlobalShortcuts();
    const quint32 clipboard = rawValue(PlimboGlobalShortcut::clipboard);
    surfaces.h.hotKeys->answer(clipboard, {HotKeyStatus::success, QStringLiteral("Meta+V")});
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("Super+V"));
    surfaces.h.hotKeys->answer(clipboard, {HotKeyStatus::refusedByDesktop, {}});
    EXPECT_EQ(view->footer()->shortcutHint()->text(), QStringLiteral("Unavailable"));
}

TEST_F(ClipboardQuickAccessViewTest, ALongEntryShowsBothOfItsLinesWhole) {
    const QString address =
        QStringLiteral("https://example.org/a/very/long/address/that/goes/on/and/on/"
                       "?with=parameters&and=more&still=more&until=the&end=here&and=beyond");
    surfaces.copy(address);
    surfaces.copy(QStringLiteral("short"));
    auto view = makeView();
    ASSERT_TRUE(settle([&] { return view->resultList()->rows().size() == 2; }));
    QTest::qWait(50);

    auto* longRow = qobject_cast<ClipboardRow*>(view->resultList()->rows().value(1));
    ASSERT_NE(longRow, nullptr);
    SurfaceText* preview = longRow->preview();
    // The preview (the text's first 100 characters) on two lines, nothing of it cut.
    const QStringList lines = preview->shownLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.join(QString()), address.left(100));
    // Both lines have their full height, and the time sits below them.
    const QFontMetrics metrics(preview->font());
    EXPECT_GE(preview->height(), metrics.lineSpacing() + metrics.height());
    EXPECT_GE(longRow->time()->geometry().top(), preview->geometry().bottom());
    EXPECT_LE(longRow->time()->geometry().bottom(), longRow->height());

    // A short entry keeps one line.
    auto* shortRow = qobject_cast<ClipboardRow*>(view->resultList()->rows().value(0));
    EXPECT_EQ(shortRow->preview()->shownLines(), QStringList{QStringLiteral("short")});
    EXPECT_LT(shortRow->height(), longRow->height());
}
