#include "JsonDecodingError.h"

namespace plimbo {

JsonDecodingError::JsonDecodingError(Reason reason, QString detail)
    : m_reason(reason)
    , m_detail(std::move(detail)) {}

QString JsonDecodingError::description() const {
    if (m_reason == Reason::missingValue) {
        return QStringLiteral("The data couldn’t be read because it is missing.");
    }
    return QStringLiteral("The data couldn’t be read because it isn’t in the correct format.");
}

} // namespace plimbo
