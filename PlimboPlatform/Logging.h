#pragma once

#include <QLoggingCategory>

namespace plimbo {

// The program's logging categories, one per area, each named "plimbo.<area>" so that
// QT_LOGGING_RULES can pick an area out. They live in the lowest library so that every other one
// can log. A swallowed failure is logged at warning level, and never with a key, a prompt, message
// content or clipboard text.
Q_DECLARE_LOGGING_CATEGORY(platformLog)
Q_DECLARE_LOGGING_CATEGORY(persistenceLog)
Q_DECLARE_LOGGING_CATEGORY(aiLog)
Q_DECLARE_LOGGING_CATEGORY(modelLog)
Q_DECLARE_LOGGING_CATEGORY(shellLog)

} // namespace plimbo
