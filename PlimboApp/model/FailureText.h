#pragma once

#include <QString>

#include <exception>

namespace plimbo {

// The user-facing text of a failure a future or a call delivered: a PlimboError's description,
// another exception's message, or "Unknown error".
QString describeFailure(const std::exception_ptr& error);
// Inside a catch block whose failure the user is not shown: logs what failed and the
// failure's text at warning level.
void logSwallowedFailure(const char* what);

} // namespace plimbo
