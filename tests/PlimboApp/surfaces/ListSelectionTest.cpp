#include "ListSelection.h"

#include <gtest/gtest.h>

#include <QList>

using namespace plimbo;

namespace {

const QStringList three{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};

// A selection that records what it hands to the row list.
struct Recorded {
    QList<std::optional<QString>> shown;
    ListSelection selection{[this](const std::optional<QString>& id) {
        shown.append(id);
    }};
};

} // namespace

TEST(ListSelectionTest, SelectFirstTakesTheFirstRowAndNoneOfAnEmptyList) {
    Recorded r;
    r.selection.selectFirst(three);
    EXPECT_EQ(r.selection.selectedID(), "a");
    r.selection.selectFirst({});
    EXPECT_EQ(r.selection.selectedID(), std::nullopt);
    EXPECT_EQ(r.shown, (QList<std::optional<QString>>{QStringLiteral("a"), std::nullopt}));
}

TEST(ListSelectionTest, MovingStopsAtEitherEndWithoutWrapping) {
    Recorded r;
    r.selection.select(QStringLiteral("b"));
    r.selection.move(three, 1);
    EXPECT_EQ(r.selection.selectedID(), "c");
    r.selection.move(three, 1);
    EXPECT_EQ(r.selection.selectedID(), "c");
    r.selection.move(three, -5);
    EXPECT_EQ(r.selection.selectedID(), "a");
    r.selection.move(three, -1);
    EXPECT_EQ(r.selection.selectedID(), "a");
}

TEST(ListSelectionTest, MovingFromAVanishedRowStepsFromTheFirst) {
    Recorded r;
    r.selection.select(QStringLiteral("gone"));
    r.selection.move(three, 1);
    EXPECT_EQ(r.selection.selectedID(), "b");
    r.selection.select(std::nullopt);
    r.selection.move(three, -1);
    EXPECT_EQ(r.selection.selectedID(), "a");
}

TEST(ListSelectionTest, MovingInAnEmptyListKeepsTheSelectionAndShowsNothing) {
    Recorded r;
    r.selection.select(QStringLiteral("b"));
    r.shown.clear();
    r.selection.move({}, 1);
    EXPECT_EQ(r.selection.selectedID(), "b");
    EXPECT_TRUE(r.shown.isEmpty());
}

TEST(ListSelectionTest, ReturnActsOnTheSelectedRowElseTheFirst) {
    Recorded r;
    EXPECT_EQ(r.selection.chosenIndex(three), 0);
    r.selection.select(QStringLiteral("c"));
    EXPECT_EQ(r.selection.chosenIndex(three), 2);
    EXPECT_EQ(r.selection.chosenIndex({QStringLiteral("a")}), 0);
    EXPECT_EQ(r.selection.chosenIndex({}), -1);
}

TEST(ListSelectionTest, AListedSelectionIsKeptAndAVanishedOneGoesToTheFirst) {
    Recorded r;
    r.selection.select(QStringLiteral("b"));
    r.shown.clear();
    r.selection.keepOrSelectFirst(three);
    EXPECT_EQ(r.selection.selectedID(), "b");
    EXPECT_TRUE(r.shown.isEmpty());
    r.selection.keepOrSelectFirst({QStringLiteral("c"), QStringLiteral("a")});
    EXPECT_EQ(r.selection.selectedID(), "c");
    r.selection.keepOrSelectFirst({});
    EXPECT_EQ(r.selection.selectedID(), std::nullopt);
}

TEST(ListSelectionTest, SelectingTheSameRowAgainStillShowsIt) {
    Recorded r;
    r.selection.select(QStringLiteral("a"));
    r.selection.select(QStringLiteral("a"));
    EXPECT_EQ(r.shown.size(), 2);
}
