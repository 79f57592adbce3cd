#pragma once

#include "SystemSnapshot.h"

#include <QLocale>
#include <QString>

namespace plimbo {

// The texts of the overview's live metrics.
class MetricText {
public:
    MetricText() = delete;

    // A fraction as a whole percentage in the locale's style (0.42 -> "42%" in English). A
    // fraction that is not a number counts as 0.
    static QString percent(double fraction, const QLocale& locale = QLocale());
    // Memory in use as a share of the total; "—" while the total is unknown (0).
    static QString memory(const SystemSnapshot& snapshot, const QLocale& locale = QLocale());
    // Whole hours below 49 hours ("48h"), whole days from then on ("2d"). A reading that is
    // not a number, negative or beyond any real uptime counts as 0.
    static QString uptime(double seconds);
};

} // namespace plimbo
