#include "AIAttachmentFailureList.h"
#include "AIAttachmentError.h"
#include "FileSystemError.h"

#include <gtest/gtest.h>

using namespace plimbo;

TEST(AIAttachmentFailureListTest, OneLinePerFileJoinedByLineFeeds) {
    AIAttachmentFailureList failures;
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(failures.message(), "");

    // Lines name the file as it was given, not as it would have been stored.
    failures.add(QUrl::fromLocalFile("/photos/holiday.heic"),
                 AIAttachmentError(AIAttachmentError::Kind::unreadable));
    failures.add(
        QUrl::fromLocalFile("/docs/big.pdf"),
        std::make_exception_ptr(AIAttachmentError(AIAttachmentError::Kind::totalTooLarge)));
    failures.add(QUrl::fromLocalFile("/docs/gone.txt"),
                 std::make_exception_ptr(FileSystemError("/docs/gone.txt", "It is gone.")));
    failures.add(QUrl::fromLocalFile("/tmp/folder/"),
                 AIAttachmentError(AIAttachmentError::Kind::unsupportedType));
    failures.addFileLimitReached();

    EXPECT_FALSE(failures.isEmpty());
    EXPECT_EQ(failures.message(), "holiday.heic: Plimbo could not read this file.\n"
                                  "big.pdf: Attachments in one message must total 15 MB or less.\n"
                                  "gone.txt: It is gone.\n"
                                  "folder: Use an image, PDF, or text/code file.\n"
                                  "You can attach up to 4 files per message.");
}
