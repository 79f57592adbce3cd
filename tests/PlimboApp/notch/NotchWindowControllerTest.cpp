#include "NotchHarness.h"
#include "NotchSurfaceView.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QSignalSpy>
#include <QWidget>
#include <QWindow>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const QRect kCompact(528, 0, 224, 42);
const QRect kHovered(453, 0, 374, 42);
const QRect kExpanded(380, 0, 520, 384);

// Records every change of the shape's four transition fields as "<field>=<value>", in order.
struct Recorder {
    QObject context;
    QStringList log;

    explicit Recorder(NotchSurfaceState& state) {
        watch(state, &NotchSurfaceState::isExpandedChanged, "expanded",
              [&state] { return QVariant(state.isExpanded()); });
        watch(state, &NotchSurfaceState::isTransitioningChanged, "transitioning",
              [&state] { return QVariant(state.isTransitioning()); });
        watch(state, &NotchSurfaceState::showsExpandedContentChanged, "content",
              [&state] { return QVariant(state.showsExpandedContent()); });
        watch(state, &NotchSurfaceState::expansionProgressChanged, "progress",
              [&state] { return QVariant(state.expansionProgress()); });
    }

    template <typename Signal, typename Read>
    void watch(NotchSurfaceState& state, Signal signal, const char* name, Read read) {
        QObject::connect(&state, signal, &context, [this, name, read] {
            log.append(QString::fromLatin1(name) + u'=' + read().toString());
        });
    }
};

void startCamera(NotchHarness& n) {
    QFuture<void> started = n.camera->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return started.isFinished(); }, 1000));
    ASSERT_TRUE(n.camera->isActive());
}

} // namespace

TEST(NotchWindowControllerTest, ShowPutsThePanelAtTheTopCentreInEitherShape) {
    NotchHarness n;
    EXPECT_FALSE(n.panel().isVisible());
    EXPECT_FALSE(n.controller->isPresented());

    n.controller->show(false);
    EXPECT_TRUE(n.panel().isVisible());
    EXPECT_TRUE(n.controller->isPresented());
    EXPECT_EQ(n.panel().geometry(), kCompact);
    EXPECT_TRUE(n.panel().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(n.panel().windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(n.panel().windowTitle(), QStringLiteral("Plimbo Notch"));

    n.controller->show(true);
    EXPECT_EQ(n.panel().geometry(), kExpanded);
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_TRUE(n.state().showsExpandedContent());
    EXPECT_EQ(n.state().expansionProgress(), 1);
    EXPECT_FALSE(n.state().isTransitioning());
    EXPECT_EQ(n.controller->view().displayedProgress(), 1);
}

TEST(NotchWindowControllerTest, ExpandRunsItsStepsInOrderAndSettles) {
    NotchHarness n;
    n.controller->show(false);
    Recorder recorder(n.state());
    QElapsedTimer clock;
    clock.start();

    n.controller->expand();
    // Accepted at once, acted on from the next turn.
    EXPECT_TRUE(n.state().isTransitioning());
    EXPECT_FALSE(n.state().isExpanded());
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.state().isExpanded(); }, 500));
    EXPECT_EQ(n.panel().geometry(), kExpanded);
    EXPECT_EQ(n.state().expansionProgress(), 0);

    ASSERT_TRUE(n.settled());
    EXPECT_GE(clock.elapsed(), 12 + 220 + 130);
    EXPECT_EQ(recorder.log, QStringList({"transitioning=true", "expanded=true", "progress=1",
                                         "content=true", "transitioning=false"}));
    EXPECT_TRUE(n.state().showsExpandedContent());
    EXPECT_FALSE(n.controller->isTransitionRunning());
}

TEST(NotchWindowControllerTest, RequestsDuringATransitionAreDropped) {
    NotchHarness n;
    n.controller->show(false);
    n.controller->toggle();
    n.controller->toggle();
    n.controller->collapse();
    n.controller->setCompactHovered(true);
    ASSERT_TRUE(n.settled());
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_FALSE(n.state().isCompactHovered());
    EXPECT_EQ(n.panel().geometry(), kExpanded);
}

