#pragma once

#include "AIChatTurn.h"

#include <QWidget>

class QLabel;

namespace plimbo {

class MarkdownText;
class RichTextView;
class RoundedBox;
class ThinkingDots;

// One turn in the mini assistant: the prompt in an accent bubble on the trailing side (with a
// paperclip line naming what was attached), and the reply beside the brand mark: Markdown, the
// thinking dots, or a dim line for a reply without text.
class MiniAITurnView : public QWidget {
    Q_OBJECT

public:
    explicit MiniAITurnView(QWidget* parent = nullptr);

    // `showsDots`: this is the last turn and a reply is being generated. `emptyText` and
    // `accessibilityValue` are the view's texts for this turn.
    void setTurn(const AIChatTurn& turn, bool showsDots, const QString& emptyText,
                 const QString& userValue, const QString& replyValue,
                 const QString& attachmentSummary);
    const AIChatTurn& turn() const { return m_turn; }

    // The parts, for tests.
    QWidget* userBubble() const;
    QWidget* replyBubble() const;
    QLabel* attachmentLine() const { return m_summary; }
    MarkdownText* replyMarkdown() const { return m_markdown; }
    ThinkingDots* dots() const { return m_dots; }
    RichTextView* emptyReplyLabel() const { return m_empty; }

private:
    AIChatTurn m_turn;
    bool m_initialised = false;
    RoundedBox* m_user;
    QWidget* m_attachmentRow;
    QLabel* m_summary;
    RichTextView* m_prompt;
    RoundedBox* m_reply;
    MarkdownText* m_markdown = nullptr;
    ThinkingDots* m_dots = nullptr;
    RichTextView* m_empty = nullptr;
};

} // namespace plimbo
