#include "PrivateKeyring.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUuid>

namespace plimbo::test {

namespace {

const QString secretsName = QStringLiteral("org.freedesktop.secrets");

} // namespace

PrivateKeyring::~PrivateKeyring() {
    if (!m_connectionName.isEmpty()) {
        QDBusConnection::disconnectFromBus(m_connectionName);
    }
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(3000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(2000);
        }
    }
}

bool PrivateKeyring::start(const QString& password) {
    if (!m_home.isValid() || !m_bus.start()) {
        return false;
    }
    const QDir root(m_home.path());
    for (const char* folder : {"home", "config", "data", "cache", "runtime"}) {
        root.mkpath(QString::fromLatin1(folder));
    }
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    m_daemon.setProcessEnvironment(environment());
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    // With --unlock the daemon reads the login password from its input and creates the login
    // keyring with it when there is none.
    m_daemon.start(QStringLiteral("gnome-keyring-daemon"),
                   {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                    QStringLiteral("--components=secrets")});
    if (!m_daemon.waitForStarted(5000)) {
        return false;
    }
    m_daemon.write(password.toUtf8());
    m_daemon.closeWriteChannel();

    m_connectionName =
        QStringLiteral("plimbo-private-keyring-") + QUuid::createUuid().toString(QUuid::Id128);
    QDBusConnection bus = QDBusConnection::connectToBus(m_bus.address(), m_connectionName);
    if (!bus.isConnected()) {
        return false;
    }
    return QTest::qWaitFor(
        [&] { return bus.interface()->isServiceRegistered(secretsName).value(); }, 10000);
}

QString PrivateKeyring::daemonOutput() {
    return QString::fromUtf8(m_daemon.readAll());
}

QDBusConnection PrivateKeyring::connection() const {
    return QDBusConnection(m_connectionName);
}

QProcessEnvironment PrivateKeyring::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QDir root(m_home.path());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus.address());
    environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), root.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("runtime")));
    environment.remove(QStringLiteral("GNOME_KEYRING_CONTROL"));
    return environment;
}

bool PrivateKeyring::store(const QString& service, const QString& account,
                           const QByteArray& secret) {
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(QStringLiteral("secret-tool"),
               {QStringLiteral("store"), QStringLiteral("--label=Plimbo"),
                QStringLiteral("service"), service, QStringLiteral("account"), account});
    if (!tool.waitForStarted(5000)) {
        return false;
    }
    tool.write(secret);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished(1000);
        return false;
    }
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

bool PrivateKeyring::lock() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        secretsName, QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"));
    call << QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(loginCollection)});
    const QDBusMessage reply = connection().call(call, QDBus::Block, 10000);
    return reply.type() == QDBusMessage::ReplyMessage && isLocked() == true;
}

std::optional<bool> PrivateKeyring::isLocked() const {
    QDBusMessage call = QDBusMessage::createMethodCall(
        secretsName, loginCollection, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << QStringLiteral("org.freedesktop.Secret.Collection") << QStringLiteral("Locked");
    const QDBusMessage reply = connection().call(call, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

} // namespace plimbo::test
