// libsecret pulls in GLib/GIO, whose headers use "signals" as an identifier; Qt defines it as a
// macro. Include them before any Qt header.
#include <libsecret/secret.h>

#include "LibsecretSecretStore.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace plimbo {

namespace {

// Attribute names only; the schema's name is not matched, so items written by other tools
// (secret-tool) with the same two attributes are found as well.
const SecretSchema plimboSchema = {
    "com.plimbo.utility.Secret",
    SECRET_SCHEMA_DONT_MATCH_NAME,
    {
        {"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
        {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
        {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING},
    },
    0,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using ServicePtr = std::unique_ptr<SecretService, GObjectUnref>;
using CancellablePtr = std::unique_ptr<GCancellable, GObjectUnref>;

struct ValueUnref {
    void operator()(SecretValue* value) const { secret_value_unref(value); }
};
using ValuePtr = std::unique_ptr<SecretValue, ValueUnref>;

struct HashTableUnref {
    void operator()(GHashTable* table) const { g_hash_table_unref(table); }
};
using AttributesPtr = std::unique_ptr<GHashTable, HashTableUnref>;

struct ItemListFree {
    void operator()(GList* list) const { g_list_free_full(list, g_object_unref); }
};
using ItemListPtr = std::unique_ptr<GList, ItemListFree>;

// Cancels one operation once its time is up. libsecret's synchronous calls run their own main
// loop and honour the cancellable, so a watcher thread is all it takes.
class Deadline {
public:
    Deadline(GCancellable* cancellable, std::chrono::milliseconds timeout)
        : m_watcher([this, cancellable, timeout] {
            std::unique_lock lock(m_mutex);
            if (!m_finished.wait_for(lock, timeout, [this] { return m_done; })) {
                m_expired = true;
                g_cancellable_cancel(cancellable);
            }
        }) {}

    ~Deadline() {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_finished.notify_all();
        m_watcher.join();
    }

    bool expired() const { return m_expired; }

private:
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
    std::atomic<bool> m_expired = false;
    std::thread m_watcher; // last: starts only when the members it uses exist
};

qint32 statusFor(const GError* error, bool expired) {
    if (expired) {
        return SecretStore::interactionNotAllowed;
    }
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_CANCELLED:
            return SecretStore::userCanceled;
        case G_IO_ERROR_TIMED_OUT:
            return SecretStore::interactionNotAllowed;
        case G_IO_ERROR_DBUS_ERROR: // a remote error GIO has no mapping for
            return SecretStore::internalFailure;
        default: // no bus, refused connection, failed autolaunch
            return SecretStore::notAvailable;
        }
    }
    if (error->domain == G_DBUS_ERROR) {
        switch (error->code) {
        case G_DBUS_ERROR_TIMEOUT:
        case G_DBUS_ERROR_TIMED_OUT:
        case G_DBUS_ERROR_NO_REPLY:
            return SecretStore::interactionNotAllowed;
        case G_DBUS_ERROR_ACCESS_DENIED:
        case G_DBUS_ERROR_AUTH_FAILED:
            return SecretStore::authorizationFailed;
        case G_DBUS_ERROR_FAILED:
        case G_DBUS_ERROR_NO_MEMORY:
        case G_DBUS_ERROR_INVALID_ARGS:
            return SecretStore::internalFailure;
        default: // unknown service, no owner, no server, unknown object or method
            return SecretStore::notAvailable;
        }
    }
    if (error->domain == SECRET_ERROR) {
        switch (error->code) {
        case SECRET_ERROR_IS_LOCKED:
            return SecretStore::interactionNotAllowed;
        case SECRET_ERROR_NO_SUCH_OBJECT:
            return SecretStore::itemNotFound;
        default:
            return SecretStore::internalFailure;
        }
    }
    return SecretStore::internalFailure;
}

// One call: the service connection, the matching attributes and the deadline that bounds it.
class Operation {
public:
    Operation(const QString& service, const QString& account, std::chrono::milliseconds timeout)
        : m_service(service.toUtf8())
        , m_account(account.toUtf8())
        , m_cancellable(g_cancellable_new())
        , m_attributes(g_hash_table_new(g_str_hash, g_str_equal))
        , m_deadline(m_cancellable.get(), timeout) {
        g_hash_table_insert(m_attributes.get(), const_cast<char*>("service"), m_service.data());
        g_hash_table_insert(m_attributes.get(), const_cast<char*>("account"), m_account.data());
    }

    GCancellable* cancellable() const { return m_cancellable.get(); }
    GHashTable* attributes() const { return m_attributes.get(); }

    // Connects to the Secret Service; nullptr with `error` set when there is none.
    ServicePtr connect(ErrorPtr& error) {
        GError* raw = nullptr;
        ServicePtr service(secret_service_get_sync(SECRET_SERVICE_NONE, cancellable(), &raw));
        error.reset(raw);
        return service;
    }

    qint32 status(const ErrorPtr& error) const {
        return statusFor(error.get(), m_deadline.expired());
    }

    QByteArray label() const { return m_account + " (" + m_service + ")"; }

private:
    QByteArray m_service;
    QByteArray m_account;
    CancellablePtr m_cancellable;
    AttributesPtr m_attributes;
    Deadline m_deadline; // last: destroyed first, before the cancellable it watches
};

} // namespace

LibsecretSecretStore::LibsecretSecretStore(std::chrono::milliseconds timeout)
    : m_timeout(timeout) {}

SecretStore::ReadResult LibsecretSecretStore::read(const QString& service, const QString& account) {
    Operation operation(service, account, m_timeout);
    ErrorPtr error;
    ServicePtr secretService = operation.connect(error);
    if (!secretService) {
        return ReadResult::makeFailed(operation.status(error));
    }
    GError* raw = nullptr;
    ValuePtr value(secret_service_lookup_sync(
        secretService.get(), &plimboSchema, operation.attributes(), operation.cancellable(), &raw));
    error.reset(raw);
    if (error) {
        const qint32 status = operation.status(error);
        return status == itemNotFound ? ReadResult::makeNotFound() : ReadResult::makeFailed(status);
    }
    if (!value) {
        return ReadResult::makeNotFound();
    }
    gsize length = 0;
    const gchar* bytes = secret_value_get(value.get(), &length);
    if (!bytes) {
        return ReadResult::makeUndecodable();
    }
    return ReadResult::makeFound(QByteArray(bytes, static_cast<qsizetype>(length)));
}

qint32 LibsecretSecretStore::save(const QString& service, const QString& account,
                                  const QByteArray& secret) {
    Operation operation(service, account, m_timeout);
    ErrorPtr error;
    ServicePtr secretService = operation.connect(error);
    if (!secretService) {
        return operation.status(error);
    }
    ValuePtr value(secret_value_new(secret.constData(), secret.size(), "text/plain"));

    // Update every matching item first, so an item another tool stored is not shadowed by a
    // second one of ours.
    GError* raw = nullptr;
    ItemListPtr items(secret_service_search_sync(
        secretService.get(), &plimboSchema, operation.attributes(),
        static_cast<SecretSearchFlags>(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK),
        operation.cancellable(), &raw));
    error.reset(raw);
    if (error) {
        return operation.status(error);
    }
    if (items) {
        for (GList* node = items.get(); node; node = node->next) {
            auto* item = static_cast<SecretItem*>(node->data);
            if (!secret_item_set_secret_sync(item, value.get(), operation.cancellable(), &raw)) {
                error.reset(raw);
                return error ? operation.status(error) : internalFailure;
            }
        }
        return success;
    }

    // No schema: the new item carries exactly the two attributes, as secret-tool's do.
    if (!secret_service_store_sync(secretService.get(), nullptr, operation.attributes(),
                                   SECRET_COLLECTION_DEFAULT, operation.label().constData(),
                                   value.get(), operation.cancellable(), &raw)) {
        error.reset(raw);
        return error ? operation.status(error) : internalFailure;
    }
    return success;
}

qint32 LibsecretSecretStore::remove(const QString& service, const QString& account) {
    Operation operation(service, account, m_timeout);
    ErrorPtr error;
    ServicePtr secretService = operation.connect(error);
    if (!secretService) {
        return operation.status(error);
    }
    GError* raw = nullptr;
    // FALSE without an error means there was nothing to delete.
    secret_service_clear_sync(secretService.get(), &plimboSchema, operation.attributes(),
                              operation.cancellable(), &raw);
    error.reset(raw);
    if (error) {
        const qint32 status = operation.status(error);
        return status == itemNotFound ? success : status;
    }
    return success;
}

} // namespace plimbo
