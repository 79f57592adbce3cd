#pragma once

#include "SystemSnapshot.h"

#include <QColor>
#include <QList>
#include <QLocale>
#include <QString>

namespace plimbo {

// How the shelf's system strip words the monitor's latest sample.
class NotchMetrics {
public:
    NotchMetrics() = delete;

    struct Cell {
        QString title;
        QString symbol;
        QString value;
        QColor color;

        bool operator==(const Cell&) const = default;
    };

    // CPU, Memory, Thermal and Uptime, in that order.
    static QList<Cell> cells(const SystemSnapshot& snapshot, bool monitorRunning,
                             const QLocale& locale = QLocale());

    // A whole percentage in the locale's digits ("24%").
    static QString percent(double fraction, const QLocale& locale = QLocale());
    // 0 without a memory total.
    static double memoryFraction(const SystemSnapshot& snapshot);
    static QString memoryLabel(const SystemSnapshot& snapshot, const QLocale& locale = QLocale());
    static QString thermalSymbol(const QString& thermalState);
    static QColor thermalColor(const QString& thermalState, bool monitorRunning);
    // "1d 1h" from a day on, "23h" below; negative and non-finite seconds count as 0.
    static QString uptimeLabel(double seconds);

    static inline const QString placeholder = QStringLiteral("—");
    static constexpr double memoryWarningFraction = 0.85;
};

} // namespace plimbo
