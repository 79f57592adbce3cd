#include "ChatComposer.h"
#include "AppModelHarness.h"
#include "ChatList.h"
#include "StoredAttachments.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// The composer with the history it checks files against, loaded, and its failures recorded.
class ChatComposerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QObject::connect(&composer, &ChatComposer::failed,
                         [this](const QString& message) { failures.append(message); });
        chats.load(*h.executor);
        ASSERT_TRUE(settle([&] { return chats.isLoaded(); }));
    }

    // Adds the files and waits until the ingestion is over.
    void attach(const QList<QUrl>& files) {
        ASSERT_TRUE(composer.add(files));
        ASSERT_TRUE(settle([&] { return !composer.isAdding(); }));
    }

    QStringList pendingNames() const { return pendingAttachmentNames(composer); }

    QStringList storedFiles() const { return h.storedAttachmentFiles(); }

    AppModelHarness h;
    StoredAttachments attachments{h.store, *h.executor};
    ChatList chats{h.store, *h.clock, attachments};
    ChatComposer composer{h.store, *h.executor, attachments, chats, h.chooser.get()};
    QStringList failures;
};

TEST_F(ChatComposerTest, TheFileLimitEndsTheIngestion) {
    attach({h.sourceFile("1.txt", "1"), h.sourceFile("2.txt", "2"), h.sourceFile("3.txt", "3")});
    attach({h.sourceFile("4.txt", "4"), h.sourceFile("5.txt", "5"), h.sourceFile("6.txt", "6")});
    EXPECT_EQ(pendingNames(), (QStringList{"1.txt", "2.txt", "3.txt", "4.txt"}));
    EXPECT_EQ(failures, QStringList{"You can attach up to 4 files per message."});
    EXPECT_EQ(storedFiles().size(), 4);
}

TEST_F(ChatComposerTest, TheMessageTotalRefusesOneFileAndTheNextStillComes) {
    const QByteArray sevenMillion(7'000'000, 'x');
    attach({h.sourceFile("a.pdf", sevenMillion), h.sourceFile("b.pdf", sevenMillion)});
    attach({h.sourceFile("c.pdf", QByteArray(1'728'641, 'x')), h.sourceFile("d.txt", "d")});
    EXPECT_EQ(failures, QStringList{"c.pdf: Attachments in one message must total 15 MB or less."});
    EXPECT_EQ(pendingNames(), (QStringList{"a.pdf", "b.pdf", "d.txt"}));
}

TEST_F(ChatComposerTest, RemovingAPendingFileDeletesItsCopy) {
    attach({h.sourceFile("photo.png", pngBytes(QSize(8, 6), Qt::darkCyan)),
            h.sourceFile("b.txt", "b")});
    const AIChatAttachment photo = composer.pendingAttachments().first();
    QSignalSpy changes(&composer, &ChatComposer::pendingAttachmentsChanged);
    composer.removePending(QUuid::createUuid());
    EXPECT_EQ(changes.count(), 0);

    composer.removePending(photo.id);
    EXPECT_EQ(pendingNames(), QStringList{"b.txt"});
    EXPECT_FALSE(attachments.image(photo).has_value());
    ASSERT_TRUE(settle([&] { return !h.attachmentFileExists(photo); }));
    EXPECT_EQ(storedFiles().size(), 1);
}

} // namespace
