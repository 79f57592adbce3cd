#include "FakeModule.h"

namespace plimbo::test {

namespace {

template <typename T>
QFuture<T> pendingOrDone(std::deque<std::unique_ptr<QPromise<T>>>& queue, bool autoComplete,
                         const std::function<void(QPromise<T>&)>& complete) {
    auto promise = std::make_unique<QPromise<T>>();
    promise->start();
    QFuture<T> future = promise->future();
    if (autoComplete) {
        complete(*promise);
        promise->finish();
    } else {
        queue.push_back(std::move(promise));
    }
    return future;
}

} // namespace

FakeModule::FakeModule(const QString& id, const QString& name, std::shared_ptr<QStringList> log)
    : log(std::move(log))
    , m_manifest{id,
                 name,
                 QStringLiteral("Summary of ") + name,
                 QStringLiteral("gear"),
                 PlimboCapabilityStatus::available,
                 true} {}

QFuture<void> FakeModule::start() {
    ++startCalls;
    log->append(QStringLiteral("start:") + m_manifest.id);
    return pendingOrDone<void>(m_starts, autoComplete,
                               [this](QPromise<void>&) { m_running = true; });
}

QFuture<void> FakeModule::stop() {
    ++stopCalls;
    log->append(QStringLiteral("stop:") + m_manifest.id);
    return pendingOrDone<void>(m_stops, autoComplete,
                               [this](QPromise<void>&) { m_running = false; });
}

QFuture<ModuleHealth> FakeModule::healthCheck() {
    ++healthCalls;
    log->append(QStringLiteral("health:") + m_manifest.id);
    return pendingOrDone<ModuleHealth>(m_healthChecks, autoComplete,
                                       [this](QPromise<ModuleHealth>& p) { p.addResult(health); });
}

ModuleResourceSnapshot FakeModule::resourceUsageSnapshot() {
    ++snapshotCalls;
    return snapshot;
}

bool FakeModule::completeStart() {
    if (m_starts.empty()) {
        return false;
    }
    auto promise = std::move(m_starts.front());
    m_starts.pop_front();
    m_running = true;
    promise->finish();
    return true;
}

bool FakeModule::completeStop() {
    if (m_stops.empty()) {
        return false;
    }
    auto promise = std::move(m_stops.front());
    m_stops.pop_front();
    m_running = false;
    promise->finish();
    return true;
}

bool FakeModule::completeHealth() {
    if (m_healthChecks.empty()) {
        return false;
    }
    auto promise = std::move(m_healthChecks.front());
    m_healthChecks.pop_front();
    promise->addResult(health);
    promise->finish();
    return true;
}

bool FakeModule::cancelHealth() {
    if (m_healthChecks.empty()) {
        return false;
    }
    auto promise = std::move(m_healthChecks.front());
    m_healthChecks.pop_front();
    promise->future().cancel();
    promise->finish();
    return true;
}

} // namespace plimbo::test
