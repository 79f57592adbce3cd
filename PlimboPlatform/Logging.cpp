#include "Logging.h"

namespace plimbo {

Q_LOGGING_CATEGORY(platformLog, "plimbo.platform")
Q_LOGGING_CATEGORY(persistenceLog, "plimbo.persistence")
Q_LOGGING_CATEGORY(aiLog, "plimbo.ai")
Q_LOGGING_CATEGORY(modelLog, "plimbo.model")
Q_LOGGING_CATEGORY(shellLog, "plimbo.shell")

} // namespace plimbo
