#pragma once

#include "SecretStore.h"

#include <chrono>

namespace plimbo {

// Secrets in the freedesktop Secret Service (gnome-keyring, KWallet, KeePassXC) through
// libsecret. Items carry the string attributes "service" and "account" and nothing else, so
// items stored with `secret-tool store --label=x service S account A` are found, updated and
// deleted too. Every call gives up after `timeout` (a locked keyring would otherwise wait for
// an unlock prompt forever) and reports interactionNotAllowed.
class LibsecretSecretStore : public SecretStore {
public:
    explicit LibsecretSecretStore(std::chrono::milliseconds timeout = std::chrono::seconds(5));

    ReadResult read(const QString& service, const QString& account) override;
    qint32 save(const QString& service, const QString& account, const QByteArray& secret) override;
    qint32 remove(const QString& service, const QString& account) override;

    std::chrono::milliseconds timeout() const { return m_timeout; }

private:
    std::chrono::milliseconds m_timeout;
};

} // namespace plimbo
