#pragma once

#include "AIChatAttachment.h"
#include "AIChatTurn.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QToolButton;

namespace plimbo {

class ChatThinkingIndicator;
class HorizontalStrip;
class MarkdownText;
class RichTextView;
class RoundedBox;
class SentAIAttachmentView;
class SymbolButton;

// One turn of a workbench chat: the prompt in a bubble on the trailing side with the files sent
// along, and below it the reply beside the brand avatar: Markdown once text arrives, the
// thinking dots while it is awaited, or a line saying why there is none; a stopped or failed
// turn adds its state and "Retry", a reply with text a copy button. A view only shows its
// inputs; setTurn() moves it to a new state of the same turn and touches only what changed.
class ConversationTurnView : public QWidget {
    Q_OBJECT

public:
    using ImageProvider = std::function<std::optional<QImage>(const AIChatAttachment&)>;

    ConversationTurnView(const AIChatTurn& turn, bool isGenerating, std::function<void()> onCopy,
                         std::function<void()> onRetry, ImageProvider attachmentImage,
                         QWidget* parent = nullptr);

    void setTurn(const AIChatTurn& turn, bool isGenerating);
    const AIChatTurn& turn() const { return m_turn; }
    bool isGenerating() const { return m_isGenerating; }

    // Absent while generating and for streaming or completed turns.
    std::optional<QString> stateLabel() const;
    // What the reply area says when there is no text and nothing is generated.
    QString emptyReplyText() const;
    QString accessibilityResponse() const;
    QString userAccessibilityValue() const;

    // The parts, for tests; null or hidden when not shown.
    RichTextView* promptText() const { return m_prompt; }
    QWidget* promptBubble() const;
    MarkdownText* replyMarkdown() const { return m_markdown; }
    ChatThinkingIndicator* thinkingIndicator() const { return m_dots; }
    RichTextView* emptyReplyLabel() const { return m_emptyReply; }
    QWidget* replyContent() const { return m_replyContent; }
    QWidget* stateRow() const { return m_stateRow; }
    QLabel* stateText() const { return m_stateText; }
    QString stateSymbol() const { return m_stateSymbolName; }
    QToolButton* retryButton() const { return m_retry; }
    SymbolButton* copyButton() const { return m_copy; }
    QList<SentAIAttachmentView*> attachmentViews() const;
    // Shows the picture of this attachment, decoded after the turn was built.
    void refreshAttachmentImage(const QUuid& attachmentID);

private:
    void updatePrompt(const AIChatTurn* previous);
    void updateReply();

    AIChatTurn m_turn;
    bool m_isGenerating;
    std::function<void()> m_onCopy;
    std::function<void()> m_onRetry;
    ImageProvider m_attachmentImage;

    RoundedBox* m_bubble;
    HorizontalStrip* m_attachments;
    RichTextView* m_prompt;
    QWidget* m_replyContent;
    MarkdownText* m_markdown = nullptr;
    ChatThinkingIndicator* m_dots = nullptr;
    RichTextView* m_emptyReply = nullptr;
    QWidget* m_stateRow;
    QLabel* m_stateIcon;
    QLabel* m_stateText;
    QString m_stateSymbolName;
    QToolButton* m_retry;
    SymbolButton* m_copy;
};

} // namespace plimbo
