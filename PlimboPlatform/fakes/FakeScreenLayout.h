#pragma once

#include "ScreenLayout.h"

namespace plimbo {

// Displays and a pointer set by the test; changeScreens() announces a new layout.
class FakeScreenLayout final : public ScreenLayout {
    Q_OBJECT

public:
    using ScreenLayout::ScreenLayout;

    QList<DisplayScreen> displays;
    std::optional<qsizetype> mainIndex = 0;
    QPoint cursor;

    QList<DisplayScreen> screens() const override { return displays; }
    std::optional<qsizetype> mainScreenIndex() const override {
        if (!mainIndex || *mainIndex < 0 || *mainIndex >= displays.size()) {
            return std::nullopt;
        }
        return mainIndex;
    }
    QPoint cursorPosition() const override { return cursor; }

    void changeScreens(const QList<DisplayScreen>& screens) {
        displays = screens;
        emit changed();
    }
};

} // namespace plimbo
