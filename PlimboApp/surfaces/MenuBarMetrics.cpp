#include "MenuBarMetrics.h"

#include "SurfaceStyle.h"
#include "PlimboTheme.h"

#include <QPalette>

#include <cmath>

namespace plimbo {

namespace {

const QString kDash = QStringLiteral("—");

} // namespace

QString MenuBarMetrics::uptimeLabel(double uptime) {
    qint64 seconds = 0;
    // Anything past what qint64 holds cannot be a real reading either.
    if (std::isfinite(uptime) && uptime > 0 && uptime < 9.0e18) {
        seconds = static_cast<qint64>(uptime);
    }
    if (seconds < 86400) {
        return QStringLiteral("%1h %2m").arg(seconds / 3600).arg((seconds % 3600) / 60);
    }
    return QStringLiteral("%1d %2h").arg(seconds / 86400).arg((seconds % 86400) / 3600);
}

double MenuBarMetrics::memoryFraction(const SystemSnapshot& snapshot) {
    if (snapshot.memoryTotal == 0) {
        return 0;
    }
    return static_cast<double>(snapshot.memoryUsed) / static_cast<double>(snapshot.memoryTotal);
}

QString MenuBarMetrics::percent(double fraction, const QLocale& locale) {
    if (!std::isfinite(fraction)) {
        return kDash;
    }
    double hundredths = fraction * 100;
    // No "-0%" for a tiny negative reading.
    if (std::abs(hundredths) < 0.5) {
        hundredths = 0;
    }
    return locale.toString(hundredths, 'f', 0) + locale.percent();
}

QString MenuBarMetrics::memoryLabel(const SystemSnapshot& snapshot, const QLocale& locale) {
    if (snapshot.memoryTotal == 0) {
        return kDash;
    }
    return percent(memoryFraction(snapshot), locale);
}

QString MenuBarMetrics::cpuValue(const SystemSnapshot& snapshot, bool running,
                                 const QLocale& locale) {
    return running ? percent(snapshot.cpuUsage, locale) : kDash;
}

QString MenuBarMetrics::memoryValue(const SystemSnapshot& snapshot, bool running,
                                    const QLocale& locale) {
    return running ? memoryLabel(snapshot, locale) : kDash;
}

QString MenuBarMetrics::uptimeValue(const SystemSnapshot& snapshot, bool running) {
    return running ? uptimeLabel(snapshot.uptime) : kDash;
}

MenuBarMetrics::Tone MenuBarMetrics::memoryTone(const SystemSnapshot& snapshot, bool running) {
    if (!running) {
        return Tone::secondary;
    }
    // Judged on the exact fraction, not on the rounded percentage shown.
    return memoryFraction(snapshot) >= memoryWarningFraction ? Tone::warning : Tone::primary;
}

MenuBarMetrics::Tone MenuBarMetrics::monitorStatusTone(bool running) {
    return running ? Tone::positive : Tone::secondary;
}

MenuBarMetrics::Thermal MenuBarMetrics::thermal(const QString& thermalState, bool running) {
    if (!running) {
        return {QStringLiteral("thermometer"), QStringLiteral("Off"), Tone::secondary};
    }
    if (thermalState == QLatin1String("Critical")) {
        return {QStringLiteral("thermometer.high"), thermalState, Tone::warning};
    }
    if (thermalState == QLatin1String("Serious") || thermalState == QLatin1String("Fair")) {
        return {QStringLiteral("thermometer.medium"), thermalState, Tone::warning};
    }
    if (thermalState == QLatin1String("Unknown")) {
        return {QStringLiteral("questionmark.circle"), thermalState, Tone::secondary};
    }
    return {QStringLiteral("thermometer.low"), thermalState, Tone::positive};
}

QColor MenuBarMetrics::positiveStatusColor(bool lightScheme) {
    return lightScheme ? QColor::fromRgbF(0.0f, 0.4f, 0.23f) : PlimboTheme::positive();
}

QColor MenuBarMetrics::warningStatusColor(bool lightScheme) {
    return lightScheme ? QColor::fromRgbF(0.56f, 0.28f, 0.0f) : PlimboTheme::warning();
}

QColor MenuBarMetrics::color(Tone tone, const QPalette& palette) {
    switch (tone) {
    case Tone::primary:
        return SurfaceStyle::primary(palette);
    case Tone::secondary:
        return SurfaceStyle::secondary(palette);
    case Tone::accent:
        return PlimboTheme::accent();
    case Tone::positive:
        return positiveStatusColor(SurfaceStyle::isLightScheme(palette));
    case Tone::warning:
        return warningStatusColor(SurfaceStyle::isLightScheme(palette));
    }
    return SurfaceStyle::primary(palette);
}

} // namespace plimbo
