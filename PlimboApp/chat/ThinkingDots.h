#pragma once

#include "PulsingDots.h"

namespace plimbo {

// The mini assistant's waiting dots: 5-pixel dots, 4 apart, 16 high, resting at 0.35 opacity
// and 0.65 scale.
class ThinkingDots : public PulsingDots {
    Q_OBJECT

public:
    explicit ThinkingDots(QWidget* parent = nullptr);
};

} // namespace plimbo
