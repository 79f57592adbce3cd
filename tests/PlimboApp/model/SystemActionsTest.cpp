#include "SystemActions.h"

#include "FakeAirDropService.h"
#include "FakeDesktopServices.h"
#include "FakeFileRevealer.h"
#include "FakeScreenshotTool.h"
#include "InMemoryPasteboard.h"
#include "LinuxAirDropService.h"
#include "SystemActionError.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

class SystemActionsTest : public testing::Test {
protected:
    std::shared_ptr<FakeDesktopServices> desktop = std::make_shared<FakeDesktopServices>();
    std::shared_ptr<FakeFileRevealer> revealer = std::make_shared<FakeFileRevealer>();
    std::shared_ptr<FakeScreenshotTool> screenshot = std::make_shared<FakeScreenshotTool>();
    std::shared_ptr<FakeAirDropService> airDrop = std::make_shared<FakeAirDropService>();
    std::shared_ptr<InMemoryPasteboard> pasteboard = std::make_shared<InMemoryPasteboard>();

    SystemActions actions() {
        return SystemActions({desktop, revealer, screenshot, airDrop, pasteboard});
    }

    const QList<QUrl> shelf{QUrl::fromLocalFile("/home/u/a.pdf"),
                            QUrl::fromLocalFile("/home/u/b.png")};
};

// The error's kind and user text, or nothing when the call succeeded.
template <typename Call>
std::optional<std::pair<SystemActionError::Kind, QString>> failureOf(Call call) {
    try {
        call();
    } catch (const SystemActionError& error) {
        return std::make_pair(error.kind(), error.description());
    }
    return std::nullopt;
}

TEST_F(SystemActionsTest, ScreenshotFailuresAreReportedNeverSwallowed) {
    SystemActions system = actions();
    EXPECT_FALSE(failureOf([&] { system.startScreenshot(); }));
    EXPECT_EQ(screenshot->opens, 1);

    const QString text = "No screenshot tool could be opened.";
    screenshot->result = ScreenshotTool::OpenResult::notInstalled;
    EXPECT_EQ(failureOf([&] { system.startScreenshot(); }),
              std::make_pair(SystemActionError::Kind::screenshotToolMissing, text));
    screenshot->result = ScreenshotTool::OpenResult::failedToStart;
    EXPECT_EQ(failureOf([&] { system.startScreenshot(); }),
              std::make_pair(SystemActionError::Kind::screenshotToolFailed, text));
}

TEST_F(SystemActionsTest, AirDropOnLinuxIsReportedUnavailable) {
    SystemActions system(
        {desktop, revealer, screenshot, std::make_shared<LinuxAirDropService>(), pasteboard});
    const auto unavailable =
        std::make_pair(SystemActionError::Kind::airDropUnavailable,
                       QString("AirDrop is unavailable for the selected items."));
    EXPECT_EQ(failureOf([&] { system.ensureAirDropAvailable(); }), unavailable);
    EXPECT_EQ(failureOf([&] { system.performAirDrop(shelf); }), unavailable);
}

TEST_F(SystemActionsTest, AirDropSharesOnlyWhatTheServiceAccepts) {
    SystemActions system = actions();
    EXPECT_FALSE(failureOf([&] { system.ensureAirDropAvailable(); }));
    EXPECT_FALSE(failureOf([&] { system.performAirDrop(shelf); }));
    EXPECT_EQ(airDrop->shared, QList<QList<QUrl>>{shelf});

    EXPECT_TRUE(failureOf([&] { system.performAirDrop({}); }));
    EXPECT_EQ(airDrop->shared.size(), 1);
}

TEST_F(SystemActionsTest, CopyingPutsTheShelfOnTheClipboardUnlessItIsEmpty) {
    SystemActions system = actions();
    pasteboard->copyText("keep me");
    system.copyFiles({});
    EXPECT_EQ(pasteboard->writes(), 0);
    EXPECT_EQ(pasteboard->text(), "keep me");

    system.copyFiles(shelf);
    EXPECT_EQ(pasteboard->fileUrls(), shelf);
    EXPECT_EQ(pasteboard->writes(), 1);
}

TEST_F(SystemActionsTest, RevealingAnEmptyShelfAsksNothing) {
    SystemActions system = actions();
    EXPECT_EQ(system.revealFiles({}).result(), RevealOutcome::failed);
    EXPECT_TRUE(revealer->requests.isEmpty());
    EXPECT_EQ(system.revealFiles(shelf).result(), RevealOutcome::shownInFileManager);
    EXPECT_EQ(revealer->requests, QList<QList<QUrl>>{shelf});
}

} // namespace
