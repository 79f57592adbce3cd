#pragma once

#include "PlimboError.h"

#include <QString>

namespace plimbo {

// A failure of the credential store, with the text the user sees.
class KeychainError : public PlimboError {
public:
    enum class Kind { unexpectedStatus, invalidData };

    // "Keychain operation failed (<status>)."
    static KeychainError unexpectedStatus(qint32 status);
    // "The saved credential could not be decoded."
    static KeychainError invalidData();

    QString description() const override;
    Kind kind() const { return m_kind; }
    // The store's status for unexpectedStatus; 0 for invalidData.
    qint32 status() const { return m_status; }

    bool operator==(const KeychainError& other) const {
        return m_kind == other.m_kind && m_status == other.m_status;
    }

private:
    KeychainError(Kind kind, qint32 status)
        : m_kind(kind)
        , m_status(status) {}

    Kind m_kind;
    qint32 m_status;
};

} // namespace plimbo
