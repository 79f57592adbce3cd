#pragma once

#include <optional>

namespace plimbo {

// The notch panel's controller as the model drives it.
class NotchController {
public:
    virtual ~NotchController() = default;

    // Re-measures the preferred screen (updating hasHardwareNotch()) and applies the frame for
    // that expansion; none keeps the current one. Does nothing while a transition runs.
    virtual void refreshGeometry(std::optional<bool> expanded) = 0;
    // Presents the panel at once in that shape.
    virtual void show(bool expanded) = 0;
    // Hides the panel collapsed; also stops the mini camera and empties the model's file shelf.
    virtual void hide() = 0;
    // True while the panel is meant to be on screen.
    virtual bool isPresented() const = 0;
    // Marks the panel presented and orders it front without activating the application; the
    // shape is not changed.
    virtual void raise() = 0;
    // Whether the screen last measured has a camera housing (never on Linux displays).
    virtual bool hasHardwareNotch() const = 0;
};

} // namespace plimbo
