#pragma once

#include <QString>

#include <stdexcept>

namespace plimbo {

// A file could not be written. `reason` is the operating system's explanation.
class FileWriteError : public std::runtime_error {
public:
    FileWriteError(const QString& path, const QString& reason);

    QString path() const { return m_path; }
    QString reason() const { return m_reason; }

private:
    QString m_path;
    QString m_reason;
};

} // namespace plimbo
