#include "KeychainError.h"

namespace plimbo {

KeychainError KeychainError::unexpectedStatus(qint32 status) {
    return KeychainError(Kind::unexpectedStatus, status);
}

KeychainError KeychainError::lockedItem(qint32 status) {
    return KeychainError(Kind::unexpectedStatus, status, true);
}

KeychainError KeychainError::invalidData() {
    return KeychainError(Kind::invalidData, 0);
}

QString KeychainError::description() const {
    switch (m_kind) {
    case Kind::unexpectedStatus:
        return QStringLiteral("Keyring operation failed (%1).").arg(m_status);
    case Kind::invalidData:
        return QStringLiteral("The saved credential could not be decoded.");
    }
    return {};
}

} // namespace plimbo
