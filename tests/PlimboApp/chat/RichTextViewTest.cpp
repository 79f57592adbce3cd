#include "RichTextView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace plimbo;

namespace {

TEST(RichTextView, TextIsNeverTakenForMarkup) {
    RichTextView view;
    view.setPlainText(QStringLiteral("<b>bold</b> <img src=\"https://example.com/x.png\"> &amp;"));
    view.resize(400, view.heightForWidth(400));
    view.selectAll();
    EXPECT_EQ(view.selectedText(), "<b>bold</b> <img src=\"https://example.com/x.png\"> &amp;");
}

TEST(RichTextView, HeightForAWidthIsLaidOutOnce) {
    RichTextView view;
    view.setPlainText(QString(QStringLiteral("word ")).repeated(200));
    const int narrow = view.heightForWidth(120);
    const int wide = view.heightForWidth(900);
    EXPECT_GT(narrow, wide);
    const int layouts = view.layoutCount();
    EXPECT_EQ(view.heightForWidth(900), wide);
    EXPECT_EQ(view.heightForWidth(900), wide);
    EXPECT_EQ(view.layoutCount(), layouts);
    // New text is laid out again.
    view.setPlainText(QStringLiteral("short"));
    EXPECT_LT(view.heightForWidth(900), wide);
    EXPECT_GT(view.layoutCount(), layouts);
}

TEST(RichTextView, SelectionCopiesPlainText) {
    RichTextView view;
    view.setRuns({InlineRun{"bold", InlineRun::strong, {}}, InlineRun{" and plain", 0, {}}});
    view.resize(300, 40);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(3, 6));
    EXPECT_EQ(view.selectedText(), "bold");
    view.selectAll();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "bold and plain");

    view.setSelectable(false);
    EXPECT_TRUE(view.selectedText().isEmpty());
}

TEST(RichTextView, OnlyLinkRunsAreClickable) {
    RichTextView view;
    view.setSelectable(false);
    view.setRuns({InlineRun{"open", 0, QUrl("https://example.com")}, InlineRun{" text", 0, {}}});
    view.resize(300, 40);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy activated(&view, &RichTextView::linkActivated);
    ASSERT_TRUE(view.linkAt(QPoint(4, 6)).has_value());
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(4, 6));
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated.first().first().toUrl(), QUrl("https://example.com"));
    // Text beside the link does nothing.
    const int textX = view.sizeHint().width() - 3;
    EXPECT_FALSE(view.linkAt(QPoint(textX, 6)).has_value());
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(textX, 6));
    EXPECT_EQ(activated.size(), 1);
}

TEST(RichTextView, OneLineIsCutWithAnEllipsis) {
    RichTextView view;
    view.setTextLayout(RichTextView::Layout::singleLine);
    view.setPlainText(QStringLiteral("a rather long line\nwith a second line that never shows"));
    const QSize hint = view.sizeHint();
    EXPECT_EQ(hint.height(), QFontMetrics(view.font()).height());
    view.resize(hint.width() + 10, hint.height());
    EXPECT_FALSE(view.isElided());
    view.resize(60, hint.height());
    EXPECT_TRUE(view.isElided());
}

} // namespace

namespace {

TEST(RichTextView, AnOverlongTokenWrapsQuicklyAndCopiesUnchanged) {
    RichTextView view;
    const QString token = QString(100000, QLatin1Char('x'));
    QElapsedTimer timer;
    timer.start();
    view.setPlainText(token);
    const int height = view.heightForWidth(600);
    EXPECT_LT(timer.elapsed(), 2000);
    // It wraps: many lines.
    EXPECT_GT(height, 50 * QFontMetrics(view.font()).height());
    view.selectAll();
    EXPECT_EQ(view.selectedText(), token);
    EXPECT_EQ(view.plainText(), token);
}

} // namespace

namespace {

// What a view shows, measured at a width: size hint, height and the selected text.
struct Shown {
    QSize hint;
    int height = 0;
    QString text;
    bool operator==(const Shown&) const = default;
};

Shown shown(RichTextView& view, int width) {
    view.selectAll();
    Shown result{view.sizeHint(), view.heightForWidth(width), view.selectedText()};
    view.clearSelection();
    return result;
}

TEST(RichTextView, GrowingTextIsAppendedAndShowsLikeAFreshView) {
    using Layout = RichTextView::Layout;
    for (const Layout layout : {Layout::wrapping, Layout::unwrapped, Layout::singleLine}) {
        RichTextView growing;
        growing.setTextLayout(layout);
        QString text = QStringLiteral("The longest line of them all comes first here\nshort");
        growing.setPlainText(text);
        growing.heightForWidth(300);
        for (const QString& delta : {QStringLiteral(" more"), QStringLiteral("\nnext line"),
                                     QString(300, QLatin1Char('y')), QStringLiteral(" end\n")}) {
            text += delta;
            growing.setPlainText(text);
            RichTextView fresh;
            fresh.setTextLayout(layout);
            fresh.setPlainText(text);
            EXPECT_EQ(shown(growing, 300), shown(fresh, 300)) << int(layout);
        }
    }
}

TEST(RichTextView, ASelectionStaysWhileTextStreamsIn) {
    RichTextView view;
    view.setRuns({InlineRun{QStringLiteral("Some "), 0, {}},
                  InlineRun{QStringLiteral("bold"), InlineRun::strong, {}}});
    view.heightForWidth(300);
    view.selectAll();
    view.setRuns({InlineRun{QStringLiteral("Some "), 0, {}},
                  InlineRun{QStringLiteral("bold text"), InlineRun::strong, {}},
                  InlineRun{QStringLiteral(" and more"), 0, {}}});
    EXPECT_EQ(view.selectedText(), "Some bold");
    EXPECT_EQ(view.plainText(), "Some bold text and more");
    // Text that changes before its end is shown afresh.
    view.setRuns({InlineRun{QStringLiteral("Other"), 0, {}}});
    EXPECT_EQ(view.selectedText(), "");
    EXPECT_EQ(view.plainText(), "Other");
}

} // namespace
