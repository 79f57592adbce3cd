#include "SentAIAttachmentView.h"
#include "ChatViewTestSupport.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace plimbo;
using namespace plimbo::test::chat;

namespace {

class SentAIAttachmentViewTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(SentAIAttachmentViewTest, DocumentRowsNameTheKindAndSize) {
    SentAIAttachmentView pdf(attachment("plan.pdf", AIChatAttachmentKind::pdf, 248000),
                             std::nullopt);
    EXPECT_FALSE(pdf.showsPhoto());
    EXPECT_EQ(pdf.size(), QSize(230, 56));
    EXPECT_EQ(pdf.sentAttachmentSubtitle(), "PDF · 248 KB");
    EXPECT_EQ(pdf.badgeSymbol(), "doc.richtext.fill");
    EXPECT_EQ(pdf.badgeColor(), QColor::fromRgbF(1.0f, 0.52f, 0.49f));
    EXPECT_EQ(pdf.accessibleName(), "Attachment plan.pdf");

    SentAIAttachmentView text(attachment("notes.md", AIChatAttachmentKind::text, 1), std::nullopt);
    EXPECT_EQ(text.sentAttachmentSubtitle(), "TEXT · 1 byte");
    EXPECT_EQ(text.badgeColor(), QColor(Qt::white));

    SentAIAttachmentView empty(attachment("empty.txt", AIChatAttachmentKind::text, 0),
                               std::nullopt);
    EXPECT_EQ(empty.sentAttachmentSubtitle(), "TEXT · Zero KB");

    // An image whose picture is not at hand is a document row too.
    SentAIAttachmentView image(attachment("a.png", AIChatAttachmentKind::image, 84000),
                               std::nullopt);
    EXPECT_FALSE(image.showsPhoto());
    EXPECT_EQ(image.sentAttachmentSubtitle(), "TEXT · 84 KB");
    EXPECT_EQ(image.badgeSymbol(), "doc.text.fill");
}

TEST_F(SentAIAttachmentViewTest, PhotoTileWithItsNameOverAFade) {
    SentAIAttachmentView photo(attachment("a.png", AIChatAttachmentKind::image, 84000),
                               solidImage(QColor(250, 250, 250), QSize(380, 252)));
    EXPECT_TRUE(photo.showsPhoto());
    EXPECT_EQ(photo.size(), QSize(190, 126));
    const QImage drawn = grab(&photo);
    const QColor top(drawn.pixel(95, 20));
    const QColor bottom(drawn.pixel(95, 122));
    EXPECT_GT(top.lightness(), 220);
    // The fade darkens the bottom edge.
    EXPECT_LT(bottom.lightness(), 140);
}

} // namespace
