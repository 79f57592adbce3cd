#include "SystemClock.h"

namespace plimbo {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTimeUtc();
}

} // namespace plimbo
