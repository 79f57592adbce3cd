#include "KeychainService.h"

#include "KeychainError.h"
#include "SecretStore.h"

#include <QStringDecoder>

namespace plimbo {

namespace {

// Strict UTF-8: QString::fromUtf8 would silently replace bad bytes.
std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                     QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text.isNull() ? QStringLiteral("") : text;
}

} // namespace

KeychainService::KeychainService(QString service, std::shared_ptr<SecretStore> store)
    : m_service(std::move(service))
    , m_store(std::move(store)) {}

void KeychainService::save(const QString& value, const QString& account) const {
    const SecretStatus status = m_store->save(m_service, account, value.toUtf8());
    if (status != SecretStatus::success) {
        throw KeychainError::unexpectedStatus(status);
    }
}

std::optional<QString> KeychainService::read(const QString& account) const {
    const SecretStore::ReadResult result = m_store->read(m_service, account);
    switch (result.outcome) {
    case SecretStore::ReadResult::Outcome::notFound:
        return std::nullopt;
    case SecretStore::ReadResult::Outcome::failed:
        if (result.status == SecretStatus::itemNotFound) {
            return std::nullopt;
        }
        throw KeychainError::unexpectedStatus(result.status);
    case SecretStore::ReadResult::Outcome::locked:
        throw KeychainError::lockedItem(result.status);
    case SecretStore::ReadResult::Outcome::undecodable:
        throw KeychainError::invalidData();
    case SecretStore::ReadResult::Outcome::found:
        break;
    }
    std::optional<QString> text = decodeUtf8(result.secret);
    if (!text) {
        throw KeychainError::invalidData();
    }
    return text;
}

void KeychainService::remove(const QString& account) const {
    const SecretStatus status = m_store->remove(m_service, account);
    if (status != SecretStatus::success && status != SecretStatus::itemNotFound) {
        throw KeychainError::unexpectedStatus(status);
    }
}

} // namespace plimbo
