#include "FileSystemError.h"

namespace plimbo {

FileSystemError::FileSystemError(QString path, QString description)
    : m_path(std::move(path))
    , m_description(std::move(description)) {}

} // namespace plimbo
