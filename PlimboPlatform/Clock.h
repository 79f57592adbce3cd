#pragma once

#include <QDateTime>

namespace plimbo {

// Wall-clock time, replaceable in tests.
class Clock {
public:
    virtual ~Clock() = default;
    // The current time in UTC.
    virtual QDateTime now() const = 0;
};

} // namespace plimbo
