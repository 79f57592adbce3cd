#pragma once

#include "MiniAIController.h"
#include "OutsideClickMonitors.h"
#include "PlimboNotchPanel.h"

#include <QPointer>

#include <memory>

class QScreen;
class QWindow;

namespace plimbo {

class AppModel;

// The mini AI "Plimbo AI": a borderless panel centred at the bottom of the screen under the
// pointer, 420 wide, whose height follows the model's conversation and pending attachments (it
// resizes itself whenever the pending attachments change). It closes on clicks outside it and
// its own windows, except while its view's file dialog is open; it never touches the focus
// coordinator.
class MiniAIWindowController final : public MiniAIController {
public:
    explicit MiniAIWindowController(AppModel& model);
    ~MiniAIWindowController() override;

    MiniAIWindowController(const MiniAIWindowController&) = delete;
    MiniAIWindowController& operator=(const MiniAIWindowController&) = delete;

    void show() override;
    // Sizes and places the panel for a conversation (true) or an empty one (false), visible
    // or not; reads the model's pending attachments for the extra height.
    void setFrame(bool conversation);
    void startOutsideClickMonitoring();
    void stopOutsideClickMonitoring();
    bool isVisible() const;

    // The view's callbacks.
    void beginConversation();
    void openAllChats();
    void close();

    PlimboNotchPanel* window() const { return m_window.get(); }
    const OutsideClickMonitors& monitors() const { return m_monitors; }
    // The panel itself, or a dialog, sheet or popup that belongs to it.
    bool isOwnedWindow(const QWindow* window) const;
    // The screen under the pointer, else the primary screen, else the first one.
    static QScreen* preferredScreen();

private:
    void dismiss();
    // The view's file dialog is not one of the panel's windows: a click in it would close
    // the panel, so dismissal pauses while it is open.
    void pauseDismissal();
    void resumeDismissal();

    QPointer<AppModel> m_model;
    std::unique_ptr<PlimboNotchPanel> m_window;
    OutsideClickMonitors m_monitors;
    // Whether the open file dialog stopped the monitors (the panel was shown then).
    bool m_pausedForDialog = false;
};

} // namespace plimbo
