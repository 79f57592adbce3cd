#include "FakeApplicationFolders.h"

#include <QDeadlineTimer>

namespace plimbo {

void FakeApplicationFolders::setEntries(const QList<DesktopEntry>& entries) {
    QMutexLocker lock(&m_mutex);
    m_entries = entries;
}

void FakeApplicationFolders::holdNextScan() {
    QMutexLocker lock(&m_mutex);
    m_holdNext = true;
}

void FakeApplicationFolders::releaseHeldScans() {
    QMutexLocker lock(&m_mutex);
    ++m_releaseGeneration;
    m_changed.wakeAll();
}

bool FakeApplicationFolders::waitUntilScanHeld(int timeoutMs) {
    QMutexLocker lock(&m_mutex);
    QDeadlineTimer deadline(timeoutMs);
    while (m_heldWaiting == 0) {
        if (!m_changed.wait(&m_mutex, deadline)) {
            return false;
        }
    }
    return true;
}

int FakeApplicationFolders::scanCount() const {
    QMutexLocker lock(&m_mutex);
    return m_scans;
}

void FakeApplicationFolders::setLaunchResult(bool result, const QString& program) {
    m_launchResult = {result, program};
}

QStringList FakeApplicationFolders::launchedPaths() const {
    return m_launched;
}

QList<DesktopEntry> FakeApplicationFolders::scan() const {
    QMutexLocker lock(&m_mutex);
    ++m_scans;
    const QList<DesktopEntry> copy = m_entries;
    if (m_holdNext) {
        m_holdNext = false;
        const quint64 generation = m_releaseGeneration;
        ++m_heldWaiting;
        m_changed.wakeAll();
        // Bounded so a forgotten release cannot hang the test run.
        QDeadlineTimer deadline(10000);
        while (m_releaseGeneration == generation && m_changed.wait(&m_mutex, deadline)) {
        }
        --m_heldWaiting;
    }
    return copy;
}

ApplicationLaunch FakeApplicationFolders::launch(const QString& entryPath) {
    m_launched << entryPath;
    return m_launchResult;
}

} // namespace plimbo
