#include "MiniAIView.h"
#include "ActivitySpinner.h"
#include "AppModelHarness.h"
#include "AttachmentDropZone.h"
#include "BrandBadge.h"
#include "ChatStyle.h"
#include "ChatViewTestSupport.h"
#include "ComposerAIAttachmentCard.h"
#include "ComposerTextEdit.h"
#include "HorizontalStrip.h"
#include "LongChat.h"
#include "MarkdownText.h"
#include "MiniAITurnView.h"
#include "PlimboTheme.h"
#include "PresentedErrorAlert.h"
#include "RichTextView.h"
#include "ShellViews.h"
#include "SymbolButton.h"
#include "ThinkingDots.h"
#include "TurnScrollArea.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;
using namespace plimbo::test::chat;

namespace {

class MiniAIViewTest : public ::testing::Test {
protected:
    void make(bool withKey = true) {
        if (withKey) {
            h.storeKey(QStringLiteral("sk-or-test"));
        }
        model = h.makeModel();
        model->newAIChat();
        // Built as the shell builds it, with the model's error alert on it.
        view.reset(qobject_cast<MiniAIView*>(ShellViews::miniAI(
            *model,
            [this] { log.append(QStringLiteral("begin:%1").arg(model->aiConversation().size())); },
            [this] { log.append("openAll"); }, [this] { log.append("close"); })));
        view->resize(420, 112);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    PresentedErrorAlert* errorAlert() const { return view->findChild<PresentedErrorAlert*>(); }
    bool shown(QWidget* widget) const { return widget && widget->isVisibleTo(view.get()); }
    void pressReturn(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(view->composer().editor, Qt::Key_Return, modifiers);
    }
    bool sent(int count) {
        return settle([&] { return h.ai->calls.size() == count; });
    }
    void sendPrompt(const QString& prompt) {
        QTest::keyClicks(view->composer().editor, prompt);
        pressReturn();
    }

    MotionScope motion{true};
    AppModelHarness h;
    std::unique_ptr<AppModel> model;
    QStringList log;
    std::unique_ptr<MiniAIView> view;
};

TEST_F(MiniAIViewTest, ComposerOnlyUntilTheFirstTurn) {
    make();
    EXPECT_FALSE(view->showsConversation());
    EXPECT_FALSE(shown(view->header()));
    EXPECT_TRUE(shown(view->composerMark()));
    EXPECT_TRUE(shown(view->composerOpenAllButton()));
    EXPECT_TRUE(view->isComposerFocused());
    EXPECT_EQ(view->composer().editor->placeholderText(), "Ask Plimbo AI…");
    QTest::mouseClick(view->composerOpenAllButton(), Qt::LeftButton);
    EXPECT_EQ(log, QStringList{"openAll"});

    // The panel grows before the first turn exists, then the model sends.
    sendPrompt("Hello");
    ASSERT_TRUE(sent(1));
    EXPECT_EQ(log, (QStringList{"openAll", "begin:0"}));
    EXPECT_TRUE(view->showsConversation());
    EXPECT_TRUE(shown(view->header()));
    EXPECT_FALSE(shown(view->composerMark()));
    EXPECT_FALSE(shown(view->composerOpenAllButton()));
    EXPECT_TRUE(view->isComposerFocused());
    ASSERT_EQ(view->turnViews().size(), 1);
    EXPECT_TRUE(shown(view->turnViews()[0]->dots()));
    EXPECT_EQ(view->turnList()->lastScrollTarget(), model->aiConversation().last().id);
    EXPECT_FALSE(view->turnList()->lastScrollAnimated());

    // While generating: the stop button (always enabled), "+" disabled, Return does nothing.
    EXPECT_TRUE(view->sendButton()->isEnabled());
    EXPECT_EQ(view->sendButton()->symbol(), "stop.fill");
    EXPECT_EQ(view->sendButton()->accessibleName(), "Stop response");
    EXPECT_FALSE(view->composer().attach->isEnabled());
    EXPECT_TRUE(shown(view->spinner()));
    sendPrompt("Again");
    spin();
    EXPECT_EQ(h.ai->calls.size(), 1);
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    EXPECT_FALSE(model->isGenerating());
    EXPECT_TRUE(settle([&] { return h.ai->cancelled.size() == 1; }));
    EXPECT_EQ(view->sendButton()->symbol(), "arrow.up");
    EXPECT_EQ(view->sendButton()->accessibleName(), "Send message");
    EXPECT_EQ(view->sendButton()->toolTip(), "Send");
    // The second send does not grow the panel again.
    pressReturn();
    ASSERT_TRUE(sent(2));
    EXPECT_EQ(log.count("begin:0"), 1);
    EXPECT_EQ(log.size(), 2);
}

TEST_F(MiniAIViewTest, TheSendRule) {
    make(false);
    sendPrompt("No key");
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    spin();
    EXPECT_TRUE(h.ai->calls.isEmpty());
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(view->sendButton()->isEnabled());
    EXPECT_EQ(view->sendButton()->circleColor(), ChatStyle::white(0.1));
    EXPECT_TRUE(view->composer().attach->isEnabled());
    EXPECT_EQ(model->aiInput(), "No key");
}

TEST_F(MiniAIViewTest, BlankAttachmentOnlyAndAddingAttachments) {
    make();
    QTest::keyClicks(view->composer().editor, "  ");
    pressReturn(Qt::ShiftModifier);
    EXPECT_EQ(model->aiInput(), "  \n");
    EXPECT_FALSE(view->canSend());
    pressReturn();
    spin();
    EXPECT_TRUE(h.ai->calls.isEmpty());

    h.executor->hold();
    ASSERT_TRUE(model->addAIAttachments({h.sourceFile("a.txt", "x")}));
    EXPECT_FALSE(view->canSend());
    EXPECT_FALSE(view->composer().attach->isEnabled());
    EXPECT_FALSE(dropUrls(view->composer().editor->viewport(), {h.sourceFile("b.txt", "y")}));
    h.executor->release();
    ASSERT_TRUE(settle([&] {
        return model->pendingAIAttachments().size() == 1 && !model->isAddingAIAttachments();
    }));
    ASSERT_EQ(view->composer().strip->tiles().size(), 1);
    auto* card = static_cast<ComposerAIAttachmentCard*>(view->composer().strip->tiles().first());
    EXPECT_TRUE(card->isCompact());
    EXPECT_TRUE(view->canSend());
    model->setAiInput(QString());
    EXPECT_TRUE(view->canSend());
    pressReturn();
    ASSERT_TRUE(sent(1));
    ASSERT_EQ(view->turnViews().size(), 1);
    EXPECT_EQ(view->turnViews()[0]->attachmentLine()->text(), "a.txt");
}

TEST_F(MiniAIViewTest, RepliesAndTheirTexts) {
    make();
    sendPrompt("Hi");
    ASSERT_TRUE(sent(1));
    const AIChatTurn streaming = model->aiConversation().last();
    // Streaming without text: the dots for the last turn; the status for the text.
    EXPECT_EQ(view->emptyResponseText(streaming), "Thinking…");
    h.ai->text(QStringLiteral("Look at *this*"));
    view->flushPendingUpdates();
    MiniAITurnView* turnView = view->turnViews().last();
    EXPECT_EQ(turnView->dots(), nullptr);
    ASSERT_TRUE(shown(turnView->replyMarkdown()));
    EXPECT_EQ(turnView->replyMarkdown()->displayedText(), "Look at this");
    QTest::mouseClick(view->sendButton(), Qt::LeftButton);
    ASSERT_TRUE(settle([&] { return !model->isGenerating(); }));
    view->flushPendingUpdates();
    const AIChatTurn stopped = model->aiConversation().last();
    EXPECT_EQ(stopped.state, AIChatTurnState::stopped);
    EXPECT_EQ(view->accessibilityResponse(stopped), "Look at *this*. Response stopped.");
    EXPECT_EQ(turnView->replyBubble()->accessibleDescription(),
              "Look at *this*. Response stopped.");

    AIChatTurn failed = turn("q", "Partial", AIChatTurnState::failed, QString("Boom"));
    EXPECT_EQ(view->accessibilityResponse(failed), "Partial. Response failed.");
    failed.response.clear();
    EXPECT_EQ(view->emptyResponseText(failed), "Boom");
    failed.failureMessage.reset();
    EXPECT_EQ(view->emptyResponseText(failed), "Response failed.");
    EXPECT_EQ(view->emptyResponseText(turn("q", "", AIChatTurnState::stopped)),
              "Response stopped.");
    EXPECT_EQ(view->emptyResponseText(turn("q", "", AIChatTurnState::completed)),
              "No response was returned.");
    EXPECT_EQ(view->accessibilityResponse(turn("q", "Done", AIChatTurnState::completed)), "Done");
}

TEST_F(MiniAIViewTest, AttachmentSummariesAndPromptValues) {
    const AIChatAttachment a = attachment("one.png");
    const AIChatAttachment b = attachment("two.pdf");
    const AIChatAttachment c = attachment("three.txt");
    EXPECT_EQ(MiniAIView::attachmentSummary({a}), "one.png");
    EXPECT_EQ(MiniAIView::attachmentSummary({a, b, c}), "3 attachments");
    EXPECT_EQ(MiniAIView::userAccessibilityValue(
                  turn("Look", "", AIChatTurnState::completed, {}, {a, b})),
              "Look. Attachments: one.png, two.pdf");
    EXPECT_EQ(MiniAIView::userAccessibilityValue(turn("Look", "")), "Look");
}

TEST_F(MiniAIViewTest, EscapeAndTheCloseButtonOnlyClose) {
    make();
    QTest::keyClicks(view->composer().editor, "draft");
    QTest::keyClick(view->composer().editor, Qt::Key_Escape);
    EXPECT_EQ(log, QStringList{"close"});
    EXPECT_EQ(model->aiInput(), "draft");
    sendPrompt("x");
    ASSERT_TRUE(sent(1));
    QTest::mouseClick(view->closeButton(), Qt::LeftButton);
    QTest::mouseClick(view->headerOpenAllButton(), Qt::LeftButton);
    EXPECT_EQ(log.mid(2), (QStringList{"close", "openAll"}));
    EXPECT_EQ(view->closeButton()->accessibleName(), "Close Plimbo AI");
}

TEST_F(MiniAIViewTest, TheErrorAlertClosesWhenTheModelClearsIt) {
    make();
    model->setPresentedError(QStringLiteral("Wait for the attachment to finish loading."));
    QMessageBox* alert = errorAlert()->messageBox();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->text(), "Plimbo AI");
    EXPECT_EQ(alert->informativeText(), "Wait for the attachment to finish loading.");
    // Replaced: the same alert shows the new text.
    model->setPresentedError(QStringLiteral("Second"));
    EXPECT_EQ(errorAlert()->messageBox(), alert);
    EXPECT_EQ(alert->informativeText(), "Second");
    // Cleared by the model: the alert goes.
    model->setPresentedError(std::nullopt);
    EXPECT_EQ(errorAlert()->messageBox(), nullptr);
    // Closed by the user: the model's message is cleared.
    model->setPresentedError(QStringLiteral(""));
    alert = errorAlert()->messageBox();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->informativeText(), "Unknown error");
    QTest::keyClick(alert, Qt::Key_Escape);
    EXPECT_FALSE(model->presentedError().has_value());
}

