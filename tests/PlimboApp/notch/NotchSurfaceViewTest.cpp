#include "NotchSurfaceView.h"
#include "FileActionButton.h"
#include "KeepAwakeService.h"
#include "MiniCameraPreview.h"
#include "NotchActionButton.h"
#include "NotchActionGrid.h"
#include "NotchCameraControl.h"
#include "NotchCameraStage.h"
#include "NotchCircleButton.h"
#include "NotchCompactActionButton.h"
#include "NotchCompactSurface.h"
#include "NotchExpandedShelf.h"
#include "NotchFileShelfItem.h"
#include "NotchFileTray.h"
#include "NotchHarness.h"
#include "NotchShelfHeader.h"
#include "SystemMonitorService.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// A drag that enters the surface and, when `release` is set, drops there. Returns whether the
// surface accepted the last event, and the action it chose.
std::pair<bool, Qt::DropAction> drag(NotchSurfaceView& view, const QList<QUrl>& urls,
                                     bool release = true) {
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(view.width() / 2.0, 10);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&view, &enter);
    if (!release) {
        return {enter.isAccepted(), enter.dropAction()};
    }
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    drop.setAccepted(false);
    QCoreApplication::sendEvent(&view, &drop);
    return {drop.isAccepted(), drop.dropAction()};
}

} // namespace

TEST(NotchSurfaceViewTest, DroppedFilesLandOnTheShelfOnceAndOpenIt) {
    NotchHarness n;
    n.controller->show(false);
    NotchSurfaceView& view = n.controller->view();
    const QUrl a = n.file(QStringLiteral("a.txt"));
    const QUrl b = n.file(QStringLiteral("b.pdf"));

    const auto [accepted, action] = drag(view, {a, b, a});
    EXPECT_TRUE(accepted);
    // The files are only listed, so the source must never delete them.
    EXPECT_EQ(action, Qt::CopyAction);
    EXPECT_FALSE(view.isDropTargeted());
    EXPECT_EQ(n.model->pendingDropURLs(), QList<QUrl>({a, b}));
    EXPECT_TRUE(n.state().isTransitioning());
    ASSERT_TRUE(n.settled());
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_TRUE(view.expandedShelf().showsFileTray());

    // The same file under another spelling is still the same file.
    const QUrl aAgain = QUrl::fromLocalFile(n.files.path() + QStringLiteral("/sub/../a.txt"));
    drag(view, {aAgain});
    EXPECT_EQ(n.model->pendingDropURLs().size(), 2);
    EXPECT_EQ(view.expandedShelf().fileTray().tiles().size(), 2);
}

TEST(NotchSurfaceViewTest, ShelfKeepsTheFirst24AndRefusesDropsWithoutFiles) {
    NotchHarness n;
    n.controller->show(true);
    NotchSurfaceView& view = n.controller->view();
    QList<QUrl> thirty;
    for (int i = 0; i < 30; ++i) {
        thirty.append(n.file(QStringLiteral("f%1.txt").arg(i)));
    }
    drag(view, thirty);
    ASSERT_EQ(n.model->pendingDropURLs().size(), 24);
    EXPECT_EQ(n.model->pendingDropURLs().first(), thirty.first());
    EXPECT_EQ(n.model->pendingDropURLs().last(), thirty.at(23));
    EXPECT_EQ(view.expandedShelf().fileTray().countText(), QStringLiteral("24"));
    drag(view, {n.file(QStringLiteral("late.txt"))});
    EXPECT_EQ(n.model->pendingDropURLs().size(), 24);

    // Web addresses: the drag is welcome (the shelf opens) but the drop is refused and the
    // running camera is left alone.
    n.model->setPendingDropURLs({});
    QFuture<void> started = n.camera->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.isFinished(); }, 1000));
    EXPECT_TRUE(drag(view, {QUrl(QStringLiteral("https://example.com/a.txt"))}, false).first);
    EXPECT_TRUE(view.isDropTargeted());
    EXPECT_EQ(view.expandedShelf().page(), NotchExpandedShelf::Page::landing);
    const auto [accepted, action] = drag(view, {QUrl(QStringLiteral("https://example.com/a"))});
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(n.model->pendingDropURLs().isEmpty());
    EXPECT_TRUE(n.camera->isActive());

    // A real drop stops the camera.
    drag(view, {n.file(QStringLiteral("c.txt"))});
    EXPECT_FALSE(n.camera->isActive());
}

