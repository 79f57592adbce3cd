#include "ComposerAIAttachmentCard.h"
#include "ChatViewTestSupport.h"
#include "SymbolButton.h"

#include <gtest/gtest.h>

#include <QTest>

using namespace plimbo;
using namespace plimbo::test::chat;

namespace {

TEST(ComposerAIAttachmentCard, KindsSizesAndRemove) {
    int removed = 0;
    ComposerAIAttachmentCard pdf(attachment("plan.pdf", AIChatAttachmentKind::pdf), std::nullopt,
                                 false, [&] { ++removed; });
    EXPECT_EQ(pdf.size(), QSize(156, 96));
    EXPECT_EQ(pdf.markSymbol(), "doc.richtext.fill");
    EXPECT_EQ(pdf.markColor(), QColor::fromRgbF(0.98f, 0.34f, 0.32f));
    EXPECT_EQ(pdf.stripSymbol(), "doc.richtext.fill");
    EXPECT_EQ(pdf.removeButton()->accessibleName(), "Remove plan.pdf");
    EXPECT_EQ(pdf.removeButton()->toolTip(), "Remove plan.pdf");
    // The disc sits 6 in from the top and trailing edges.
    EXPECT_EQ(pdf.removeButton()->geometry(), QRect(156 - 6 - 21, 6, 21, 21));
    QTest::mouseClick(pdf.removeButton(), Qt::LeftButton);
    EXPECT_EQ(removed, 1);

    ComposerAIAttachmentCard text(attachment("notes.md"), std::nullopt, true, {});
    EXPECT_EQ(text.size(), QSize(124, 74));
    EXPECT_EQ(text.markSymbol(), "doc.text.fill");
    EXPECT_EQ(text.stripSymbol(), "doc.text.fill");
    EXPECT_EQ(text.removeButton()->geometry(), QRect(124 - 6 - 21, 6, 21, 21));

    // An image without its picture shows the document mark but keeps the photo strip symbol.
    ComposerAIAttachmentCard image(attachment("a.png", AIChatAttachmentKind::image), std::nullopt,
                                   false, {});
    EXPECT_FALSE(image.hasImage());
    EXPECT_EQ(image.markSymbol(), "doc.text.fill");
    EXPECT_EQ(image.stripSymbol(), "photo");
}

TEST(ComposerAIAttachmentCard, APictureFillsTheMarkArea) {
    ComposerAIAttachmentCard card(attachment("a.png", AIChatAttachmentKind::image),
                                  solidImage(QColor(0, 200, 0), QSize(300, 100)), false, {});
    EXPECT_TRUE(card.hasImage());
    const QImage drawn = grab(&card);
    // Middle of the mark area, and its left edge (the wide picture is cropped, not letterboxed).
    EXPECT_GT(QColor(drawn.pixel(78, 33)).green(), 150);
    EXPECT_GT(QColor(drawn.pixel(20, 33)).green(), 150);
    EXPECT_LT(QColor(drawn.pixel(78, 33)).red(), 60);
}

} // namespace
