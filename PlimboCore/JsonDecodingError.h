#pragma once

#include "PlimboError.h"

#include <QString>

namespace plimbo {

// Raised when a JSON document does not have the shape a type declares. The description is
// the generic text users see; detail() names the offending key for logs and tests.
class JsonDecodingError : public PlimboError {
public:
    enum class Reason { missingValue, wrongType, invalidValue, malformedDocument };

    JsonDecodingError(Reason reason, QString detail);

    QString description() const override;
    Reason reason() const { return m_reason; }
    QString detail() const { return m_detail; }

private:
    Reason m_reason;
    QString m_detail;
};

} // namespace plimbo
