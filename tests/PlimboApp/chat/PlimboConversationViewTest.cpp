#include "PlimboConversationView.h"
#include "ActivitySpinner.h"
#include "AppModelHarness.h"
#include "AttachmentDropZone.h"
#include "CapsuleButton.h"
#include "ChatViewTestSupport.h"
#include "ComposerAIAttachmentCard.h"
#include "ComposerTextEdit.h"
#include "ConversationTurnView.h"
#include "HorizontalStrip.h"
#include "LongChat.h"
#include "MarkdownText.h"
#include "PlimboTheme.h"
#include "RichTextView.h"
#include "RoundedBox.h"
#include "SentAIAttachmentView.h"
#include "SymbolButton.h"
#include "TestSupport.h"
#include "TurnScrollArea.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;
using namespace plimbo::test::chat;

namespace {

class PlimboConversationViewTest : public ::testing::Test {
protected:
    void make(bool withKey = true, const QList<AIChatSession>& history = {}) {
        if (withKey) {
            h.storeKey(QStringLiteral("sk-or-test"));
        }
        if (!history.isEmpty()) {
            h.writeHistory(history);
        }
        model = h.makeModel();
        view = std::make_unique<PlimboConversationView>(model->chatFeatures());
        view->resize(820, 640);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    ComposerTextEdit* editor() const { return view->composer().editor; }
    void pressReturn(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(editor(), Qt::Key_Return, modifiers);
    }
    bool sent(int count) {
        return settle([&] { return h.ai->calls.size() == count; });
    }
    void nothingSent() {
        spin();
        EXPECT_TRUE(h.ai->calls.isEmpty());
        EXPECT_TRUE(model->aiConversation().isEmpty());
    }
    bool sendLooksEnabled() const {
        return view->sendButton()->isEnabled() &&
               view->sendButton()->circleColor() == PlimboTheme::accent();
    }
    // Where the bottom of a turn's view is in the list's viewport; none when it is not built.
    std::optional<int> bottomInViewport(const QUuid& id) const {
        for (ConversationTurnView* turn : view->turnViews()) {
            if (turn->turn().id == id && turn->isVisible()) {
                return turn->mapTo(view->messages()->viewport(), QPoint(0, turn->height())).y();
            }
        }
        return std::nullopt;
    }
    bool inView(const QUuid& id) const {
        const std::optional<int> bottom = bottomInViewport(id);
        return bottom && *bottom > 0 && *bottom <= view->messages()->viewport()->height();
    }
    void addAttachment(const QString& name) {
        ASSERT_TRUE(model->addAIAttachments({h.sourceFile(name, "hello")}));
        ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    }

    MotionScope motion{true};
    AppModelHarness h;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<PlimboConversationView> view;
};

TEST_F(PlimboConversationViewTest, NoStoredKeyRefusesEverySend) {
    make(false);
    EXPECT_EQ(view->credentialLabel()->text(), "AI key required");
    QTest::keyClicks(editor(), "Hello");
    EXPECT_EQ(model->aiInput(), "Hello");
    EXPECT_FALSE(view->canSend());
    EXPECT_FALSE(sendLooksEnabled());
    pressReturn();
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    nothingSent();
    // Return never puts a line break into the text, sent or not.
    EXPECT_EQ(model->aiInput(), "Hello");
    // Attaching stays possible.
    EXPECT_TRUE(view->composer().attach->isEnabled());
}

// While the history is read the empty conversation and Send say so; the draft waits.
TEST_F(PlimboConversationViewTest, TheHistoryLoadingHoldsSendWithItsReason) {
    h.storeKey(QStringLiteral("sk-or-test"));
    h.executor->hold();
    model = h.makeLoadingModel();
    view = std::make_unique<PlimboConversationView>(model->chatFeatures());
    view->resize(820, 640);
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    EXPECT_EQ(view->emptyHint()->text(), "Loading chat history…");
    QTest::keyClicks(editor(), "Hello");
    EXPECT_FALSE(view->canSend());
    EXPECT_FALSE(sendLooksEnabled());
    EXPECT_EQ(view->sendButton()->toolTip(), "Loading chat history…");
    pressReturn();
    nothingSent();

    h.executor->release();
    ASSERT_TRUE(settle([&] { return model->isAIHistoryLoaded(); }));
    EXPECT_EQ(view->emptyHint()->text(),
              "Start a conversation. Your chat history stays on this computer.");
    EXPECT_TRUE(sendLooksEnabled());
    EXPECT_EQ(view->sendButton()->toolTip(), "Send message");
    pressReturn();
    EXPECT_TRUE(sent(1));
}

// A history that could not be read and stayed in place is never written: the header says so.
TEST_F(PlimboConversationViewTest, TheHeaderSaysWhenTheHistoryIsNotSaved) {
    const QDir folder = QFileInfo(h.historyPath()).dir();
    ASSERT_TRUE(folder.mkpath("."));
    QFile corrupt(h.historyPath());
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("[{\"id\": 3}]");
    corrupt.close();
    // A set-aside file of this very second already exists, so the file cannot be moved.
    QFile taken(folder.filePath("AIChats-unreadable-2001-01-01T00-00-00Z.json"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    make();
    EXPECT_EQ(view->credentialLabel()->text(), "Plimbo AI · history not saved in this session");
}

TEST_F(PlimboConversationViewTest, BlankTextIsNotSent) {
    make();
    EXPECT_EQ(view->credentialLabel()->text(), "Plimbo AI · history saved on this computer");
    QTest::keyClicks(editor(), "   ");
    pressReturn(Qt::ShiftModifier);
    QTest::keyClicks(editor(), " ");
    EXPECT_EQ(model->aiInput(), "   \n ");
    EXPECT_FALSE(sendLooksEnabled());
    pressReturn();
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    nothingSent();
}

TEST_F(PlimboConversationViewTest, ShiftReturnInsertsALineBreakAndReturnSends) {
    make();
    QTest::keyClicks(editor(), "first");
    pressReturn(Qt::ShiftModifier);
    QTest::keyClicks(editor(), "second");
    EXPECT_EQ(model->aiInput(), "first\nsecond");
    EXPECT_TRUE(h.ai->calls.isEmpty());
    EXPECT_TRUE(sendLooksEnabled());

    pressReturn();
    ASSERT_TRUE(sent(1));
    EXPECT_EQ(model->aiConversation().last().prompt, "first\nsecond");
    EXPECT_EQ(editor()->toPlainText(), "");
    EXPECT_TRUE(view->isComposerFocused());
}

TEST_F(PlimboConversationViewTest, TheSendButtonAndControlReturnSendToo) {
    make();
    QTest::keyClicks(editor(), "by button");
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    ASSERT_TRUE(sent(1));
    h.ai->end();
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));

    QTest::keyClicks(editor(), "by shortcut");
    pressReturn(Qt::ControlModifier);
    ASSERT_TRUE(sent(2));
    EXPECT_EQ(model->aiConversation().last().prompt, "by shortcut");
}

TEST_F(PlimboConversationViewTest, AnAttachmentAloneCanBeSent) {
    make();
    addAttachment("notes.txt");
    ASSERT_EQ(view->composer().strip->tiles().size(), 1);
    EXPECT_TRUE(view->composer().strip->isVisibleTo(view.get()));
    EXPECT_TRUE(view->canSend());
    EXPECT_TRUE(sendLooksEnabled());
    pressReturn();
    ASSERT_TRUE(sent(1));
    EXPECT_EQ(model->aiConversation().last().attachments.size(), 1);
    EXPECT_TRUE(view->composer().strip->tiles().isEmpty());
    EXPECT_FALSE(view->composer().strip->isVisibleTo(view.get()));
}

TEST_F(PlimboConversationViewTest, NothingIsSentWhileAttachmentsAreAdded) {
    make();
    h.executor->hold();
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("slow.txt", "x")}));
    ASSERT_TRUE(model->isAddingAIAttachments());
    EXPECT_EQ(view->composer().status->text(), "Attaching…");
    QTest::keyClicks(editor(), "Hello");
    EXPECT_FALSE(view->composer().attach->isEnabled());
    EXPECT_FALSE(sendLooksEnabled());
    pressReturn();
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    nothingSent();
    // Drops are refused meanwhile.
    EXPECT_FALSE(dropUrls(editor()->viewport(), {h.sourceFile("more.txt", "y")}));
    h.executor->release();
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    EXPECT_TRUE(sendLooksEnabled());
}

