#include "CameraError.h"

namespace plimbo {

CameraError::CameraError(Kind kind, const QString& message)
    : std::runtime_error(message.toStdString())
    , m_kind(kind) {}

} // namespace plimbo
