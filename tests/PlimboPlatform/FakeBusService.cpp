#include "FakeBusService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

namespace plimbo::test {

FakeBusService::FakeBusService(const QString& kind, std::unique_ptr<QObject> object,
                               const QString& serviceName)
    : m_object(object.release()) {
    static int counter = 0;
    ++counter;
    m_serviceName = !serviceName.isEmpty() ? serviceName
                                           : QStringLiteral("org.plimbo.test.%1.p%2_%3")
                                                 .arg(kind)
                                                 .arg(QCoreApplication::applicationPid())
                                                 .arg(counter);
    // A restarted service has a connection of its own.
    m_connectionName = QStringLiteral("fake-%1-%2").arg(counter).arg(m_serviceName);
    m_thread.start();
    m_object->moveToThread(&m_thread);
}

FakeBusService::~FakeBusService() {
    QDBusConnection::disconnectFromBus(m_connectionName);
    m_thread.quit();
    m_thread.wait();
    delete m_object;
}

bool FakeBusService::sessionBusIsAvailable() {
    return QDBusConnection::sessionBus().isConnected();
}

bool FakeBusService::publish(const QString& objectPath) {
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    return bus.isConnected() &&
           bus.registerObject(objectPath, m_object, QDBusConnection::ExportAllSlots) &&
           bus.registerService(m_serviceName);
}

bool FakeBusService::send(const QDBusMessage& message) {
    return QDBusConnection(m_connectionName).send(message);
}

} // namespace plimbo::test
