#pragma once

#include "SecretStore.h"

#include <QHash>
#include <QPair>
#include <QSet>

#include <mutex>
#include <optional>

namespace plimbo {

// Secrets kept in memory. Tests can make every call fail with a status, or make one item's
// value unreadable, to stand in for the failures of a real credential store.
class InMemorySecretStore : public SecretStore {
public:
    ReadResult read(const QString& service, const QString& account) override;
    SecretStatus save(const QString& service, const QString& account,
                      const QByteArray& secret) override;
    SecretStatus remove(const QString& service, const QString& account) override;

    // Every following call fails with this status (nullopt: calls work again).
    void setFailure(std::optional<SecretStatus> status);
    // Reading this item reports an undecodable value while it exists.
    void setUndecodable(const QString& service, const QString& account);
    // Reading an item that exists reports it locked with this status (nullopt: unlocked), as a
    // keyring does whose unlock prompt was dismissed.
    void setLocked(std::optional<SecretStatus> status);

    // The number of items held (tests check that saving twice keeps one).
    qsizetype count() const;
    int calls() const;

private:
    using Key = QPair<QString, QString>;

    mutable std::mutex m_mutex;
    QHash<Key, QByteArray> m_items;
    QSet<Key> m_undecodable;
    std::optional<SecretStatus> m_failure;
    std::optional<SecretStatus> m_locked;
    int m_calls = 0;
};

} // namespace plimbo
