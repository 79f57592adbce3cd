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

TEST_F(AppModelStartupTest, StartRunsOnceAndBuildsEverySurface) {
    auto model = started();
    EXPECT_EQ(h.surfaces->builds, 8);
    EXPECT_NE(model->dashboardController(), nullptr);
    EXPECT_NE(model->notchController(), nullptr);
    EXPECT_EQ(model->menuPreviewController(), nullptr);
    EXPECT_EQ(h.hotKeys->registerCalls, 3);

    QFuture<void> again = model->start();
    EXPECT_TRUE(again.isFinished());
    EXPECT_EQ(h.surfaces->builds, 8);
    EXPECT_EQ(h.hotKeys->registerCalls, 3);
}

TEST_F(AppModelStartupTest, ShortcutsRegisterWithTheirIdsAndKeysAndCanBeRetried) {
    const quint32 superAlt = HotKeyBackend::CommandModifier | HotKeyBackend::OptionModifier;
    // Another application holds Alt+Space.
    h.hotKeys->refusals.insert(qMakePair(quint32(Qt::Key_Space), HotKeyBackend::OptionModifier),
                               HotKeyBackend::BadAccess);
    auto model = started();
    EXPECT_EQ(
        model->registeredGlobalShortcuts(),
        (GlobalShortcutSet{PlimboGlobalShortcut::commandPalette, PlimboGlobalShortcut::clipboard}));
    QList<QPair<quint32, QPair<quint32, quint32>>> held;
    for (const auto& key : h.hotKeys->held) {
        held.append({key.id, {key.keyCode, key.modifiers}});
    }
    EXPECT_EQ(
        held,
        (QList<QPair<quint32, QPair<quint32, quint32>>>{
            {1, {Qt::Key_Space, superAlt}},
            {3, {Qt::Key_V, HotKeyBackend::OptionModifier | HotKeyBackend::ControlModifier}}}));

    // A press runs its show operation.
    EXPECT_EQ(
        h.hotKeys->press(Qt::Key_V, HotKeyBackend::OptionModifier | HotKeyBackend::ControlModifier),
        HotKeyBackend::NoError);
    ASSERT_TRUE(settle([&] { return h.surfaces->clipboard->visible; }));

    // Retrying releases the old keys before registering again.
    h.hotKeys->refusals.clear();
    QSignalSpy changes(model.get(), &AppModel::registeredGlobalShortcutsChanged);
    model->retryGlobalShortcuts();
    EXPECT_EQ(h.hotKeys->unregisterCalls, 2);
    EXPECT_EQ(h.hotKeys->held.size(), 3);
    EXPECT_EQ(model->registeredGlobalShortcuts().size(), 3);
    EXPECT_EQ(changes.count(), 2); // emptied, then filled
}

TEST_F(AppModelStartupTest, EnabledModulesStartInOrderAndTheHealthLoopRepeats) {
    h.healthInterval = std::chrono::milliseconds(30);
    h.settings->setValue(ModuleRegistry::enabledKey(QStringLiteral("keep-awake")), false);
    auto model = started();
    ASSERT_TRUE(settle(
        [&] { return model->launcher().isRunning() && model->systemMonitor().isRunning(); }));
    EXPECT_TRUE(model->clipboard().isRunning());
    EXPECT_FALSE(model->keepAwake().isRunning());

    // The loop reads each enabled module's health again and again.
    QSignalSpy records(&model->registry(), &ModuleRegistry::recordsChanged);
    model->setModuleEnabled(true, QStringLiteral("keep-awake"));
    ASSERT_TRUE(settle([&] { return model->keepAwake().isRunning(); }));
    const auto keepAwakeHealth = [&] {
        for (const ModuleRecord& record : model->registry().records()) {
            if (record.id() == "keep-awake") {
                return record.health.label();
            }
        }
        return QString();
    };
    const QString before = keepAwakeHealth();
    model->keepAwake().toggle();
    ASSERT_TRUE(settle([&] { return keepAwakeHealth() != before; }));
}

// A module switched off while the ones before it are still starting is not started.
TEST_F(AppModelStartupTest, AModuleSwitchedOffDuringStartUpStaysOff) {
    h.folders->holdNextScan(); // the launcher's start waits for its index
    auto model = started();
    ASSERT_TRUE(h.folders->waitUntilScanHeld());
    model->setModuleEnabled(false, QStringLiteral("system-monitor"));
    h.folders->releaseHeldScans();
    ASSERT_TRUE(settle([&] { return model->launcher().isRunning(); }));
    spin(50);
    EXPECT_FALSE(model->systemMonitor().isRunning());
    EXPECT_EQ(h.settings->boolValue(ModuleRegistry::enabledKey("system-monitor")), false);
}

