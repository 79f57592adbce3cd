#pragma once

#include <QByteArray>
#include <QString>

namespace plimbo {

// How a call to the credential store ended.
enum class SecretStatus {
    success,
    itemNotFound,
    // No credential store answers (no session bus, no Secret Service provider, or no answer in
    // time).
    notAvailable,
    // The item is locked and the store cannot ask the user to unlock it.
    interactionNotAllowed,
    // The store refused access.
    authorizationFailed,
    // The user dismissed the store's unlock prompt.
    userCanceled,
    // The store failed in a way it did not explain.
    internalFailure,
};

// Small secrets kept by the desktop's credential store, one item per service and account.
class SecretStore {
public:
    struct ReadResult {
        // locked: the item exists but stayed locked (its unlock prompt was dismissed or could
        // not be shown), which is no reason to ask for a new secret.
        enum class Outcome { found, notFound, failed, undecodable, locked };

        Outcome outcome = Outcome::notFound;
        QByteArray secret; // the stored bytes when found
        // The failure's status when failed or locked.
        SecretStatus status = SecretStatus::success;

        static ReadResult makeFound(const QByteArray& secret) {
            return {Outcome::found, secret, SecretStatus::success};
        }
        static ReadResult makeNotFound() { return {Outcome::notFound, {}, SecretStatus::success}; }
        static ReadResult makeFailed(SecretStatus status) { return {Outcome::failed, {}, status}; }
        static ReadResult makeUndecodable() {
            return {Outcome::undecodable, {}, SecretStatus::success};
        }
        static ReadResult makeLocked(SecretStatus status) { return {Outcome::locked, {}, status}; }

        bool operator==(const ReadResult&) const = default;
    };

    virtual ~SecretStore() = default;

    // Every call blocks the calling thread until the store answers or gives up; a call that
    // waits for the user to unlock the store waits as long as the user takes.
    virtual ReadResult read(const QString& service, const QString& account) = 0;
    // Replaces the secret of every matching item, or adds one when none exists.
    virtual SecretStatus save(const QString& service, const QString& account,
                              const QByteArray& secret) = 0;
    // Deletes every matching item; success also when there was none.
    virtual SecretStatus remove(const QString& service, const QString& account) = 0;
};

} // namespace plimbo
