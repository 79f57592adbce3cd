#include "AppModelHarness.h"
#include "ModuleRegistry.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class AppModelSystemActionsTest : public ::testing::Test {
protected:
    void SetUp() override { model = h.makeModel(); }

    void start() {
        QFuture<void> started = model->start();
        ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    }

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
};

TEST_F(AppModelSystemActionsTest, NotchSwitchesAreStoredAndMoveThePanel) {
    // Before start-up only the field and the stored switch change.
    QSignalSpy changes(model.get(), &AppModel::notchSurfaceEnabledChanged);
    model->setNotchSurfaceEnabled(false);
    EXPECT_FALSE(model->notchSurfaceEnabled());
    EXPECT_EQ(h.settings->boolValue("plimbo.notch.enabled"), false);
    h.settings->remove("plimbo.notch.enabled");
    model->setNotchSurfaceEnabled(false);
    EXPECT_EQ(h.settings->boolValue("plimbo.notch.enabled"), false); // written again
    EXPECT_EQ(changes.count(), 1);

    start();
    FakeNotch& notch = *h.surfaces->notch;
    EXPECT_FALSE(notch.presented);
    model->setNotchSurfaceEnabled(true);
    EXPECT_TRUE(notch.presented);
    model->setVirtualNotchEnabled(false);
    EXPECT_FALSE(notch.presented);
    EXPECT_EQ(h.settings->boolValue("plimbo.notch.virtualEnabled"), false);
    notch.hardwareNotch = true;
    model->setVirtualNotchEnabled(false);
    EXPECT_TRUE(notch.presented);
}

TEST_F(AppModelSystemActionsTest, AirDropAsksForFilesOnlyWhereItCanSendThem) {
    h.airDrop->available = false;
    model->startAirDrop();
    EXPECT_EQ(model->presentedError(), "AirDrop is unavailable for the selected items.");
    EXPECT_EQ(h.chooser->requests, 0);

    model->setPresentedError(std::nullopt);
    h.airDrop->available = true;
    model->startAirDrop();
    ASSERT_TRUE(h.chooser->lastOptions.has_value());
    EXPECT_EQ(h.chooser->lastOptions->title, "Choose files for AirDrop");
    EXPECT_EQ(h.chooser->lastOptions->prompt, "AirDrop");
    EXPECT_TRUE(h.chooser->lastOptions->allowsDirectories);
    ASSERT_TRUE(h.chooser->complete({}));
    EXPECT_TRUE(h.airDrop->shared.isEmpty());
    model->startAirDrop();
    const QUrl file = h.sourceFile("a.txt", "a");
    ASSERT_TRUE(h.chooser->complete({file}));
    EXPECT_EQ(h.airDrop->shared, QList<QList<QUrl>>{{file}});
    EXPECT_FALSE(model->presentedError().has_value());
}

TEST_F(AppModelSystemActionsTest, AScreenshotToolThatCannotStartIsReported) {
    model->startScreenshot();
    EXPECT_FALSE(model->presentedError().has_value());
    h.screenshots->result = ScreenshotTool::OpenResult::notInstalled;
    model->startScreenshot();
    EXPECT_EQ(model->presentedError(), "No screenshot tool could be opened.");
}

TEST_F(AppModelSystemActionsTest, TheFileShelfTakesFilesOnceAndActsOnThem) {
    const QUrl a = h.sourceFile("a.txt", "a");
    const QUrl b = h.sourceFile("b.txt", "b");
    const QUrl aAgain = QUrl::fromLocalFile(h.root.filePath("source/../source/a.txt"));
    model->receiveDroppedFiles({a, QUrl("https://example.com/x"), b, aAgain});
    EXPECT_EQ(model->pendingDropURLs(), (QList<QUrl>{a, b}));

    QSignalSpy changes(model.get(), &AppModel::pendingDropURLsChanged);
    model->removeDroppedFile(QUrl::fromLocalFile("/nowhere"));
    EXPECT_EQ(changes.count(), 1);
    model->removeDroppedFile(aAgain);
    EXPECT_EQ(model->pendingDropURLs(), QList<QUrl>{b});

    model->copyPendingFiles();
    model->openPendingFiles();
    model->revealPendingFiles();
    EXPECT_EQ(h.shelfPasteboard->fileUrls(), QList<QUrl>{b});
    EXPECT_EQ(h.desktop->opened, QList<QUrl>{b});
    EXPECT_EQ(h.revealer->requests, QList<QList<QUrl>>{{b}});

    model->setPendingDropURLs({});
    model->revealPendingFiles();
    EXPECT_EQ(h.revealer->requests.size(), 1);
}

TEST_F(AppModelSystemActionsTest, CameraAndModuleSwitchesRunInTheBackground) {
    model->toggleMiniCamera();
    ASSERT_TRUE(settle([&] { return h.camera->active; }));
    h.camera->failure = QStringLiteral("No camera is available on this computer.");
    model->toggleMiniCamera();
    ASSERT_TRUE(settle([&] { return model->presentedError().has_value(); }));
    EXPECT_EQ(model->presentedError(), "No camera is available on this computer.");

    model->setModuleEnabled(false, QStringLiteral("clipboard"));
    ASSERT_TRUE(settle(
        [&] { return h.settings->boolValue(ModuleRegistry::enabledKey("clipboard")) == false; }));
}

TEST(AppModelProperties, EveryObservableFieldIsAPropertyThatNotifiesOnChangeOnly) {
    AppModelHarness h;
    auto model = h.makeModel();
    const QMetaObject* meta = model->metaObject();
    for (const char* name : {"selectedSection",
                             "selectedSettingsSection",
                             "paletteQuery",
                             "paletteResults",
                             "credentialIsStored",
                             "aiInput",
                             "aiOutput",
                             "aiStatus",
                             "aiUsage",
                             "aiConversation",
                             "aiChats",
                             "pendingAIAttachments",
                             "isAddingAIAttachments",
                             "selectedAIChatID",
                             "isGenerating",
                             "presentedError",
                             "notchSurfaceEnabled",
                             "virtualNotchEnabled",
                             "pendingDropURLs",
                             "registeredGlobalShortcuts"}) {
        const int index = meta->indexOfProperty(name);
        ASSERT_GE(index, 0) << name;
        EXPECT_TRUE(meta->property(index).hasNotifySignal()) << name;
    }

    QSignalSpy input(model.get(), &AppModel::aiInputChanged);
    QSignalSpy section(model.get(), &AppModel::selectedSectionChanged);
    ASSERT_TRUE(model->setProperty("aiInput", QStringLiteral("typed")));
    model->setAiInput(QStringLiteral("typed"));
    model->setSelectedSection(AppSection::overview);
    EXPECT_EQ(input.count(), 1);
    EXPECT_EQ(section.count(), 0);
    EXPECT_EQ(model->aiStatus(), ChatStatus::ready);
}

} // namespace
