#include "NotchExpandedShelf.h"
#include "FileActionButton.h"
#include "NotchCameraControl.h"
#include "NotchCameraStage.h"
#include "NotchCircleButton.h"
#include "NotchDropLandingZone.h"
#include "NotchFileShelfItem.h"
#include "NotchFileTray.h"
#include "NotchHarness.h"
#include "NotchShelfHeader.h"
#include "NotchSurfaceView.h"
#include "NotchTextButton.h"
#include "PlimboTheme.h"

#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QMessageBox>
#include <QMimeData>

using namespace plimbo;
using namespace plimbo::test;

namespace {

void dragOver(NotchSurfaceView& view, QMimeData& data) {
    QDragEnterEvent enter(QPoint(view.width() / 2, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&view, &enter);
}

void dragAway(NotchSurfaceView& view) {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&view, &leave);
}

} // namespace

TEST(NotchExpandedShelfTest, DragOverTheCameraStageShowsTheLandingZoneThenTheStageAgain) {
    NotchHarness n;
    n.capture->holdStarts = true;
    n.controller->show(true);
    NotchSurfaceView& view = n.controller->view();
    NotchExpandedShelf& shelf = view.expandedShelf();
    n.model->toggleMiniCamera();
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.camera->isStarting(); }, 500));
    EXPECT_EQ(shelf.page(), NotchExpandedShelf::Page::camera);

    QMimeData data;
    data.setUrls({n.file(QStringLiteral("a.txt"))});
    dragOver(view, data);
    EXPECT_EQ(shelf.page(), NotchExpandedShelf::Page::landing);
    EXPECT_TRUE(shelf.landingZone().isVisible());
    EXPECT_FALSE(shelf.cameraStage().isVisible());
    dragAway(view);
    EXPECT_FALSE(view.isDropTargeted());
    EXPECT_EQ(shelf.page(), NotchExpandedShelf::Page::camera);
    EXPECT_TRUE(shelf.cameraStage().isVisible());
    // Leaving does not collapse.
    EXPECT_TRUE(n.state().isExpanded());
}

TEST(NotchExpandedShelfTest, ContentFadesOnlyDuringTransitionsAndSwapsAtOnceWithReduceMotion) {
    NotchHarness n;
    n.controller->show(true);
    NotchExpandedShelf& shelf = n.controller->view().expandedShelf();
    EXPECT_EQ(shelf.contentOpacity(), 1);

    n.controller->collapse();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.state().showsExpandedContent(); }, 500));
    // The fade takes its 80 ms; it has not jumped.
    EXPECT_GT(shelf.contentOpacity(), 0);
    ASSERT_TRUE(n.settled());
    EXPECT_EQ(shelf.contentOpacity(), 0);

    ReducedMotion reduced;
    n.controller->show(true);
    EXPECT_EQ(shelf.contentOpacity(), 1);
    n.model->receiveDroppedFiles({n.file(QStringLiteral("a.txt"))});
    EXPECT_TRUE(shelf.showsFileTray());
    EXPECT_TRUE(shelf.fileTray().isVisible());
    EXPECT_FALSE(shelf.fileTray().graphicsEffect()->isEnabled());
}

TEST(NotchExpandedShelfTest, SettingsCollapsesFirstAndOpensTheGeneralTab) {
    NotchHarness n;
    n.model->setSelectedSettingsSection(SettingsSection::privacy);
    n.controller->show(true);
    NotchExpandedShelf& shelf = n.controller->view().expandedShelf();
    QStringList order;
    QObject::connect(&n.state(), &NotchSurfaceState::isTransitioningChanged, [&] {
        if (n.state().isTransitioning()) {
            order.append(QStringLiteral("collapse"));
        }
    });
    QObject::connect(n.model.get(), &AppModel::selectedSettingsSectionChanged,
                     [&] { order.append(QStringLiteral("settings")); });
    shelf.settingsButton().click();
    EXPECT_EQ(order, QStringList({"collapse", "settings"}));
    EXPECT_EQ(n.model->selectedSettingsSection(), SettingsSection::general);
    ASSERT_TRUE(n.settled());
}

TEST(NotchExpandedShelfTest, AlertFollowsTheModelsMessage) {
    NotchHarness n;
    n.controller->show(true);
    NotchSurfaceView& view = n.controller->view();
    n.model->setPresentedError(QStringLiteral("AirDrop is unavailable for the selected items."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.alert() != nullptr; }, 500));
    // The alert belongs to the notch: a click in it does not collapse the shelf under it.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.alert()));
    QTest::mouseClick(view.alert()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(n.state().isTransitioning());
    EXPECT_TRUE(n.state().isExpanded());
    // Cleared elsewhere (another window's alert): this one closes too, without a second write.
    n.model->setPresentedError(std::nullopt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.alert() == nullptr; }, 500));

    // A hidden notch shows no alert.
    n.controller->hide();
    n.model->setPresentedError(QStringLiteral("later"));
    QTest::qWait(20);
    EXPECT_EQ(view.alert(), nullptr);
}

TEST(NotchExpandedShelfTest, TilesKeepTheirOrderAndSurviveOtherRemovals) {
    NotchHarness n;
    n.controller->show(true);
    const QUrl a = n.file(QStringLiteral("a.txt"));
    const QUrl b = n.file(QStringLiteral("b.txt"));
    const QUrl c = n.file(QStringLiteral("c.txt"));
    n.model->receiveDroppedFiles({a, b, c});
    NotchFileTray& tray = n.controller->view().expandedShelf().fileTray();
    NotchFileShelfItem* tileC = tray.tiles().at(2);
    n.model->removeDroppedFile(b);
    ASSERT_EQ(tray.tiles().size(), 2);
    EXPECT_EQ(tray.tiles().at(0)->url(), a);
    // The same tile object: its hover and focus state carry on.
    EXPECT_EQ(tray.tiles().at(1), tileC);
    EXPECT_EQ(tray.countText(), QStringLiteral("2"));

    // The four actions reach the model with the whole list.
    tray.actions().at(1)->click();
    EXPECT_EQ(n.h.shelfPasteboard->fileUrls(), QList<QUrl>({a, c}));
    EXPECT_EQ(n.model->pendingDropURLs().size(), 2);
}

TEST(NotchExpandedShelfTest, HeaderFollowsTheCameraAndTheScreen) {
    NotchHarness n;
    DisplayScreen notched = NotchHarness::display(QRect(0, 0, 1512, 982));
    notched.safeAreaTopInset = 38;
    notched.auxiliaryTopLeftArea = QRect(0, 0, 656, 38);
    notched.auxiliaryTopRightArea = QRect(856, 0, 656, 38);
    n.screens->displays = {notched};
    n.controller->show(true);
    NotchShelfHeader& header = n.controller->view().expandedShelf().header();
    EXPECT_EQ(header.subtitle(), QStringLiteral("Attached to this MacBook"));
    EXPECT_EQ(n.controller->view().accessibleName(), QStringLiteral("Plimbo Camera notch"));
    EXPECT_EQ(n.panel().geometry(), QRect(496, 0, 520, 388));

    NotchCameraControl& control = header.cameraControl();
    EXPECT_EQ(control.symbol(), QStringLiteral("video.fill"));
    EXPECT_EQ(control.strokeWidth(), 1);
    QFuture<void> started = n.camera->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.isFinished(); }, 500));
    EXPECT_EQ(control.symbol(), QStringLiteral("video.slash.fill"));
    EXPECT_EQ(control.symbolColor(), PlimboTheme::positive());
    EXPECT_EQ(control.strokeWidth(), 2);
}
