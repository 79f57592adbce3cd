#include "ProcHostStatistics.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace plimbo {

namespace {

// procfs and sysfs files report size 0, so read until the end; they are small. Read directly:
// this runs every 2 s all day, and QFile costs two stats and a 1 MiB buffer per file.
QByteArray readSmallFile(const QString& path) {
    constexpr qsizetype limit = 1024 * 1024;
    constexpr qsizetype chunk = 4096;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    QByteArray data;
    while (data.size() < limit) {
        const qsizetype used = data.size();
        data.resize(used + chunk);
        const ssize_t got = ::read(fd, data.data() + used, chunk);
        if (got < 0 && errno == EINTR) {
            data.resize(used);
            continue;
        }
        if (got < 0) {
            data.clear(); // EIO and the like: a sensor that is powered down
            break;
        }
        data.resize(used + got);
        if (got == 0) {
            break;
        }
    }
    ::close(fd);
    return data;
}

std::optional<qint64> readInteger(const QString& path) {
    bool ok = false;
    const qint64 value = readSmallFile(path).trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

struct Zone {
    qint64 temperature = 0; // millidegrees Celsius
    QList<QPair<QByteArray, qint64>> trips;
};

ThermalLevel judge(const Zone& zone) {
    ThermalLevel level = ThermalLevel::nominal;
    auto raise = [&level](ThermalLevel to) {
        if (static_cast<int>(to) > static_cast<int>(level)) {
            level = to;
        }
    };
    for (const auto& [type, temperature] : zone.trips) {
        if (zone.temperature < temperature) {
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

ProcHostStatistics::ProcHostStatistics(QString root)
    : m_root(std::move(root)) {
    if (!m_root.endsWith(u'/')) {
        m_root += u'/';
    }
}

QString ProcHostStatistics::path(const char* relative) const {
    return m_root + QLatin1String(relative);
}

std::optional<CpuTicks> ProcHostStatistics::parseStat(const QByteArray& text) {
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.isEmpty() || fields.front() != "cpu") {
            continue;
        }
        // user nice system idle iowait irq softirq steal [guest guest_nice]
        if (fields.size() < 5) {
            return std::nullopt;
        }
        CpuTicks ticks;
        const qsizetype counted = std::min<qsizetype>(fields.size(), 9);
        for (qsizetype i = 1; i < counted; ++i) {
            bool ok = false;
            const quint64 value = fields[i].toULongLong(&ok);
            if (!ok) {
                return std::nullopt;
            }
            ticks.total += value;
            if (i == 4 || i == 5) {
                ticks.idle += value;
            }
        }
        return ticks;
    }
    return std::nullopt;
}

std::optional<MemoryUsage> ProcHostStatistics::parseMemInfo(const QByteArray& text) {
    std::optional<quint64> total;
    std::optional<quint64> available;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2) {
            continue;
        }
        bool ok = false;
        const quint64 value = fields[1].toULongLong(&ok);
        if (!ok) {
            continue;
        }
        // Values are in KiB whatever the unit column says ("kB").
        const quint64 bytes = value * 1024;
        if (fields[0] == "MemTotal:") {
            total = bytes;
        } else if (fields[0] == "MemAvailable:") {
            available = bytes;
        }
    }
    if (!total || !available) {
        return std::nullopt;
    }
    return MemoryUsage{*total > *available ? *total - *available : 0, *total};
}

std::optional<double> ProcHostStatistics::parseUptime(const QByteArray& text) {
    const QList<QByteArray> fields = text.simplified().split(' ');
    if (fields.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double seconds = fields.front().toDouble(&ok);
    return ok ? std::optional(seconds) : std::nullopt;
}

CpuTicks ProcHostStatistics::cpuTicks() {
    return parseStat(readSmallFile(path("proc/stat"))).value_or(CpuTicks{});
}

MemoryUsage ProcHostStatistics::memoryUsage() {
    const auto usage = parseMemInfo(readSmallFile(path("proc/meminfo")));
    if (usage) {
        return *usage;
    }
    return {};
}

double ProcHostStatistics::uptime() {
    return parseUptime(readSmallFile(path("proc/uptime"))).value_or(0.0);
}

ThermalLevel ProcHostStatistics::thermalLevel() {
    const QDir folder(path("sys/class/thermal"));
    const QStringList zones =
        folder.entryList({QStringLiteral("thermal_zone*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    bool judged = false;
    ThermalLevel worst = ThermalLevel::nominal;
    for (const QString& name : zones) {
        const QString zonePath = folder.filePath(name) + u'/';
        if (readSmallFile(zonePath + QStringLiteral("mode")).trimmed() == "disabled") {
            continue;
        }
        const auto temperature = readInteger(zonePath + QStringLiteral("temp"));
        if (!temperature) {
            continue; // many sensors answer EIO or ENODATA while powered down
        }
        Zone zone{*temperature, {}};
        const QStringList tripTypes = QDir(zonePath).entryList(
            {QStringLiteral("trip_point_*_type")}, QDir::Files | QDir::System);
        for (const QString& typeFile : tripTypes) {
            const QString prefix = typeFile.chopped(int(std::size("type") - 1));
            const auto tripTemperature = readInteger(zonePath + prefix + QStringLiteral("temp"));
            // Some drivers fill unused trip slots with 0 or negative values.
            if (!tripTemperature || *tripTemperature <= 0) {
                continue;
            }
            zone.trips.append({readSmallFile(zonePath + typeFile).trimmed(), *tripTemperature});
        }
        if (zone.trips.isEmpty()) {
            continue; // nothing to judge this sensor against
        }
        judged = true;
        const ThermalLevel level = judge(zone);
        if (static_cast<int>(level) > static_cast<int>(worst)) {
            worst = level;
        }
    }
    return judged ? worst : ThermalLevel::unknown;
}

} // namespace plimbo
