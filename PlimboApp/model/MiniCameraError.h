#pragma once

#include "PlimboError.h"

namespace plimbo {

// Why the notch's camera preview could not start.
class MiniCameraError : public PlimboError {
public:
    enum class Kind { permissionDenied, cameraUnavailable, inputUnavailable };

    explicit MiniCameraError(Kind kind)
        : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    QString description() const override;

private:
    Kind m_kind;
};

} // namespace plimbo
