#include "ModuleRegistry.h"

#include "MainThreadContinuation.h"
#include "SettingsStore.h"

#include <QCollator>
#include <QCoreApplication>
#include <QLocale>
#include <QPointer>

#include <algorithm>
#include <optional>

namespace plimbo {

namespace {

QFuture<void> finishedFuture() {
    QPromise<void> promise;
    promise.start();
    promise.finish();
    return promise.future();
}

std::shared_ptr<QPromise<void>> startedPromise() {
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    return promise;
}

std::optional<ModuleHealth> resultOf(const QFuture<ModuleHealth>& future) {
    if (future.isCanceled() || future.resultCount() == 0) {
        return std::nullopt;
    }
    return future.result();
}

} // namespace

ModuleRegistry::ModuleRegistry(SettingsStore& defaults, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults) {}

ModuleRegistry::~ModuleRegistry() = default;

QString ModuleRegistry::enabledKey(const QString& id) {
    return QStringLiteral("modules.") + id + QStringLiteral(".enabled");
}

int ModuleRegistry::indexOf(const QString& id) const {
    for (qsizetype i = 0; i < m_records.size(); ++i) {
        if (m_records[i].manifest.id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ModuleRegistry::updateRecord(qsizetype index, const ModuleRecord& record) {
    if (m_records[index] == record) {
        return;
    }
    m_records[index] = record;
    emit recordsChanged();
}

void ModuleRegistry::registerModule(std::shared_ptr<PlimboModule> module, bool enabledByDefault) {
    if (!module) {
        return;
    }
    const ModuleManifest manifest = module->manifest();
    if (m_modules.contains(manifest.id)) {
        return;
    }
    m_modules.insert(manifest.id, std::move(module));

    const bool enabled = m_defaults.boolValue(enabledKey(manifest.id)).value_or(enabledByDefault);
    m_records.append(
        ModuleRecord{manifest, enabled, ModuleHealth::stopped(), ModuleResourceSnapshot::idle()});
    emit recordsChanged();

    // Stable, so names that compare equal keep their registration order.
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<ModuleRecord> sorted = m_records;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator](const ModuleRecord& a, const ModuleRecord& b) {
                         return collator.compare(a.manifest.name, b.manifest.name) < 0;
                     });
    if (sorted != m_records) {
        m_records = sorted;
        emit recordsChanged();
    }
}

QFuture<void> ModuleRegistry::start(const QString& id) {
    const std::shared_ptr<PlimboModule> module = m_modules.value(id);
    const int index = indexOf(id);
    if (!module || index < 0) {
        return finishedFuture();
    }
    const quint64 generation = generationOf(id);
    ModuleRecord record = m_records[index];
    record.health = ModuleHealth::starting();
    updateRecord(index, record);

    auto promise = startedPromise();
    whenFinished(module->start(), this, [this, id, module, generation, promise](const auto&) {
        if (generationOf(id) != generation) {
            // Switched since this start began: its health is no longer this start's to report.
            promise->finish();
            return;
        }
        whenFinished(module->healthCheck(), this,
                     [this, id, module, generation, promise](const QFuture<ModuleHealth>& health) {
                         storeHealth(id, generation, health, *module);
                         promise->finish();
                     });
    });
    return promise->future();
}

void ModuleRegistry::storeHealth(const QString& id, quint64 generation,
                                 const QFuture<ModuleHealth>& health, PlimboModule& module) {
    const int index = indexOf(id);
    if (index < 0 || !m_records[index].isEnabled || generationOf(id) != generation) {
        return;
    }
    // A module that breaks its promise and delivers no health keeps the last known one.
    const ModuleHealth reported = resultOf(health).value_or(m_records[index].health);
    const ModuleResourceSnapshot usage = module.resourceUsageSnapshot();
    // The usual refresh changes nothing: it copies no record.
    if (reported == m_records[index].health && usage == m_records[index].resourceUsage) {
        return;
    }
    ModuleRecord record = m_records[index];
    record.health = reported;
    record.resourceUsage = usage;
    updateRecord(index, record);
}

QFuture<void> ModuleRegistry::startEnabledModules() {
    auto promise = startedPromise();
    QFuture<void> future = promise->future();
    startFrom(0, m_records, promise);
    return future;
}

// Walks the records as they were when the walk began. A module switched off in the meantime
// is skipped; one switched on in the meantime was already started by its switch.
void ModuleRegistry::startFrom(qsizetype position, const QList<ModuleRecord>& snapshot,
                               std::shared_ptr<QPromise<void>> promise) {
    for (; position < snapshot.size(); ++position) {
        const QString id = snapshot[position].manifest.id;
        const int live = indexOf(id);
        if (!snapshot[position].isEnabled || live < 0 || !m_records[live].isEnabled) {
            continue;
        }
        whenFinished(start(id), this, [this, position, snapshot, promise](const auto&) {
            startFrom(position + 1, snapshot, promise);
        });
        return;
    }
    promise->finish();
}

QFuture<void> ModuleRegistry::setEnabled(bool enabled, const QString& id) {
    const int index = indexOf(id);
    if (index < 0) {
        return finishedFuture();
    }
    const quint64 generation = ++m_switchGenerations[id];
    ModuleRecord record = m_records[index];
    record.isEnabled = enabled;
    updateRecord(index, record);
    m_defaults.setValue(enabledKey(id), enabled);

    if (enabled) {
        return start(id);
    }

    auto promise = startedPromise();
    auto markStopped = [this, id, generation, promise](const auto&) {
        const int current = indexOf(id);
        // Switched on again while stopping: the new start owns the record now.
        if (current >= 0 && generationOf(id) == generation) {
            ModuleRecord stopped = m_records[current];
            stopped.health = ModuleHealth::stopped();
            stopped.resourceUsage = ModuleResourceSnapshot::idle();
            updateRecord(current, stopped);
        }
        promise->finish();
    };
    if (const std::shared_ptr<PlimboModule> module = m_modules.value(id)) {
        // The module is kept alive until its stop has finished.
        whenFinished(module->stop(), this,
                     [markStopped, module](const QFuture<void>& done) { markStopped(done); });
    } else {
        markStopped(0);
    }
    return promise->future();
}

QFuture<void> ModuleRegistry::refreshHealth() {
    auto promise = startedPromise();
    QFuture<void> future = promise->future();
    refreshFrom(0, m_records.size(), promise);
    return future;
}

// One module after another; each record is read when its turn comes.
void ModuleRegistry::refreshFrom(qsizetype position, qsizetype count,
                                 std::shared_ptr<QPromise<void>> promise) {
    for (; position < count && position < m_records.size(); ++position) {
        const ModuleRecord& record = m_records[position];
        const std::shared_ptr<PlimboModule> module = m_modules.value(record.manifest.id);
        if (!record.isEnabled || !module) {
            continue;
        }
        const QString id = record.manifest.id;
        const quint64 generation = generationOf(id);
        whenFinished(module->healthCheck(), this,
                     [this, id, module, generation, position, count,
                      promise](const QFuture<ModuleHealth>& health) {
                         storeHealth(id, generation, health, *module);
                         refreshFrom(position + 1, count, promise);
                     });
        return;
    }
    promise->finish();
}

} // namespace plimbo
