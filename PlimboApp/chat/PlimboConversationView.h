#pragma once

#include "AIChatTurn.h"
#include "ComposerBinding.h"

#include <QList>
#include <QTimer>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QPushButton;

namespace plimbo {

class ActivitySpinner;
class CapsuleButton;
class ConversationTurnView;
class RichTextView;
class SymbolButton;
class TurnScrollArea;

// The workbench's right-hand pane: the selected chat's title and the assistant's state, its
// turns in a scrolling column (or a welcome with three starter suggestions), and the composer
// with pending attachments, the status line and send, stop and attach buttons. Everything shown
// comes from the chat features; every action is one of their calls. Only the turns in or near view
// have a view. While a reply streams, updates of the turns are gathered and applied at most once
// per frame, to the views that exist.
class PlimboConversationView : public QWidget {
    Q_OBJECT

public:
    explicit PlimboConversationView(const ChatFeatures& features, QWidget* parent = nullptr);
    ~PlimboConversationView() override;

    // "New chat" while no chat (or no listed chat) is selected, else the chat's title.
    QString activeTitle() const;
    // Key stored, no reply running, no attachment being added, and text that is not blank or
    // at least one pending attachment.
    bool canSend() const { return m_composer->canSend(); }
    // Sends when canSend(), then focuses the text field; otherwise does nothing.
    void send();
    // Applies gathered model changes now (tests and measurements).
    void flushPendingUpdates();

    // The parts, for tests.
    const ComposerBinding::Parts& composer() const { return m_composer->parts(); }
    SymbolButton* sendButton() const { return m_send; }
    SymbolButton* stopButton() const { return m_stop; }
    QPushButton* newChatButton() const { return m_newChat; }
    QLabel* credentialLabel() const { return m_credential; }
    RichTextView* titleLabel() const { return m_title; }
    ActivitySpinner* spinner() const { return m_spinner; }
    QWidget* emptyConversation() const { return m_empty; }
    QLabel* emptyHint() const { return m_emptyHint; }
    TurnScrollArea* messages() const { return m_messages; }
    QList<CapsuleButton*> suggestions() const { return m_suggestions; }
    // The turn views that exist (those in or near view), oldest first.
    QList<ConversationTurnView*> turnViews() const;
    bool isComposerFocused() const { return m_composer->isFocused(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildEmptyConversation();
    QWidget* buildMessages();
    QWidget* buildComposer();

    void conversationChanged();
    void refreshTurns();
    ConversationTurnView* makeTurnView(const AIChatTurn& turn, bool live);
    void refreshHeader();
    void refreshEmptyHint();
    // The send and stop buttons.
    void refreshComposer();
    void selectionChanged();
    void scrollToLatest();

    ChatFeatures m_features;
    RichTextView* m_title = nullptr;
    QLabel* m_credential = nullptr;
    ActivitySpinner* m_spinner = nullptr;
    QPushButton* m_newChat = nullptr;
    QWidget* m_empty = nullptr;
    QLabel* m_emptyHint = nullptr;
    QList<CapsuleButton*> m_suggestions;
    TurnScrollArea* m_messages = nullptr;
    ComposerBinding* m_composer = nullptr;
    SymbolButton* m_stop = nullptr;
    SymbolButton* m_send = nullptr;

    QTimer m_coalesce;
    bool m_wasShowingTurns = false;
};

} // namespace plimbo
