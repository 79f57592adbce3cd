#include "KeychainService.h"
#include "InMemorySecretStore.h"
#include "KeychainError.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

class KeychainServiceTest : public ::testing::Test {
protected:
    std::shared_ptr<InMemorySecretStore> store = std::make_shared<InMemorySecretStore>();
    KeychainService keychain{QStringLiteral("com.plimbo.utility"), store};
};

template <typename Call> KeychainError caught(Call call) {
    try {
        call();
    } catch (const KeychainError& error) {
        return error;
    }
    ADD_FAILURE() << "no KeychainError thrown";
    return KeychainError::unexpectedStatus(SecretStatus::success);
}

} // namespace

TEST_F(KeychainServiceTest, ReadsSavesReplacesAndDeletes) {
    EXPECT_EQ(KeychainService::openRouterAccount, "openrouter-api-key");
    EXPECT_EQ(keychain.read(KeychainService::openRouterAccount), std::nullopt);

    keychain.save("sk-or-first", KeychainService::openRouterAccount);
    keychain.save("sk-or-second ✓", KeychainService::openRouterAccount);
    EXPECT_EQ(store->count(), 1);
    EXPECT_EQ(keychain.read(KeychainService::openRouterAccount), "sk-or-second ✓");
    EXPECT_EQ(keychain.read("other-account"), std::nullopt);

    keychain.remove(KeychainService::openRouterAccount);
    EXPECT_EQ(keychain.read(KeychainService::openRouterAccount), std::nullopt);
    EXPECT_NO_THROW(keychain.remove(KeychainService::openRouterAccount));
}

TEST_F(KeychainServiceTest, EmptySecretReadsAsEmptyTextNotAsMissing) {
    keychain.save(QString(), "empty");
    const std::optional<QString> value = keychain.read("empty");
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(value->isEmpty());
}

TEST_F(KeychainServiceTest, ItemsOfAnotherServiceAreNotSeen) {
    KeychainService other(QStringLiteral("com.example.other"), store);
    other.save("theirs", KeychainService::openRouterAccount);
    EXPECT_EQ(keychain.read(KeychainService::openRouterAccount), std::nullopt);
}

TEST_F(KeychainServiceTest, UndecodableValuesAreInvalidData) {
    store->save("com.plimbo.utility", "bad-utf8", QByteArray("\xff\xfe key", 6));
    const KeychainError invalid = caught([&] { keychain.read("bad-utf8"); });
    EXPECT_EQ(invalid, KeychainError::invalidData());
    EXPECT_EQ(invalid.description(), "The saved credential could not be decoded.");

    store->save("com.plimbo.utility", "opaque", "x");
    store->setUndecodable("com.plimbo.utility", "opaque");
    EXPECT_EQ(caught([&] { keychain.read("opaque"); }), KeychainError::invalidData());
}

TEST_F(KeychainServiceTest, FailedStatusesBecomeUnexpectedStatus) {
    store->setFailure(SecretStatus::authorizationFailed);
    const KeychainError readError = caught([&] { keychain.read("a"); });
    EXPECT_EQ(readError, KeychainError::unexpectedStatus(SecretStatus::authorizationFailed));
    EXPECT_EQ(readError.description(), "Keyring operation failed (-25293).");
    EXPECT_EQ(caught([&] { keychain.save("v", "a"); }),
              KeychainError::unexpectedStatus(SecretStatus::authorizationFailed));
    EXPECT_EQ(caught([&] { keychain.remove("a"); }),
              KeychainError::unexpectedStatus(SecretStatus::authorizationFailed));

    store->setFailure(SecretStatus::internalFailure);
    EXPECT_EQ(caught([&] { keychain.read("a"); }).description(),
              "Keyring operation failed (-2070).");

    // "No such item" from a store is the missing case, not a failure.
    store->setFailure(SecretStatus::itemNotFound);
    EXPECT_EQ(keychain.read("a"), std::nullopt);
    EXPECT_NO_THROW(keychain.remove("a"));
    EXPECT_NE(KeychainError::unexpectedStatus(SecretStatus::notAvailable),
              KeychainError::unexpectedStatus(SecretStatus::internalFailure));
}

TEST_F(KeychainServiceTest, ALockedItemFailsButIsKnownToBeStored) {
    keychain.save("sk-or-key", "a");
    store->setLocked(SecretStatus::userCanceled);
    const KeychainError error = caught([&] { keychain.read("a"); });
    EXPECT_EQ(error, KeychainError::lockedItem(SecretStatus::userCanceled));
    EXPECT_TRUE(error.itemIsLocked());
    EXPECT_EQ(error.description(), "Keyring operation failed (-128).");
    // Other failures say nothing about whether an item exists.
    EXPECT_FALSE(KeychainError::unexpectedStatus(SecretStatus::userCanceled).itemIsLocked());
    EXPECT_NE(error, KeychainError::unexpectedStatus(SecretStatus::userCanceled));

    // A locked keyring still tells a missing item apart.
    EXPECT_EQ(keychain.read("b"), std::nullopt);
    store->setLocked(std::nullopt);
    EXPECT_EQ(keychain.read("a"), "sk-or-key");
}
