#pragma once

#include <QList>
#include <QUrl>

namespace plimbo {

// Sending files to a nearby device.
class AirDropService {
public:
    virtual ~AirDropService() = default;

    // Whether this system can send to nearby devices at all.
    virtual bool isAvailable() const = 0;
    virtual bool canShare(const QList<QUrl>& files) const = 0;
    // Hands the files over; the transfer goes on by itself.
    virtual void share(const QList<QUrl>& files) = 0;
};

} // namespace plimbo
