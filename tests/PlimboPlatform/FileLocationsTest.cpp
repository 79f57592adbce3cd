#include "XdgFileLocations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace plimbo;

TEST(XdgFileLocations, ApplicationSupportIsTheXdgDataHomeItself) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_DATA_HOME");
    const auto restore = qScopeGuard([&] {
        if (wasSet) {
            qputenv("XDG_DATA_HOME", saved);
        } else {
            qunsetenv("XDG_DATA_HOME");
        }
    });
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + "/share/"));

    const XdgFileLocations locations;
    EXPECT_EQ(locations.applicationSupportDirectory(), dir.path() + "/share");
    EXPECT_EQ(locations.temporaryDirectory(), QDir::cleanPath(QDir::tempPath()));
}
