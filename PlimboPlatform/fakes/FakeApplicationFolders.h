#pragma once

#include "ApplicationFolders.h"

#include <QMutex>
#include <QStringList>
#include <QWaitCondition>

namespace plimbo {

// Entries set by the test. A scan can be held at its start (after it took its copy of the
// entries) until the test releases it, to order scans against other events.
class FakeApplicationFolders : public ApplicationFolders {
public:
    void setEntries(const QList<DesktopEntry>& entries);
    // The next scan, once it has copied the entries, waits for releaseHeldScans().
    void holdNextScan();
    void releaseHeldScans();
    // Blocks (up to timeoutMs) until a held scan is waiting; for tests that must be sure the
    // scan took its copy.
    bool waitUntilScanHeld(int timeoutMs = 5000);
    int scanCount() const;

    // What launch() answers: whether it started, and the program it names.
    void setLaunchResult(bool result, const QString& program = QStringLiteral("fake-program"));
    QStringList launchedPaths() const;

    QList<DesktopEntry> scan() const override;
    ApplicationLaunch launch(const QString& entryPath) override;

private:
    mutable QMutex m_mutex;
    mutable QWaitCondition m_changed;
    QList<DesktopEntry> m_entries;
    mutable bool m_holdNext = false;
    mutable int m_heldWaiting = 0;
    mutable quint64 m_releaseGeneration = 0;
    mutable int m_scans = 0;
    ApplicationLaunch m_launchResult{true, QStringLiteral("fake-program")};
    QStringList m_launched;
};

} // namespace plimbo
