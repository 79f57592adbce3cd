#include "ClipboardHistoryView.h"
#include "DashboardHarness.h"
#include "DashboardList.h"
#include "SurfaceText.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// How dark a text is drawn where it stands in the whole view: the lowest lightness (0 to 255)
// among its pixels, on the view's own background.
int darkestInk(QWidget& view, QWidget* text) {
    const QImage image = view.grab().toImage();
    const QRect area(text->mapTo(&view, QPoint(0, 0)), text->size());
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            darkest = std::min(darkest, QColor(image.pixel(x, y)).lightness());
        }
    }
    return darkest;
}

class ClipboardHistoryViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.make();
        view = std::make_unique<ClipboardHistoryView>(harness.model->clipboard());
        view->resize(700, 600);
        view->show();
    }

    QAbstractButton* dialogButton(const QString& text) const {
        for (QAbstractButton* button : view->confirmation()->buttons()) {
            if (button->text() == text) {
                return button;
            }
        }
        return nullptr;
    }

    DashboardHarness harness;
    std::unique_ptr<ClipboardHistoryView> view;
};

TEST_F(ClipboardHistoryViewTest, EmptyHistoryShowsThePlaceholderWhateverTheQuery) {
    EXPECT_TRUE(view->showsPlaceholder());
    EXPECT_FALSE(view->clearButton()->isEnabled());
    view->searchField()->setText(QStringLiteral("anything"));
    EXPECT_TRUE(view->showsPlaceholder());

    harness.copy(QStringLiteral("first copy"));
    EXPECT_FALSE(view->showsPlaceholder()) << "new entries show without any action";
    EXPECT_TRUE(view->clearButton()->isEnabled());
    EXPECT_EQ(view->list()->count(), 0) << "the query matches nothing: an empty list";

    view->searchField()->clear();
    EXPECT_EQ(view->list()->count(), 1);
}

TEST_F(ClipboardHistoryViewTest, ClickingARowCopiesItAgainWithoutReordering) {
    harness.copy(QStringLiteral("older"));
    harness.copy(QStringLiteral("newer"));
    ASSERT_EQ(view->list()->count(), 2);
    const int writesBefore = harness.board->writes();
    clickOn(view->list()->rows().last());
    EXPECT_EQ(harness.board->text(), QStringLiteral("older"));
    EXPECT_EQ(harness.board->writes(), writesBefore + 1);
    spin(30);
    ASSERT_EQ(harness.model->clipboard().items().size(), 2) << "not captured a second time";
    EXPECT_EQ(harness.model->clipboard().items().first().text, QStringLiteral("newer"));
}

TEST_F(ClipboardHistoryViewTest, ClearingAsksFirstAndKeepsEverythingOnCancel) {
    harness.copy(QStringLiteral("keep me"));
    clickOn(view->clearButton());
    ASSERT_TRUE(view->confirmsClear());
    EXPECT_EQ(view->confirmation()->text(), QStringLiteral("Clear clipboard history?"));
    EXPECT_EQ(view->confirmation()->informativeText(),
              QStringLiteral("Pinned items are preserved. This action cannot be undone."));
    dialogButton(QStringLiteral("Cancel"))->click();
    EXPECT_FALSE(view->confirmsClear());
    EXPECT_EQ(harness.model->clipboard().items().size(), 1);

    clickOn(view->clearButton());
    ASSERT_TRUE(view->confirmsClear());
    dialogButton(QStringLiteral("Clear Unpinned Items"))->click();
    EXPECT_FALSE(view->confirmsClear());
    EXPECT_TRUE(harness.model->clipboard().items().isEmpty());
    EXPECT_TRUE(view->showsPlaceholder());
    EXPECT_FALSE(view->clearButton()->isEnabled());
}

TEST_F(ClipboardHistoryViewTest, ADiscardedSectionTakesItsDialogWithIt) {
    harness.copy(QStringLiteral("text"));
    clickOn(view->clearButton());
    QPointer<QMessageBox> dialog = view->confirmation();
    ASSERT_FALSE(dialog.isNull());
    view.reset();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(harness.model->clipboard().items().size(), 1);
}

} // namespace

TEST_F(ClipboardHistoryViewTest, TheDateUnderTheTextIsInTheSecondaryColour) {
    harness.copy(QStringLiteral("copied words"));
    ASSERT_EQ(view->list()->count(), 1);
    auto* preview = view->list()->rows().first()->findChild<SurfaceText*>();
    const QList<QLabel*> dates = view->list()->rows().first()->findChildren<QLabel*>();
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(dates.size(), 1);
    ASSERT_EQ(preview->text(), QStringLiteral("copied words"));
    // Dark text on a light list: the copied text in full ink, the date at 55 % of it, so
    // clearly lighter (about 45 % of the way to the background) but still well readable.
    const int textInk = darkestInk(*view, preview);
    const int dateInk = darkestInk(*view, dates.first());
    EXPECT_LT(textInk, 40);
    EXPECT_GT(dateInk, textInk + 70);
    EXPECT_LT(dateInk, 170);
}

TEST_F(ClipboardHistoryViewTest, ALongEntryWrapsToTwoWholeLinesEndingInAnEllipsis) {
    harness.copy(QStringLiteral("A sentence that is long enough to need more than one line in the "
                                "dashboard's list, and then some more words to go past two lines"));
    ASSERT_EQ(view->list()->count(), 1);
    // Narrow enough that the preview's 100 characters take more than two lines.
    view->resize(380, 600);
    QTest::qWait(50);
    QWidget* row = view->list()->rows().first();
    auto* preview = row->findChild<SurfaceText*>();
    ASSERT_NE(preview, nullptr);
    const QStringList lines = preview->shownLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("…"))) << lines.last().toStdString();
    EXPECT_GE(preview->height(),
              preview->fontMetrics().lineSpacing() + preview->fontMetrics().height());
    // Nothing of the text runs past the row's right edge.
    EXPECT_LE(preview->mapTo(row, QPoint(preview->width(), 0)).x(), row->width());
}
