#pragma once

namespace plimbo {

// The mini AI panel as the model opens it. The panel sizes itself after the model's
// conversation and pending attachments.
class MiniAIController {
public:
    virtual ~MiniAIController() = default;

    // Sizes the panel for the model's conversation, re-arms its outside-click dismissal,
    // activates the application and makes the panel key and front.
    virtual void show() = 0;
};

} // namespace plimbo
