#pragma once

namespace plimbo {

// The mini assistant panel as the model drives it. Its size follows the model: 420 wide,
// 112 high without a conversation and 410 with one, 86 more while attachments are pending.
class MiniAssistantController {
public:
    virtual ~MiniAssistantController() = default;

    // Sizes the panel for the model's conversation, re-arms its outside-click dismissal,
    // activates the application and makes the panel key and front.
    virtual void show() = 0;
    // Sizes and places the panel for a conversation (true) or an empty one (false), visible
    // or not; reads the model's pending attachments for the extra height.
    virtual void setFrame(bool conversation) = 0;
    virtual void startOutsideClickMonitoring() = 0;
    virtual void stopOutsideClickMonitoring() = 0;
    virtual bool isVisible() const = 0;
};

} // namespace plimbo
