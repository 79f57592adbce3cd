#pragma once

#include "AirDropService.h"

namespace plimbo {

// Linux has no AirDrop: nothing can be shared, and callers report so.
class LinuxAirDropService final : public AirDropService {
public:
    bool isAvailable() const override { return false; }
    bool canShare(const QList<QUrl>&) const override { return false; }
    void share(const QList<QUrl>&) override {}
};

} // namespace plimbo
