#include "NotchMetrics.h"

#include "ChatStyle.h"
#include "PlimboTheme.h"

#include <cmath>

namespace plimbo {

QList<NotchMetrics::Cell> NotchMetrics::cells(const SystemSnapshot& snapshot, bool monitorRunning,
                                              const QLocale& locale) {
    const QColor white(Qt::white);
    return {
        {QStringLiteral("CPU"), QStringLiteral("cpu"),
         monitorRunning ? percent(snapshot.cpuUsage, locale) : placeholder, PlimboTheme::accent()},
        {QStringLiteral("Memory"), QStringLiteral("memorychip"),
         monitorRunning ? memoryLabel(snapshot, locale) : placeholder,
         memoryFraction(snapshot) >= memoryWarningFraction ? PlimboTheme::warning() : white},
        {QStringLiteral("Thermal"), thermalSymbol(snapshot.thermalState),
         monitorRunning ? snapshot.thermalState : QStringLiteral("Off"),
         thermalColor(snapshot.thermalState, monitorRunning)},
        {QStringLiteral("Uptime"), QStringLiteral("clock"),
         monitorRunning ? uptimeLabel(snapshot.uptime) : placeholder, white},
    };
}

QString NotchMetrics::percent(double fraction, const QLocale& locale) {
    if (!std::isfinite(fraction)) {
        fraction = 0;
    }
    return locale.toString(std::llround(fraction * 100)) + locale.percent();
}

double NotchMetrics::memoryFraction(const SystemSnapshot& snapshot) {
    if (snapshot.memoryTotal == 0) {
        return 0;
    }
    return static_cast<double>(snapshot.memoryUsed) / static_cast<double>(snapshot.memoryTotal);
}

QString NotchMetrics::memoryLabel(const SystemSnapshot& snapshot, const QLocale& locale) {
    if (snapshot.memoryTotal == 0) {
        return placeholder;
    }
    return percent(memoryFraction(snapshot), locale);
}

QString NotchMetrics::thermalSymbol(const QString& thermalState) {
    if (thermalState == QLatin1String("Critical")) {
        return QStringLiteral("thermometer.high");
    }
    if (thermalState == QLatin1String("Fair") || thermalState == QLatin1String("Serious")) {
        return QStringLiteral("thermometer.medium");
    }
    return QStringLiteral("thermometer.low");
}

QColor NotchMetrics::thermalColor(const QString& thermalState, bool monitorRunning) {
    if (!monitorRunning || thermalState == QLatin1String("Unknown")) {
        return ChatStyle::white(0.55);
    }
    if (thermalState == QLatin1String("Fair") || thermalState == QLatin1String("Serious") ||
        thermalState == QLatin1String("Critical")) {
        return PlimboTheme::warning();
    }
    return PlimboTheme::positive();
}

QString NotchMetrics::uptimeLabel(double seconds) {
    const qint64 whole =
        std::isfinite(seconds) && seconds > 0 ? static_cast<qint64>(std::floor(seconds)) : 0;
    const qint64 hours = (whole % 86400) / 3600;
    if (whole >= 86400) {
        return QStringLiteral("%1d %2h").arg(whole / 86400).arg(hours);
    }
    return QStringLiteral("%1h").arg(hours);
}

} // namespace plimbo
