#include "CommandPaletteView.h"
#include "EmptyStateView.h"
#include "KeepAwakeService.h"
#include "PaletteRow.h"
#include "PlimboTheme.h"
#include "QuickAccessSearchField.h"
#include "SurfaceText.h"
#include "SurfacesHarness.h"
#include "SymbolView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalBlocker>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class CommandPaletteViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        surfaces.make();
        surfaces.index({QStringLiteral("Alpha"), QStringLiteral("Alpine"), QStringLiteral("Beta")});
        surfaces.copy(QStringLiteral("clipboard words"));
        // The model builds its results when the query is assigned.
        model().setPaletteQuery(QString());
    }

    AppModel& model() { return *surfaces.model; }

    std::unique_ptr<CommandPaletteView> makeView(bool show = true) {
        auto view = std::make_unique<CommandPaletteView>(
            model().palette(), [this](const PaletteItem& item) { model().perform(item); },
            [this] { ++dismissals; });
        if (show) {
            view->show();
        }
        return view;
    }

    QStringList resultIDs() const {
        QStringList ids;
        for (const PaletteItem& item : surfaces.model->paletteResults()) {
            ids.append(item.id);
        }
        return ids;
    }

    QString appID(const QString& name) const {
        return QStringLiteral("app./usr/share/applications/") + name.toLower() +
               QStringLiteral(".desktop");
    }

    QStringList launched() const { return surfaces.h.folders->launchedPaths(); }

    SurfacesHarness surfaces;
    int dismissals = 0;
};

} // namespace

TEST_F(CommandPaletteViewTest, AppearingFocusesTheSearchFieldAndSelectsTheFirstResult) {
    auto view = makeView();
    EXPECT_EQ(view->focusWidget(), view->searchField());
    ASSERT_GE(resultIDs().size(), 12);
    EXPECT_EQ(view->selectedID(), resultIDs().first());
    EXPECT_EQ(rowIDs(view->resultList()), resultIDs());
    EXPECT_EQ(selectedRows(view->resultList()), QStringList{resultIDs().first()});
}

TEST_F(CommandPaletteViewTest, ArrowsStepByIdentifierClampWithoutWrappingAndAreAlwaysConsumed) {
    auto view = makeView();
    QWidget* field = view->searchField();
    const QStringList ids = resultIDs();

    EXPECT_TRUE(pressKey(field, Qt::Key_Down));
    EXPECT_EQ(view->selectedID(), ids.at(1));
    EXPECT_TRUE(pressKey(field, Qt::Key_Up));
    EXPECT_EQ(view->selectedID(), ids.at(0));
    // Up on the first row stays there.
    EXPECT_TRUE(pressKey(field, Qt::Key_Up));
    EXPECT_EQ(view->selectedID(), ids.at(0));

    for (int i = 0; i < ids.size() + 3; ++i) {
        EXPECT_TRUE(pressKey(field, Qt::Key_Down));
    }
    EXPECT_EQ(view->selectedID(), ids.last());
    EXPECT_EQ(selectedRows(view->resultList()), QStringList{ids.last()});
    // The caret stays where it was.
    QTest::keyClicks(field, QStringLiteral("ab"));
    view->searchField()->setCursorPosition(1);
    pressKey(field, Qt::Key_Down);
    pressKey(field, Qt::Key_Up);
    EXPECT_EQ(view->searchField()->cursorPosition(), 1);
}

TEST_F(CommandPaletteViewTest, ReturnRunsTheSelectedItemThroughTheModel) {
    auto view = makeView();
    const qsizetype keepAwake = resultIDs().indexOf(QStringLiteral("command.keepawake"));
    ASSERT_GT(keepAwake, 0);
    for (qsizetype i = 0; i < keepAwake; ++i) {
        pressKey(view->searchField(), Qt::Key_Down);
    }
    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Return));
    EXPECT_TRUE(model().keepAwake().isKeepingAwake());
    // The model hides the palette itself; the view does not dismiss.
    EXPECT_EQ(dismissals, 0);
}

TEST_F(CommandPaletteViewTest, WithoutASelectionDownTakesTheSecondRowUpTheFirstAndReturnTheFirst) {
    // Before it first appears the view has no selection.
    auto down = makeView(false);
    EXPECT_EQ(down->selectedID(), std::nullopt);
    pressKey(down->searchField(), Qt::Key_Down);
    EXPECT_EQ(down->selectedID(), resultIDs().at(1));

    auto up = makeView(false);
    pressKey(up->searchField(), Qt::Key_Up);
    EXPECT_EQ(up->selectedID(), resultIDs().at(0));

    model().setSelectedSection(AppSection::ai);
    auto enter = makeView(false);
    pressKey(enter->searchField(), Qt::Key_Return);
    // The first item opens the dashboard at its overview.
    EXPECT_EQ(resultIDs().value(0), QStringLiteral("command.dashboard"));
    EXPECT_EQ(model().selectedSection(), AppSection::overview);
}

