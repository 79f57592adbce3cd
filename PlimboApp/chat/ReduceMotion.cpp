#include "ReduceMotion.h"

namespace plimbo {

ReduceMotion& ReduceMotion::instance() {
    static ReduceMotion* motion = new ReduceMotion();
    return *motion;
}

void ReduceMotion::setEnabled(bool enabled) {
    if (m_enabled != enabled) {
        m_enabled = enabled;
        emit enabledChanged(enabled);
    }
}

} // namespace plimbo
