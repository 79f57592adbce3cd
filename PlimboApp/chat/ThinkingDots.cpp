#include "ThinkingDots.h"

namespace plimbo {

ThinkingDots::ThinkingDots(QWidget* parent)
    : PulsingDots(Look{5, 4, 16, 0.35, 0.65}, parent) {}

} // namespace plimbo