TEST_F(PlimboConversationViewTest, WhileAReplyIsGeneratedOnlyStopWorks) {
    make();
    QTest::keyClicks(editor(), "First");
    pressReturn();
    ASSERT_TRUE(sent(1));
    ASSERT_TRUE(model->isGenerating());
    EXPECT_TRUE(view->spinner()->isVisibleTo(view.get()));
    EXPECT_TRUE(view->stopButton()->isVisibleTo(view.get()));
    EXPECT_FALSE(view->sendButton()->isVisibleTo(view.get()));
    EXPECT_FALSE(view->composer().attach->isEnabled());

    QTest::keyClicks(editor(), "Second");
    pressReturn();
    spin();
    EXPECT_EQ(h.ai->calls.size(), 1);
    EXPECT_EQ(model->aiInput(), "Second");

    QTest::mouseClick(view->stopButton(), Qt::LeftButton);
    EXPECT_FALSE(model->isGenerating());
    EXPECT_TRUE(settle([&] { return h.ai->cancelled.size() == 1; }));
    EXPECT_TRUE(view->sendButton()->isVisibleTo(view.get()));
    EXPECT_FALSE(view->spinner()->isVisibleTo(view.get()));
}

TEST_F(PlimboConversationViewTest, StreamedTextIsGatheredAndOnlyTheLastTurnIsLive) {
    const AIChatSession earlier = makeChat("Earlier", QDateTime::currentDateTimeUtc(), 2);
    make(true, {earlier});
    EXPECT_EQ(view->titleLabel()->plainText(), "Earlier");
    ASSERT_EQ(view->turnViews().size(), 2);
    QTest::keyClicks(editor(), "Third");
    pressReturn();
    ASSERT_TRUE(sent(1));
    ASSERT_EQ(view->turnViews().size(), 3);
    EXPECT_FALSE(view->turnViews()[0]->isGenerating());
    EXPECT_FALSE(view->turnViews()[1]->isGenerating());
    EXPECT_TRUE(view->turnViews()[2]->isGenerating());
    EXPECT_EQ(view->messages()->lastScrollTarget(), model->aiConversation().last().id);
    EXPECT_FALSE(view->messages()->lastScrollAnimated());

    // Deltas arriving in one go reach the turn once, on the next frame.
    h.ai->text(QStringLiteral("Hello "));
    h.ai->text(QStringLiteral("**world**"));
    EXPECT_EQ(view->turnViews()[2]->turn().response, "");
    view->flushPendingUpdates();
    EXPECT_EQ(view->turnViews()[2]->turn().response, "Hello **world**");
    EXPECT_EQ(view->turnViews()[2]->replyMarkdown()->displayedText(), "Hello world");
    h.ai->text(QStringLiteral("!"));
    ASSERT_TRUE(settle([&] { return view->turnViews()[2]->turn().response.endsWith("!"); }));
}

