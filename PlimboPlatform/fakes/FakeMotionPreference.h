#pragma once

#include "MotionPreference.h"

namespace plimbo {

// A motion setting the test changes by hand.
class FakeMotionPreference final : public MotionPreference {
    Q_OBJECT

public:
    bool reducesMotion() const override { return m_reduces; }
    void setReducesMotion(bool reduces) {
        if (reduces != m_reduces) {
            m_reduces = reduces;
            emit reducesMotionChanged(reduces);
        }
    }

private:
    bool m_reduces = false;
};

} // namespace plimbo
