#pragma once

#include "AIChatSession.h"
#include "ChatFeatures.h"
#include "ChatSearchIndex.h"
#include "RenameChatDialog.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QUuid>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace plimbo {

class ChatHistoryRow;
class Clock;
class PlimboConversationView;
class SymbolButton;
class TurnScrollArea;

// The full chat surface (the dashboard's assistant section): the history sidebar with its
// search field, new-chat button and per-chat rename and delete, beside the conversation pane.
// It owns no chat data; its own state is the search text and which chat has its rename alert or
// delete confirmation open. `clock` gives "now" for the rows' times (the system clock when none).
// Only the rows in or near view are built, and the search reads a case-folded copy of the chats'
// text kept beside the list, so a long history costs what is on screen.
class AIWorkbenchView : public QWidget {
    Q_OBJECT

public:
    explicit AIWorkbenchView(const ChatFeatures& features,
                             std::shared_ptr<const Clock> clock = nullptr,
                             QWidget* parent = nullptr);
    ~AIWorkbenchView() override;

    // The chats whose title, or any prompt or reply, contains the trimmed search (ignoring
    // case, not accents), in the model's order; all of them for a blank search.
    static QList<AIChatSession> filteredChats(const QList<AIChatSession>& chats,
                                              const QString& search);

    QString chatSearch() const { return m_chatSearch; }
    void setChatSearch(const QString& search);
    std::optional<QUuid> renameChatID() const { return m_renameChatID; }
    QString renameDraft() const { return m_renameDraft; }
    std::optional<QUuid> pendingDeleteChatID() const { return m_pendingDeleteChatID; }

    // The row actions, as the options and context menus run them.
    void beginRename(const AIChatSession& chat);
    void beginDelete(const QUuid& id);

    // Applies gathered model changes now (tests).
    void flushPendingUpdates();

    // The parts, for tests.
    PlimboConversationView* conversation() const { return m_conversation; }
    SymbolButton* newChatButton() const { return m_newChat; }
    QLineEdit* searchField() const { return m_search; }
    SymbolButton* clearSearchButton() const { return m_clearSearch; }
    // The rows that exist (those in or near view), in the list's order.
    QList<ChatHistoryRow*> rows() const;
    QWidget* emptyState() const { return m_emptyState; }
    QString emptyStateSymbol() const { return m_emptySymbolName; }
    QLabel* emptyTitle() const { return m_emptyTitle; }
    QLabel* emptySubtitle() const { return m_emptySubtitle; }
    RenameChatDialog* renameDialog() const { return m_renameDialog; }
    QMessageBox* deleteDialog() const { return m_deleteDialog; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildSidebar();
    void prepareSearch();
    void refreshList();
    ChatHistoryRow* makeRow(const AIChatSession& chat, bool isSelected, const QDateTime& now);
    void refreshEmptyState();
    void chatsChanged();
    void saveRename();
    void closeRename();
    void confirmDelete();
    void closeDelete();
    QDateTime now() const;

    ChatFeatures m_features;
    std::shared_ptr<const Clock> m_clock;

    QString m_chatSearch;
    std::optional<QUuid> m_renameChatID;
    QString m_renameDraft;
    std::optional<QUuid> m_pendingDeleteChatID;

    PlimboConversationView* m_conversation = nullptr;
    SymbolButton* m_newChat = nullptr;
    QLineEdit* m_search = nullptr;
    SymbolButton* m_clearSearch = nullptr;
    TurnScrollArea* m_list = nullptr;
    // The chats the list shows, as last filtered.
    QList<AIChatSession> m_shown;
    ChatSearchIndex m_searchIndex;
    QTimer m_prepareSearch;
    QWidget* m_emptyState = nullptr;
    QLabel* m_emptySymbol = nullptr;
    QString m_emptySymbolName;
    QLabel* m_emptyTitle = nullptr;
    QLabel* m_emptySubtitle = nullptr;
    QPointer<RenameChatDialog> m_renameDialog;
    QPointer<QMessageBox> m_deleteDialog;
    QTimer m_coalesce;
    QList<QUuid> m_chatIds;
};

} // namespace plimbo