TEST(NotchWindowControllerTest, CollapseEmptiesShelfAndStopsCameraBeforeAnythingMoves) {
    NotchHarness n;
    n.controller->show(true);
    n.model->receiveDroppedFiles({n.file(QStringLiteral("a.txt"))});
    startCamera(n);

    n.controller->collapse();
    EXPECT_TRUE(n.model->pendingDropURLs().isEmpty());
    EXPECT_FALSE(n.camera->isActive());
    EXPECT_FALSE(n.capture->isRunning());
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_EQ(n.panel().geometry(), kExpanded);

    ASSERT_TRUE(n.settled());
    EXPECT_FALSE(n.state().isExpanded());
    EXPECT_EQ(n.state().expansionProgress(), 0);
    EXPECT_FALSE(n.state().showsExpandedContent());
    EXPECT_EQ(n.panel().geometry(), kCompact);
    EXPECT_TRUE(n.panel().isVisible());
}

TEST(NotchWindowControllerTest, HideDuringAnExpandStopsItForGood) {
    NotchHarness n;
    n.controller->show(false);
    n.model->receiveDroppedFiles({n.file(QStringLiteral("a.txt"))});
    n.controller->expand();
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.state().isExpanded(); }, 500));

    n.controller->hide();
    EXPECT_FALSE(n.state().isExpanded());
    EXPECT_FALSE(n.state().isTransitioning());
    EXPECT_FALSE(n.panel().isVisible());
    EXPECT_FALSE(n.controller->isPresented());
    EXPECT_TRUE(n.model->pendingDropURLs().isEmpty());
    EXPECT_GE(n.capture->stopCalls, 1);

    // The cancelled steps never act.
    QTest::qWait(450);
    EXPECT_FALSE(n.state().isExpanded());
    EXPECT_EQ(n.state().expansionProgress(), 0);
    EXPECT_FALSE(n.state().showsExpandedContent());
    EXPECT_FALSE(n.panel().isVisible());
}

TEST(NotchWindowControllerTest, ShowExpandedDuringACollapseWins) {
    NotchHarness n;
    n.controller->show(true);
    n.controller->collapse();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.state().showsExpandedContent(); }, 500));

    n.controller->show(true);
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_TRUE(n.state().showsExpandedContent());
    EXPECT_EQ(n.state().expansionProgress(), 1);
    EXPECT_FALSE(n.state().isTransitioning());
    QTest::qWait(400);
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_EQ(n.state().expansionProgress(), 1);
    EXPECT_EQ(n.panel().geometry(), kExpanded);
}

TEST(NotchWindowControllerTest, ReduceMotionExpandsAndCollapsesInOneStep) {
    ReducedMotion reduced;
    NotchHarness n;
    n.controller->show(false);
    n.controller->expand();
    QTest::qWait(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.state().isTransitioning(); }, 50));
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_EQ(n.state().expansionProgress(), 1);
    EXPECT_TRUE(n.state().showsExpandedContent());
    EXPECT_EQ(n.controller->view().displayedProgress(), 1);

    n.controller->collapse();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.state().isTransitioning(); }, 50));
    EXPECT_FALSE(n.state().isExpanded());
    EXPECT_EQ(n.state().expansionProgress(), 0);
    EXPECT_EQ(n.panel().geometry(), kCompact);
}

TEST(NotchWindowControllerTest, HoverWidensAtOnceAndNarrowsAfterTheDelay) {
    NotchHarness n;
    n.controller->show(false);
    n.controller->setCompactHovered(true);
    EXPECT_TRUE(n.state().isCompactHovered());
    EXPECT_TRUE(n.state().usesExpandedCompactCanvas());
    EXPECT_EQ(n.panel().geometry(), kHovered);

    QSignalSpy hoverChanges(&n.state(), &NotchSurfaceState::isCompactHoveredChanged);
    n.controller->setCompactHovered(true);
    EXPECT_EQ(hoverChanges.count(), 0);

    n.controller->setCompactHovered(false);
    EXPECT_FALSE(n.state().isCompactHovered());
    EXPECT_TRUE(n.state().usesExpandedCompactCanvas());
    EXPECT_EQ(n.panel().geometry(), kHovered);
    QTest::qWait(40);
    EXPECT_EQ(n.panel().geometry(), kHovered);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.state().usesExpandedCompactCanvas(); }, 500));
    EXPECT_EQ(n.panel().geometry(), kCompact);
}

