#pragma once

#include "PulsingDots.h"

namespace plimbo {

// The workbench's waiting dots in a reply's place: 6-pixel dots, 5 apart, 22 high, resting
// at 0.32 opacity and 0.65 scale.
class ChatThinkingIndicator : public PulsingDots {
    Q_OBJECT

public:
    explicit ChatThinkingIndicator(QWidget* parent = nullptr);
};

} // namespace plimbo
