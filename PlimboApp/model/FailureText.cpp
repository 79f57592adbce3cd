#include "FailureText.h"

#include "PlimboError.h"

namespace plimbo {

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
