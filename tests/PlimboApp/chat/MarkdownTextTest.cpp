#include "MarkdownText.h"
#include "ChatViewTestSupport.h"
#include "MarkdownBlockView.h"
#include "RichTextView.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

using namespace plimbo;
using Kind = MarkdownBlock::Kind;

namespace {

QList<Kind> kinds(const MarkdownText& text) {
    QList<Kind> kinds;
    for (const MarkdownBlockView* view : text.blockViews()) {
        kinds.append(view->block().kind);
    }
    return kinds;
}

TEST(MarkdownText, ShowsEveryBlockKind) {
    MarkdownText text;
    text.setSource(QStringLiteral("# Title\n\nSome **bold** text.\n\n3. three\n7. seven\n\n- a\n"
                                  "* b\n\n> quoted\n> lines\n\n```swift\nlet x = **1**\n```"));
    EXPECT_EQ(kinds(text), (QList<Kind>{Kind::heading, Kind::paragraph, Kind::ordered,
                                        Kind::unordered, Kind::quote, Kind::code}));
    const QList<MarkdownBlockView*> views = text.blockViews();
    // Numbered lists count from 1 whatever the source says.
    EXPECT_EQ(views[2]->markers(), (QStringList{"1.", "2."}));
    EXPECT_EQ(views[3]->markers(), (QStringList{"•", "•"}));
    EXPECT_EQ(views[5]->languageLabel(), "SWIFT");
    // Code is never parsed as Markdown.
    EXPECT_EQ(views[5]->textViews().first()->plainText(), "let x = **1**");
    EXPECT_EQ(views[1]->textViews().first()->plainText(), "Some bold text.");
    EXPECT_EQ(views[4]->textViews().first()->plainText(), "quoted\nlines");
    EXPECT_EQ(text.displayedText(),
              "Title\nSome bold text.\n1. three\n2. seven\n• a\n• b\nquoted\nlines\nlet x = **1**");
}

TEST(MarkdownText, HeadingsAndCodeSetTheirOwnFontsFromTheCallersFont) {
    MarkdownText text;
    QFont base = text.font();
    base.setPixelSize(13);
    text.setFont(base);
    text.setSource(QStringLiteral("# One\n\n## Two\n\n### Three\n\nplain\n\n```\ncode\n```"));
    const QList<MarkdownBlockView*> views = text.blockViews();
    const QFont one = views[0]->textViews().first()->font();
    const QFont two = views[1]->textViews().first()->font();
    const QFont three = views[2]->textViews().first()->font();
    EXPECT_EQ(one.pixelSize(), 15);
    EXPECT_EQ(two.pixelSize(), 13);
    EXPECT_EQ(three.pixelSize(), 13);
    EXPECT_EQ(one.weight(), QFont::DemiBold);
    EXPECT_EQ(three.weight(), QFont::DemiBold);
    EXPECT_EQ(views[3]->textViews().first()->font().pixelSize(), 13);
    EXPECT_EQ(views[3]->textViews().first()->font().weight(), QFont::Normal);
    EXPECT_TRUE(QFontInfo(views[4]->textViews().first()->font()).fixedPitch());
    // A code block without a language has no label.
    EXPECT_EQ(views[4]->languageLabel(), "");
}

TEST(MarkdownText, StreamingTouchesOnlyTheLastBlock) {
    MarkdownText text;
    text.resize(500, 400);
    QString source = QStringLiteral("# Plan\n\nFirst paragraph.\n\n- one\n- tw");
    text.setSource(source);
    text.heightForWidth(500);
    const QList<MarkdownBlockView*> before = text.blockViews();
    RichTextView* heading = before[0]->textViews().first();
    RichTextView* paragraph = before[1]->textViews().first();
    RichTextView* firstItem = before[2]->textViews().first();
    const int headingLayouts = heading->layoutCount();
    const int paragraphLayouts = paragraph->layoutCount();
    const int itemLayouts = firstItem->layoutCount();

    for (const char* delta : {"o", "\n- thr", "ee", "\n\nAfter"}) {
        source += QString::fromUtf8(delta);
        text.setSource(source);
        text.heightForWidth(500);
    }
    const QList<MarkdownBlockView*> after = text.blockViews();
    ASSERT_EQ(after.size(), 4);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[2], before[2]);
    EXPECT_EQ(after[2]->markers(), (QStringList{"•", "•", "•"}));
    EXPECT_EQ(after[2]->textViews()[1]->plainText(), "two");
    // Blocks (and list items) that did not change were not laid out again.
    EXPECT_EQ(heading->layoutCount(), headingLayouts);
    EXPECT_EQ(paragraph->layoutCount(), paragraphLayouts);
    EXPECT_EQ(firstItem->layoutCount(), itemLayouts);
}

TEST(MarkdownText, LinksOpenOnlyForWebAndMail) {
    MarkdownText text;
    QList<QUrl> opened;
    text.setLinkHandler([&](const QUrl& url) { opened.append(url); });
    text.setSource(QStringLiteral("[site](https://example.com) [bad](javascript:alert(1)) "
                                  "![photo](https://example.com/cat.png)"));
    text.resize(600, 100);
    text.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&text));
    RichTextView* view = text.blockViews().first()->textViews().first();
    EXPECT_EQ(view->plainText(), "site bad photo");
    for (const InlineRun& run : view->runs()) {
        if (run.text == "site") {
            EXPECT_EQ(run.link, QUrl("https://example.com"));
        } else {
            EXPECT_FALSE(run.link.isValid()) << run.text.toStdString();
        }
    }
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 6));
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://example.com")});
}

TEST(MarkdownText, MailLinksOpenTheAddressTheToolTipShows) {
    MarkdownText text;
    QList<QUrl> opened;
    text.setLinkHandler([&](const QUrl& url) { opened.append(url); });
    text.setSource(QStringLiteral("[write](mailto:a@b.c?attach=/etc/passwd&subject=hi) to us"));
    text.resize(600, 100);
    text.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&text));
    RichTextView* view = text.blockViews().first()->textViews().first();
    EXPECT_EQ(view->linkToolTipAt(QPoint(3, 6)), "mailto:a@b.c");
    EXPECT_EQ(view->linkToolTipAt(QPoint(590, 6)), "");
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 6));
    EXPECT_EQ(opened, QList<QUrl>{QUrl("mailto:a@b.c")});
}

TEST(MarkdownText, OneLineShowsOnlyTheFirstBlockWithoutLinks) {
    MarkdownText text;
    text.setSingleLine(true);
    text.setSource(QStringLiteral("- [item](https://example.com) one - two"));
    ASSERT_EQ(text.blockViews().size(), 1);
    EXPECT_EQ(text.blockViews().first()->markers(), QStringList{"•"});
    const RichTextView* view = text.blockViews().first()->textViews().first();
    EXPECT_FALSE(view->isSelectable());
    for (const InlineRun& run : view->runs()) {
        EXPECT_FALSE(run.link.isValid());
    }
    text.setSource(QStringLiteral("First paragraph\n\nSecond"));
    EXPECT_EQ(text.blockViews().size(), 1);
}

TEST(MarkdownText, HostileRepliesRenderQuickly) {
    MarkdownText text;
    QElapsedTimer timer;
    timer.start();
    text.setSource(QString(50000, QLatin1Char('[')) + QString(50000, QLatin1Char('*')));
    text.heightForWidth(600);
    EXPECT_LT(timer.elapsed(), 3000);
}

} // namespace
