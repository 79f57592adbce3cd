#include "PlimboNotchPanel.h"

namespace plimbo {

PlimboNotchPanel::PlimboNotchPanel(QWidget* parent)
    : FloatingPanel(parent) {
    setWindowFlag(Qt::NoDropShadowWindowHint);
    setMovableByBackground(false);
}

} // namespace plimbo
