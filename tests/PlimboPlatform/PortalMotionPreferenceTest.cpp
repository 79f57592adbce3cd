#include "PortalMotionPreference.h"

#include "FakeBusTest.h"

#include <gtest/gtest.h>

#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QHash>
#include <QMutex>
#include <QSignalSpy>
#include <QTest>

using namespace plimbo;

namespace {

// A stand-in desktop portal holding a few settings.
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    void set(const QString& nameSpace, const QString& key, const QVariant& value) {
        QMutexLocker lock(&m_mutex);
        m_values.insert(nameSpace + QLatin1Char('/') + key, value);
    }

public slots:
    // The real portal wraps the value in a second variant here.
    QDBusVariant Read(const QString& nameSpace, const QString& key) {
        QMutexLocker lock(&m_mutex);
        const auto found = m_values.constFind(nameSpace + QLatin1Char('/') + key);
        if (found == m_values.constEnd()) {
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                           QStringLiteral("Requested setting not found"));
            return {};
        }
        return QDBusVariant(QVariant::fromValue(QDBusVariant(*found)));
    }

private:
    QMutex m_mutex;
    QHash<QString, QVariant> m_values;
};

class PortalMotionPreferenceTest : public test::FakeBusTest<FakePortal> {
protected:
    PortalMotionPreferenceTest()
        : FakeBusTest(QStringLiteral("Portal"),
                      QString::fromLatin1(PortalMotionPreference::objectPath)) {}

    // The portal's change signal, sent from its connection.
    void announce(const QString& nameSpace, const QString& key, const QVariant& value) {
        QDBusMessage signal =
            QDBusMessage::createSignal(QString::fromLatin1(PortalMotionPreference::objectPath),
                                       QString::fromLatin1(PortalMotionPreference::interfaceName),
                                       QStringLiteral("SettingChanged"));
        signal << nameSpace << key << QVariant::fromValue(QDBusVariant(value));
        ASSERT_TRUE(sendFromFake(signal));
    }

    std::unique_ptr<PortalMotionPreference> preference() {
        return std::make_unique<PortalMotionPreference>(QDBusConnection::sessionBus(), serviceName);
    }
};

const QString gnome = QString::fromLatin1(PortalMotionPreference::gnomeNamespace);
const QString gnomeKey = QString::fromLatin1(PortalMotionPreference::gnomeKey);
const QString kde = QString::fromLatin1(PortalMotionPreference::kdeNamespace);
const QString kdeKey = QString::fromLatin1(PortalMotionPreference::kdeKey);

} // namespace

TEST_F(PortalMotionPreferenceTest, GnomeAnimationsOffReduceMotionAndChangesAreFollowed) {
    fake->set(gnome, gnomeKey, false);
    ASSERT_TRUE(publishFake());
    const auto motion = preference();
    QSignalSpy changes(motion.get(), &MotionPreference::reducesMotionChanged);
    // The first answer comes without blocking the caller.
    EXPECT_FALSE(motion->reducesMotion());
    ASSERT_TRUE(QTest::qWaitFor([&] { return motion->reducesMotion(); }, 5000));
    EXPECT_EQ(changes.size(), 1);

    announce(gnome, gnomeKey, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !motion->reducesMotion(); }, 5000));
    // Other settings, and values of the wrong type, change nothing.
    announce(gnome, QStringLiteral("clock-format"), false);
    announce(gnome, gnomeKey, QStringLiteral("false"));
    announce(gnome, gnomeKey, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return motion->reducesMotion(); }, 5000));
    EXPECT_EQ(changes.size(), 3);
}

TEST_F(PortalMotionPreferenceTest, KdeAnimationSpeedZeroReducesMotion) {
    fake->set(kde, kdeKey, 0.0);
    ASSERT_TRUE(publishFake());
    const auto motion = preference();
    ASSERT_TRUE(QTest::qWaitFor([&] { return motion->reducesMotion(); }, 5000));
    announce(kde, kdeKey, 1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !motion->reducesMotion(); }, 5000));
}

TEST_F(PortalMotionPreferenceTest, WithoutAPortalOrTheSettingMotionStaysOn) {
    // Nothing published under the name: the bus answers that the service is unknown.
    const auto missing = preference();
    ASSERT_TRUE(publishFake());
    const auto empty = preference();
    QTest::qWait(300);
    EXPECT_FALSE(missing->reducesMotion());
    EXPECT_FALSE(empty->reducesMotion());
}

#include "PortalMotionPreferenceTest.moc"
