#include "SentAIAttachmentView.h"
#include "ChatStyle.h"
#include "ChatViewTestSupport.h"
#include "PlimboTheme.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace plimbo;
using namespace plimbo::test::chat;

namespace {

QPalette scheme(bool light) {
    QPalette palette;
    palette.setColor(QPalette::Window, light ? QColor(246, 246, 248) : QColor(36, 36, 40));
    palette.setColor(QPalette::WindowText, light ? QColor(28, 28, 30) : QColor(236, 236, 240));
    return palette;
}

class SentAIAttachmentViewTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(SentAIAttachmentViewTest, DocumentRowsNameTheKindAndSize) {
    SentAIAttachmentView pdf(attachment("plan.pdf", AIChatAttachmentKind::pdf, 248000),
                             std::nullopt);
    pdf.setPalette(scheme(false));
    EXPECT_FALSE(pdf.showsPhoto());
    EXPECT_EQ(pdf.size(), QSize(230, 56));
    EXPECT_EQ(pdf.sentAttachmentSubtitle(), "PDF · 248 KB");
    EXPECT_EQ(pdf.badgeSymbol(), "doc.richtext.fill");
    EXPECT_EQ(pdf.badgeColor(), QColor::fromRgbF(1.0f, 0.52f, 0.49f));
    EXPECT_EQ(pdf.accessibleName(), "Attachment plan.pdf");

    SentAIAttachmentView text(attachment("notes.md", AIChatAttachmentKind::text, 1), std::nullopt);
    text.setPalette(scheme(false));
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

TEST_F(SentAIAttachmentViewTest, DocumentRowTextsReadInBothSchemes) {
    for (const bool light : {true, false}) {
        SentAIAttachmentView row(attachment("plan.pdf", AIChatAttachmentKind::pdf, 248000),
                                 std::nullopt);
        row.setPalette(scheme(light));
        // The row's fill over the prompt bubble (the accent at 0.22) over the window.
        const QColor bubble =
            ChatStyle::composite(ChatStyle::withOpacity(PlimboTheme::accent(), 0.22),
                                 scheme(light).color(QPalette::Window));
        const QColor background =
            ChatStyle::composite(ChatStyle::withOpacity(row.textColor(), 0.085), bubble);
        EXPECT_GE(ChatStyle::contrast(row.textColor(), background), 4.5) << light;
        EXPECT_GE(ChatStyle::contrast(row.subtitleColor(), background), 4.5) << light;
        EXPECT_GE(ChatStyle::contrast(row.badgeColor(), background), 3.0) << light;
        // The drawn name is the text colour, not white, on a light window.
        const QImage drawn = grab(&row);
        int darkest = 255;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 60; x < drawn.width(); ++x) {
                darkest = std::min(darkest, QColor(drawn.pixel(x, y)).lightness());
            }
        }
        if (light) {
            EXPECT_LT(darkest, 90);
        }
    }
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
