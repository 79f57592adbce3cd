#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <memory>

class QDBusMessage;

namespace plimbo::test {

// Publishes a stand-in D-Bus service for a test. The object lives on its own thread with its
// own bus connection: the backends' calls may block the calling thread, so a service living
// there could never answer. Its service name is one no other test process uses, so ctest -j
// cannot collide on the shared session bus. Ends the thread and deletes the object when it goes.
class FakeBusService {
public:
    // `kind` goes into the service name (org.plimbo.test.<kind>.p<pid>_<n>); a given
    // `serviceName` is taken instead, to stand in for a service that restarts.
    FakeBusService(const QString& kind, std::unique_ptr<QObject> object,
                   const QString& serviceName = {});
    ~FakeBusService();

    FakeBusService(const FakeBusService&) = delete;
    FakeBusService& operator=(const FakeBusService&) = delete;

    // Whether the session bus is there to publish on (tests skip without it).
    static bool sessionBusIsAvailable();

    QString serviceName() const { return m_serviceName; }
    // Exports the object's slots at `objectPath` and takes the service name; false when the bus
    // refused either.
    bool publish(const QString& objectPath);
    // Sends a message (a signal, say) from the service's own connection, once published.
    bool send(const QDBusMessage& message);

private:
    QString m_serviceName;
    QString m_connectionName;
    QThread m_thread;
    QObject* m_object;
};

} // namespace plimbo::test
