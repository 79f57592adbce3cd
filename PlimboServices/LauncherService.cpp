#include "LauncherService.h"

#include "ApplicationFolders.h"
#include "MainThreadContinuation.h"
#include "XdgApplicationFolders.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QPromise>
#include <QtConcurrent>

#include <algorithm>
#include <numeric>

namespace plimbo {

LauncherService::LauncherService(std::shared_ptr<ApplicationFolders> folders, QObject* parent)
    : QObject(parent)
    , m_folders(folders ? std::move(folders) : std::make_shared<XdgApplicationFolders>()) {}

LauncherService::~LauncherService() = default;

ModuleManifest LauncherService::manifest() const {
    return {QStringLiteral("launcher"),
            QStringLiteral("Launcher"),
            QStringLiteral("Find and open applications from one keyboard-first surface."),
            QStringLiteral("sparkle.magnifyingglass"),
            PlimboCapabilityStatus::available,
            true};
}

QFuture<void> LauncherService::start() {
    if (m_running) {
        return QtFuture::makeReadyFuture();
    }
    setRunning(true);
    setIndexing(true);
    const quint64 generation = ++m_generation;
    // The worker keeps the folders alive by itself: the service may be gone when it ends, and
    // then the returned future is cancelled.
    std::shared_ptr<ApplicationFolders> folders = m_folders;
    auto scanned = std::make_shared<QPromise<void>>();
    scanned->start();
    QFuture<void> result = scanned->future();
    whenFinished(QtConcurrent::run([folders] { return discoverApplications(*folders); }), this,
                 [this, generation, scanned](const QFuture<Index>& scan) {
                     // A stop or restart since this scan began makes its result stale.
                     if (m_generation == generation) {
                         if (std::optional<Index> index = resultOf(scan)) {
                             setIndex(std::move(*index));
                         }
                         setIndexing(false);
                     }
                     scanned->finish();
                 });
    return result;
}

QFuture<void> LauncherService::stop() {
    ++m_generation;
    setIndex({});
    setRunning(false);
    setIndexing(false);
    return QtFuture::makeReadyFuture();
}

QFuture<ModuleHealth> LauncherService::healthCheck() {
    if (!m_running) {
        return m_readyHealth(ModuleHealth::stopped());
    }
    if (m_indexing) {
        return m_readyHealth(ModuleHealth::starting());
    }
    return m_readyHealth(ModuleHealth::healthy(QString::number(m_index.records.size()) +
                                               QStringLiteral(" apps indexed")));
}

ModuleResourceSnapshot LauncherService::resourceUsageSnapshot() {
    if (m_indexing) {
        return {1, QStringLiteral("Indexing applications")};
    }
    return {0, QStringLiteral("Dormant")};
}

QList<ApplicationRecord> LauncherService::search(const QString& query, qsizetype limit) const {
    if (limit <= 0) {
        return {};
    }
    const QString trimmed = query.trimmed();
    if (trimmed.isEmpty()) {
        return m_index.records.mid(0, limit);
    }
    const ApplicationSearchKey wanted(trimmed);
    struct Hit {
        int score;
        qsizetype index;
    };
    std::vector<Hit> hits;
    for (qsizetype i = 0; i < m_index.records.size(); ++i) {
        const int score = ApplicationSearchKey::score(m_index.keys[size_t(i)], wanted);
        if (score >= 1) {
            hits.push_back({score, i});
        }
    }
    const auto& records = m_index.records;
    // Higher score, then plain name order, then index order: a total order, so taking only
    // the first `limit` gives what a stable sort of all hits would.
    const size_t count = std::min(hits.size(), size_t(limit));
    std::partial_sort(hits.begin(), hits.begin() + qsizetype(count), hits.end(),
                      [&records](const Hit& a, const Hit& b) {
                          if (a.score != b.score) {
                              return a.score > b.score;
                          }
                          const int names = records[a.index].name.compare(records[b.index].name);
                          return names != 0 ? names < 0 : a.index < b.index;
                      });
    QList<ApplicationRecord> out;
    out.reserve(qsizetype(count));
    for (size_t i = 0; i < count; ++i) {
        out << records[hits[i].index];
    }
    return out;
}

bool LauncherService::launch(const ApplicationRecord& record) {
    const ApplicationLaunch launch = record.url.isLocalFile()
                                         ? m_folders->launch(record.url.toLocalFile())
                                         : ApplicationLaunch{};
    if (!launch.started) {
        emit failed(launchFailedMessage(record.name, launch.program));
    }
    return launch.started;
}

QString LauncherService::launchFailedMessage(const QString& name, const QString& program) {
    if (program.isEmpty()) {
        return QStringLiteral("%1 could not be started: its desktop entry can no longer be read.")
            .arg(name);
    }
    return QStringLiteral("%1 could not be started: the program \u201C%2\u201D is missing or "
                          "cannot be run.")
        .arg(name, program);
}

int LauncherService::score(const QString& candidate, const QString& query) {
    return ApplicationSearchKey::score(ApplicationSearchKey(candidate),
                                       ApplicationSearchKey(query));
}

LauncherService::Index LauncherService::discoverApplications(const ApplicationFolders& folders) {
    const QList<DesktopEntry> entries = folders.scan();
    // Locale order with case ignored. The names are case-folded first because the collator
    // of the C locale ignores its case setting in sort keys. One key per name: comparing
    // through the collator each time is far slower.
    QCollator collator;
    std::vector<QCollatorSortKey> sortKeys;
    sortKeys.reserve(size_t(entries.size()));
    for (const DesktopEntry& entry : entries) {
        sortKeys.push_back(collator.sortKey(entry.name.toCaseFolded()));
    }
    std::vector<qsizetype> order(size_t(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&sortKeys](qsizetype a, qsizetype b) {
        return sortKeys[size_t(a)].compare(sortKeys[size_t(b)]) < 0;
    });
    Index index;
    index.records.reserve(entries.size());
    index.keys.reserve(order.size());
    for (qsizetype i : order) {
        const DesktopEntry& entry = entries[i];
        index.records << ApplicationRecord(entry.name, QUrl::fromLocalFile(entry.path), entry.icon);
        index.keys.emplace_back(entry.name);
    }
    return index;
}

void LauncherService::setRunning(bool running) {
    if (m_running != running) {
        m_running = running;
        emit isRunningChanged();
    }
}

void LauncherService::setIndexing(bool indexing) {
    if (m_indexing != indexing) {
        m_indexing = indexing;
        emit isIndexingChanged();
    }
}

void LauncherService::setIndex(Index index) {
    const bool changed = index.records != m_index.records;
    m_index = std::move(index);
    if (changed) {
        emit applicationsChanged();
    }
}

} // namespace plimbo
