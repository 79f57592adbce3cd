#pragma once

#include "SecretStore.h"

#include <chrono>

namespace plimbo {

// Secrets in the freedesktop Secret Service (gnome-keyring, KWallet, KeePassXC) through
// libsecret. Items carry the string attributes "service" and "account" and nothing else, so
// items stored with `secret-tool store --label=x service S account A` are found, updated and
// deleted too. Locked items are found without unlocking them; only then is the keyring asked
// to unlock, and that call waits for the user's answer to the unlock prompt however long it
// takes (it is never cancelled: gnome-keyring-daemon aborts when a call is cancelled while its
// prompt is up). A dismissed prompt, or one that could not be shown, leaves the item locked:
// read reports it as locked, save and remove as a failure. Every other call, which the Secret
// Service answers by itself, gives up after `timeout` and reports notAvailable.
class LibsecretSecretStore : public SecretStore {
public:
    explicit LibsecretSecretStore(std::chrono::milliseconds timeout = std::chrono::seconds(5));

    ReadResult read(const QString& service, const QString& account) override;
    SecretStatus save(const QString& service, const QString& account,
                      const QByteArray& secret) override;
    SecretStatus remove(const QString& service, const QString& account) override;

    std::chrono::milliseconds timeout() const { return m_timeout; }

private:
    std::chrono::milliseconds m_timeout;
};

} // namespace plimbo
