#pragma once

#include "FloatingPanel.h"

namespace plimbo {

// The borderless, shadowless panel of the mini assistant and the notch surface. It takes the
// keyboard focus when shown, so its composer and controls can be typed into, and is never
// moved by dragging.
class PlimboNotchPanel : public FloatingPanel {
    Q_OBJECT

public:
    explicit PlimboNotchPanel(QWidget* parent = nullptr);
};

} // namespace plimbo
