#include "FailureText.h"

#include "Logging.h"
#include "PlimboError.h"

namespace plimbo {

void logSwallowedFailure(const char* what) {
    qCWarning(modelLog).noquote() << what << "failed:" << describeFailure(std::current_exception());
}

QString describeFailure(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const PlimboError& plimboError) {
        return plimboError.description();
    } catch (const std::exception& other) {
        return QString::fromUtf8(other.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

} // namespace plimbo
