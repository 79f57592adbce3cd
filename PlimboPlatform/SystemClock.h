#pragma once

#include "Clock.h"

namespace plimbo {

class SystemClock : public Clock {
public:
    QDateTime now() const override;
};

} // namespace plimbo