TEST(NotchSurfaceViewTest, TilesRemoveTheirFileAndDismissEmptiesTheShelf) {
    NotchHarness n;
    n.controller->show(true);
    const QUrl a = n.file(QStringLiteral("archive.tar.gz"));
    const QUrl b = n.file(QStringLiteral("README"));
    n.model->receiveDroppedFiles({a, b});
    NotchFileTray& tray = n.controller->view().expandedShelf().fileTray();
    ASSERT_EQ(tray.tiles().size(), 2);
    NotchFileShelfItem* first = tray.tiles().first();
    EXPECT_EQ(first->url(), a);

    // The remove button shows, and takes clicks, only while the tile is hovered.
    EXPECT_FALSE(first->showsRemoveButton());
    EXPECT_TRUE(first->removeButton().testAttribute(Qt::WA_TransparentForMouseEvents));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(first, &enter);
    EXPECT_TRUE(first->showsRemoveButton());
    EXPECT_FALSE(first->removeButton().testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(first->removeButton().accessibleName(),
              QStringLiteral("Remove archive.tar.gz from shelf"));

    // A drag out carries the file itself; the shelf keeps it.
    std::unique_ptr<QMimeData> out(first->dragData());
    EXPECT_EQ(out->urls(), QList<QUrl>({a}));

    first->removeButton().click();
    EXPECT_EQ(n.model->pendingDropURLs(), QList<QUrl>({b}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.tiles().size() == 1; }, 500));
    EXPECT_EQ(tray.tiles().first()->url(), b);

    tray.dismissButton().click();
    EXPECT_TRUE(n.model->pendingDropURLs().isEmpty());
    EXPECT_FALSE(n.controller->view().expandedShelf().showsFileTray());
}

TEST(NotchSurfaceViewTest, FileKindsAndNames) {
    EXPECT_EQ(NotchFileShelfItem::kind(QUrl::fromLocalFile("/x/archive.tar.gz")), "GZ");
    EXPECT_EQ(NotchFileShelfItem::kind(QUrl::fromLocalFile("/x/report.pdf")), "PDF");
    EXPECT_EQ(NotchFileShelfItem::kind(QUrl::fromLocalFile("/x/README")), "FILE");
    EXPECT_EQ(NotchFileShelfItem::kind(QUrl::fromLocalFile("/x/.bashrc")), "FILE");
    EXPECT_EQ(NotchFileShelfItem::name(QUrl::fromLocalFile("/x/Some Folder/")), "Some Folder");
}

TEST(NotchSurfaceViewTest, ShelfActionsCollapseFirstExceptKeepAwake) {
    NotchHarness n;
    n.controller->show(true);
    NotchActionGrid& grid = n.controller->view().expandedShelf().actionGrid();
    ASSERT_EQ(grid.tiles().size(), 8);
    QStringList titles;
    for (NotchActionButton* tile : grid.tiles()) {
        titles.append(tile->title());
    }
    EXPECT_EQ(titles, QStringList({"Command", "Plimbo AI", "AirDrop", "Screenshot", "Clipboard",
                                   "Launcher", "Keep Awake", "Dashboard"}));

    grid.keepAwakeTile().click();
    EXPECT_TRUE(n.model->keepAwake().isKeepingAwake());
    EXPECT_EQ(grid.keepAwakeTile().title(), QStringLiteral("Awake"));
    EXPECT_EQ(grid.keepAwakeTile().symbol(), QStringLiteral("moon.zzz.fill"));
    EXPECT_FALSE(n.state().isTransitioning());
    grid.keepAwakeTile().click();
    EXPECT_EQ(grid.keepAwakeTile().title(), QStringLiteral("Keep Awake"));

    grid.tiles().at(7)->click();
    EXPECT_TRUE(n.state().isTransitioning());
    EXPECT_EQ(n.model->selectedSection(), AppSection::overview);
    ASSERT_TRUE(n.settled());
    EXPECT_FALSE(n.state().isExpanded());
}

TEST(NotchSurfaceViewTest, EscapeCollapsesAndFocusFollowsTheShape) {
    NotchHarness n;
    n.controller->show(false);
    NotchSurfaceView& view = n.controller->view();
    n.controller->expand();
    ASSERT_TRUE(n.settled());
    EXPECT_EQ(view.focusedControl(), NotchSurfaceView::NotchControl::collapse);

    QTest::keyClick(&view.expandedShelf(), Qt::Key_Escape);
    EXPECT_TRUE(n.state().isTransitioning());
    ASSERT_TRUE(n.settled());
    EXPECT_FALSE(n.state().isExpanded());
    EXPECT_EQ(view.focusedControl(), NotchSurfaceView::NotchControl::cap);
}

