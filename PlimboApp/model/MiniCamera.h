#pragma once

#include <QFuture>

namespace plimbo {

// The notch's camera preview as the model drives it. The camera service implements it on a
// QObject whose isActive/isStarting properties the views observe.
class MiniCamera {
public:
    virtual ~MiniCamera() = default;

    virtual bool isActive() const = 0;
    virtual bool isStarting() const = 0;
    // Starts the preview when it is neither active nor starting, else stops it. Fails with a
    // PlimboError whose description is shown to the user.
    virtual QFuture<void> toggle() = 0;
    virtual void stop() = 0;
};

} // namespace plimbo
