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
using CollectionPtr = std::unique_ptr<SecretCollection, GObjectUnref>;
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

// A list that does not own its objects.
struct ListFree {
    void operator()(GList* list) const { g_list_free(list); }
};
using BorrowedListPtr = std::unique_ptr<GList, ListFree>;

// Cancels one call once its time is up. libsecret's synchronous calls run their own main loop
// and honour the cancellable, so a watcher thread is all it takes.
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

SecretStatus statusFor(const GError* error, bool expired) {
    if (expired) {
        return SecretStatus::notAvailable;
    }
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_CANCELLED:
            return SecretStatus::userCanceled;
        case G_IO_ERROR_DBUS_ERROR: // a remote error GIO has no mapping for
            return SecretStatus::internalFailure;
        default: // no bus, refused connection, failed autolaunch, timed out
            return SecretStatus::notAvailable;
        }
    }
    if (error->domain == G_DBUS_ERROR) {
        switch (error->code) {
        case G_DBUS_ERROR_ACCESS_DENIED:
        case G_DBUS_ERROR_AUTH_FAILED:
            return SecretStatus::authorizationFailed;
        case G_DBUS_ERROR_FAILED:
        case G_DBUS_ERROR_NO_MEMORY:
        case G_DBUS_ERROR_INVALID_ARGS:
            return SecretStatus::internalFailure;
        default: // unknown service, no owner, no server, no reply, unknown object or method
            return SecretStatus::notAvailable;
        }
    }
    if (error->domain == SECRET_ERROR) {
        switch (error->code) {
        case SECRET_ERROR_IS_LOCKED:
            return SecretStatus::interactionNotAllowed;
        case SECRET_ERROR_NO_SUCH_OBJECT:
            return SecretStatus::itemNotFound;
        default:
            return SecretStatus::internalFailure;
        }
    }
    return SecretStatus::internalFailure;
}

// The cancellable of one call that the Secret Service answers by itself, without asking the
// user: it is cancelled when the call takes longer than the timeout (a service that never
// answers). Calls that may show an unlock prompt never get one: cancelling a call while its
// prompt is up makes gnome-keyring-daemon abort and can leave libsecret waiting for ever.
class BoundedCall {
public:
    explicit BoundedCall(std::chrono::milliseconds timeout)
        : m_cancellable(g_cancellable_new())
        , m_deadline(m_cancellable.get(), timeout) {}

    GCancellable* cancellable() const { return m_cancellable.get(); }
    SecretStatus status(const GError* error) const {
        return statusFor(error, m_deadline.expired());
    }

private:
    CancellablePtr m_cancellable;
    Deadline m_deadline; // last: destroyed first, before the cancellable it watches
};

bool isLocked(gpointer item) {
    return secret_item_get_locked(static_cast<SecretItem*>(item));
}

// The matching items that are still locked (not owned).
BorrowedListPtr lockedItems(GList* items) {
    GList* locked = nullptr;
    for (GList* node = items; node; node = node->next) {
        if (isLocked(node->data)) {
            locked = g_list_append(locked, node->data);
        }
    }
    return BorrowedListPtr(locked);
}

SecretItem* firstUnlockedItem(GList* items) {
    for (GList* node = items; node; node = node->next) {
        if (!isLocked(node->data)) {
            return static_cast<SecretItem*>(node->data);
        }
    }
    return nullptr;
}

// The calling thread's default main context for one call of the store. Item proxies subscribe
// to D-Bus signals in the context that is the default when they are made, and GDBus frees each
// subscription's data from that context once its proxy is gone. A worker thread's own context
// never runs, so that data (16 bytes an item) would stay for good; a context of the call's own,
// drained when the call is over, lets it go.
class CallContext {
public:
    CallContext()
        : m_context(g_main_context_new()) {
        g_main_context_push_thread_default(m_context);
    }
    ~CallContext() {
        while (g_main_context_iteration(m_context, FALSE)) {
        }
        g_main_context_pop_thread_default(m_context);
        g_main_context_unref(m_context);
    }
    CallContext(const CallContext&) = delete;
    CallContext& operator=(const CallContext&) = delete;

private:
    GMainContext* m_context;
};

