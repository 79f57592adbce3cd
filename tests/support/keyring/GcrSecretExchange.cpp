#include "GcrSecretExchange.h"

#include <dlfcn.h>

namespace plimbo::test {

namespace {

struct Gcr {
    void* (*newExchange)(const char* protocol) = nullptr;
    char* (*begin)(void* exchange) = nullptr;
    int (*receive)(void* exchange, const char* message) = nullptr;
    char* (*send)(void* exchange, const char* secret, long length) = nullptr;
    void (*unref)(void* object) = nullptr;
    void (*free)(void* memory) = nullptr;

    bool loaded() const { return newExchange && begin && receive && send && unref && free; }
};

const Gcr& gcr() {
    static const Gcr library = [] {
        Gcr loaded;
        void* handle = dlopen("libgcr-base-3.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            return loaded;
        }
        // GLib's functions come along as the library's own dependencies.
        loaded.newExchange = reinterpret_cast<decltype(loaded.newExchange)>(
            dlsym(handle, "gcr_secret_exchange_new"));
        loaded.begin =
            reinterpret_cast<decltype(loaded.begin)>(dlsym(handle, "gcr_secret_exchange_begin"));
        loaded.receive = reinterpret_cast<decltype(loaded.receive)>(
            dlsym(handle, "gcr_secret_exchange_receive"));
        loaded.send =
            reinterpret_cast<decltype(loaded.send)>(dlsym(handle, "gcr_secret_exchange_send"));
        loaded.unref = reinterpret_cast<decltype(loaded.unref)>(dlsym(handle, "g_object_unref"));
        loaded.free = reinterpret_cast<decltype(loaded.free)>(dlsym(handle, "g_free"));
        return loaded;
    }();
    return library;
}

QByteArray take(char* text) {
    if (!text) {
        return {};
    }
    QByteArray copy(text);
    gcr().free(text);
    return copy;
}

} // namespace

GcrSecretExchange::GcrSecretExchange() {
    if (available()) {
        m_exchange = gcr().newExchange(nullptr);
    }
}

GcrSecretExchange::~GcrSecretExchange() {
    if (m_exchange) {
        gcr().unref(m_exchange);
    }
}

bool GcrSecretExchange::available() {
    return gcr().loaded();
}

QByteArray GcrSecretExchange::begin() {
    return m_exchange ? take(gcr().begin(m_exchange)) : QByteArray();
}

bool GcrSecretExchange::receive(const QByteArray& exchange) {
    return m_exchange && gcr().receive(m_exchange, exchange.constData());
}

QByteArray GcrSecretExchange::send(const QByteArray& secret) {
    if (!m_exchange) {
        return {};
    }
    return take(gcr().send(m_exchange, secret.isNull() ? nullptr : secret.constData(), -1));
}

} // namespace plimbo::test
