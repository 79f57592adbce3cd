#pragma once

#include "FloatingPanel.h"
#include "OutsideClickMonitors.h"
#include "QuickPanelController.h"

#include <QSize>
#include <QString>

#include <memory>

class QWindow;

namespace plimbo {

class GlobalSurfaceFocusCoordinator;

// What the command palette, the launcher and the clipboard panel share: a floating panel built
// once and only ever hidden, outside-click dismissal while shown, and the two ways of closing:
// by the panel's own action, which gives the focus back to the application that was in front
// before, or by a click elsewhere, which forgets that application.
class QuickPanelWindowController : public QuickPanelController {
public:
    ~QuickPanelWindowController() override;

    QuickPanelWindowController(const QuickPanelWindowController&) = delete;
    QuickPanelWindowController& operator=(const QuickPanelWindowController&) = delete;

    // Places the panel, re-arms its monitors, activates it and brings it to the front.
    void show() override;
    void stopOutsideClickMonitoring() override;
    void hide() override;
    void startOutsideClickMonitoring();

    // The view's own dismissal (Escape, an item chosen): hides and hands the focus back.
    void dismiss();
    // A click outside the panel: hides and forgets the originating application.
    void dismissForOutsideClick();

    FloatingPanel* window() const { return m_window.get(); }
    const OutsideClickMonitors& monitors() const { return m_monitors; }
    // A click in this window (or in a popup or dialog that belongs to it) keeps the panel open.
    bool isOwnedWindow(const QWindow* window) const;

protected:
    QuickPanelWindowController(GlobalSurfaceFocusCoordinator& focusCoordinator, const QSize& size,
                               const QString& title);

    void setView(QWidget* view);
    GlobalSurfaceFocusCoordinator& focusCoordinator() const { return m_focusCoordinator; }
    // Moves the panel to where it shows; may leave it where it is.
    virtual void place(QWidget& window) = 0;

private:
    GlobalSurfaceFocusCoordinator& m_focusCoordinator;
    std::unique_ptr<FloatingPanel> m_window;
    OutsideClickMonitors m_monitors;
};

} // namespace plimbo