TEST_F(PlimboConversationViewTest, SwitchingChatsBringsTheNewestTurnIntoView) {
    const AIChatSession shortChat = longChat("Short", 2);
    const AIChatSession longOne = longChat("Long", 40);
    make(true, {shortChat, longOne});
    ASSERT_EQ(model->selectedAIChatID(), shortChat.id);
    ASSERT_TRUE(settle([&] { return inView(shortChat.turns.last().id); }));

    model->selectAIChat(longOne.id);
    EXPECT_TRUE(settle([&] { return inView(longOne.turns.last().id); }));
    // And it stays there once everything has been laid out.
    spin(100);
    EXPECT_TRUE(inView(longOne.turns.last().id));

    model->selectAIChat(shortChat.id);
    EXPECT_TRUE(settle([&] { return inView(shortChat.turns.last().id); }));
    model->selectAIChat(longOne.id);
    EXPECT_TRUE(settle([&] { return inView(longOne.turns.last().id); }));

    // Animated, the scroll ends there too.
    ReduceMotion::instance().setEnabled(false);
    model->selectAIChat(shortChat.id);
    EXPECT_TRUE(settle([&] { return inView(shortChat.turns.last().id); }));
    model->selectAIChat(longOne.id);
    EXPECT_TRUE(view->messages()->lastScrollAnimated());
    EXPECT_TRUE(settle([&] { return inView(longOne.turns.last().id); }));
    spin(300);
    EXPECT_TRUE(inView(longOne.turns.last().id));
}

