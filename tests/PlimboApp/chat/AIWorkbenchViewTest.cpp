#include "AIWorkbenchView.h"
#include "AppModelHarness.h"
#include "ChatHistoryRow.h"
#include "ChatViewTestSupport.h"
#include "RenameChatDialog.h"
#include "RichTextView.h"
#include "SymbolButton.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;
using namespace plimbo::test::chat;

namespace {

QDateTime local(int year, int month, int day, int hour, int minute) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::LocalTime).toUTC();
}

AIChatSession chat(const QString& title, const QDateTime& updatedAt, const QString& prompt,
                   const QString& response) {
    return AIChatSession{
        QUuid::createUuid(), title, {turn(prompt, response)}, updatedAt, updatedAt};
}

QAbstractButton* button(QMessageBox* box, const QString& text) {
    for (QAbstractButton* candidate : box->buttons()) {
        if (candidate->text() == text) {
            return candidate;
        }
    }
    return nullptr;
}

class AIWorkbenchViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        h.clock->set(local(2025, 3, 14, 15, 0));
        trip = chat("Trip planning", local(2025, 3, 14, 9, 5), "Pack list?", "Bring a jacket.");
        recipe = chat("Recipe", local(2025, 3, 13, 20, 0), "Sauce?", "Use crème fraîche.");
        budget = chat("Budget", local(2025, 2, 2, 8, 0), "Numbers", "Spend less.");
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    void make(const QList<AIChatSession>& history) {
        if (!history.isEmpty()) {
            h.writeHistory(history);
        }
        model = h.makeModel();
        view = std::make_unique<AIWorkbenchView>(model->chatFeatures(), h.clock);
        view->resize(1000, 680);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    QStringList titles() const {
        QStringList titles;
        for (ChatHistoryRow* row : view->rows()) {
            titles.append(row->chat().title);
        }
        return titles;
    }
    ChatHistoryRow* row(const QString& title) const {
        for (ChatHistoryRow* row : view->rows()) {
            if (row->chat().title == title) {
                return row;
            }
        }
        return nullptr;
    }
    QStringList highlighted() const {
        QStringList selected;
        for (ChatHistoryRow* row : view->rows()) {
            if (row->isSelected()) {
                selected.append(row->chat().title);
            }
        }
        return selected;
    }
    void search(const QString& text) {
        view->searchField()->clear();
        QTest::keyClicks(view->searchField(), text);
    }
    bool listShown() const { return !view->rows().isEmpty() && view->emptyState()->isHidden(); }

    MotionScope motion{true};
    AppModelHarness h;
    AIChatSession trip;
    AIChatSession recipe;
    AIChatSession budget;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<AIWorkbenchView> view;
};

TEST_F(AIWorkbenchViewTest, RowsInTheModelsOrderWithTheirTimes) {
    make({budget, trip, recipe});
    EXPECT_EQ(titles(), (QStringList{"Trip planning", "Recipe", "Budget"}));
    EXPECT_EQ(row("Trip planning")->timeLabel()->text(), "9:05 AM");
    EXPECT_EQ(row("Recipe")->timeLabel()->text(), "Yesterday");
    EXPECT_EQ(row("Budget")->timeLabel()->text(), "Feb 2, 2025");
    EXPECT_EQ(highlighted(), QStringList{"Trip planning"});
}

TEST_F(AIWorkbenchViewTest, SearchMatchesTitlesPromptsAndReplies) {
    make({trip, recipe, budget});
    search("JACKET");
    EXPECT_EQ(titles(), QStringList{"Trip planning"});
    search("sauce");
    EXPECT_EQ(titles(), QStringList{"Recipe"});
    search("bud");
    EXPECT_EQ(titles(), QStringList{"Budget"});
    EXPECT_TRUE(view->clearSearchButton()->isVisibleTo(view.get()));
    // Accents count: "creme" does not find "crème".
    search("creme");
    EXPECT_TRUE(view->rows().isEmpty());
    EXPECT_FALSE(view->emptyState()->isHidden());
    EXPECT_EQ(view->emptyTitle()->text(), "No matching chats");
    EXPECT_EQ(view->emptySubtitle()->text(), "Try a different search.");
    EXPECT_EQ(view->emptyStateSymbol(), "magnifyingglass");
    // Spaces alone list everything, yet the clear button shows.
    search("   ");
    EXPECT_EQ(titles().size(), 3);
    EXPECT_TRUE(view->clearSearchButton()->isVisibleTo(view.get()));
    QTest::mouseClick(view->clearSearchButton(), Qt::LeftButton);
    EXPECT_EQ(view->chatSearch(), "");
    EXPECT_EQ(view->searchField()->text(), "");
    EXPECT_FALSE(view->clearSearchButton()->isVisibleTo(view.get()));
    EXPECT_TRUE(listShown());
}

