#pragma once

#include "PlimboError.h"

#include <QString>

namespace plimbo {

// A request body that JSON cannot carry (a temperature that is not a finite number).
class WireEncodingError : public PlimboError {
public:
    explicit WireEncodingError(QString detail)
        : m_detail(std::move(detail)) {}

    QString description() const override {
        return QStringLiteral(
            "The data couldn’t be written because it isn’t in the correct format.");
    }
    // Names the offending field, for logs and tests.
    QString detail() const { return m_detail; }

private:
    QString m_detail;
};

} // namespace plimbo
