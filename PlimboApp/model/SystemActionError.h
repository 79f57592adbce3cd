#pragma once

#include "PlimboError.h"

#include <QString>

namespace plimbo {

// A system action that could not be carried out, with the text the user sees.
class SystemActionError : public PlimboError {
public:
    enum class Kind {
        // "AirDrop is unavailable for the selected items."
        airDropUnavailable,
        // No screenshot program is installed.
        screenshotToolMissing,
        // The installed screenshot program did not start.
        screenshotToolFailed,
    };

    explicit SystemActionError(Kind kind)
        : m_kind(kind) {}

    Kind kind() const { return m_kind; }
    // Both screenshot cases read "No screenshot tool could be opened.".
    QString description() const override;

private:
    Kind m_kind;
};

} // namespace plimbo