// One call of the store: the service connection and the matching attributes. Whatever the
// call made (items, values) must go before it does, so its context is drained last.
class Operation {
public:
    Operation(const QString& service, const QString& account, std::chrono::milliseconds timeout)
        : m_service(service.toUtf8())
        , m_account(account.toUtf8())
        , m_attributes(g_hash_table_new(g_str_hash, g_str_equal))
        , m_timeout(timeout) {
        g_hash_table_insert(m_attributes.get(), const_cast<char*>("service"), m_service.data());
        g_hash_table_insert(m_attributes.get(), const_cast<char*>("account"), m_account.data());
    }

    SecretService* service() const { return m_connection.get(); }
    GHashTable* attributes() const { return m_attributes.get(); }
    std::chrono::milliseconds timeout() const { return m_timeout; }
    QByteArray label() const { return m_account + " (" + m_service + ")"; }

    // Connects to the Secret Service; SecretStatus::success or the status that says why not.
    SecretStatus connect() {
        BoundedCall call(m_timeout);
        GError* raw = nullptr;
        m_connection.reset(secret_service_get_sync(SECRET_SERVICE_NONE, call.cancellable(), &raw));
        const ErrorPtr error(raw);
        if (!m_connection) {
            return error ? call.status(error.get()) : SecretStatus::internalFailure;
        }
        return SecretStatus::success;
    }

    // Every matching item, locked ones too: finding an item needs no unlocking, so "stored but
    // locked" stays apart from "not stored".
    SecretStatus search(ItemListPtr& items) const {
        BoundedCall call(m_timeout);
        GError* raw = nullptr;
        items.reset(secret_service_search_sync(m_connection.get(), &plimboSchema, attributes(),
                                               SECRET_SEARCH_ALL, call.cancellable(), &raw));
        const ErrorPtr error(raw);
        return error ? call.status(error.get()) : SecretStatus::success;
    }

    // Unlocks the objects (items or collections); the store may ask the user first, and this
    // waits for the answer however long it takes. Success when every one was unlocked; a
    // dismissed prompt, or one that could not be shown, gives SecretStatus::userCanceled.
    SecretStatus unlock(GList* objects) const {
        GError* raw = nullptr;
        const gint unlocked =
            secret_service_unlock_sync(m_connection.get(), objects, nullptr, nullptr, &raw);
        const ErrorPtr error(raw);
        if (error) {
            return statusFor(error.get(), false);
        }
        return unlocked >= static_cast<gint>(g_list_length(objects)) ? SecretStatus::success
                                                                     : SecretStatus::userCanceled;
    }

private:
    CallContext m_context; // first: made before the connection, drained after it
    QByteArray m_service;
    QByteArray m_account;
    AttributesPtr m_attributes;
    std::chrono::milliseconds m_timeout;
    ServicePtr m_connection;
};

} // namespace

LibsecretSecretStore::LibsecretSecretStore(std::chrono::milliseconds timeout)
    : m_timeout(timeout) {}

SecretStore::ReadResult LibsecretSecretStore::read(const QString& service, const QString& account) {
    Operation operation(service, account, m_timeout);
    SecretStatus status = operation.connect();
    if (status != SecretStatus::success) {
        return ReadResult::makeFailed(status);
    }
    ItemListPtr items;
    status = operation.search(items);
    if (status != SecretStatus::success) {
        return ReadResult::makeFailed(status);
    }
    if (!items) {
        return ReadResult::makeNotFound();
    }
    SecretItem* item = firstUnlockedItem(items.get());
    if (!item) {
        // One item is enough: unlocking it unlocks its collection.
        const BorrowedListPtr first(g_list_append(nullptr, items->data));
        const SecretStatus unlockStatus = operation.unlock(first.get());
        // Search again either way: the keyring may have been unlocked meanwhile by other means,
        // and the items found before still say they are locked.
        status = operation.search(items);
        if (status != SecretStatus::success) {
            return ReadResult::makeLocked(status);
        }
        if (!items) {
            return ReadResult::makeNotFound();
        }
        item = firstUnlockedItem(items.get());
        if (!item) {
            return ReadResult::makeLocked(
                unlockStatus != SecretStatus::success ? unlockStatus : SecretStatus::userCanceled);
        }
    }

    BoundedCall call(m_timeout);
    GError* raw = nullptr;
    secret_item_load_secret_sync(item, call.cancellable(), &raw);
    const ErrorPtr error(raw);
    if (error) {
        status = call.status(error.get());
        if (status == SecretStatus::itemNotFound) {
            return ReadResult::makeNotFound();
        }
        return status == SecretStatus::interactionNotAllowed ? ReadResult::makeLocked(status)
                                                             : ReadResult::makeFailed(status);
    }
    const ValuePtr value(secret_item_get_secret(item));
    if (!value) {
        return ReadResult::makeUndecodable();
    }
    gsize length = 0;
    const gchar* bytes = secret_value_get(value.get(), &length);
    if (!bytes) {
        return ReadResult::makeUndecodable();
    }
    return ReadResult::makeFound(QByteArray(bytes, static_cast<qsizetype>(length)));
}

