#pragma once

#include "ModuleRecord.h"
#include "PlimboModule.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPromise>
#include <QString>

#include <memory>

namespace plimbo {

class SettingsStore;

// Owns the switchable modules: keeps each module's on/off switch in the user defaults
// ("modules.<id>.enabled"), starts the enabled ones one after another, stops a module that is
// switched off and keeps one record per module, sorted by name, for the views.
// Lives on the main thread. Ids that no record has are ignored silently.
class ModuleRegistry : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<plimbo::ModuleRecord> records READ records NOTIFY recordsChanged)

public:
    // The store must outlive the registry.
    explicit ModuleRegistry(SettingsStore& defaults, QObject* parent = nullptr);
    ~ModuleRegistry() override;

    QList<ModuleRecord> records() const { return m_records; }

    // Adds a module once; a later module with an id already present is dropped.
    void registerModule(std::shared_ptr<PlimboModule> module, bool enabledByDefault);
    // Starts every enabled module, one at a time, in record order.
    QFuture<void> startEnabledModules();
    // Stores the switch, then starts or stops the module.
    QFuture<void> setEnabled(bool enabled, const QString& id);
    // Re-reads health and resource usage of every enabled module, one after another.
    QFuture<void> refreshHealth();

    static QString enabledKey(const QString& id);

signals:
    void recordsChanged();

private:
    QFuture<void> start(const QString& id);
    int indexOf(const QString& id) const;
    quint64 generationOf(const QString& id) const { return m_switchGenerations.value(id); }
    // Writes a health check's result and a fresh resource snapshot, unless the module was
    // switched (off, or off and on again) since the check began.
    void storeHealth(const QString& id, quint64 generation, const QFuture<ModuleHealth>& health,
                     PlimboModule& module);
    void updateRecord(qsizetype index, const ModuleRecord& record);
    void startFrom(qsizetype position, const QList<ModuleRecord>& snapshot,
                   std::shared_ptr<QPromise<void>> promise);
    void refreshFrom(qsizetype position, qsizetype count, std::shared_ptr<QPromise<void>> promise);

    SettingsStore& m_defaults;
    QList<ModuleRecord> m_records;
    QHash<QString, std::shared_ptr<PlimboModule>> m_modules;
    // Bumped at every switch so that work begun under an earlier switch writes nothing.
    QHash<QString, quint64> m_switchGenerations;
};

} // namespace plimbo
