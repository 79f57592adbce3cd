#include "PresentedError.h"

#include "PropertyAssign.h"

namespace plimbo {

PresentedError::PresentedError(QObject* parent)
    : QObject(parent) {}

void PresentedError::setMessage(const std::optional<QString>& message) {
    assign(this, m_message, message, &PresentedError::messageChanged);
}

} // namespace plimbo
