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

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
};

TEST_F(AppModelSystemActionsTest, AScreenshotToolThatCannotStartIsReported) {
    model->startScreenshot();
    EXPECT_FALSE(model->presentedError().has_value());
    h.screenshots->result = ScreenshotTool::OpenResult::notInstalled;
    model->startScreenshot();
    EXPECT_EQ(model->presentedError(), "No screenshot tool could be opened.");
}

TEST_F(AppModelSystemActionsTest, ModuleSwitchesRunInTheBackground) {
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