SecretStatus LibsecretSecretStore::save(const QString& service, const QString& account,
                                        const QByteArray& secret) {
    Operation operation(service, account, m_timeout);
    SecretStatus status = operation.connect();
    if (status != SecretStatus::success) {
        return status;
    }
    ValuePtr value(secret_value_new(secret.constData(), secret.size(), "text/plain"));

    // Update every matching item first, so an item another tool stored is not shadowed by a
    // second one of ours.
    ItemListPtr items;
    status = operation.search(items);
    if (status != SecretStatus::success) {
        return status;
    }
    if (items) {
        if (const BorrowedListPtr locked = lockedItems(items.get())) {
            status = operation.unlock(locked.get());
            if (status != SecretStatus::success) {
                return status;
            }
        }
        for (GList* node = items.get(); node; node = node->next) {
            BoundedCall call(m_timeout);
            GError* raw = nullptr;
            auto* item = static_cast<SecretItem*>(node->data);
            if (!secret_item_set_secret_sync(item, value.get(), call.cancellable(), &raw)) {
                const ErrorPtr error(raw);
                return error ? call.status(error.get()) : SecretStatus::internalFailure;
            }
        }
        return SecretStatus::success;
    }

    // A locked default collection is unlocked first, waiting for the user; without one the
    // store creates it, which may prompt too, so that call has no time limit either.
    CollectionPtr collection;
    {
        BoundedCall call(m_timeout);
        GError* raw = nullptr;
        collection.reset(
            secret_collection_for_alias_sync(operation.service(), SECRET_COLLECTION_DEFAULT,
                                             SECRET_COLLECTION_NONE, call.cancellable(), &raw));
        const ErrorPtr error(raw);
        if (error) {
            return call.status(error.get());
        }
    }
    if (collection && secret_collection_get_locked(collection.get())) {
        const BorrowedListPtr locked(g_list_append(nullptr, collection.get()));
        status = operation.unlock(locked.get());
        if (status != SecretStatus::success) {
            return status;
        }
    }
    std::unique_ptr<BoundedCall> call;
    if (collection) {
        call = std::make_unique<BoundedCall>(m_timeout);
    }
    // No schema: the new item carries exactly the two attributes, as secret-tool's do.
    GError* raw = nullptr;
    if (!secret_service_store_sync(operation.service(), nullptr, operation.attributes(),
                                   SECRET_COLLECTION_DEFAULT, operation.label().constData(),
                                   value.get(), call ? call->cancellable() : nullptr, &raw)) {
        const ErrorPtr error(raw);
        if (!error) {
            return SecretStatus::internalFailure;
        }
        return call ? call->status(error.get()) : statusFor(error.get(), false);
    }
    return SecretStatus::success;
}

SecretStatus LibsecretSecretStore::remove(const QString& service, const QString& account) {
    Operation operation(service, account, m_timeout);
    SecretStatus status = operation.connect();
    if (status != SecretStatus::success) {
        return status;
    }
    ItemListPtr items;
    status = operation.search(items);
    if (status != SecretStatus::success) {
        return status;
    }
    if (const BorrowedListPtr locked = lockedItems(items.get())) {
        status = operation.unlock(locked.get());
        if (status != SecretStatus::success) {
            return status;
        }
    }
    for (GList* node = items.get(); node; node = node->next) {
        BoundedCall call(m_timeout);
        GError* raw = nullptr;
        if (!secret_item_delete_sync(static_cast<SecretItem*>(node->data), call.cancellable(),
                                     &raw)) {
            const ErrorPtr error(raw);
            status = error ? call.status(error.get()) : SecretStatus::internalFailure;
            if (status != SecretStatus::itemNotFound) {
                return status;
            }
        }
    }
    return SecretStatus::success;
}

} // namespace plimbo
