#include "ModelFeatures.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// The features of a run with these switches, after the windows were built.
std::unique_ptr<ModelFeatures> actOn(AppModelHarness& h, const QStringList& switches,
                                     std::optional<QString> resourceDirectory = std::nullopt) {
    h.arguments += switches;
    AppModelDependencies dependencies = h.dependencies();
    dependencies.resourceDirectory = std::move(resourceDirectory);
    auto features = std::make_unique<ModelFeatures>(h, std::move(dependencies));
    features->windows.createControllers();
    features->preview.act();
    return features;
}

TEST(PreviewRunTest, SwitchesActInTheirOrderOfPrecedence) {
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
        AppModelHarness h;
        auto features = actOn(h, c.switches);
        const QStringList& log = *h.surfaces->log;
        EXPECT_EQ(log.filter(".front") + log.filter("notch.show"), c.front);
        EXPECT_FALSE(log.contains("notch.raise"));
    }

    AppModelHarness h;
    auto launcherPreview = actOn(h, {"--show-launcher-preview"});
    ASSERT_TRUE(settle([&] { return h.surfaces->launcher->visible; }));

    // Without a switch the notch is presented as its switches say.
    AppModelHarness plain;
    auto features = actOn(plain, {});
    EXPECT_TRUE(plain.surfaces->log->contains("notch.raise"));
}

TEST(PreviewRunTest, TheNotchPreviewPutsTheProgramAndIconOnTheShelf) {
    AppModelHarness h;
    auto features = actOn(h, {"--show-notch-preview"}, h.root.filePath("share"));
    EXPECT_EQ(features->desktop.shelfURLs(),
              (QList<QUrl>{QUrl::fromLocalFile(h.root.filePath("bin/plimbo")),
                           QUrl::fromLocalFile(h.root.filePath("share/PlimboIcon.png"))}));

    // Neither known: the shelf stays empty.
    AppModelHarness bare;
    bare.arguments << "--show-notch-preview";
    AppModelDependencies dependencies = bare.dependencies();
    dependencies.applicationPath.clear();
    ModelFeatures without(bare, std::move(dependencies));
    without.windows.createControllers();
    without.preview.act();
    EXPECT_TRUE(without.desktop.shelfURLs().isEmpty());
}

// The sample image of the assistant preview shows the program's icon when it can be read.
TEST(PreviewRunTest, TheAssistantPreviewShowsTheIconAsItsSampleImage) {
    AppModelHarness h;
    const QString share = h.root.filePath("share");
    ASSERT_TRUE(writeFile(share + "/PlimboIcon.png", pngBytes(QSize(12, 10), Qt::darkCyan)));
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable);
        if (!readable) {
            ASSERT_TRUE(writeFile(share + "/PlimboIcon.png", "not a picture"));
        }
        AppModelHarness run;
        auto features = actOn(run, {"--show-ai-chat-preview"}, share);
        const AIChatAttachment sample = features->chats.conversation().first().attachments.first();
        ASSERT_EQ(sample.name, "plimbo-reference.png");
        const std::optional<QImage> image = features->attachments.image(sample);
        EXPECT_EQ(image.has_value(), readable);
        if (image) {
            EXPECT_EQ(image->size(), QSize(12, 10));
        }
    }
}

TEST(PreviewRunTest, SampleChatsOfTheAssistantPreview) {
    AppModelHarness h;
    auto features = actOn(h, {"--show-ai-chat-preview"});
    const QList<AIChatSession> chats = features->chats.chats();
    ASSERT_EQ(chats.size(), 2);
    EXPECT_EQ(chats[0].title, "Focused afternoon plan");
    EXPECT_EQ(chats[0].updatedAt, h.clock->now().addSecs(-1800));
    EXPECT_EQ(chats[0].turns.first().attachments.size(), 2);
    EXPECT_EQ(chats[1].title, "Warm up a message");
    EXPECT_EQ(features->chats.selectedID(), chats[0].id);
    EXPECT_EQ(features->windows.selectedSection(), AppSection::ai);
    EXPECT_EQ(features->composer.pendingAttachments().first().name, "notes.md");
}

} // namespace
