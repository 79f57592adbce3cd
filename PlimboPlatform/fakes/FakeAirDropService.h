#pragma once

#include "AirDropService.h"

namespace plimbo {

// Sharing that works while `available` is set; records what was shared.
class FakeAirDropService final : public AirDropService {
public:
    bool available = true;
    QList<QList<QUrl>> shared;

    bool isAvailable() const override { return available; }
    bool canShare(const QList<QUrl>& files) const override { return available && !files.isEmpty(); }
    void share(const QList<QUrl>& files) override { shared.append(files); }
};

} // namespace plimbo