TEST(NotchSurfaceViewTest, CanvasTakesClicksOnlyWhenSettled) {
    NotchHarness n;
    n.controller->show(false);
    NotchSurfaceView& view = n.controller->view();
    EXPECT_FALSE(view.showsCanvas());
    EXPECT_TRUE(view.compactSurface().isVisible());
    EXPECT_FALSE(view.expandedShelf().isVisible());
    EXPECT_EQ(view.compactSurface().size(), QSize(224, 42));

    n.controller->expand();
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.state().isExpanded(); }, 500));
    EXPECT_TRUE(view.showsCanvas());
    EXPECT_TRUE(view.expandedShelf().testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(view.compactSurface().testAttribute(Qt::WA_TransparentForMouseEvents));
    ASSERT_TRUE(n.settled());
    EXPECT_FALSE(view.expandedShelf().testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_FALSE(view.compactSurface().isVisible());
    EXPECT_EQ(view.expandedShelf().size(), QSize(520, 384));
}

TEST(NotchSurfaceViewTest, CompactCapHoversWidensAndRunsItsQuickActions) {
    NotchHarness n;
    n.controller->show(false);
    NotchSurfaceView& view = n.controller->view();
    NotchCompactSurface& cap = view.compactSurface();
    EXPECT_EQ(view.accessibleName(), QStringLiteral("Plimbo Virtual notch"));
    EXPECT_EQ(cap.accessibleName(), QStringLiteral("Open Plimbo Notch"));

    QMouseEvent move(QEvent::MouseMove, QPointF(112, 20), QPointF(112, 20), Qt::NoButton,
                     Qt::NoButton, {});
    QCoreApplication::sendEvent(&cap, &move);
    EXPECT_TRUE(view.isCapHovered());
    EXPECT_TRUE(n.state().isCompactHovered());
    EXPECT_EQ(n.panel().width(), 374);
    EXPECT_TRUE(cap.showsQuickActions());
    EXPECT_EQ(NotchCompactSurface::quickActionsTopPadding(34), 3);
    EXPECT_EQ(NotchCompactSurface::quickActionsTopPadding(30), 1);
    EXPECT_EQ(NotchCompactSurface::quickActionsTopPadding(38), 5);

    n.model->setAiInput(QStringLiteral("draft"));
    cap.assistantButton().click();
    EXPECT_FALSE(n.state().isCompactHovered());
    EXPECT_EQ(n.model->aiInput(), QString());
    EXPECT_EQ(view.focusedControl(), NotchSurfaceView::NotchControl::cap);

    // The quick actions are also reachable by name without hovering.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&cap);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    EXPECT_TRUE(
        accessible->actionInterface()->actionNames().contains(QStringLiteral("Screenshot")));
    accessible->actionInterface()->doAction(QStringLiteral("Screenshot"));
    EXPECT_EQ(n.h.screenshots->opens, 1);

    // A click on the cap opens the shelf.
    QTest::mouseClick(&cap, Qt::LeftButton, {}, QPoint(cap.width() / 2, 20));
    EXPECT_TRUE(n.state().isTransitioning());
    ASSERT_TRUE(n.settled());
    EXPECT_TRUE(n.state().isExpanded());
}

TEST(NotchSurfaceViewTest, CameraButtonOpensTheStageAndItsCloseButtonEndsIt) {
    NotchHarness n;
    n.capture->holdStarts = true;
    n.controller->show(true);
    NotchExpandedShelf& shelf = n.controller->view().expandedShelf();
    NotchCameraControl& control = shelf.header().cameraControl();
    EXPECT_EQ(control.accessibleName(), QStringLiteral("Open mini camera"));

    control.click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.camera->isStarting(); }, 500));
    EXPECT_EQ(shelf.page(), NotchExpandedShelf::Page::camera);
    EXPECT_TRUE(control.showsSpinner());
    EXPECT_EQ(shelf.cameraStage().accessibleName(), QStringLiteral("Camera is starting"));
    EXPECT_EQ(shelf.cameraStage().heightForWidth(488), 275);

    n.capture->completeStart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.camera->isActive(); }, 500));
    EXPECT_TRUE(shelf.cameraStage().showsLivePreview());
    EXPECT_EQ(n.capture->videoOutput, &shelf.cameraStage().preview()->sink());
    EXPECT_EQ(shelf.cameraStage().captionText(), QStringLiteral("Live preview"));
    EXPECT_EQ(control.accessibleName(), QStringLiteral("Close mini camera"));

    shelf.cameraStage().closeButton().click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.camera->isActive(); }, 500));
    EXPECT_EQ(shelf.page(), NotchExpandedShelf::Page::normal);
    EXPECT_FALSE(n.model->presentedError().has_value());
}

TEST(NotchSurfaceViewTest, CameraWithoutDeviceShowsTheErrorAlertUntilDismissed) {
    NotchHarness n;
    n.capture->hasCamera = false;
    n.controller->show(true);
    NotchSurfaceView& view = n.controller->view();
    view.expandedShelf().header().cameraControl().click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.alert() != nullptr; }, 1000));
    EXPECT_EQ(view.expandedShelf().page(), NotchExpandedShelf::Page::normal);
    EXPECT_EQ(view.alert()->windowTitle(), QStringLiteral("Plimbo needs attention"));
    EXPECT_TRUE(
        view.alert()->text().contains(QStringLiteral("No camera is available on this computer.")) ||
        view.alert()->informativeText().contains(
            QStringLiteral("No camera is available on this computer.")));

    view.alert()->buttons().first()->click();
    EXPECT_FALSE(n.model->presentedError().has_value());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.alert() == nullptr; }, 500));
}

TEST(NotchSurfaceViewTest, SystemStripAndMonitorPillReadTheMonitor) {
    NotchHarness n;
    n.controller->show(true);
    NotchShelfHeader& header = n.controller->view().expandedShelf().header();
    EXPECT_EQ(header.monitorStatus(), QStringLiteral("Dormant"));
    EXPECT_EQ(header.subtitle(), QStringLiteral("Virtual camera housing"));
    EXPECT_EQ(header.collapseButton().accessibleName(), QStringLiteral("Collapse Plimbo Notch"));
}