TEST_F(AIWorkbenchViewTest, ANewChatShowsAtTheTopOfTheList) {
    // More chats than the list shows at once.
    QList<AIChatSession> chats;
    for (int i = 0; i < 30; ++i) {
        chats.append(makeChat(QStringLiteral("Chat %1").arg(i), local(2025, 3, 14, 9, 0), 1));
    }
    h.storeKey(QStringLiteral("sk-or-test"));
    make(chats);
    model->newAIChat();
    model->setAiInput(QStringLiteral("Fresh question"));
    model->sendAI();
    ASSERT_TRUE(settle([&] { return model->aiChats().size() == 31; }));
    spin();
    ChatHistoryRow* first = view->rows().first();
    EXPECT_EQ(first->chat().id, model->selectedAIChatID());
    EXPECT_TRUE(first->isVisible());
    // At the top of the list, where the list starts.
    EXPECT_EQ(first->mapTo(view->rows().last()->parentWidget()->parentWidget(), QPoint(0, 0)).y(),
              8);
}

TEST_F(AIWorkbenchViewTest, TheSelectedRowHidesWithTheSearchAndComesBack) {
    make({trip, recipe});
    ASSERT_EQ(highlighted(), QStringList{"Trip planning"});
    search("sauce");
    EXPECT_TRUE(highlighted().isEmpty());
    EXPECT_EQ(model->selectedAIChatID(), trip.id);
    search("");
    EXPECT_EQ(highlighted(), QStringList{"Trip planning"});

    QTest::mouseClick(row("Recipe")->selectButton(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(10, 10));
    EXPECT_EQ(model->selectedAIChatID(), recipe.id);
    EXPECT_EQ(highlighted(), QStringList{"Recipe"});
    QTest::mouseClick(view->newChatButton(), Qt::LeftButton);
    EXPECT_FALSE(model->selectedAIChatID().has_value());
    EXPECT_TRUE(highlighted().isEmpty());
}

TEST_F(AIWorkbenchViewTest, EmptyHistory) {
    make({});
    EXPECT_TRUE(view->rows().isEmpty());
    EXPECT_EQ(view->emptyTitle()->text(), "No chats yet");
    EXPECT_EQ(view->emptySubtitle()->text(), "Start a conversation with Plimbo AI.");
    EXPECT_EQ(view->emptyStateSymbol(), "bubble.left.and.bubble.right");
    search("  ");
    EXPECT_EQ(view->emptyTitle()->text(), "No matching chats");
}

TEST_F(AIWorkbenchViewTest, RenameSavesTheNameAsTypedAndTheModelTrimsIt) {
    make({trip, recipe});
    row("Recipe")->optionsMenu()->actions().first()->trigger();
    RenameChatDialog* dialog = view->renameDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(view->renameChatID(), recipe.id);
    EXPECT_EQ(dialog->nameField()->text(), "Recipe");
    EXPECT_EQ(dialog->windowTitle(), "Rename chat");

    dialog->nameField()->clear();
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    QTest::keyClicks(dialog->nameField(), "   ");
    EXPECT_FALSE(dialog->saveButton()->isEnabled());
    QTest::keyClicks(dialog->nameField(), "Dinner ideas  ");
    EXPECT_EQ(view->renameDraft(), "   Dinner ideas  ");
    ASSERT_TRUE(dialog->saveButton()->isEnabled());
    QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(view->renameChatID().has_value());
    EXPECT_TRUE(settle([&] { return titles() == QStringList{"Trip planning", "Dinner ideas"}; }));
    EXPECT_EQ(h.readHistory()[1].title, "Dinner ideas");
}

// Return saves the typed name, from the very first rename of a run on.
TEST_F(AIWorkbenchViewTest, ReturnSavesTheRename) {
    make({trip, recipe});
    for (const QString& name : {QStringLiteral("Dinner"), QStringLiteral("Supper")}) {
        ChatHistoryRow* second = view->rows().at(1);
        second->optionsMenu()->actions().first()->trigger();
        RenameChatDialog* dialog = view->renameDialog();
        ASSERT_TRUE(dialog && dialog->isVisible());
        dialog->nameField()->selectAll();
        QTest::keyClicks(dialog->nameField(), name);
        QTest::keyClick(dialog->nameField(), Qt::Key_Return);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(settle([&] { return titles() == QStringList({"Trip planning", name}); }));
    }
    EXPECT_EQ(h.readHistory()[1].title, "Supper");
}

// While the history is read, the list says so rather than that there are no chats.
TEST_F(AIWorkbenchViewTest, TheListShowsTheHistoryLoading) {
    h.writeHistory({trip});
    h.executor->hold();
    model = h.makeLoadingModel();
    view = std::make_unique<AIWorkbenchView>(model->chatFeatures(), h.clock);
    view->resize(1000, 680);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_TRUE(view->rows().isEmpty());
    EXPECT_EQ(view->emptyTitle()->text(), "Loading chat history…");
    EXPECT_FALSE(view->emptySubtitle()->isVisible());

    h.executor->release();
    ASSERT_TRUE(settle([&] { return titles() == QStringList{"Trip planning"}; }));
    model->deleteAIChat(trip.id);
    EXPECT_EQ(view->emptyTitle()->text(), "No chats yet");
    EXPECT_TRUE(view->emptySubtitle()->isVisible());
}

TEST_F(AIWorkbenchViewTest, CancellingARenameChangesNothing) {
    make({trip});
    QMenu* context = row("Trip planning")->makeContextMenu(); // the row owns it
    context->actions().first()->trigger();
    RenameChatDialog* dialog = view->renameDialog();
    ASSERT_TRUE(dialog && dialog->isVisible());
    QTest::keyClicks(dialog->nameField(), " more");
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(view->renameChatID().has_value());
    EXPECT_EQ(titles(), QStringList{"Trip planning"});
    // Escape closes it the same way.
    row("Trip planning")->optionsMenu()->actions().first()->trigger();
    ASSERT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog->nameField(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(view->renameChatID().has_value());
}

TEST_F(AIWorkbenchViewTest, DeletingTheSelectedChatSelectsTheFirstLeft) {
    make({trip, recipe, budget});
    row("Trip planning")->optionsMenu()->actions().last()->trigger();
    QMessageBox* confirm = view->deleteDialog();
    ASSERT_NE(confirm, nullptr);
    EXPECT_TRUE(confirm->isVisible());
    EXPECT_EQ(confirm->text(), "Delete this chat?");
    EXPECT_EQ(confirm->informativeText(), "This removes the conversation from this computer.");
    EXPECT_EQ(view->pendingDeleteChatID(), trip.id);

    // Cancel first.
    QAbstractButton* cancel = button(confirm, "Cancel");
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(view->pendingDeleteChatID().has_value());
    EXPECT_EQ(titles().size(), 3);

    row("Trip planning")->optionsMenu()->actions().last()->trigger();
    QAbstractButton* remove = button(confirm, "Delete");
    ASSERT_NE(remove, nullptr);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_FALSE(confirm->isVisible());
    EXPECT_FALSE(view->pendingDeleteChatID().has_value());
    EXPECT_EQ(titles(), (QStringList{"Recipe", "Budget"}));
    EXPECT_EQ(model->selectedAIChatID(), recipe.id);
    EXPECT_EQ(highlighted(), QStringList{"Recipe"});
}

TEST_F(AIWorkbenchViewTest, DeletingTheOnlyChatLeavesNoChats) {
    make({trip});
    QMenu* context = row("Trip planning")->makeContextMenu(); // the row owns it
    context->actions().last()->trigger();
    QTest::mouseClick(button(view->deleteDialog(), "Delete"), Qt::LeftButton);
    EXPECT_TRUE(view->rows().isEmpty());
    EXPECT_EQ(view->emptyTitle()->text(), "No chats yet");
}

} // namespace
