#pragma once

#include "NotchAnimatedValue.h"
#include "NotchMorphEffect.h"

#include <QHash>
#include <QWidget>

class QStackedWidget;

namespace plimbo {

class NotchActionGrid;
class NotchCameraStage;
class NotchCircleButton;
class NotchDropLandingZone;
class NotchFileTray;
class NotchShelfFooter;
class NotchShelfHeader;
class NotchSurfaceView;
class NotchSystemStrip;
class NotchTextButton;

// The expanded notch: a black silhouette holding the header, the system strip, the action
// grid (or the file tray while the shelf holds files) and the footer. A file drag over the
// surface replaces all of it with the drop landing zone; a starting or running camera
// replaces the rows with the camera stage. The content fades in and out with the state's
// showsExpandedContent; Escape collapses.
class NotchExpandedShelf : public QWidget {
    Q_OBJECT

public:
    enum class Page { normal, camera, landing };

    explicit NotchExpandedShelf(NotchSurfaceView& surface, QWidget* parent = nullptr);

    Page page() const { return m_page; }
    // The tray rather than the grid: the shelf holds files.
    bool showsFileTray() const;
    // The content's opacity as drawn now (0 hidden, 1 shown).
    qreal contentOpacity() const;
    QRect contentRect() const;

    NotchShelfHeader& header() const { return *m_header; }
    NotchSystemStrip& systemStrip() const { return *m_strip; }
    NotchActionGrid& actionGrid() const { return *m_grid; }
    NotchFileTray& fileTray() const { return *m_tray; }
    NotchShelfFooter& footer() const { return *m_footer; }
    NotchCameraStage& cameraStage() const { return *m_stage; }
    NotchDropLandingZone& landingZone() const { return *m_landing; }
    NotchCircleButton& collapseButton() const;
    NotchTextButton& settingsButton() const;
    NotchTextButton& exitButton() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void contentShownChanged();
    void updatePage();
    void updateFileSwap();
    // Fades the page in, growing it from `scaleFrom`; at once with reduce motion.
    void reveal(QWidget* page, qreal scaleFrom, NotchMorphEffect::Anchor anchor,
                NotchAnimatedValue::Motion motion);

    NotchSurfaceView& m_surface;
    QWidget* m_content;
    NotchMorphEffect* m_contentEffect;
    NotchAnimatedValue* m_contentShown;
    QWidget* m_normal;
    QWidget* m_camera;
    NotchShelfHeader* m_header;
    NotchSystemStrip* m_strip;
    QStackedWidget* m_gridOrTray;
    NotchActionGrid* m_grid;
    NotchFileTray* m_tray;
    NotchShelfFooter* m_footer;
    NotchCameraStage* m_stage;
    NotchDropLandingZone* m_landing;
    Page m_page = Page::normal;
    bool m_showedTray = false;
    QHash<QWidget*, NotchAnimatedValue*> m_reveals;
};

} // namespace plimbo
