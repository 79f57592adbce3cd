#pragma once

#include "DisplayScreen.h"

#include <QList>
#include <QObject>
#include <QPoint>

#include <optional>

namespace plimbo {

// The attached displays and the pointer. Main thread.
class ScreenLayout : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // In the system's order; empty without any display.
    virtual QList<DisplayScreen> screens() const = 0;
    // Index into screens() of the main display, when there is one.
    virtual std::optional<qsizetype> mainScreenIndex() const = 0;
    virtual QPoint cursorPosition() const = 0;

signals:
    // A display was attached or detached, or one changed its size or position.
    void changed();
};

} // namespace plimbo
