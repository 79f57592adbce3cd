#pragma once

#include "MiniAssistantController.h"
#include "OutsideClickMonitors.h"
#include "PlimboNotchPanel.h"

#include <QPointer>

#include <memory>

class QScreen;
class QWindow;

namespace plimbo {

class AppModel;

// The mini assistant "Plimbo AI": a borderless panel centred at the bottom of the screen under
// the pointer, 420 wide, whose height follows the model's conversation and pending attachments.
// It closes on clicks outside it and its own windows; it never touches the focus coordinator.
class MiniAIWindowController final : public MiniAssistantController {
public:
    explicit MiniAIWindowController(AppModel& model);
    ~MiniAIWindowController() override;

    MiniAIWindowController(const MiniAIWindowController&) = delete;
    MiniAIWindowController& operator=(const MiniAIWindowController&) = delete;

    void show() override;
    void setFrame(bool conversation) override;
    void startOutsideClickMonitoring() override;
    void stopOutsideClickMonitoring() override;
    bool isVisible() const override;

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

    QPointer<AppModel> m_model;
    std::unique_ptr<PlimboNotchPanel> m_window;
    OutsideClickMonitors m_monitors;
};

} // namespace plimbo
