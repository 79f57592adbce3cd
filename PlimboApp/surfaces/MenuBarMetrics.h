#pragma once

#include "SystemSnapshot.h"

#include <QColor>
#include <QLocale>
#include <QString>

class QPalette;

namespace plimbo {

// What the menu-bar panel shows of the system monitor, worked out from one snapshot and the
// monitor's running flag: the texts, symbols and colours of the uptime, CPU, memory and
// thermal readings and of the monitor's status.
class MenuBarMetrics {
public:
    MenuBarMetrics() = delete;

    // How a reading is coloured; resolved against the palette by color().
    enum class Tone { primary, secondary, accent, positive, warning };

    struct Thermal {
        QString symbol;
        QString label;
        Tone tone;

        bool operator==(const Thermal&) const = default;
    };

    // Memory in use from this fraction on is shown in the warning colour.
    static constexpr double memoryWarningFraction = 0.85;

    // "<h>h <m>m" below a day, "<d>d <h>h" from a day on; a negative, NaN, infinite or
    // unrepresentably large uptime counts as 0.
    static QString uptimeLabel(double uptime);
    // Used over total memory, unclamped; 0 when the total is unknown (0).
    static double memoryFraction(const SystemSnapshot& snapshot);
    // The fraction as a whole percentage in the locale's digits and percent sign ("63%").
    static QString percent(double fraction, const QLocale& locale = QLocale());
    // "—" while the total is unknown, else the percentage in use.
    static QString memoryLabel(const SystemSnapshot& snapshot, const QLocale& locale = QLocale());
    static QString cpuValue(const SystemSnapshot& snapshot, bool running,
                            const QLocale& locale = QLocale());
    static QString memoryValue(const SystemSnapshot& snapshot, bool running,
                               const QLocale& locale = QLocale());
    static QString uptimeValue(const SystemSnapshot& snapshot, bool running);
    static Tone memoryTone(const SystemSnapshot& snapshot, bool running);
    static Tone monitorStatusTone(bool running);
    static Thermal thermal(const QString& thermalState, bool running);

    // The light scheme gets darker greens and oranges that read on a light panel.
    static QColor positiveStatusColor(bool lightScheme);
    static QColor warningStatusColor(bool lightScheme);
    static QColor color(Tone tone, const QPalette& palette);
};

} // namespace plimbo
