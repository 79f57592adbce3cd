#pragma once

#include "MiniAIController.h"
#include "OutsideClickMonitors.h"
#include "PlimboNotchPanel.h"

#include <QPointer>

#include <functional>
#include <memory>

class QScreen;
class QWindow;

namespace plimbo {

class ChatComposer;
class ChatList;
class MiniAIView;

// The mini AI "Plimbo AI": a borderless panel centred at the bottom of the screen under the
// pointer, 420 wide, whose height follows the conversation and the draft's pending attachments
// (it resizes itself whenever they change). It closes on clicks outside it and its own windows,
// except while its view's file dialog is open; it never touches the focus coordinator. Once the
// chat features are gone (with their model) it does nothing.
class MiniAIWindowController final : public MiniAIController {
public:
    // Builds the panel's content around the view's three closures (grow before the first turn,
    // open all chats, close).
    using ContentFactory = std::function<MiniAIView*(std::function<void()> onBeginConversation,
                                                     std::function<void()> onOpenAllChats,
                                                     std::function<void()> onClose)>;

    // `showAllChats` opens the workbench after the panel closed.
    MiniAIWindowController(ChatList& chats, ChatComposer& composer,
                           std::function<void()> showAllChats, const ContentFactory& makeContent);
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

    QPointer<ChatList> m_chats;
    QPointer<ChatComposer> m_composer;
    std::function<void()> m_showAllChats;
    std::unique_ptr<PlimboNotchPanel> m_window;
    OutsideClickMonitors m_monitors;
    // Whether the open file dialog stopped the monitors (the panel was shown then).
    bool m_pausedForDialog = false;
};

} // namespace plimbo
