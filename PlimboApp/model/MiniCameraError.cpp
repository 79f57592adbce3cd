#include "MiniCameraError.h"

namespace plimbo {

QString MiniCameraError::description() const {
    switch (m_kind) {
    case Kind::permissionDenied:
        return QStringLiteral("Camera access is off. Allow Plimbo to use the camera in your "
                              "desktop’s privacy settings.");
    case Kind::cameraUnavailable:
        return QStringLiteral("No camera is available on this computer.");
    case Kind::inputUnavailable:
        return QStringLiteral("Plimbo could not connect to the camera.");
    }
    return {};
}

} // namespace plimbo