TEST_F(PlimboConversationViewTest, ALongChatBuildsOnlyTheTurnsNearTheView) {
    const AIChatSession chat = longChat("Long", 100);
    make(true, {chat});
    ASSERT_TRUE(settle([&] { return inView(chat.turns.last().id); }));
    EXPECT_LT(view->turnViews().size(), 10);

    // Scrolling up builds the turns coming into view without moving what is already shown.
    QScrollBar* bar = view->messages()->verticalScrollBar();
    int steps = 0;
    while (bar->value() > 0 && steps < 2000) {
        ConversationTurnView* top = nullptr;
        int topY = 0;
        for (ConversationTurnView* turn : view->turnViews()) {
            const int y = turn->mapTo(view->messages()->viewport(), QPoint(0, 0)).y();
            if (y + turn->height() > 0) {
                top = turn;
                topY = y;
                break;
            }
        }
        ASSERT_NE(top, nullptr);
        const QUuid topId = top->turn().id;
        const int before = bar->value();
        bar->setValue(before - 150);
        QCoreApplication::processEvents();
        const int moved = std::min(before, 150);
        bool found = false;
        for (ConversationTurnView* turn : view->turnViews()) {
            if (turn->turn().id == topId) {
                found = true;
                EXPECT_EQ(turn->mapTo(view->messages()->viewport(), QPoint(0, 0)).y(), topY + moved)
                    << "step " << steps;
            }
        }
        EXPECT_TRUE(found);
        EXPECT_LT(view->turnViews().size(), 12) << "step " << steps;
        ++steps;
    }
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(view->turnViews().first()->turn().id, chat.turns.first().id);
    EXPECT_EQ(view->turnViews().first()->mapTo(view->messages()->viewport(), QPoint(0, 0)).y(), 26);
}

TEST_F(PlimboConversationViewTest, DroppedFilesBecomeAttachmentsNeverText) {
    make();
    QTest::keyClicks(editor(), "keep");
    const QUrl file = h.sourceFile("dropped.txt", "contents");
    EXPECT_TRUE(dropUrls(editor()->viewport(), {file, QUrl("https://example.com/page")},
                         file.toLocalFile()));
    ASSERT_TRUE(settle([&] { return model->pendingAIAttachments().size() == 1; }));
    EXPECT_EQ(model->pendingAIAttachments().first().name, "dropped.txt");
    EXPECT_EQ(editor()->toPlainText(), "keep");
    EXPECT_EQ(model->aiInput(), "keep");
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));

    // Only web addresses: refused, nothing changes.
    EXPECT_FALSE(dropUrls(editor()->viewport(), {QUrl("https://example.com/a")}));
    EXPECT_FALSE(dropUrls(view->composer().dropZone, {QUrl("https://example.com/b")}));
    spin();
    EXPECT_EQ(model->pendingAIAttachments().size(), 1);
    EXPECT_EQ(editor()->toPlainText(), "keep");
    EXPECT_FALSE(view->composer().dropZone->isTargeted());

    // The bar around the field takes drops as well.
    EXPECT_TRUE(dropUrls(view->composer().dropZone, {h.sourceFile("second.txt", "x")}));
    ASSERT_TRUE(settle([&] { return model->pendingAIAttachments().size() == 2; }));
}

