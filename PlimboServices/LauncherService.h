#pragma once

#include "ApplicationRecord.h"
#include "ApplicationSearchKey.h"
#include "PlimboModule.h"
#include "ReadyHealth.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace plimbo {

class ApplicationFolders;

// Index of the installed applications (desktop entries), ranked search over their names, and
// launching. A module: start() scans in the background and finishes once the index is stored;
// stop() empties the index.
class LauncherService : public QObject, public PlimboModule {
    Q_OBJECT
    Q_PROPERTY(
        QList<plimbo::ApplicationRecord> applications READ applications NOTIFY applicationsChanged)
    Q_PROPERTY(bool isIndexing READ isIndexing NOTIFY isIndexingChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)

public:
    // The index ready for searching: records sorted by name, with their prepared names.
    struct Index {
        QList<ApplicationRecord> records;
        std::vector<ApplicationSearchKey> keys;
    };

    // folders: where applications come from; the desktop's XDG folders when null.
    explicit LauncherService(std::shared_ptr<ApplicationFolders> folders = nullptr,
                             QObject* parent = nullptr);
    ~LauncherService() override;

    ModuleManifest manifest() const override;
    bool isRunning() const override { return m_running; }
    // Returns at once when already running; otherwise finishes when the scan's index is stored.
    QFuture<void> start() override;
    // Empties the index. A scan still under way is left to finish but its result is dropped,
    // as is that of any scan overtaken by a newer one.
    QFuture<void> stop() override;
    QFuture<ModuleHealth> healthCheck() override;
    ModuleResourceSnapshot resourceUsageSnapshot() override;

    QList<ApplicationRecord> applications() const { return m_index.records; }
    bool isIndexing() const { return m_indexing; }

    // Up to limit records: all in name order for a blank query, else those scoring at least 1,
    // best first, equal scores by plain name order.
    QList<ApplicationRecord> search(const QString& query, qsizetype limit) const;
    // Starts the record's application; false when it could not be started, and failed() says
    // which program.
    bool launch(const ApplicationRecord& record);
    static QString launchFailedMessage(const QString& name, const QString& program);

    static int score(const QString& candidate, const QString& query);
    // The whole scan: entries to records sorted by name (localised, case-insensitive). Touches
    // no service state, so it runs on a worker thread.
    static Index discoverApplications(const ApplicationFolders& folders);

signals:
    void applicationsChanged();
    void isIndexingChanged();
    void isRunningChanged();
    // A launch failed; `message` is for the user.
    void failed(const QString& message);

private:
    void setRunning(bool running);
    void setIndexing(bool indexing);
    void setIndex(Index index);

    std::shared_ptr<ApplicationFolders> m_folders;
    Index m_index;
    ReadyHealth m_readyHealth;
    bool m_indexing = false;
    bool m_running = false;
    // Bumped by every start and stop; a scan stores its index only while it still matches.
    quint64 m_generation = 0;
};

} // namespace plimbo
