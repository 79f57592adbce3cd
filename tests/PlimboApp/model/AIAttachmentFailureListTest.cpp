#include "AIAttachmentFailureList.h"
#include "AIAttachmentError.h"
#include "FileSystemError.h"

#include <gtest/gtest.h>

#include <stdexcept>

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

// Whatever a background step failed with, and however the file was addressed, the user gets a
// line naming the file.
TEST(AIAttachmentFailureListTest, AnyFailureOfAnyAddressGivesALine) {
    AIAttachmentFailureList failures;
    failures.add(QUrl("https://example.com/pictures/cat.png"),
                 std::make_exception_ptr(std::runtime_error("Connection refused")));
    failures.add(QUrl::fromLocalFile("/data/odd.bin"), std::make_exception_ptr(42));
    failures.add(QUrl::fromLocalFile("/data/none.txt"), std::exception_ptr());
    failures.add(QUrl::fromLocalFile("/"), QStringLiteral("Use an image, PDF, or text/code file."));
    EXPECT_EQ(failures.lines(), (QStringList{"cat.png: Connection refused",
                                             "odd.bin: Plimbo could not read this file.",
                                             "none.txt: Plimbo could not read this file.",
                                             "/: Use an image, PDF, or text/code file."}));
}
