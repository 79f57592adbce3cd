#include "CommandPalette.h"
#include "AppModelHarness.h"
#include "KeepAwakeService.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class CommandPaletteTest : public ::testing::Test {
protected:
    PaletteItem command(const QString& id) const {
        for (const PaletteItem& item : palette.results()) {
            if (item.id == id) {
                return item;
            }
        }
        ADD_FAILURE() << "no palette entry " << id.toStdString();
        return {};
    }

    AppModelHarness h;
    AppModelDependencies services = h.dependencies();
    CommandPalette palette{*services.launcher, *services.clipboard, *services.keepAwake};
};

TEST_F(CommandPaletteTest, EveryQueryAssignmentRebuildsTheResults) {
    palette.rebuild();
    EXPECT_EQ(command("command.keepawake").title, "Keep Computer Awake");
    services.keepAwake->toggle();
    QSignalSpy queryChanges(&palette, &CommandPalette::queryChanged);
    QSignalSpy resultChanges(&palette, &CommandPalette::resultsChanged);
    palette.setQuery("");
    EXPECT_EQ(queryChanges.count(), 0);
    EXPECT_EQ(resultChanges.count(), 1);
    EXPECT_EQ(command("command.keepawake").title, "Allow Sleep");

    palette.setQuery("sleep");
    ASSERT_EQ(palette.results().size(), 1);
    palette.setQuery("sleep");
    EXPECT_EQ(queryChanges.count(), 1);
    EXPECT_EQ(resultChanges.count(), 2);
}

} // namespace
