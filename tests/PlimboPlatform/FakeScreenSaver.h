#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <atomic>

namespace plimbo::test {

// A stand-in desktop screen saver for FakeBusService. With a delay it answers Inhibit that much
// later, without blocking its thread, so calls made meanwhile are still taken.
class FakeScreenSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    std::atomic<int> delayMs{0};
    std::atomic<uint> nextCookie{0};

    QStringList calls() const {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }
    // Granted and not yet released: what keeps the screen awake.
    QSet<uint> active() const {
        QMutexLocker lock(&m_mutex);
        return m_active;
    }

public slots:
    uint Inhibit(const QString& applicationName, const QString& reason) {
        QMutexLocker lock(&m_mutex);
        const uint cookie = nextCookie++;
        m_calls << QStringLiteral("Inhibit %1|%2 -> %3").arg(applicationName, reason).arg(cookie);
        m_active.insert(cookie);
        if (delayMs > 0) {
            setDelayedReply(true);
            const QDBusMessage reply = message().createReply(cookie);
            QDBusConnection bus = connection();
            QTimer::singleShot(delayMs.load(), this, [bus, reply]() mutable { bus.send(reply); });
        }
        return cookie;
    }

    void UnInhibit(uint cookie) {
        QMutexLocker lock(&m_mutex);
        m_calls << QStringLiteral("UnInhibit %1").arg(cookie);
        m_active.remove(cookie);
    }

private:
    mutable QMutex m_mutex;
    QStringList m_calls;
    QSet<uint> m_active;
};

} // namespace plimbo::test
