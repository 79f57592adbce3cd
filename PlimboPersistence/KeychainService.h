#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace plimbo {

class SecretStore;

// Small text secrets in the user's credential store, one item per account under one service
// name. Nothing is cached: every call goes to the store and blocks until it answers (the
// store bounds that time). Failures throw KeychainError only.
class KeychainService {
public:
    // The account of the OpenRouter API key.
    static inline const QString openRouterAccount = QStringLiteral("openrouter-api-key");

    KeychainService(QString service, std::shared_ptr<SecretStore> store);

    QString service() const { return m_service; }

    // Creates the item or replaces its secret; the value is stored as UTF-8.
    void save(const QString& value, const QString& account) const;
    // The stored text, or none when no item exists. A value that is not valid UTF-8 throws
    // invalidData; an item that stays locked throws lockedItem. May wait for the user to answer
    // an unlock prompt: never call it on the GUI thread.
    std::optional<QString> read(const QString& account) const;
    // Deletes the item; an item that does not exist is no error.
    void remove(const QString& account) const;

private:
    QString m_service;
    std::shared_ptr<SecretStore> m_store;
};

} // namespace plimbo
