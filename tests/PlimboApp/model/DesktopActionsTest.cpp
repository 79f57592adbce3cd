#include "DesktopActions.h"
#include "AppModelHarness.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class DesktopActionsTest : public ::testing::Test {
protected:
    // The message of the last failure reported, if any.
    std::optional<QString> lastFailure() const {
        if (failures.isEmpty()) {
            return std::nullopt;
        }
        return failures.last().first().toString();
    }

    AppModelHarness h;
    AppModelDependencies services = h.dependencies();
    DesktopActions desktop{*services.systemActions, h.chooser.get(), h.camera.get()};
    QSignalSpy failures{&desktop, &DesktopActions::failed};
};

TEST_F(DesktopActionsTest, AirDropAsksForFilesOnlyWhereItCanSendThem) {
    h.airDrop->available = false;
    desktop.startAirDrop();
    EXPECT_EQ(lastFailure(), "AirDrop is unavailable for the selected items.");
    EXPECT_EQ(h.chooser->requests, 0);

    failures.clear();
    h.airDrop->available = true;
    desktop.startAirDrop();
    ASSERT_TRUE(h.chooser->lastOptions.has_value());
    EXPECT_EQ(h.chooser->lastOptions->title, "Choose files for AirDrop");
    EXPECT_EQ(h.chooser->lastOptions->prompt, "AirDrop");
    EXPECT_TRUE(h.chooser->lastOptions->allowsDirectories);
    ASSERT_TRUE(h.chooser->complete({}));
    EXPECT_TRUE(h.airDrop->shared.isEmpty());
    desktop.startAirDrop();
    const QUrl file = h.sourceFile("a.txt", "a");
    ASSERT_TRUE(h.chooser->complete({file}));
    EXPECT_EQ(h.airDrop->shared, QList<QList<QUrl>>{{file}});
    EXPECT_FALSE(lastFailure().has_value());
}

TEST_F(DesktopActionsTest, TheFileShelfTakesFilesOnceAndActsOnThem) {
    const QUrl a = h.sourceFile("a.txt", "a");
    const QUrl b = h.sourceFile("b.txt", "b");
    const QUrl aAgain = QUrl::fromLocalFile(h.root.filePath("source/../source/a.txt"));
    desktop.receiveDroppedFiles({a, QUrl("https://example.com/x"), b, aAgain});
    EXPECT_EQ(desktop.shelfURLs(), (QList<QUrl>{a, b}));

    QSignalSpy changes(&desktop, &DesktopActions::shelfURLsChanged);
    desktop.removeDroppedFile(QUrl::fromLocalFile("/nowhere"));
    EXPECT_EQ(changes.count(), 1);
    desktop.removeDroppedFile(aAgain);
    EXPECT_EQ(desktop.shelfURLs(), QList<QUrl>{b});

    desktop.copyShelfFiles();
    desktop.openShelfFiles();
    desktop.revealShelfFiles();
    EXPECT_EQ(h.shelfPasteboard->fileUrls(), QList<QUrl>{b});
    EXPECT_EQ(h.desktop->opened, QList<QUrl>{b});
    EXPECT_EQ(h.revealer->requests, QList<QList<QUrl>>{{b}});

    desktop.setShelfURLs({});
    desktop.revealShelfFiles();
    EXPECT_EQ(h.revealer->requests.size(), 1);
}

TEST_F(DesktopActionsTest, TheCameraPreviewTogglesInTheBackgroundAndReportsItsFailure) {
    desktop.toggleMiniCamera();
    ASSERT_TRUE(settle([&] { return h.camera->active; }));
    h.camera->failure = QStringLiteral("No camera is available on this computer.");
    desktop.toggleMiniCamera();
    ASSERT_TRUE(settle([&] { return lastFailure().has_value(); }));
    EXPECT_EQ(lastFailure(), "No camera is available on this computer.");
}

} // namespace
