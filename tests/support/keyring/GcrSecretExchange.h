#pragma once

#include <QByteArray>

namespace plimbo::test {

// One side of gcr's secret exchange ("sx-aes-1"), through the libgcr-base that
// gnome-keyring-daemon itself links: a stand-in for the desktop's prompter needs it to hand a
// password to the daemon. Loaded at run time, so that only these tests need the library.
class GcrSecretExchange {
public:
    GcrSecretExchange();
    ~GcrSecretExchange();
    GcrSecretExchange(const GcrSecretExchange&) = delete;
    GcrSecretExchange& operator=(const GcrSecretExchange&) = delete;

    // False when libgcr-base could not be loaded.
    static bool available();

    // The opening message, sent before the other side said anything.
    QByteArray begin();
    // Takes the other side's message; false when it was not understood.
    bool receive(const QByteArray& exchange);
    // A reply carrying `secret`, or none when it is null.
    QByteArray send(const QByteArray& secret);

private:
    void* m_exchange = nullptr;
};

} // namespace plimbo::test
