#pragma once

#include "NotchController.h"
#include "NotchFeatures.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class QWindow;

namespace plimbo {

class DesktopActions;
class GlobalClickMonitor;
class LocalClickMonitor;
class NotchSurfaceState;
class NotchSurfaceView;
class PlimboNotchPanel;
class ScreenLayout;
class WindowActivation;

// Owns the notch panel and its state for the whole run. The model shows, hides and presents
// it; the notch views ask it to toggle, expand, collapse and follow the pointer's hover. It
// runs the timed expand and collapse transitions (one at a time: a request during one is
// dropped) and the hover canvas that outlives the pointer by 180 ms, keeps the panel measured
// against the preferred screen, and collapses the shelf on a click elsewhere. Main thread.
class NotchWindowController : public QObject, public NotchController {
    Q_OBJECT

public:
    // Steps of the transitions, in milliseconds.
    static constexpr int expandSettleDelay = 12;
    static constexpr int expandGrowDuration = 220;
    static constexpr int expandRevealDuration = 130;
    static constexpr int collapseFadeDuration = 85;
    static constexpr int collapseShrinkDuration = 245;
    static constexpr int hoverShrinkDelay = 180;
    static constexpr int reassertDelay = 90;

    // Without a screen layout the desktop's own screens are used. The panel is not shown.
    // Without a window activation the desktop's own (X11) is asked for the focus after a drop.
    explicit NotchWindowController(NotchFeatures features,
                                   std::shared_ptr<ScreenLayout> screens = nullptr,
                                   std::shared_ptr<WindowActivation> windows = nullptr,
                                   QObject* parent = nullptr);
    ~NotchWindowController() override;

    // --- driven by the model
    void refreshGeometry(std::optional<bool> expanded) override;
    // At once, without animation; a running transition is cancelled.
    void show(bool expanded) override;
    // Also stops the camera and empties the file shelf.
    void hide() override;
    bool isPresented() const override { return m_isPresented; }
    void raise() override;
    bool hasHardwareNotch() const override;
    // Presents the panel when the surface is on and the drawn notch is allowed (or the screen
    // has a housing); hides it otherwise.
    void updatePresentation(bool surfaceEnabled, bool virtualNotchEnabled);

    // --- the view's four callbacks
    void toggle();
    void expand();
    void collapse();
    void setCompactHovered(bool hovered);

    NotchSurfaceState& state() const { return *m_state; }
    PlimboNotchPanel& panel() const { return *m_panel; }
    NotchSurfaceView& view() const { return *m_view; }
    ScreenLayout& screens() const { return *m_screens; }
    bool isTransitionRunning() const { return m_transitionID.has_value(); }

    // The compact cap's frame (global coordinates) while the notch is on screen, whatever its
    // shape now: where centred windows must not go. None while hidden.
    std::optional<QRect> compactStrip() const;

    // The frame for a shape on the preferred screen; writes that screen's measurements into
    // the state. A missing hover value takes the state's current canvas. None without screens.
    std::optional<QRect> targetFrame(bool expanded, std::optional<bool> compactHovered);

private:
    void setExpanded(bool expanded);
    void runExpand(const QUuid& id);
    void runCollapse(const QUuid& id);
    // Runs `step` after `delay` if the transition is still the current one.
    void after(int delay, const QUuid& id, std::function<void()> step);
    bool transitionIsCurrent(const QUuid& id) const;
    void finishTransition(const QUuid& id);
    void cancelTransition();
    void clearCompactHover();
    void shrinkHoverCanvas();
    void reassertVisibility();
    void stopCameraAndEmptyShelf();
    void setFrame(const QRect& frame);
    void showRaised();
    void showRaisedAndActive();
    void localClick(QWindow* window);
    void takeFocusAfterDrop();

    std::unique_ptr<NotchSurfaceState> m_state;
    // Null once the model that holds them is gone.
    QPointer<DesktopActions> m_desktop;
    QPointer<PresentedError> m_error;
    MiniCamera* m_camera;
    std::shared_ptr<ScreenLayout> m_screens;
    std::shared_ptr<WindowActivation> m_windows;
    std::unique_ptr<PlimboNotchPanel> m_panel;
    NotchSurfaceView* m_view = nullptr;
    std::unique_ptr<GlobalClickMonitor> m_globalMouseMonitor;
    std::unique_ptr<LocalClickMonitor> m_localMouseMonitor;
    QTimer m_compactHoverTimer;
    std::optional<QUuid> m_transitionID;
    bool m_isPresented = false;
};

} // namespace plimbo