TEST_F(MiniAIViewTest, NoAlertWhileOffScreen) {
    make();
    view->hide();
    model->setPresentedError(QStringLiteral("Later"));
    EXPECT_EQ(errorAlert()->messageBox(), nullptr);
    view->show();
    ASSERT_TRUE(settle([&] { return errorAlert()->isPresented(); }));
    EXPECT_EQ(errorAlert()->messageBox()->informativeText(), "Later");
}

TEST_F(MiniAIViewTest, ALongConversationBuildsOnlyTheTurnsNearTheView) {
    const AIChatSession chat = longChat("Long", 100);
    h.writeHistory({chat});
    make();
    view->resize(420, 410);
    model->selectAIChat(chat.id);
    ASSERT_TRUE(view->showsConversation());
    const auto newestInView = [&] {
        const QList<MiniAITurnView*> views = view->turnViews();
        if (views.isEmpty() || views.last()->turn().id != chat.turns.last().id) {
            return false;
        }
        const int bottom =
            views.last()
                ->mapTo(view->turnList()->viewport(), QPoint(0, views.last()->height()))
                .y();
        return bottom > 0 && bottom <= view->turnList()->viewport()->height();
    };
    EXPECT_TRUE(settle(newestInView));
    EXPECT_LT(view->turnViews().size(), 10);
    EXPECT_EQ(view->turnList()->turnCount(), 100);
}

TEST_F(MiniAIViewTest, TheLayoutSwitchIsAnimatedUnlessMotionIsReduced) {
    MotionScope animated(false);
    make();
    sendPrompt("Animate");
    ASSERT_TRUE(sent(1));
    EXPECT_TRUE(view->isTransitionRunning());
    EXPECT_TRUE(view->turnList()->lastScrollAnimated());
    model->newAIChat();
    ReduceMotion::instance().setEnabled(true);
    sendPrompt("Still");
    ASSERT_TRUE(sent(2));
    EXPECT_TRUE(view->showsConversation());
    EXPECT_FALSE(view->isTransitionRunning());
    EXPECT_FALSE(view->turnList()->lastScrollAnimated());
}

} // namespace
