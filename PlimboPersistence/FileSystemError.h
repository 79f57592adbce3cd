#pragma once

#include "PlimboError.h"

#include <QString>

namespace plimbo {

// A file or folder operation of the chat history store failed. The description names the
// item and carries the operating system's reason.
class FileSystemError : public PlimboError {
public:
    FileSystemError(QString path, QString description);

    QString description() const override { return m_description; }
    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_description;
};

} // namespace plimbo
