#include "ReduceMotion.h"

#include "MotionPreference.h"

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

void ReduceMotion::follow(MotionPreference& preference) {
    setEnabled(preference.reducesMotion());
    connect(&preference, &MotionPreference::reducesMotionChanged, this, &ReduceMotion::setEnabled);
}

} // namespace plimbo