TEST_F(AppModelStartupTest, PreviewSwitchesActInTheirOrderOfPrecedence) {
    struct Case {
        QStringList switches;
        QStringList front;
    };
    const QList<Case> cases{
        {{"--show-notch-preview", "--show-menu-preview"}, {"menuPreview.front"}},
        {{"--show-about", "--show-settings-preview"}, {"settings.front"}},
        {{"--show-ai-chat-preview", "--show-about"}, {"dashboard.front"}},
        {{"--show-notch-preview"}, {"notch.showExpanded"}},
        {{"--show-about"}, {"about.front"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.switches.join(' ').toStdString());
        AppModelHarness local;
        auto model = startModel(local, c.switches);
        const QStringList& log = *local.surfaces->log;
        EXPECT_EQ(log.filter(".front") + log.filter("notch.show"), c.front);
        EXPECT_FALSE(log.contains("notch.presentFront"));
    }

    auto launcherPreview = started({"--show-launcher-preview"});
    ASSERT_TRUE(settle([&] { return h.surfaces->launcher->visible; }));
}

TEST_F(AppModelStartupTest, TheNotchPreviewPutsTheProgramAndIconOnTheShelf) {
    AppModelDependencies dependencies = h.dependencies();
    dependencies.arguments << "--show-notch-preview";
    dependencies.resourceDirectory = h.root.filePath("share");
    AppModel model(std::move(dependencies));
    QFuture<void> done = model.start();
    ASSERT_TRUE(settle([&] { return done.isFinished(); }));
    EXPECT_EQ(model.pendingDropURLs(),
              (QList<QUrl>{QUrl::fromLocalFile(h.root.filePath("bin/plimbo")),
                           QUrl::fromLocalFile(h.root.filePath("share/PlimboIcon.png"))}));

    // Neither known: the shelf stays empty.
    AppModelHarness bare;
    dependencies = bare.dependencies();
    dependencies.arguments << "--show-notch-preview";
    dependencies.applicationPath.clear();
    AppModel without(std::move(dependencies));
    QFuture<void> shown = without.start();
    ASSERT_TRUE(settle([&] { return shown.isFinished(); }));
    EXPECT_TRUE(without.pendingDropURLs().isEmpty());
}

// The sample image of the assistant preview shows the program's icon when it can be read.
TEST_F(AppModelStartupTest, TheAssistantPreviewShowsTheIconAsItsSampleImage) {
    const QString share = h.root.filePath("share");
    ASSERT_TRUE(writeFile(share + "/PlimboIcon.png", pngBytes(QSize(12, 10), Qt::darkCyan)));
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable);
        if (!readable) {
            ASSERT_TRUE(writeFile(share + "/PlimboIcon.png", "not a picture"));
        }
        AppModelDependencies dependencies = h.dependencies();
        dependencies.arguments << "--show-ai-chat-preview";
        dependencies.resourceDirectory = share;
        AppModel model(std::move(dependencies));
        QFuture<void> done = model.start();
        ASSERT_TRUE(settle([&] { return done.isFinished(); }));
        const AIChatAttachment sample = model.aiConversation().first().attachments.first();
        ASSERT_EQ(sample.name, "plimbo-reference.png");
        const std::optional<QImage> image = model.imageForAIAttachment(sample);
        EXPECT_EQ(image.has_value(), readable);
        if (image) {
            EXPECT_EQ(image->size(), QSize(12, 10));
        }
    }
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

TEST_F(AppModelStartupTest, MiniAssistantPreviewsBuildOnlyThePanel) {
    auto model = started({"--show-mini-ai-preview"});
    EXPECT_EQ(h.surfaces->builds, 1);
    EXPECT_NE(model->miniAIController(), nullptr);
    EXPECT_TRUE(h.surfaces->mini->visible);
    EXPECT_EQ(h.hotKeys->registerCalls, 0);
    EXPECT_TRUE(model->registeredGlobalShortcuts().isEmpty());
    // The modules still start.
    ASSERT_TRUE(settle([&] { return model->clipboard().isRunning(); }));
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

TEST_F(AppModelStartupTest, SampleChatsOfTheAssistantPreview) {
    auto model = started({"--show-ai-chat-preview"});
    const QList<AIChatSession> chats = model->aiChats();
    ASSERT_EQ(chats.size(), 2);
    EXPECT_EQ(chats[0].title, "Focused afternoon plan");
    EXPECT_EQ(chats[0].updatedAt, h.clock->now().addSecs(-1800));
    EXPECT_EQ(chats[0].turns.first().attachments.size(), 2);
    EXPECT_EQ(chats[1].title, "Warm up a message");
    EXPECT_EQ(model->selectedAIChatID(), chats[0].id);
    EXPECT_EQ(model->selectedSection(), AppSection::ai);
    EXPECT_EQ(model->pendingAIAttachments().first().name, "notes.md");
}

TEST_F(AppModelStartupTest, WithoutSwitchesTheNotchFollowsItsTwoSwitches) {
    struct Case {
        bool surface;
        bool drawn;
        bool hardware;
        bool presented;
    };
    for (const Case& c : {Case{true, true, false, true}, Case{true, false, false, false},
                          Case{true, false, true, true}, Case{false, true, true, false}}) {
        AppModelHarness local;
        local.settings->setValue("plimbo.notch.enabled", c.surface);
        local.settings->setValue("plimbo.notch.virtualEnabled", c.drawn);
        local.surfaces->notchHasHardware = c.hardware;
        auto model = startModel(local);
        EXPECT_EQ(local.surfaces->notch->presented, c.presented)
            << c.surface << c.drawn << c.hardware;
        // The decision is taken on a fresh measurement.
        EXPECT_EQ(local.surfaces->log->filter("notch.").first(), "notch.refreshGeometry");
    }
}

TEST_F(AppModelStartupTest, TheKeyringIsNotReadInPreviewRuns) {
    h.storeKey("key");
    const std::unique_ptr<AppModel> model = h.makeModel();
    EXPECT_TRUE(settle([&] { return model->credentialIsStored(); }));
    const int calls = h.secrets->calls();
    h.arguments << "--show-anything";
    EXPECT_FALSE(h.makeModel()->credentialIsStored());
    EXPECT_EQ(h.secrets->calls(), calls);
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
    h.secrets->setLocked(SecretStore::userCanceled);
    model = h.makeModel();
    EXPECT_TRUE(settle([&] { return model->credentialIsStored(); }));
    h.secrets->setLocked(std::nullopt);
    h.secrets->setFailure(SecretStore::notAvailable);
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
