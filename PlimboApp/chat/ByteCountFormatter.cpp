#include "ByteCountFormatter.h"

#include <array>
#include <cmath>

namespace plimbo {

namespace {

struct Unit {
    const char* name;
    double size;
    int fractionDigits;
};

constexpr std::array<Unit, 6> kUnits{{{"KB", 1e3, 0},
                                      {"MB", 1e6, 1},
                                      {"GB", 1e9, 2},
                                      {"TB", 1e12, 2},
                                      {"PB", 1e15, 2},
                                      {"EB", 1e18, 2}}};

double roundTo(double value, int digits) {
    const double scale = std::pow(10.0, digits);
    return std::round(value * scale) / scale;
}

// Trailing zeros of the fraction are left out ("1 MB", not "1.0 MB").
QString number(double value, int digits, const QLocale& locale) {
    QString text = locale.toString(value, 'f', digits);
    if (digits > 0) {
        const QString point = locale.decimalPoint();
        const QString zero = locale.zeroDigit();
        if (text.contains(point)) {
            while (text.endsWith(zero)) {
                text.chop(zero.size());
            }
            if (text.endsWith(point)) {
                text.chop(point.size());
            }
        }
    }
    return text;
}

} // namespace

QString ByteCountFormatter::fileString(qint64 byteCount, const QLocale& locale) {
    if (byteCount == 0) {
        return QStringLiteral("Zero KB");
    }
    const QString sign = byteCount < 0 ? locale.negativeSign() : QString();
    // Through double so that the smallest qint64 has a magnitude too.
    const double magnitude = std::fabs(static_cast<double>(byteCount));
    if (magnitude < 1000) {
        const qint64 count = static_cast<qint64>(magnitude);
        return sign + locale.toString(count) +
               (count == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
    }
    for (std::size_t i = 0; i < kUnits.size(); ++i) {
        const Unit& unit = kUnits[i];
        const double value = roundTo(magnitude / unit.size, unit.fractionDigits);
        // 999,999 bytes round to 1,000 KB: that is written as 1 MB.
        if (value >= 1000 && i + 1 < kUnits.size()) {
            continue;
        }
        return sign + number(value, unit.fractionDigits, locale) + QLatin1Char(' ') +
               QLatin1String(unit.name);
    }
    return QString();
}

} // namespace plimbo