TEST_F(CommandPaletteViewTest, AStaleSelectionCountsAsNoneAndKeysActOnTheModelsCurrentList) {
    auto view = makeView();
    pressKey(view->searchField(), Qt::Key_Down);
    ASSERT_EQ(view->selectedID(), QStringLiteral("command.launcher"));
    {
        // The list changes without the view hearing of it ("Al" would match "Alt+Space" too).
        QSignalBlocker quiet(model().palette());
        model().setPaletteQuery(QStringLiteral("Alp"));
    }
    ASSERT_EQ(resultIDs(),
              (QStringList{appID(QStringLiteral("Alpha")), appID(QStringLiteral("Alpine"))}));
    EXPECT_EQ(view->selectedID(), QStringLiteral("command.launcher"));

    pressKey(view->searchField(), Qt::Key_Return);
    EXPECT_EQ(launched(), QStringList{QStringLiteral("/usr/share/applications/alpha.desktop")});

    pressKey(view->searchField(), Qt::Key_Down);
    EXPECT_EQ(view->selectedID(), appID(QStringLiteral("Alpine")));
}

TEST_F(CommandPaletteViewTest, ANewResultListSelectsItsFirstRowEvenWhenTheOldSelectionRemains) {
    auto view = makeView();
    pressKey(view->searchField(), Qt::Key_Down);
    ASSERT_EQ(view->selectedID(), QStringLiteral("command.launcher"));

    QTest::keyClicks(view->searchField(), QStringLiteral("Open"));
    EXPECT_EQ(model().paletteQuery(), QStringLiteral("Open"));
    ASSERT_TRUE(resultIDs().contains(QStringLiteral("command.launcher")));
    EXPECT_EQ(view->selectedID(), resultIDs().first());
    EXPECT_EQ(rowIDs(view->resultList()), resultIDs());

    // The model's query shows in the field (each showing of the palette empties it).
    model().setPaletteQuery(QString());
    EXPECT_TRUE(view->searchField()->text().isEmpty());
    EXPECT_EQ(view->selectedID(), resultIDs().first());
}

TEST_F(CommandPaletteViewTest, NoResultsShowTheEmptyStateWhereOnlyEscapeDoesAnything) {
    auto view = makeView();
    model().setSelectedSection(AppSection::ai);
    QTest::keyClicks(view->searchField(), QStringLiteral("zzqqxx"));
    ASSERT_TRUE(resultIDs().isEmpty());
    EXPECT_TRUE(view->isShowingEmptyState());
    EXPECT_EQ(view->emptyState()->title(), QStringLiteral("Nothing found"));
    EXPECT_EQ(view->emptyState()->description(),
              QStringLiteral("Try an app name or a Plimbo command."));
    EXPECT_EQ(view->selectedID(), std::nullopt);

    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Down));
    EXPECT_TRUE(pressKey(view->searchField(), Qt::Key_Up));
    pressKey(view->searchField(), Qt::Key_Return);
    EXPECT_EQ(view->selectedID(), std::nullopt);
    EXPECT_TRUE(launched().isEmpty());
    EXPECT_EQ(model().selectedSection(), AppSection::ai);
    EXPECT_EQ(dismissals, 0);

    pressKey(view->searchField(), Qt::Key_Escape);
    EXPECT_EQ(dismissals, 1);
}

TEST_F(CommandPaletteViewTest, AClickRunsTheClickedRowNotTheSelectedOne) {
    auto view = makeView();
    view->resize(720, 2000);
    ASSERT_EQ(view->selectedID(), QStringLiteral("command.dashboard"));
    clickRow(view->resultList(), appID(QStringLiteral("Beta")));
    EXPECT_EQ(launched(), QStringList{QStringLiteral("/usr/share/applications/beta.desktop")});
    EXPECT_EQ(dismissals, 0);
}

TEST_F(CommandPaletteViewTest, RowsShowTheKindBadgeAndOnlyTheAssistantIconInTheAccentColour) {
    auto view = makeView();
    int aiRows = 0;
    for (SelectableRow* row : view->resultList()->rows()) {
        auto* paletteRow = qobject_cast<PaletteRow*>(row);
        ASSERT_NE(paletteRow, nullptr);
        const QString badge = paletteRow->kindBadge()->text();
        if (row->id() == QStringLiteral("command.ai")) {
            ++aiRows;
            EXPECT_EQ(badge, QStringLiteral("AI"));
            EXPECT_EQ(paletteRow->icon()->resolvedColor(), PlimboTheme::accent());
        } else {
            EXPECT_NE(paletteRow->icon()->resolvedColor(), PlimboTheme::accent());
            EXPECT_EQ(paletteRow->icon()->resolvedColor(),
                      view->palette().color(QPalette::WindowText));
        }
        if (row->id().startsWith(QStringLiteral("app."))) {
            EXPECT_EQ(badge, QStringLiteral("APP"));
        } else if (row->id().startsWith(QStringLiteral("clipboard."))) {
            EXPECT_EQ(badge, QStringLiteral("CLIP"));
            EXPECT_EQ(paletteRow->title()->text(), QStringLiteral("clipboard words"));
        } else if (row->id() != QStringLiteral("command.ai")) {
            EXPECT_EQ(badge, QStringLiteral("ACTION"));
        }
    }
    EXPECT_EQ(aiRows, 1);
}
