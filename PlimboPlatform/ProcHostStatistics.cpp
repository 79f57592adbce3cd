#include "ProcHostStatistics.h"

#include <QFile>
#include <QList>

#include <algorithm>
#include <charconv>

#include <dirent.h>
#include <time.h>

namespace plimbo {

namespace {

// These run every 2 s all day: the parsers look at the text in place instead of splitting it
// into copies.
QByteArrayView nextLine(QByteArrayView& rest) {
    const qsizetype end = rest.indexOf('\n');
    const QByteArrayView line = end < 0 ? rest : rest.first(end);
    rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
    return line;
}

// The next whitespace-separated field of `rest`, empty when none is left.
QByteArrayView nextField(QByteArrayView& rest) {
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r';
    };
    qsizetype begin = 0;
    while (begin < rest.size() && isSpace(rest[begin])) {
        ++begin;
    }
    qsizetype end = begin;
    while (end < rest.size() && !isSpace(rest[end])) {
        ++end;
    }
    const QByteArrayView field = rest.sliced(begin, end - begin);
    rest = rest.sliced(end);
    return field;
}

// A field of decimal digits; none for anything else (a sign, a fraction, trailing text).
std::optional<quint64> unsignedIn(QByteArrayView field) {
    quint64 value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.isEmpty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<qint64> integerIn(QByteArrayView text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// The names in `folder` that start with `prefix`. Read directly: the zones are listed again every
// few minutes all day, and a QDir listing with a name filter costs a millisecond.
QStringList namesIn(const QString& folder, const char* prefix) {
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (QByteArrayView(entry->d_name).startsWith(prefix)) {
            names.append(QFile::decodeName(entry->d_name));
        }
    }
    ::closedir(dir);
    return names;
}

// For the files read once when the zones are listed.
QByteArray readOnce(const QString& path) {
    return ProcFile(path).read().trimmed().toByteArray();
}

ThermalLevel judge(qint64 temperature, const QList<QPair<QByteArray, qint64>>& trips) {
    ThermalLevel level = ThermalLevel::nominal;
    auto raise = [&level](ThermalLevel to) {
        if (static_cast<int>(to) > static_cast<int>(level)) {
            level = to;
        }
    };
    for (const auto& [type, tripTemperature] : trips) {
        if (temperature < tripTemperature) {
            continue;
        }
        if (type == "critical" || type == "hot") {
            raise(ThermalLevel::critical);
        } else if (type == "passive") {
            raise(ThermalLevel::serious);
        } else if (type == "active") {
            raise(ThermalLevel::fair);
        }
    }
    return level;
}

} // namespace

ProcHostStatistics::ProcHostStatistics(QString root, std::chrono::milliseconds zoneListLifetime)
    : m_root(root.endsWith(u'/') ? std::move(root) : root + u'/')
    , m_zoneListLifetime(zoneListLifetime)
    , m_stat(path("proc/stat"))
    , m_memInfo(path("proc/meminfo"))
    , m_uptime(path("proc/uptime")) {}

QString ProcHostStatistics::path(const char* relative) const {
    return m_root + QLatin1String(relative);
}

std::optional<CpuTicks> ProcHostStatistics::parseStat(QByteArrayView text) {
    for (QByteArrayView rest = text; !rest.isEmpty();) {
        QByteArrayView fields = nextLine(rest);
        if (nextField(fields) != "cpu") {
            continue;
        }
        // user nice system idle iowait irq softirq steal [guest guest_nice]
        CpuTicks ticks;
        int counted = 0;
        for (QByteArrayView field = nextField(fields); !field.isEmpty() && counted < 8;
             field = nextField(fields)) {
            const std::optional<quint64> value = unsignedIn(field);
            if (!value) {
                return std::nullopt;
            }
            ++counted;
            ticks.total += *value;
            if (counted == 4 || counted == 5) {
                ticks.idle += *value;
            }
        }
        if (counted < 4) {
            return std::nullopt;
        }
        return ticks;
    }
    return std::nullopt;
}

std::optional<MemoryUsage> ProcHostStatistics::parseMemInfo(QByteArrayView text) {
    std::optional<quint64> total;
    std::optional<quint64> available;
    for (QByteArrayView rest = text; !rest.isEmpty() && !(total && available);) {
        QByteArrayView fields = nextLine(rest);
        const QByteArrayView key = nextField(fields);
        if (key != "MemTotal:" && key != "MemAvailable:") {
            continue;
        }
        const std::optional<quint64> value = unsignedIn(nextField(fields));
        if (!value) {
            continue;
        }
        // Values are in KiB whatever the unit column says ("kB").
        (key == "MemTotal:" ? total : available) = *value * 1024;
    }
    if (!total || !available) {
        return std::nullopt;
    }
    return MemoryUsage{*total > *available ? *total - *available : 0, *total};
}

std::optional<double> ProcHostStatistics::parseUptime(QByteArrayView text) {
    QByteArrayView rest = text;
    bool ok = false;
    const double seconds = nextField(rest).toDouble(&ok);
    return ok ? std::optional(seconds) : std::nullopt;
}

CpuTicks ProcHostStatistics::cpuTicks() {
    return parseStat(m_stat.read()).value_or(CpuTicks{});
}

MemoryUsage ProcHostStatistics::memoryUsage() {
    const auto usage = parseMemInfo(m_memInfo.read());
    if (usage) {
        return *usage;
    }
    return {};
}

double ProcHostStatistics::uptime() {
    // On the live system /proc/uptime is the boot-time clock written out as text; the clock
    // itself is read without a system call.
    if (m_root == u"/") {
        timespec now{};
        if (clock_gettime(CLOCK_BOOTTIME, &now) == 0) {
            return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
        }
    }
    return parseUptime(m_uptime.read()).value_or(0.0);
}

void ProcHostStatistics::listThermalZones() {
    m_zones.clear();
    const QString folder = path("sys/class/thermal/");
    // Cooling devices live beside the zones; an entry that is no zone folder has no trips.
    for (const QString& name : namesIn(folder, "thermal_zone")) {
        const QString zonePath = folder + name + u'/';
        if (readOnce(zonePath + QStringLiteral("mode")) == "disabled") {
            continue;
        }
        ThermalZone zone{ProcFile(zonePath + QStringLiteral("temp")), {}};
        for (const QString& typeFile : namesIn(zonePath, "trip_point_")) {
            if (!typeFile.endsWith(QLatin1String("_type"))) {
                continue;
            }
            const QString prefix = typeFile.chopped(int(std::size("type") - 1));
            const auto tripTemperature =
                integerIn(readOnce(zonePath + prefix + QStringLiteral("temp")));
            // Some drivers fill unused trip slots with 0 or negative values.
            if (!tripTemperature || *tripTemperature <= 0) {
                continue;
            }
            zone.trips.append({readOnce(zonePath + typeFile), *tripTemperature});
        }
        if (!zone.trips.isEmpty()) { // else there is nothing to judge this sensor against
            m_zones.push_back(std::move(zone));
        }
    }
}

ThermalLevel ProcHostStatistics::thermalLevel() {
    // Zones, modes and trip points hardly ever change, and listing them costs dozens of file
    // reads on a laptop: only the temperatures are read on every sample.
    const auto now = std::chrono::steady_clock::now();
    if (!m_zonesListedAt || now - *m_zonesListedAt >= m_zoneListLifetime) {
        listThermalZones();
        m_zonesListedAt = now;
    }
    bool judged = false;
    ThermalLevel worst = ThermalLevel::nominal;
    for (ThermalZone& zone : m_zones) {
        const auto temperature = integerIn(zone.temperature.read());
        if (!temperature) {
            continue; // many sensors answer EIO or ENODATA while powered down
        }
        judged = true;
        const ThermalLevel level = judge(*temperature, zone.trips);
        if (static_cast<int>(level) > static_cast<int>(worst)) {
            worst = level;
        }
    }
    return judged ? worst : ThermalLevel::unknown;
}

} // namespace plimbo
