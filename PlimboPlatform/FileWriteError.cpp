#include "FileWriteError.h"

namespace plimbo {

FileWriteError::FileWriteError(const QString& path, const QString& reason)
    : std::runtime_error(QStringLiteral("%1: %2").arg(path, reason).toStdString())
    , m_path(path)
    , m_reason(reason) {}

} // namespace plimbo
