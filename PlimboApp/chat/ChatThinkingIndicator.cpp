#include "ChatThinkingIndicator.h"

namespace plimbo {

ChatThinkingIndicator::ChatThinkingIndicator(QWidget* parent)
    : PulsingDots(Look{6, 5, 22, 0.32, 0.65}, parent) {}

} // namespace plimbo
