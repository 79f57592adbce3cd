#include "FolderLock.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace plimbo;

namespace {

TEST(FolderLockTest, OneHolderAtATimeWhoLeavesANoteForTheOthers) {
    QTemporaryDir dir;
    const QString path = dir.filePath("data/Plimbo/AIChats.lock");
    {
        FolderLock first(path);
        ASSERT_EQ(first.claim(), FolderLock::Result::acquired);
        // The missing folders are made, private to the user.
        EXPECT_EQ(QFileInfo(dir.filePath("data/Plimbo")).permissions().toInt() & 0x0077, 0);
        first.setNote("/run/user/1000/Plimbo-1000.socket");
        first.setNote("/tmp/short");

        // Any other holder (another process, or another open of the file in this one) finds it
        // held and reads the note.
        FolderLock second(path);
        EXPECT_EQ(second.claim(), FolderLock::Result::heldElsewhere);
        EXPECT_EQ(second.note(), "/tmp/short");
        second.setNote("not the holder");
        EXPECT_EQ(first.note(), "/tmp/short");
    }
    // Gone with its holder, and taken again.
    FolderLock again(path);
    EXPECT_EQ(again.claim(), FolderLock::Result::acquired);
}

TEST(FolderLockTest, APipeOrALinkInTheLocksPlaceIsRefusedWithoutWaiting) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe.lock");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    FolderLock onPipe(pipe);
    EXPECT_EQ(onPipe.claim(), FolderLock::Result::unavailable);
    EXPECT_FALSE(onPipe.errorString().isEmpty());
    EXPECT_TRUE(onPipe.note().isEmpty());

    ASSERT_TRUE(test::writeFile(dir.filePath("elsewhere"), "theirs"));
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), dir.filePath("link.lock")));
    FolderLock onLink(dir.filePath("link.lock"));
    EXPECT_EQ(onLink.claim(), FolderLock::Result::unavailable);
    EXPECT_EQ(test::readFile(dir.filePath("elsewhere")), "theirs");

    ASSERT_TRUE(test::writeFile(dir.filePath("file"), "x"));
    FolderLock underAFile(dir.filePath("file/AIChats.lock"));
    EXPECT_EQ(underAFile.claim(), FolderLock::Result::unavailable);
}

} // namespace
