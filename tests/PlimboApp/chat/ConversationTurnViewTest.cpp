#include "ConversationTurnView.h"
#include "ChatThinkingIndicator.h"
#include "ChatViewTestSupport.h"
#include "MarkdownText.h"
#include "RichTextView.h"
#include "SentAIAttachmentView.h"
#include "SymbolButton.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QToolButton>

using namespace plimbo;
using namespace plimbo::test::chat;

namespace {

struct Shown {
    explicit Shown(const AIChatTurn& turn, bool generating = false)
        : view(
              turn, generating, [this] { ++copies; }, [this] { ++retries; },
              [this](const AIChatAttachment& attachment) -> std::optional<QImage> {
                  return images.contains(attachment.id)
                             ? std::optional<QImage>(images.value(attachment.id))
                             : std::nullopt;
              }) {
        view.resize(600, 400);
        view.show();
    }

    bool visible(QWidget* widget) const { return widget && widget->isVisibleTo(&view); }

    int copies = 0;
    int retries = 0;
    QHash<QUuid, QImage> images;
    ConversationTurnView view;
};

TEST(ConversationTurnView, WaitingForTheFirstTextShowsTheDotsOnly) {
    Shown shown(turn("Hi", "", AIChatTurnState::streaming), true);
    EXPECT_TRUE(shown.visible(shown.view.thinkingIndicator()));
    EXPECT_FALSE(shown.visible(shown.view.replyMarkdown()));
    EXPECT_FALSE(shown.visible(shown.view.copyButton()));
    EXPECT_FALSE(shown.visible(shown.view.stateRow()));
    EXPECT_EQ(shown.view.accessibilityResponse(), "Waiting for a response…");
    EXPECT_EQ(shown.view.replyContent()->accessibleDescription(), "Waiting for a response…");

    // Text arrives: Markdown and the copy button, no state label while generating.
    AIChatTurn streaming = shown.view.turn();
    streaming.response = QStringLiteral("Hello **there**");
    shown.view.setTurn(streaming, true);
    EXPECT_EQ(shown.view.thinkingIndicator(), nullptr);
    ASSERT_TRUE(shown.visible(shown.view.replyMarkdown()));
    EXPECT_EQ(shown.view.replyMarkdown()->displayedText(), "Hello there");
    EXPECT_TRUE(shown.visible(shown.view.copyButton()));
    EXPECT_FALSE(shown.visible(shown.view.stateRow()));
    QTest::mouseClick(shown.view.copyButton(), Qt::LeftButton);
    EXPECT_EQ(shown.copies, 1);
    EXPECT_EQ(shown.view.copyButton()->accessibleName(), "Copy response");
}

TEST(ConversationTurnView, EmptyRepliesSayWhy) {
    struct Case {
        AIChatTurnState state;
        std::optional<QString> failure;
        QString reply;
        std::optional<QString> label;
        QString symbol;
    };
    const QList<Case> cases{
        {AIChatTurnState::streaming, {}, "Waiting for a response…", {}, ""},
        {AIChatTurnState::completed, {}, "No response was returned.", {}, ""},
        {AIChatTurnState::stopped,
         {},
         "Response stopped before any text arrived.",
         QString("Response stopped"),
         "stop.circle"},
        {AIChatTurnState::failed, QString("Add an OpenRouter API key in Settings."),
         "Add an OpenRouter API key in Settings.",
         QString("Add an OpenRouter API key in Settings."), "exclamationmark.circle"},
        {AIChatTurnState::failed,
         {},
         "The response failed.",
         QString("Response failed"),
         "exclamationmark.circle"},
        // A recorded message is used as it is, even empty.
        {AIChatTurnState::failed, QString(""), "", QString(""), "exclamationmark.circle"},
    };
    for (const Case& c : cases) {
        Shown shown(turn("Q", "", c.state, c.failure));
        SCOPED_TRACE(c.reply.toStdString());
        EXPECT_EQ(shown.view.thinkingIndicator(), nullptr);
        ASSERT_TRUE(shown.visible(shown.view.emptyReplyLabel()));
        EXPECT_EQ(shown.view.emptyReplyLabel()->plainText(), c.reply);
        EXPECT_EQ(shown.view.accessibilityResponse(), c.reply);
        EXPECT_EQ(shown.view.stateLabel(), c.label);
        EXPECT_EQ(shown.visible(shown.view.stateRow()), c.label.has_value());
        EXPECT_EQ(shown.view.stateSymbol(), c.symbol);
        EXPECT_FALSE(shown.visible(shown.view.copyButton()));
        if (c.label) {
            EXPECT_EQ(shown.view.stateText()->text(), *c.label);
            QTest::mouseClick(shown.view.retryButton(), Qt::LeftButton);
            EXPECT_EQ(shown.retries, 1);
        }
    }
}

TEST(ConversationTurnView, StoppedAndFailedRepliesWithText) {
    Shown stopped(turn("Q", "Partial", AIChatTurnState::stopped));
    EXPECT_TRUE(stopped.visible(stopped.view.replyMarkdown()));
    EXPECT_TRUE(stopped.visible(stopped.view.stateRow()));
    EXPECT_TRUE(stopped.visible(stopped.view.copyButton()));
    EXPECT_EQ(stopped.view.accessibilityResponse(), "Partial. Response stopped");

    Shown failed(turn("Q", "Partial", AIChatTurnState::failed, QString("Network down")));
    EXPECT_EQ(failed.view.accessibilityResponse(), "Partial. Network down");
    EXPECT_EQ(failed.view.stateLabel(), QString("Network down"));

    // While generating no state label shows, whatever the state.
    Shown generating(turn("Q", "Partial", AIChatTurnState::stopped), true);
    EXPECT_FALSE(generating.view.stateLabel().has_value());
    EXPECT_EQ(generating.view.accessibilityResponse(), "Partial");

    // A streaming turn that is not the one being generated shows no dots.
    Shown idle(turn("Q", "", AIChatTurnState::streaming), false);
    EXPECT_EQ(idle.view.thinkingIndicator(), nullptr);
    EXPECT_EQ(idle.view.emptyReplyLabel()->plainText(), "Waiting for a response…");
}

TEST(ConversationTurnView, PromptBubbleWithAttachments) {
    Shown plain(turn("Just <b>text</b>", "A"));
    EXPECT_TRUE(plain.view.attachmentViews().isEmpty());
    EXPECT_EQ(plain.view.userAccessibilityValue(), "Just <b>text</b>");
    EXPECT_EQ(plain.view.promptText()->plainText(), "Just <b>text</b>");
    EXPECT_EQ(plain.view.promptBubble()->accessibleName(), "You");

    const AIChatAttachment photo = attachment("photo.png", AIChatAttachmentKind::image, 418000);
    const AIChatAttachment notes = attachment("notes.pdf", AIChatAttachmentKind::pdf, 248000);
    const AIChatTurn withFiles = turn("Look", "Ok", AIChatTurnState::completed, {}, {photo, notes});
    Shown shown(withFiles, false);
    // Built before the image was known: the document row.
    ASSERT_EQ(shown.view.attachmentViews().size(), 2);
    EXPECT_FALSE(shown.view.attachmentViews()[0]->showsPhoto());
    EXPECT_EQ(shown.view.userAccessibilityValue(), "Look. Attachments: photo.png, notes.pdf");
    EXPECT_EQ(shown.view.promptBubble()->accessibleDescription(),
              "Look. Attachments: photo.png, notes.pdf");

    shown.images.insert(photo.id, solidImage(Qt::red));
    AIChatTurn changed = withFiles;
    changed.attachments = {photo};
    shown.view.setTurn(changed, false);
    ASSERT_EQ(shown.view.attachmentViews().size(), 1);
    EXPECT_TRUE(shown.view.attachmentViews()[0]->showsPhoto());
}

TEST(ConversationTurnView, DotsRestartWhenTheyComeBack) {
    MotionScope motion(false);
    Shown shown(turn("Hi", "", AIChatTurnState::streaming), true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown.view));
    ChatThinkingIndicator* first = shown.view.thinkingIndicator();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isActive());
    EXPECT_TRUE(first->isAnimating());
    shown.view.setTurn(shown.view.turn(), false);
    EXPECT_EQ(shown.view.thinkingIndicator(), nullptr);
    shown.view.setTurn(shown.view.turn(), true);
    ChatThinkingIndicator* again = shown.view.thinkingIndicator();
    ASSERT_NE(again, nullptr);
    // The new dots start from rest: the last one has not moved yet.
    EXPECT_NEAR(again->dotScale(2), 0.65, 0.01);
    EXPECT_NEAR(again->dotOpacity(2), 0.32, 0.01);
}

} // namespace
