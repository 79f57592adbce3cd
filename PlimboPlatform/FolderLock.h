#pragma once

#include <QByteArray>
#include <QString>

namespace plimbo {

// An advisory lock (flock) on one file, held from claim() until the object goes or the process
// ends, however it ends: the kernel lets go of it last. Another process asking for the same
// file learns that it is held, and can read the note its holder left there (how to reach it).
// Only processes that ask for the lock are kept out; nothing else is.
class FolderLock {
public:
    enum class Result {
        // This process holds the lock now.
        acquired,
        // Another process holds it.
        heldElsewhere,
        // The file cannot be made or locked here (read-only folder, a non-file in its place).
        unavailable,
    };

    // path: the lock file; its folder is made (private to the user) when missing.
    explicit FolderLock(QString path);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    QString path() const { return m_path; }

    // Takes the lock without waiting. Call once.
    Result claim();
    // Replaces the note in the file; only while this process holds the lock.
    void setNote(const QByteArray& note);
    // The note in the file (the holder's, when another process holds it); empty when none can
    // be read.
    QByteArray note() const;
    // Why claim() gave `unavailable`.
    QString errorString() const { return m_error; }

private:
    QString m_path;
    int m_descriptor = -1;
    QString m_error;
};

} // namespace plimbo
