#include "InMemorySecretStore.h"

namespace plimbo {

SecretStore::ReadResult InMemorySecretStore::read(const QString& service, const QString& account) {
    std::lock_guard lock(m_mutex);
    ++m_calls;
    if (m_failure) {
        return ReadResult::makeFailed(*m_failure);
    }
    const Key key(service, account);
    const auto found = m_items.constFind(key);
    if (found == m_items.constEnd()) {
        return ReadResult::makeNotFound();
    }
    if (m_locked) {
        return ReadResult::makeLocked(*m_locked);
    }
    if (m_undecodable.contains(key)) {
        return ReadResult::makeUndecodable();
    }
    return ReadResult::makeFound(*found);
}

SecretStatus InMemorySecretStore::save(const QString& service, const QString& account,
                                       const QByteArray& secret) {
    std::lock_guard lock(m_mutex);
    ++m_calls;
    if (m_failure) {
        return *m_failure;
    }
    m_items.insert(Key(service, account), secret);
    return SecretStatus::success;
}

SecretStatus InMemorySecretStore::remove(const QString& service, const QString& account) {
    std::lock_guard lock(m_mutex);
    ++m_calls;
    if (m_failure) {
        return *m_failure;
    }
    m_items.remove(Key(service, account));
    m_undecodable.remove(Key(service, account));
    return SecretStatus::success;
}

void InMemorySecretStore::setFailure(std::optional<SecretStatus> status) {
    std::lock_guard lock(m_mutex);
    m_failure = status;
}

void InMemorySecretStore::setUndecodable(const QString& service, const QString& account) {
    std::lock_guard lock(m_mutex);
    m_undecodable.insert(Key(service, account));
}

void InMemorySecretStore::setLocked(std::optional<SecretStatus> status) {
    std::lock_guard lock(m_mutex);
    m_locked = status;
}

qsizetype InMemorySecretStore::count() const {
    std::lock_guard lock(m_mutex);
    return m_items.size();
}

int InMemorySecretStore::calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

} // namespace plimbo
