#pragma once

#include "AIChatTurn.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QUuid>
#include <QWidget>

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class QVariantAnimation;

namespace plimbo {

class ActivitySpinner;
class AppModel;
class AttachmentDropZone;
class CapsuleButton;
class ComposerTextEdit;
class ConversationTurnView;
class HorizontalStrip;
class RichTextView;
class RoundedBox;
class SymbolButton;

// The workbench's right-hand pane: the selected chat's title and the assistant's state, its
// turns in a scrolling column (or a welcome with three starter suggestions), and the composer
// with pending attachments, the status line and send, stop and attach buttons. Everything shown
// comes from the model; every action is a model call. While a reply streams, updates of the
// turns are gathered and applied at most once per frame, to the turn that changed.
class PlimboConversationView : public QWidget {
    Q_OBJECT

public:
    explicit PlimboConversationView(AppModel& model, QWidget* parent = nullptr);
    ~PlimboConversationView() override;

    // "New chat" while no chat (or no listed chat) is selected, else the chat's title.
    QString activeTitle() const;
    // Key stored, no reply running, no attachment being added, and text that is not blank or
    // at least one pending attachment.
    bool canSend() const;
    // Sends when canSend(), then focuses the text field; otherwise does nothing.
    void send();
    // Applies gathered model changes now (tests and measurements).
    void flushPendingUpdates();

    // The parts, for tests.
    ComposerTextEdit* editor() const { return m_editor; }
    SymbolButton* sendButton() const { return m_send; }
    SymbolButton* stopButton() const { return m_stop; }
    SymbolButton* attachButton() const { return m_attach; }
    QPushButton* newChatButton() const { return m_newChat; }
    QLabel* statusLabel() const { return m_status; }
    QLabel* credentialLabel() const { return m_credential; }
    RichTextView* titleLabel() const { return m_title; }
    ActivitySpinner* spinner() const { return m_spinner; }
    QWidget* emptyConversation() const { return m_empty; }
    QScrollArea* messages() const { return m_messages; }
    QList<CapsuleButton*> suggestions() const { return m_suggestions; }
    QList<ConversationTurnView*> turnViews() const { return m_turnViews; }
    HorizontalStrip* attachmentStrip() const { return m_strip; }
    AttachmentDropZone* dropZone() const { return m_dropZone; }
    RoundedBox* composerBox() const { return m_composerBox; }
    bool isComposerFocused() const;
    // The turn id the last scroll went to, and whether it was animated.
    std::optional<QUuid> lastScrollTarget() const { return m_lastScrollTarget; }
    bool lastScrollAnimated() const { return m_lastScrollAnimated; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildEmptyConversation();
    QWidget* buildMessages();
    QWidget* buildComposer();

    void conversationChanged();
    void refreshTurns();
    void refreshHeader();
    void refreshComposer();
    void refreshAttachments();
    void refreshBorder();
    void selectionChanged();
    void focusComposer();
    void scrollToLatest();
    // Scrolls once the list is on screen and laid out.
    void performPendingScroll();

    AppModel& m_model;
    RichTextView* m_title = nullptr;
    QLabel* m_credential = nullptr;
    ActivitySpinner* m_spinner = nullptr;
    QPushButton* m_newChat = nullptr;
    QWidget* m_empty = nullptr;
    QList<CapsuleButton*> m_suggestions;
    QScrollArea* m_messages = nullptr;
    QVBoxLayout* m_turnColumn = nullptr;
    QList<ConversationTurnView*> m_turnViews;
    AttachmentDropZone* m_dropZone = nullptr;
    RoundedBox* m_composerBox = nullptr;
    HorizontalStrip* m_strip = nullptr;
    QWidget* m_stripRow = nullptr;
    QWidget* m_editorRow = nullptr;
    ComposerTextEdit* m_editor = nullptr;
    SymbolButton* m_attach = nullptr;
    QLabel* m_status = nullptr;
    SymbolButton* m_stop = nullptr;
    SymbolButton* m_send = nullptr;

    QTimer m_coalesce;
    QList<QUuid> m_shownTurnIds;
    bool m_wasShowingTurns = false;
    std::optional<QUuid> m_lastScrollTarget;
    bool m_lastScrollAnimated = false;
    bool m_scrollPending = false;
};

} // namespace plimbo
