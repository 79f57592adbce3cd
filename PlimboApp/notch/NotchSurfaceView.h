#pragma once

#include "NotchFeatures.h"

#include <QSizeF>
#include <QWidget>

#include <functional>
#include <optional>

class QMessageBox;

namespace plimbo {

class MiniCameraService;
class NotchAnimatedValue;
class NotchCompactSurface;
class NotchExpandedShelf;
class NotchMorphEffect;
class NotchSurfaceState;
class PresentedErrorAlert;

// Everything the notch panel shows, drawn from the notch state that its window controller
// writes: the compact cap alone while collapsed, and while expanding, expanded or collapsing
// a canvas that grows the shelf out of the cap. It also takes file drops on the whole
// surface and shows the error message. It never writes the state: every change of
// shape goes through the four callbacks.
class NotchSurfaceView : public QWidget {
    Q_OBJECT

public:
    struct Callbacks {
        std::function<void()> onToggle;
        std::function<void()> onExpand;
        std::function<void()> onCollapse;
        // Whether the pointer is over the compact cap.
        std::function<void(bool)> onCompactHover;
        // Files were dropped and put on the shelf.
        std::function<void()> onFilesDropped;
    };

    // The controls that can hold keyboard focus.
    enum class NotchControl { cap, collapse, settings, exit };

    NotchSurfaceView(NotchFeatures features, NotchSurfaceState& state, Callbacks callbacks,
                     QWidget* parent = nullptr);

    const NotchFeatures& features() const { return m_features; }
    NotchSurfaceState& state() const { return m_state; }
    void onToggle() const;
    void onExpand() const;
    void onCollapse() const;
    void onCompactHover(bool hovered) const;

    // --- view-local state
    bool isCapHovered() const { return m_isCapHovered; }
    void setCapHovered(bool hovered);
    bool isDropTargeted() const { return m_isDropTargeted; }
    std::optional<NotchControl> focusedControl() const;
    void setFocusedControl(NotchControl control);

    // --- camera
    // The camera preview service, when the notch has one of this kind.
    MiniCameraService* camera() const;
    // The camera is starting or running: the shelf shows the camera stage.
    bool cameraPresentationActive() const;

    // --- geometry, the same numbers the controller frames the panel with
    qreal collapsedHeight() const;
    qreal compactCanvasWidth() const;
    QSizeF expandedShelfSize() const;

    // --- parts, for the controller and tests
    NotchCompactSurface& compactSurface() const { return *m_compact; }
    NotchExpandedShelf& expandedShelf() const { return *m_shelf; }
    // The expansion the canvas draws at this moment (it follows the state's target).
    qreal displayedProgress() const;
    // The open error alert, if any.
    QMessageBox* alert() const;
    // The canvas (shelf growing out of the cap) rather than the compact cap alone.
    bool showsCanvas() const;

signals:
    void capHoveredChanged();
    void dropTargetedChanged();
    void cameraPresentationChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setDropTargeted(bool targeted);
    void expansionProgressChanged();
    void expandedChanged();
    void updateLayout();
    void updateAccessibility();

    NotchFeatures m_features;
    NotchSurfaceState& m_state;
    Callbacks m_callbacks;
    bool m_isCapHovered = false;
    bool m_isDropTargeted = false;
    NotchAnimatedValue* m_progress;
    NotchCompactSurface* m_compact;
    NotchExpandedShelf* m_shelf;
    NotchMorphEffect* m_shelfEffect;
    NotchMorphEffect* m_compactEffect;
    PresentedErrorAlert* m_alert;
};

} // namespace plimbo
