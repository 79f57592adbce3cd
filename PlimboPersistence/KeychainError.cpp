#include "KeychainError.h"

namespace plimbo {

namespace {

// The number the message shows for a status. They are the keychain status codes the message
// has always shown, so a failure reported in words still names the same status.
qint32 shownNumber(SecretStatus status) {
    switch (status) {
    case SecretStatus::success:
        return 0;
    case SecretStatus::itemNotFound:
        return -25300;
    case SecretStatus::notAvailable:
        return -25291;
    case SecretStatus::interactionNotAllowed:
        return -25308;
    case SecretStatus::authorizationFailed:
        return -25293;
    case SecretStatus::userCanceled:
        return -128;
    case SecretStatus::internalFailure:
        break;
    }
    return -2070;
}

} // namespace

KeychainError KeychainError::unexpectedStatus(SecretStatus status) {
    return KeychainError(Kind::unexpectedStatus, status);
}

KeychainError KeychainError::lockedItem(SecretStatus status) {
    return KeychainError(Kind::unexpectedStatus, status, true);
}

KeychainError KeychainError::invalidData() {
    return KeychainError(Kind::invalidData, SecretStatus::success);
}

QString KeychainError::description() const {
    switch (m_kind) {
    case Kind::unexpectedStatus:
        return QStringLiteral("Keyring operation failed (%1).").arg(shownNumber(m_status));
    case Kind::invalidData:
        return QStringLiteral("The saved credential could not be decoded.");
    }
    return {};
}

} // namespace plimbo