TEST(NotchWindowControllerTest, PointerReturningWithinTheDelayKeepsTheWideCanvas) {
    NotchHarness n;
    n.controller->show(false);
    n.controller->setCompactHovered(true);
    n.controller->setCompactHovered(false);
    QTest::qWait(20);
    n.controller->setCompactHovered(true);
    QTest::qWait(300);
    EXPECT_TRUE(n.state().usesExpandedCompactCanvas());
    EXPECT_EQ(n.panel().geometry(), kHovered);

    // Expanding clears the hover; a hover report while expanded is ignored.
    n.controller->expand();
    EXPECT_FALSE(n.state().isCompactHovered());
    EXPECT_FALSE(n.state().usesExpandedCompactCanvas());
    ASSERT_TRUE(n.settled());
    n.controller->setCompactHovered(true);
    EXPECT_FALSE(n.state().isCompactHovered());
    EXPECT_EQ(n.panel().geometry(), kExpanded);
}

TEST(NotchWindowControllerTest, ClickInAnotherWindowCollapsesOnlyAnExpandedShelf) {
    NotchHarness n;
    QWidget other;
    other.setGeometry(100, 500, 200, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));

    n.controller->show(false);
    QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(n.state().isTransitioning());

    n.controller->show(true);
    n.model->receiveDroppedFiles({n.file(QStringLiteral("a.txt"))});
    // A click inside the notch panel is its own business.
    QTest::mouseClick(n.panel().windowHandle(), Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_FALSE(n.state().isTransitioning());
    EXPECT_FALSE(n.model->pendingDropURLs().isEmpty());

    QTest::mouseClick(other.windowHandle(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_TRUE(n.state().isTransitioning());
    EXPECT_TRUE(n.model->pendingDropURLs().isEmpty());
    ASSERT_TRUE(n.settled());
    EXPECT_FALSE(n.state().isExpanded());
}

TEST(NotchWindowControllerTest, PresentationFollowsTheTwoSwitches) {
    NotchHarness n;
    n.controller->updatePresentation(true, true);
    EXPECT_TRUE(n.controller->isPresented());
    EXPECT_TRUE(n.panel().isVisible());
    EXPECT_EQ(n.panel().geometry(), kCompact);
    EXPECT_FALSE(n.state().isExpanded());

    n.controller->show(true);
    n.model->receiveDroppedFiles({n.file(QStringLiteral("a.txt"))});
    startCamera(n);
    // No housing here: turning the drawn notch off hides the surface.
    n.controller->updatePresentation(true, false);
    EXPECT_FALSE(n.controller->isPresented());
    EXPECT_FALSE(n.panel().isVisible());
    EXPECT_FALSE(n.camera->isActive());
    EXPECT_TRUE(n.model->pendingDropURLs().isEmpty());

    n.controller->updatePresentation(true, true);
    EXPECT_TRUE(n.panel().isVisible());
    EXPECT_FALSE(n.state().isExpanded());
    EXPECT_EQ(n.panel().geometry(), kCompact);
    n.controller->updatePresentation(false, true);
    EXPECT_FALSE(n.panel().isVisible());
}

TEST(NotchWindowControllerTest, ScreenChangesReframeExceptDuringATransition) {
    NotchHarness n;
    n.controller->show(false);
    n.screens->changeScreens({NotchHarness::display(QRect(0, 0, 1920, 1080))});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return n.panel().geometry() == QRect(848, 0, 224, 42); }, 500));

    n.controller->expand();
    ASSERT_TRUE(QTest::qWaitFor([&] { return n.state().isExpanded(); }, 500));
    n.screens->changeScreens({NotchHarness::display(QRect(0, 0, 1280, 800))});
    QTest::qWait(10);
    EXPECT_EQ(n.panel().geometry(), QRect(700, 0, 520, 384));
    ASSERT_TRUE(n.settled());
}

