#include "StandInPrompter.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QTimer>
#include <QVariantMap>

namespace plimbo::test {

namespace {

const QString prompterName = QStringLiteral("org.gnome.keyring.SystemPrompter");
const QString prompterPath = QStringLiteral("/org/gnome/keyring/Prompter");
const QString prompterInterface = QStringLiteral("org.gnome.keyring.internal.Prompter");
const QString callbackInterface = QStringLiteral("org.gnome.keyring.internal.Prompter.Callback");

QString key(const QString& caller, const QString& callback) {
    return caller + QLatin1Char('|') + callback;
}

QString pathArgument(const QDBusMessage& message, int index) {
    const QVariantList arguments = message.arguments();
    return index < arguments.size() ? arguments[index].value<QDBusObjectPath>().path() : QString();
}

} // namespace

StandInPrompter::StandInPrompter(Answer answer, int delayMs, QByteArray password)
    : m_answer(answer)
    , m_delayMs(delayMs)
    , m_password(std::move(password)) {}

StandInPrompter::~StandInPrompter() {
    if (!m_connectionName.isEmpty()) {
        QDBusConnection connection(m_connectionName);
        connection.unregisterObject(prompterPath);
        connection.unregisterService(prompterName);
    }
}

bool StandInPrompter::registerOn(const QDBusConnection& connection) {
    QDBusConnection bus = connection;
    if (!bus.registerVirtualObject(prompterPath, this)) {
        return false;
    }
    m_connectionName = bus.name();
    return bus.registerService(prompterName);
}

QString StandInPrompter::introspect(const QString&) const {
    return {};
}

bool StandInPrompter::handleMessage(const QDBusMessage& message,
                                    const QDBusConnection& connection) {
    if (message.interface() != prompterInterface) {
        return false;
    }
    const QString caller = message.service();
    const QString callback = pathArgument(message, 0);
    const QString method = message.member();
    if (method == QStringLiteral("BeginPrompting")) {
        auto prompt = std::make_shared<Prompt>();
        m_prompts.insert(key(caller, callback), prompt);
        connection.send(message.createReply());
        // The prompter opens the secret exchange and says it is ready for the first prompt.
        ready(connection, caller, callback, QString(), prompt->exchange.begin());
        return true;
    }
    if (method == QStringLiteral("PerformPrompt")) {
        const std::shared_ptr<Prompt> prompt = m_prompts.value(key(caller, callback));
        const QVariantList arguments = message.arguments();
        if (!prompt || arguments.size() < 4 ||
            !prompt->exchange.receive(arguments[3].toString().toUtf8())) {
            connection.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                         QStringLiteral("Not prompting")));
            return true;
        }
        if (m_promptsShown++ == 0) {
            m_firstShownAt = QDateTime::currentMSecsSinceEpoch();
        }
        connection.send(message.createReply());
        if (m_answer != Answer::never) {
            // Precise: a coarse timer may answer a few per cent before the delay the test waits
            // for.
            QTimer::singleShot(
                m_delayMs, Qt::PreciseTimer, this,
                [this, connection, caller, callback] { answer(connection, caller, callback); });
        }
        return true;
    }
    if (method == QStringLiteral("StopPrompting")) {
        ++m_promptsStopped;
        m_prompts.remove(key(caller, callback));
        connection.send(message.createReply());
        QDBusMessage done = QDBusMessage::createMethodCall(caller, callback, callbackInterface,
                                                           QStringLiteral("PromptDone"));
        QDBusConnection(connection).call(done, QDBus::NoBlock);
        return true;
    }
    return false;
}

void StandInPrompter::ready(const QDBusConnection& connection, const QString& caller,
                            const QString& callback, const QString& reply,
                            const QByteArray& exchange) {
    QDBusMessage call = QDBusMessage::createMethodCall(caller, callback, callbackInterface,
                                                       QStringLiteral("PromptReady"));
    call << reply << QVariantMap() << QString::fromUtf8(exchange);
    QDBusConnection(connection).call(call, QDBus::NoBlock);
}

void StandInPrompter::answer(QDBusConnection connection, QString caller, QString callback) {
    const std::shared_ptr<Prompt> prompt = m_prompts.value(key(caller, callback));
    if (!prompt) {
        return;
    }
    ++m_promptsAnswered;
    if (m_answer == Answer::password) {
        ready(connection, caller, callback, QStringLiteral("yes"),
              prompt->exchange.send(m_password));
    } else {
        ready(connection, caller, callback, QStringLiteral("no"), prompt->exchange.send({}));
    }
}

} // namespace plimbo::test
