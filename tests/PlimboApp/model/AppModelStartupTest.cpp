#include "AppModelHarness.h"
#include "ClipboardService.h"
#include "KeepAwakeService.h"
#include "LauncherService.h"
#include "ModuleRegistry.h"
#include "SystemMonitorService.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// A model made with the switches, after its start-up.
std::unique_ptr<AppModel> startModel(AppModelHarness& h, const QStringList& switches = {}) {
    h.arguments += switches;
    auto model = h.makeModel();
    QFuture<void> done = model->start();
    EXPECT_TRUE(settle([&] { return done.isFinished(); }));
    return model;
}

class AppModelStartupTest : public ::testing::Test {
protected:
    std::unique_ptr<AppModel> started(const QStringList& switches = {}) {
        return startModel(h, switches);
    }

    AppModelHarness h;
};

TEST_F(AppModelStartupTest, AGlobalShortcutPressShowsItsSurface) {
    auto model = started();
    EXPECT_TRUE(
        h.hotKeys->press(QKeyCombination(Qt::AltModifier | Qt::ControlModifier, Qt::Key_V)));
    ASSERT_TRUE(settle([&] { return h.surfaces->clipboard->visible; }));
}

// Windows, camera, file dialogs and hot keys are optional: a model without them skips what they
// would do, its state still follows every call, and nothing fails.
TEST_F(AppModelStartupTest, WithoutWindowsCameraDialogsOrHotKeysTheModelSkipsThem) {
    for (const QStringList& switches :
         {QStringList{}, QStringList{"--show-menu-preview"}, QStringList{"--show-about"},
          QStringList{"--show-mini-ai-preview"}}) {
        SCOPED_TRACE(switches.join(' ').toStdString());
        AppModelHarness local;
        AppModelDependencies dependencies = local.dependencies();
        dependencies.arguments += switches;
        dependencies.surfaces = nullptr;
        dependencies.miniCamera = nullptr;
        dependencies.fileChooser = nullptr;
        dependencies.makeHotKeyController = nullptr;
        AppModel model(std::move(dependencies));
        QFuture<void> done = model.start();
        ASSERT_TRUE(settle([&] { return done.isFinished() && model.isAIHistoryLoaded(); }));

        model.showDashboard(AppSection::ai);
        model.openSettings(SettingsSection::privacy);
        model.showCommandPalette();
        model.showLauncher();
        model.showClipboard();
        model.showAbout();
        model.showMiniAI();
        model.toggleMiniCamera();
        model.startAirDrop();
        model.chooseAIAttachments();
        spin();
        EXPECT_EQ(model.selectedSection(), AppSection::ai);
        EXPECT_EQ(model.selectedSettingsSection(), SettingsSection::privacy);
        EXPECT_TRUE(model.registeredGlobalShortcuts().isEmpty());
        EXPECT_FALSE(model.presentedError().has_value());
        EXPECT_EQ(local.surfaces->builds, 0);
        EXPECT_FALSE(local.camera->active);
        EXPECT_EQ(local.chooser->requests, 0);
        EXPECT_EQ(local.hotKeys->registerCalls, 0);
    }
}

// Sample content stands in for the user's chats only in memory.
TEST_F(AppModelStartupTest, PreviewsWithSampleChatsNeverSaveOverTheHistory) {
    for (const QString preview : {"--show-ai-chat-preview", "--show-mini-ai-chat-preview"}) {
        SCOPED_TRACE(preview.toStdString());
        AppModelHarness local;
        local.storeKey("key");
        const AIChatSession real = makeChat(QStringLiteral("Real"), local.clock->now());
        local.writeHistory({real});
        auto model = startModel(local, {preview});
        EXPECT_FALSE(model->aiConversation().isEmpty());
        EXPECT_EQ(model->pendingAIAttachments().size(), 1);

        model->setAiInput(QStringLiteral("Hello"));
        model->sendAI();
        model->renameAIChat(*model->selectedAIChatID(), QStringLiteral("Renamed"));
        EXPECT_EQ(model->aiStatus(), ChatStatus::thinking);
        EXPECT_EQ(local.readHistory(), QList<AIChatSession>{real});
        EXPECT_TRUE(local.writer->writtenPaths().isEmpty());
    }
}

// The keyring may sit behind an unlock prompt for as long as the person takes: the model is
// built without waiting for the key's lookup, and the flag follows the lookup when it ends.
TEST_F(AppModelStartupTest, TheKeyIsLookedUpOffTheGuiThreadAndTheFlagFollows) {
    h.storeKey("key");
    const int calls = h.secrets->calls();
    h.executor->hold();
    std::unique_ptr<AppModel> model = h.makeLoadingModel();
    QSignalSpy changed(model.get(), &AppModel::credentialIsStoredChanged);
    EXPECT_EQ(h.secrets->calls(), calls);
    EXPECT_FALSE(model->credentialIsStored());
    // The key's lookup and the history's load.
    EXPECT_EQ(h.executor->heldCount(), 2);
    h.executor->release();
    EXPECT_TRUE(settle([&] { return model->credentialIsStored(); }));
    EXPECT_EQ(changed.count(), 1);

    // A key stored in a keyring left locked (its prompt dismissed) still counts as stored;
    // other failures do not.
    h.secrets->setLocked(SecretStatus::userCanceled);
    model = h.makeModel();
    EXPECT_TRUE(settle([&] { return model->credentialIsStored(); }));
    h.secrets->setLocked(std::nullopt);
    h.secrets->setFailure(SecretStatus::notAvailable);
    model = h.makeModel();
    spin(50);
    EXPECT_FALSE(model->credentialIsStored());
    h.secrets->setFailure(std::nullopt);

    // A model gone before the lookup completes is left alone.
    h.executor->hold();
    model = h.makeLoadingModel();
    model.reset();
    h.executor->release();
    spin(50);
}

// Sample chats shown before the history is read stay: the history is not published over them.
TEST_F(AppModelStartupTest, SampleChatsOutlastAHistoryLoadedAfterThem) {
    h.writeHistory({makeChat(QStringLiteral("Real"), h.clock->now())});
    h.arguments += QStringLiteral("--show-ai-chat-preview");
    h.executor->hold();
    auto model = h.makeLoadingModel();
    model->start();
    ASSERT_TRUE(settle([&] { return model->aiChats().size() == 2; }));
    h.executor->release();
    ASSERT_TRUE(settle([&] { return model->isAIHistoryLoaded(); }));
    ASSERT_EQ(model->aiChats().size(), 2);
    EXPECT_EQ(model->aiChats().first().title, "Focused afternoon plan");
    EXPECT_EQ(model->aiConversation(), model->aiChats().first().turns);
    EXPECT_TRUE(h.writer->writtenPaths().isEmpty());
}

} // namespace
