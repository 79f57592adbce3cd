#include "SystemActionError.h"

namespace plimbo {

QString SystemActionError::description() const {
    switch (m_kind) {
    case Kind::airDropUnavailable:
        return QStringLiteral("AirDrop is unavailable for the selected items.");
    case Kind::screenshotToolMissing:
    case Kind::screenshotToolFailed:
        return QStringLiteral("No screenshot tool could be opened.");
    }
    return {};
}

} // namespace plimbo
