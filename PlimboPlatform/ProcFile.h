#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace plimbo {

// A procfs or sysfs file held open and read again from its start on every call: the kernel
// writes the text anew for each read from offset 0, and a file that stays open spares the
// path lookup, open and close of a sample that runs every few seconds all day.
class ProcFile {
public:
    explicit ProcFile(QString path);
    ~ProcFile();
    ProcFile(ProcFile&& other) noexcept;
    ProcFile& operator=(ProcFile&& other) noexcept;
    ProcFile(const ProcFile&) = delete;
    ProcFile& operator=(const ProcFile&) = delete;

    // The whole text, valid until the next call; empty when the file cannot be opened (tried
    // again on the next call) or read (EIO and the like: a sensor that is powered down).
    QByteArrayView read();

private:
    QString m_path;
    int m_fd = -1;
    QByteArray m_buffer;
};

} // namespace plimbo
