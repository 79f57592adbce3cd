#include "MetricText.h"

#include "SystemMonitorService.h"

#include <cmath>

namespace plimbo {

QString MetricText::percent(double fraction, const QLocale& locale) {
    const double value = std::isfinite(fraction) ? fraction * 100.0 : 0.0;
    // Rounded first, so that -0.4 does not read "-0%".
    const double rounded = std::round(value) == 0.0 ? 0.0 : std::round(value);
    return locale.toString(rounded, 'f', 0) + locale.percent();
}

QString MetricText::memory(const SystemSnapshot& snapshot, const QLocale& locale) {
    if (snapshot.memoryTotal == 0) {
        return QStringLiteral("—");
    }
    return percent(static_cast<double>(snapshot.memoryUsed) /
                       static_cast<double>(snapshot.memoryTotal),
                   locale);
}

QString MetricText::uptime(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0 || seconds > SystemMonitorService::MaxUptime) {
        seconds = 0;
    }
    const auto hours = static_cast<qint64>(std::trunc(seconds / 3600.0));
    if (hours < 49) {
        return QString::number(hours) + QLatin1Char('h');
    }
    return QString::number(hours / 24) + QLatin1Char('d');
}

} // namespace plimbo
