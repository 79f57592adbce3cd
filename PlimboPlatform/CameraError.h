#pragma once

#include <QString>

#include <stdexcept>

namespace plimbo {

// Why the camera pipeline could not start. `what()` is the platform's own explanation for
// deviceFailed and a developer-facing note otherwise.
class CameraError : public std::runtime_error {
public:
    enum class Kind {
        // The system has no video camera.
        noCamera,
        // The pipeline refused the camera as its input.
        inputRefused,
        // The camera reported an error of its own.
        deviceFailed,
        // stop() was called before the start finished.
        interrupted,
    };

    CameraError(Kind kind, const QString& message);

    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromStdString(what()); }

private:
    Kind m_kind;
};

} // namespace plimbo