TEST(NotchWindowControllerTest, WithoutAScreenAnExpandEndsAtOnceAndHoverChangesNothing) {
    NotchHarness n;
    n.screens->displays.clear();
    n.controller->setCompactHovered(true);
    EXPECT_FALSE(n.state().isCompactHovered());
    n.controller->expand();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.state().isTransitioning(); }, 100));
    EXPECT_TRUE(n.state().isExpanded());
    EXPECT_EQ(n.state().expansionProgress(), 0);
    EXPECT_FALSE(n.state().showsExpandedContent());
}

TEST(NotchWindowControllerTest, CameraBreakingDownWhileRunningIsReported) {
    NotchHarness n;
    n.controller->show(true);
    startCamera(n);
    n.capture->failWhileRunning(CameraError::Kind::deviceFailed,
                                QStringLiteral("Device or resource busy"));
    EXPECT_FALSE(n.camera->isActive());
    EXPECT_FALSE(n.camera->isStarting());
    EXPECT_EQ(n.model->presentedError(), QStringLiteral("Device or resource busy"));
}

TEST(NotchWindowControllerTest, ScreenWithAHousingKeepsTheNotchWhenTheDrawnOneIsOff) {
    NotchHarness n;
    DisplayScreen notched = NotchHarness::display(QRect(0, 0, 1512, 982));
    notched.safeAreaTopInset = 32;
    notched.auxiliaryTopLeftArea = QRect(0, 0, 660, 32);
    notched.auxiliaryTopRightArea = QRect(852, 0, 660, 32);
    n.screens->displays = {NotchHarness::display(QRect(-1280, 0, 1280, 800)), notched};
    n.screens->cursor = QPoint(-600, 300);

    n.controller->updatePresentation(true, false);
    EXPECT_TRUE(n.controller->hasHardwareNotch());
    EXPECT_TRUE(n.controller->isPresented());
    // 192 between the strips: 220 wide; the band plus 22.
    EXPECT_EQ(n.panel().geometry(), QRect(756 - 110, 0, 220, 54));
}

// Files dragged in from another program land without a click on Plimbo, so nothing made it
// active: the shelf then took no keys and never closed on a click elsewhere. After a drop the
// notch asks the desktop for the focus, as a click on it would give it.
TEST(NotchWindowControllerTest, ADropTakesTheFocusForTheNotchAsAClickWould) {
    NotchHarness n;
    n.controller->show(false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&n.panel()));

    QMimeData data;
    data.setUrls({n.file(QStringLiteral("report.pdf"))});
    const QPointF at(n.panel().width() / 2.0, 10);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&n.controller->view(), &enter);
    EXPECT_TRUE(n.windows->activated.isEmpty()) << "a drag passing over takes nothing";
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&n.controller->view(), &drop);
    ASSERT_TRUE(drop.isAccepted());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !n.windows->activated.isEmpty(); }, 1000));
    EXPECT_EQ(n.windows->activated.last(),
              (RunningApplication{QCoreApplication::applicationPid(), n.panel().winId()}));
    ASSERT_TRUE(n.settled());
    EXPECT_TRUE(n.state().isExpanded());
    // The keys go where a click's expand sends them: Escape on the collapse control closes.
    EXPECT_EQ(n.controller->view().focusedControl(), NotchSurfaceView::NotchControl::collapse);

    // A drop that brings no file is refused and asks for nothing.
    n.windows->activated.clear();
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/"))});
    QDropEvent refused(at, Qt::CopyAction, &web, Qt::LeftButton, {});
    refused.setAccepted(false);
    QCoreApplication::sendEvent(&n.controller->view(), &refused);
    QTest::qWait(50);
    EXPECT_TRUE(n.windows->activated.isEmpty());
}
