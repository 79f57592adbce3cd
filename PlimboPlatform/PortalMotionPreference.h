#pragma once

#include "MotionPreference.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace plimbo {

// The desktop's animation setting, read through the XDG desktop portal's Settings interface:
// GNOME's enable-animations (off means reduce) and KDE's animation speed factor (0 means
// reduce). Asks once without blocking and then follows the portal's change signal; without a
// portal, or with neither setting, motion is not reduced.
class PortalMotionPreference final : public MotionPreference {
    Q_OBJECT

public:
    static constexpr const char* defaultServiceName = "org.freedesktop.portal.Desktop";
    static constexpr const char* objectPath = "/org/freedesktop/portal/desktop";
    static constexpr const char* interfaceName = "org.freedesktop.portal.Settings";
    static constexpr const char* gnomeNamespace = "org.gnome.desktop.interface";
    static constexpr const char* gnomeKey = "enable-animations";
    static constexpr const char* kdeNamespace = "org.kde.kdeglobals.KDE";
    static constexpr const char* kdeKey = "AnimationDurationFactor";

    explicit PortalMotionPreference(QObject* parent = nullptr);
    PortalMotionPreference(const QDBusConnection& connection, const QString& serviceName,
                           QObject* parent = nullptr);

    bool reducesMotion() const override { return m_reduces; }

private slots:
    // Takes the whole message: the portal's value comes wrapped in a variant.
    void settingChanged(const QDBusMessage& message);

private:
    void read(const char* nameSpace, const char* key);
    void apply(const QString& nameSpace, const QString& key, const QVariant& value);

    QDBusConnection m_connection;
    QString m_serviceName;
    bool m_reduces = false;
};

} // namespace plimbo
