#include "FakeAtomicFileWriter.h"
#include "FileWriteError.h"
#include "SaveFileWriter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace plimbo;
using plimbo::test::readFile;
using plimbo::test::writeFile;

TEST(SaveFileWriter, WritesAndReplacesWholeFilesWithoutLeftovers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("history.json");
    SaveFileWriter writer;
    writer.write(path, "first version, longer than the second");
    EXPECT_EQ(readFile(path), "first version, longer than the second");
    writer.write(path, "second");
    EXPECT_EQ(readFile(path), "second");
    writer.write(path, QByteArray());
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"history.json"});
}

TEST(SaveFileWriter, FailuresThrowAndLeaveTheTargetAlone) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SaveFileWriter writer;
    try {
        writer.write(dir.filePath("missing/file.json"), "x");
        FAIL() << "no FileWriteError";
    } catch (const FileWriteError& error) {
        EXPECT_EQ(error.path(), dir.filePath("missing/file.json"));
        EXPECT_FALSE(error.reason().isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));

    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder/inner")));
    EXPECT_THROW(writer.write(dir.filePath("folder"), "x"), FileWriteError);
    EXPECT_TRUE(QFileInfo(dir.filePath("folder/inner")).isDir());
}

TEST(FakeAtomicFileWriter, FailsOnRequestWithoutTouchingTheTarget) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("file");
    FakeAtomicFileWriter writer;
    writer.write(path, "old");
    writer.setFailure(QStringLiteral("No space left on device"));
    try {
        writer.write(path, "new");
        FAIL() << "no FileWriteError";
    } catch (const FileWriteError& error) {
        EXPECT_EQ(error.reason(), "No space left on device");
    }
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(writer.writtenPaths(), QStringList{path});
}
