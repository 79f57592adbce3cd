#include "MiniCameraError.h"

#include "DesktopWording.h"

namespace plimbo {

QString MiniCameraError::description() const {
    switch (m_kind) {
    case Kind::permissionDenied:
        return DesktopWording::cameraAccessOff();
    case Kind::cameraUnavailable:
        return DesktopWording::cameraUnavailable();
    case Kind::inputUnavailable:
        return QStringLiteral("Plimbo could not connect to the camera.");
    }
    return {};
}

} // namespace plimbo
