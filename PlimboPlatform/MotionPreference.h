#pragma once

#include <QObject>

namespace plimbo {

// Whether the user asked the desktop to reduce motion (animations off). Main thread.
class MotionPreference : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool reducesMotion() const = 0;

signals:
    // The desktop setting changed, or its first answer arrived.
    void reducesMotionChanged(bool reduces);
};

} // namespace plimbo
