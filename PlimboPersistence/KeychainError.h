#pragma once

#include "PlimboError.h"
#include "SecretStore.h"

#include <QString>

namespace plimbo {

// A failure of the credential store, with the text the user sees.
class KeychainError : public PlimboError {
public:
    enum class Kind { unexpectedStatus, invalidData };

    // "Keyring operation failed (<number>).", a number that names the status.
    static KeychainError unexpectedStatus(SecretStatus status);
    // The same failure for an item that exists but stayed locked (its unlock prompt was
    // dismissed or could not be shown).
    static KeychainError lockedItem(SecretStatus status);
    // "The saved credential could not be decoded."
    static KeychainError invalidData();

    QString description() const override;
    Kind kind() const { return m_kind; }
    // The store's status for unexpectedStatus; success for invalidData.
    SecretStatus status() const { return m_status; }
    // True when the item is stored but could not be unlocked: a key exists all the same.
    bool itemIsLocked() const { return m_itemIsLocked; }

    bool operator==(const KeychainError& other) const {
        return m_kind == other.m_kind && m_status == other.m_status &&
               m_itemIsLocked == other.m_itemIsLocked;
    }

private:
    KeychainError(Kind kind, SecretStatus status, bool itemIsLocked = false)
        : m_kind(kind)
        , m_status(status)
        , m_itemIsLocked(itemIsLocked) {}

    Kind m_kind;
    SecretStatus m_status;
    bool m_itemIsLocked;
};

} // namespace plimbo
