#include "NotchSwitches.h"

#include "InMemorySettingsStore.h"
#include "QSettingsStore.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace plimbo;

namespace {

TEST(NotchSwitches, BothAreOnUntilFalseIsStored) {
    InMemorySettingsStore defaults;
    NotchSwitches switches(defaults);
    EXPECT_TRUE(switches.notchSurfaceEnabled());
    EXPECT_TRUE(switches.virtualNotchEnabled());

    // Values that are not Booleans count as absent.
    defaults.setValue("plimbo.notch.enabled", "0");
    defaults.setValue("plimbo.notch.virtualEnabled", "no");
    EXPECT_TRUE(switches.notchSurfaceEnabled());
    EXPECT_TRUE(switches.virtualNotchEnabled());

    defaults.setValue("plimbo.notch.enabled", "false");
    EXPECT_FALSE(switches.notchSurfaceEnabled());
    EXPECT_TRUE(switches.virtualNotchEnabled());
}

TEST(NotchSwitches, EachSwitchWritesItsOwnKeyEveryTime) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Plimbo.conf");
    {
        QSettingsStore defaults(path);
        NotchSwitches switches(defaults);
        switches.setVirtualNotchEnabled(false);
        EXPECT_FALSE(switches.virtualNotchEnabled());
        EXPECT_TRUE(switches.notchSurfaceEnabled());
        EXPECT_FALSE(defaults.contains("plimbo.notch.enabled"));

        // An unchanged value is still written (the key appears).
        switches.setNotchSurfaceEnabled(true);
        EXPECT_TRUE(defaults.contains("plimbo.notch.enabled"));
    }
    const QByteArray ini = test::readFile(path);
    EXPECT_TRUE(ini.contains("plimbo.notch.virtualEnabled=false")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("plimbo.notch.enabled=true")) << ini.toStdString();

    QSettingsStore reopened(path);
    EXPECT_FALSE(NotchSwitches(reopened).virtualNotchEnabled());
}

} // namespace
