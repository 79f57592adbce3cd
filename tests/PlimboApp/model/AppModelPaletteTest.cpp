#include "AppModelHarness.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "KeepAwakeService.h"
#include "LauncherService.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class AppModelPaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = h.makeModel();
        QFuture<void> started = model->start();
        ASSERT_TRUE(settle([&] { return started.isFinished(); }));
        h.surfaces->log->clear();
    }

    PaletteItem command(const QString& id) const {
        for (const PaletteItem& item : model->paletteResults()) {
            if (item.id == id) {
                return item;
            }
        }
        ADD_FAILURE() << "no palette entry " << id.toStdString();
        return {};
    }

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
};

TEST_F(AppModelPaletteTest, ShowingThePaletteEmptiesItsQuery) {
    model->setPaletteQuery("clip");
    model->showCommandPalette();
    EXPECT_EQ(model->paletteQuery(), "");
    EXPECT_TRUE(h.surfaces->palette->visible);
}

// Forgotten after commands that bring up something of their own, handed back after the two
// that leave the user where they were, kept when another quick panel opens.
TEST_F(AppModelPaletteTest, PaletteCommandsFollowTheFocusRule) {
    const RunningApplication editor{4242, 7};
    enum class Effect { forget, restore, keep };
    struct Case {
        PaletteItem item;
        Effect effect;
        QString shows;
    };
    const QString entry = h.root.filePath("apps/editor.desktop");
    const QList<Case> cases{
        {command("command.dashboard"), Effect::forget, "dashboard.front"},
        {command("command.settings"), Effect::forget, "settings.front"},
        {command("command.ai"), Effect::forget, "mini.show"},
        {command("command.airdrop"), Effect::forget, ""},
        {command("command.screenshot"), Effect::forget, ""},
        {PaletteItem{"app.editor", PaletteItemKind::application, "Editor", "", "app",
                     PaletteAction::launchApplication(QUrl::fromLocalFile(entry)), 800},
         Effect::forget, ""},
        {command("command.keepawake"), Effect::restore, ""},
        {PaletteItem{"clipboard.x", PaletteItemKind::clipboard, "x", "", "clipboard",
                     PaletteAction::copyClipboard(QUuid::createUuid()), 600},
         Effect::restore, ""},
        {command("command.launcher"), Effect::keep, "launcher.show"},
        {command("command.clipboard"), Effect::keep, "clipboard.show"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item.id.toStdString());
        model->globalSurfaceFocus().forget();
        h.windows->frontmost = editor;
        h.windows->activated.clear();
        model->showCommandPalette();
        h.surfaces->log->clear();

        model->perform(c.item);
        EXPECT_EQ(h.surfaces->log->mid(0, 2),
                  (QStringList{"palette.stopMonitoring", "palette.hide"}));
        if (!c.shows.isEmpty()) {
            EXPECT_TRUE(h.surfaces->log->contains(c.shows));
        }
        const auto& held = model->globalSurfaceFocus().originatingApplication();
        switch (c.effect) {
        case Effect::forget:
            EXPECT_FALSE(held.has_value());
            EXPECT_TRUE(h.windows->activated.isEmpty());
            break;
        case Effect::restore:
            EXPECT_FALSE(held.has_value());
            EXPECT_EQ(h.windows->activated, QList<RunningApplication>{editor});
            break;
        case Effect::keep:
            EXPECT_EQ(held, editor);
            break;
        }
    }
    EXPECT_EQ(h.folders->launchedPaths(), QStringList{entry});
    EXPECT_EQ(h.screenshots->opens, 1);
    EXPECT_EQ(h.chooser->requests, 1);
    EXPECT_TRUE(model->keepAwake().isKeepingAwake());
}

TEST_F(AppModelPaletteTest, AnApplicationThatCannotStartSaysWhichProgramInTheAlert) {
    h.folders->setLaunchResult(false, "/usr/sbin/gparted");
    const QString entry = h.root.filePath("apps/gparted.desktop");
    model->perform(PaletteItem{"app.gparted", PaletteItemKind::application, "GParted", "", "app",
                               PaletteAction::launchApplication(QUrl::fromLocalFile(entry)), 800});
    EXPECT_EQ(model->presentedError(),
              LauncherService::launchFailedMessage("GParted", "/usr/sbin/gparted"));
}

TEST_F(AppModelPaletteTest, KeepAwakeWithoutAnInhibitServiceSaysSoInTheAlert) {
    h.power->refuse = true;
    h.power->serviceMissing = true;
    model->perform(command("command.keepawake"));
    ASSERT_TRUE(settle([&] { return model->presentedError().has_value(); }));
    EXPECT_EQ(model->presentedError(), KeepAwakeService::noInhibitServiceMessage());
    EXPECT_FALSE(model->keepAwake().isKeepingAwake());
    EXPECT_EQ(command("command.keepawake").title, "Keep Computer Awake");
}

TEST_F(AppModelPaletteTest, TheMiniAIOpensOnAFreshChat) {
    h.storeKey("key");
    model->setAiInput("Hello");
    model->sendAI();
    model->showMiniAI();
    EXPECT_FALSE(model->isGenerating());
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_TRUE(h.surfaces->mini->visible);
}

} // namespace
