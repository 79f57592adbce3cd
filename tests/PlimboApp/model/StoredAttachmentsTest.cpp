#include "StoredAttachments.h"
#include "AppModelHarness.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class StoredAttachmentsTest : public ::testing::Test {
protected:
    AppModelHarness h;
    StoredAttachments attachments{h.store, *h.executor};
};

TEST_F(StoredAttachmentsTest, PreloadDecodesTheImagesOnlyAndAnnouncesEach) {
    const AIChatAttachment picture = h.storeAttachment(pngBytes(QSize(12, 10), Qt::darkCyan),
                                                       "a.png", AIChatAttachmentKind::image);
    const AIChatAttachment broken =
        h.storeAttachment("not a picture", "b.png", AIChatAttachmentKind::image);
    const AIChatAttachment text = h.storeAttachment("notes", "c.txt");
    QSignalSpy ready(&attachments, &StoredAttachments::imageReady);

    QFuture<void> loading = attachments.preload({picture, broken, text});
    ASSERT_TRUE(settle([&] { return loading.isFinished(); }));
    ASSERT_TRUE(attachments.image(picture).has_value());
    EXPECT_EQ(attachments.image(picture)->size(), QSize(12, 10));
    EXPECT_FALSE(attachments.image(broken).has_value());
    EXPECT_FALSE(attachments.image(text).has_value());
    ASSERT_EQ(ready.count(), 1);
    EXPECT_EQ(ready.first().first().toUuid(), picture.id);

    // What is cached already is not read again.
    const int posted = h.executor->posted();
    EXPECT_TRUE(attachments.preload({picture}).isFinished());
    EXPECT_EQ(h.executor->posted(), posted);
}

TEST_F(StoredAttachmentsTest, RemovingForgetsTheImageAndDeletesTheFile) {
    const AIChatAttachment picture =
        h.storeAttachment(pngBytes(QSize(4, 4), Qt::red), "a.png", AIChatAttachmentKind::image);
    attachments.insertImage(picture.id, QImage(4, 4, QImage::Format_ARGB32));
    ASSERT_TRUE(attachments.image(picture).has_value());
    attachments.remove({picture});
    EXPECT_FALSE(attachments.image(picture).has_value());
    EXPECT_TRUE(settle([&] { return !h.attachmentFileExists(picture); }));
}

} // namespace
