#include "RuntimeResources.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace plimbo;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(RuntimeResourcesTest, FindsTheIconInABuildTreeAndInAnInstallation) {
    QTemporaryDir root;
    const QDir base(root.path());

    // A build tree: resources/ beside the program.
    touch(base.filePath("build/PlimboApp/resources/PlimboIcon.png"));
    EXPECT_EQ(RuntimeResources::directory(base.filePath("build/PlimboApp")),
              base.filePath("build/PlimboApp/resources"));

    // An installation: share/plimbo/ beside bin/, found through any spelling of bin/.
    touch(base.filePath("usr/share/plimbo/PlimboIcon.png"));
    EXPECT_EQ(RuntimeResources::directory(base.filePath("usr/bin")),
              base.filePath("usr/share/plimbo"));
    EXPECT_EQ(RuntimeResources::iconFile(base.filePath("usr/bin/")),
              base.filePath("usr/share/plimbo/PlimboIcon.png"));

    // The build tree's own folder wins when a program has both.
    touch(base.filePath("usr/bin/resources/PlimboIcon.png"));
    EXPECT_EQ(RuntimeResources::directory(base.filePath("usr/bin")),
              base.filePath("usr/bin/resources"));
}

TEST(RuntimeResourcesTest, NothingWhenNoFolderHoldsTheIcon) {
    QTemporaryDir root;
    const QDir base(root.path());
    // The folders alone, or the icon loose beside the program, are not resources.
    QDir().mkpath(base.filePath("bin/resources"));
    QDir().mkpath(base.filePath("share/plimbo/PlimboIcon.png"));
    touch(base.filePath("bin/PlimboIcon.png"));
    EXPECT_EQ(RuntimeResources::directory(base.filePath("bin")), std::nullopt);
    EXPECT_EQ(RuntimeResources::iconFile(base.filePath("bin")), QString());
    EXPECT_EQ(RuntimeResources::directory(base.filePath("missing")), std::nullopt);
}

} // namespace
