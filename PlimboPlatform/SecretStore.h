#pragma once

#include <QByteArray>
#include <QString>

namespace plimbo {

// Small secrets kept by the desktop's credential store, one item per service and account.
// Status numbers follow the keychain convention the rest of the program uses: 0 is success,
// anything else a failure; the named ones below are those with a meaning of their own.
class SecretStore {
public:
    // Statuses a backend reports (the values of the matching macOS keychain statuses).
    static constexpr qint32 success = 0;
    static constexpr qint32 itemNotFound = -25300;
    // No credential store answers (no session bus, no Secret Service provider, or no answer
    // in time).
    static constexpr qint32 notAvailable = -25291;
    // The item is locked and the store cannot ask the user to unlock it.
    static constexpr qint32 interactionNotAllowed = -25308;
    // The store refused access.
    static constexpr qint32 authorizationFailed = -25293;
    // The user dismissed the store's unlock prompt.
    static constexpr qint32 userCanceled = -128;
    // The store failed in a way it did not explain.
    static constexpr qint32 internalFailure = -2070;

    struct ReadResult {
        // locked: the item exists but stayed locked (its unlock prompt was dismissed or could
        // not be shown), which is no reason to ask for a new secret.
        enum class Outcome { found, notFound, failed, undecodable, locked };

        Outcome outcome = Outcome::notFound;
        QByteArray secret;       // the stored bytes when found
        qint32 status = success; // the failure's status when failed or locked

        static ReadResult makeFound(const QByteArray& secret) {
            return {Outcome::found, secret, success};
        }
        static ReadResult makeNotFound() { return {Outcome::notFound, {}, success}; }
        static ReadResult makeFailed(qint32 status) { return {Outcome::failed, {}, status}; }
        static ReadResult makeUndecodable() { return {Outcome::undecodable, {}, success}; }
        static ReadResult makeLocked(qint32 status) { return {Outcome::locked, {}, status}; }

        bool operator==(const ReadResult&) const = default;
    };

    virtual ~SecretStore() = default;

    // Every call blocks the calling thread until the store answers or gives up; a call that
    // waits for the user to unlock the store waits as long as the user takes.
    virtual ReadResult read(const QString& service, const QString& account) = 0;
    // Replaces the secret of every matching item, or adds one when none exists; 0 or a status.
    virtual qint32 save(const QString& service, const QString& account,
                        const QByteArray& secret) = 0;
    // Deletes every matching item; 0 also when there was none, else a status.
    virtual qint32 remove(const QString& service, const QString& account) = 0;
};

} // namespace plimbo