TEST_F(PlimboConversationViewTest, SuggestionsReplaceTheTextWithoutSending) {
    make();
    EXPECT_TRUE(view->emptyConversation()->isVisibleTo(view.get()));
    EXPECT_FALSE(view->messages()->isVisibleTo(view.get()));
    EXPECT_EQ(view->titleLabel()->plainText(), "New chat");
    ASSERT_EQ(view->suggestions().size(), 3);
    EXPECT_EQ(view->suggestions()[0]->text(), "Explain");
    EXPECT_EQ(view->suggestions()[2]->symbol(), "checklist");
    QTest::keyClicks(editor(), "typed");
    QTest::mouseClick(view->suggestions()[1], Qt::LeftButton);
    EXPECT_EQ(model->aiInput(), "Help me write: ");
    EXPECT_EQ(editor()->toPlainText(), "Help me write: ");
    EXPECT_TRUE(view->isComposerFocused());
    spin();
    EXPECT_TRUE(h.ai->calls.isEmpty());
}

TEST_F(PlimboConversationViewTest, NewChatClearsTheConversationAndFocusesTheField) {
    const AIChatSession chat = makeChat("Old", QDateTime::currentDateTimeUtc(), 1);
    make(true, {chat});
    EXPECT_TRUE(view->messages()->isVisibleTo(view.get()));
    QTest::keyClicks(editor(), "Go");
    pressReturn();
    ASSERT_TRUE(sent(1));
    view->setFocus();
    QTest::mouseClick(view->newChatButton(), Qt::LeftButton);
    EXPECT_FALSE(model->isGenerating());
    EXPECT_EQ(view->titleLabel()->plainText(), "New chat");
    EXPECT_TRUE(view->emptyConversation()->isVisibleTo(view.get()));
    EXPECT_TRUE(view->turnViews().isEmpty());
    EXPECT_TRUE(view->isComposerFocused());
}

TEST_F(PlimboConversationViewTest, TheBorderFollowsDragsAndFocus) {
    make();
    view->setFocus();
    const QColor idle = view->composer().box->strokeColor();
    EXPECT_EQ(view->composer().box->strokeWidth(), 1.0);
    view->composer().dropZone->setTargeted(true);
    EXPECT_EQ(view->composer().box->strokeColor(), PlimboTheme::accent());
    EXPECT_EQ(view->composer().box->strokeWidth(), 1.5);
    view->composer().dropZone->setTargeted(false);
    EXPECT_EQ(view->composer().box->strokeColor(), idle);
}

// Pictures show as soon as they are decoded: a newly attached photo in the composer, and the
// photos of a chat whose images are decoded after its turns were built.
TEST_F(PlimboConversationViewTest, PhotosShowAsSoonAsTheyAreDecoded) {
    const AIChatAttachment photo =
        h.storeAttachment(pngBytes(QSize(6, 4), Qt::red), "shot.png", AIChatAttachmentKind::image);
    AIChatSession older = makeChat("Photo", h.clock->now().addSecs(-60));
    older.turns.first().attachments = {photo};
    make(true, {older, makeChat("Newest", h.clock->now())});

    ASSERT_TRUE(
        model->addAIAttachments({h.sourceFile("new.png", pngBytes(QSize(8, 6), Qt::blue))}));
    ASSERT_TRUE(settle([&] { return !model->isAddingAIAttachments(); }));
    ASSERT_EQ(view->composer().strip->tiles().size(), 1);
    EXPECT_TRUE(static_cast<ComposerAIAttachmentCard*>(view->composer().strip->tiles().first())
                    ->hasImage());

    h.executor->hold(); // the chat's turns are built before its images are decoded
    model->selectAIChat(older.id);
    const auto sentPhoto = [&]() -> SentAIAttachmentView* {
        for (ConversationTurnView* turn : view->turnViews()) {
            if (!turn->attachmentViews().isEmpty()) {
                return turn->attachmentViews().first();
            }
        }
        return nullptr;
    };
    ASSERT_TRUE(settle([&] { return sentPhoto() != nullptr; }));
    EXPECT_FALSE(sentPhoto()->showsPhoto());
    h.executor->release();
    ASSERT_TRUE(settle([&] { return sentPhoto()->showsPhoto(); }));
    EXPECT_EQ(sentPhoto()->size(), QSize(190, 126));
}

} // namespace
