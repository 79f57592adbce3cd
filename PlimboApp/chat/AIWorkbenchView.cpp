#include "AIWorkbenchView.h"

#include "ChatDivider.h"
#include "ChatHistoryRow.h"
#include "ChatList.h"
#include "ChatSession.h"
#include "ChatStyle.h"
#include "PlimboConversationView.h"
#include "PlimboTheme.h"
#include "RenameChatDialog.h"
#include "RoundedBox.h"
#include "SymbolButton.h"
#include "SystemClock.h"
#include "TurnScrollArea.h"
#include "symbols/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace plimbo {

AIWorkbenchView::AIWorkbenchView(const ChatFeatures& features, std::shared_ptr<const Clock> clock,
                                 QWidget* parent)
    : QWidget(parent)
    , m_features(features)
    , m_clock(clock ? std::move(clock) : std::make_shared<SystemClock>()) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildSidebar());
    layout->addWidget(new ChatDivider(Qt::Vertical, RoundedBox::primary(0.1)));
    m_conversation = new PlimboConversationView(features);
    m_conversation->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(m_conversation, 1);

    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(16);
    connect(&m_coalesce, &QTimer::timeout, this, &AIWorkbenchView::refreshList);
    connect(&m_features.chats, &ChatList::chatsChanged, this, &AIWorkbenchView::chatsChanged);
    connect(&m_features.chats, &ChatList::selectedIDChanged, this, &AIWorkbenchView::refreshList);
    connect(&m_features.chats, &ChatList::isLoadedChanged, this,
            &AIWorkbenchView::refreshEmptyState);
    // The search's copy of the chats' text is made a chat at a time while nothing else
    // happens, so that the first keystroke does not wait for it.
    m_prepareSearch.setInterval(0);
    connect(&m_prepareSearch, &QTimer::timeout, this, [this] {
        if (m_searchIndex.prepare(m_features.chats.chats(), 1)) {
            m_prepareSearch.stop();
        }
    });
    refreshList();
}

AIWorkbenchView::~AIWorkbenchView() = default;

QDateTime AIWorkbenchView::now() const {
    return m_clock->now();
}

// ---------------------------------------------------------------- building

QWidget* AIWorkbenchView::buildSidebar() {
    auto* sidebar = new RoundedBox;
    sidebar->setRadius(0);
    sidebar->setFill(RoundedBox::primary(0.025));
    sidebar->setMinimumWidth(220);
    sidebar->setMaximumWidth(268);
    sidebar->setPreferredSize(QSize(244, 0));
    sidebar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto* column = new QVBoxLayout(sidebar);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(16, 18, 16, 12);
    header->setSpacing(10);
    QLabel* title = ChatStyle::plainLabel(tr("Chats"));
    title->setFont(ChatStyle::font(17, QFont::DemiBold));
    header->addWidget(title);
    header->addStretch(1);
    m_newChat = new SymbolButton(QStringLiteral("square.and.pencil"), 30, 13);
    m_newChat->setCircleColor(
        RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.14)));
    m_newChat->setSymbolColor(RoundedBox::fixed(PlimboTheme::accent()));
    m_newChat->setLabel(tr("New chat"));
    connect(m_newChat, &SymbolButton::clicked, this, [this] { m_features.session.newChat(); });
    header->addWidget(m_newChat);
    column->addLayout(header);

    auto* searchBox = new RoundedBox;
    searchBox->setRadius(10);
    searchBox->setFill(RoundedBox::primary(0.055));
    searchBox->setFixedHeight(34);
    auto* search = new QHBoxLayout(searchBox);
    search->setContentsMargins(11, 0, 11, 0);
    search->setSpacing(8);
    auto* glass = new QLabel;
    glass->setPixmap(SymbolIcon::pixmap(QStringLiteral("magnifyingglass"), QSize(13, 13),
                                        ChatStyle::secondary(this), devicePixelRatioF()));
    search->addWidget(glass);
    m_search = new QLineEdit;
    m_search->setFrame(false);
    m_search->setPlaceholderText(tr("Search chats"));
    m_search->setAccessibleName(tr("Search chats"));
    QPalette fieldPalette = m_search->palette();
    fieldPalette.setColor(QPalette::Base, Qt::transparent);
    m_search->setPalette(fieldPalette);
    connect(m_search, &QLineEdit::textChanged, this, &AIWorkbenchView::setChatSearch);
    search->addWidget(m_search, 1);
    m_clearSearch = new SymbolButton(QStringLiteral("xmark.circle.fill"), 18, 13);
    m_clearSearch->setSymbolColor(RoundedBox::primary(0.3));
    m_clearSearch->setLabel(tr("Clear search"));
    connect(m_clearSearch, &SymbolButton::clicked, this, [this] { setChatSearch(QString()); });
    search->addWidget(m_clearSearch);
    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(12, 0, 12, 12);
    searchRow->addWidget(searchBox);
    column->addLayout(searchRow);
    column->addWidget(new ChatDivider(Qt::Horizontal, RoundedBox::primary(0.1)));

    m_list = new TurnScrollArea(0, QMargins(8, 8, 8, 8), 4);
    m_list->setOpensAtLatest(false);
    m_list->setFactory([this](qsizetype index) -> QWidget* {
        const AIChatSession& chat = m_shown.at(index);
        return makeRow(chat, m_features.chats.selectedID() == chat.id, now());
    });
    column->addWidget(m_list, 1);

    m_emptyState = new QWidget;
    auto* empty = new QVBoxLayout(m_emptyState);
    empty->setContentsMargins(22, 22, 22, 22);
    empty->setSpacing(9);
    empty->addStretch(1);
    m_emptySymbol = new QLabel;
    m_emptySymbol->setAlignment(Qt::AlignHCenter);
    empty->addWidget(m_emptySymbol);
    m_emptyTitle = ChatStyle::plainLabel(QString());
    m_emptyTitle->setFont(ChatStyle::font(ChatStyle::TextStyle::callout, QFont::Medium));
    m_emptyTitle->setAlignment(Qt::AlignHCenter);
    empty->addWidget(m_emptyTitle);
    m_emptySubtitle = ChatStyle::plainLabel(QString());
    m_emptySubtitle->setFont(ChatStyle::font(ChatStyle::TextStyle::caption));
    m_emptySubtitle->setAlignment(Qt::AlignHCenter);
    m_emptySubtitle->setWordWrap(true);
    QPalette subtitlePalette = m_emptySubtitle->palette();
    subtitlePalette.setColor(QPalette::WindowText, ChatStyle::secondary(this));
    m_emptySubtitle->setPalette(subtitlePalette);
    empty->addWidget(m_emptySubtitle);
    empty->addStretch(1);
    column->addWidget(m_emptyState, 1);
    return sidebar;
}

// ---------------------------------------------------------------- list

QList<AIChatSession> AIWorkbenchView::filteredChats(const QList<AIChatSession>& chats,
                                                    const QString& search) {
    ChatSearchIndex index;
    return index.filter(chats, search);
}

void AIWorkbenchView::setChatSearch(const QString& search) {
    if (m_search->text() != search) {
        m_search->setText(search); // comes back here through textChanged
        return;
    }
    if (m_chatSearch == search) {
        return;
    }
    m_chatSearch = search;
    refreshList();
}

void AIWorkbenchView::chatsChanged() {
    QList<QUuid> ids;
    for (const AIChatSession& chat : m_features.chats.chats()) {
        ids.append(chat.id);
    }
    if (ids == m_chatIds) {
        // Contents only (a streaming reply): at most one update per frame.
        if (!m_coalesce.isActive()) {
            m_coalesce.start();
        }
        return;
    }
    refreshList();
}

void AIWorkbenchView::flushPendingUpdates() {
    if (m_coalesce.isActive()) {
        refreshList();
    }
    m_conversation->flushPendingUpdates();
}

QList<ChatHistoryRow*> AIWorkbenchView::rows() const {
    QList<ChatHistoryRow*> rows;
    for (QWidget* row : m_list->views()) {
        rows.append(static_cast<ChatHistoryRow*>(row));
    }
    return rows;
}

ChatHistoryRow* AIWorkbenchView::makeRow(const AIChatSession& chat, bool isSelected,
                                         const QDateTime& now) {
    const QUuid id = chat.id;
    return new ChatHistoryRow(
        chat, isSelected, now, [this, id] { m_features.session.selectChat(id); },
        [this, id] {
            for (const AIChatSession& candidate : m_features.chats.chats()) {
                if (candidate.id == id) {
                    beginRename(candidate);
                    return;
                }
            }
        },
        [this, id] { beginDelete(id); });
}

void AIWorkbenchView::prepareSearch() {
    // Not while a reply streams: that chat would be folded again on every frame.
    if (isVisible() && !m_features.session.isGenerating() && !m_prepareSearch.isActive()) {
        m_prepareSearch.start();
    }
}

void AIWorkbenchView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    prepareSearch();
}

void AIWorkbenchView::refreshList() {
    m_coalesce.stop();
    const QList<AIChatSession> chats = m_features.chats.chats();
    m_chatIds.clear();
    for (const AIChatSession& chat : chats) {
        m_chatIds.append(chat.id);
    }
    m_shown = m_searchIndex.filter(chats, m_chatSearch);
    prepareSearch();
    const std::optional<QUuid> selected = m_features.chats.selectedID();
    const QDateTime current = now();

    // Shown first, so that the rows in view are built at once.
    m_list->setVisible(!m_shown.isEmpty());
    m_emptyState->setVisible(m_shown.isEmpty());
    QList<QUuid> ids;
    ids.reserve(m_shown.size());
    for (const AIChatSession& chat : std::as_const(m_shown)) {
        ids.append(chat.id);
    }
    m_list->setTurns(ids);
    // Rows that already existed; new ones were made from these chats.
    const QList<ChatHistoryRow*> built = rows();
    const QList<qsizetype> indexes = m_list->viewIndexes();
    for (qsizetype i = 0; i < built.size(); ++i) {
        const AIChatSession& chat = m_shown[indexes[i]];
        built[i]->setChat(chat, selected == chat.id, current);
    }
    m_clearSearch->setVisible(!m_chatSearch.isEmpty());
    refreshEmptyState();
}

void AIWorkbenchView::refreshEmptyState() {
    const bool searching = !m_chatSearch.isEmpty();
    m_emptySymbolName = searching ? QStringLiteral("magnifyingglass")
                                  : QStringLiteral("bubble.left.and.bubble.right");
    m_emptySymbol->setPixmap(SymbolIcon::pixmap(m_emptySymbolName, QSize(23, 23),
                                                ChatStyle::withOpacity(PlimboTheme::accent(), 0.75),
                                                devicePixelRatioF()));
    if (!searching && !m_features.chats.isLoaded()) {
        m_emptyTitle->setText(tr("Loading chat history…"));
        m_emptySubtitle->setText(QString());
        m_emptySubtitle->hide();
        return;
    }
    m_emptySubtitle->show();
    m_emptyTitle->setText(searching ? tr("No matching chats") : tr("No chats yet"));
    m_emptySubtitle->setText(searching ? tr("Try a different search.")
                                       : tr("Start a conversation with Plimbo AI."));
}

// ---------------------------------------------------------------- rename and delete

void AIWorkbenchView::beginRename(const AIChatSession& chat) {
    m_renameDraft = chat.title;
    m_renameChatID = chat.id;
    if (!m_renameDialog) {
        m_renameDialog = new RenameChatDialog(this);
        connect(m_renameDialog, &RenameChatDialog::draftChanged, this,
                [this](const QString& draft) { m_renameDraft = draft; });
        connect(m_renameDialog, &RenameChatDialog::saveRequested, this,
                &AIWorkbenchView::saveRename);
        connect(m_renameDialog, &QDialog::rejected, this, &AIWorkbenchView::closeRename);
    }
    m_renameDialog->setDraft(m_renameDraft);
    m_renameDialog->open();
    m_renameDialog->nameField()->setFocus();
}

void AIWorkbenchView::saveRename() {
    if (m_renameChatID) {
        m_features.chats.rename(*m_renameChatID, m_renameDraft);
    }
    closeRename();
}

void AIWorkbenchView::closeRename() {
    m_renameChatID.reset();
    if (m_renameDialog && m_renameDialog->isVisible()) {
        m_renameDialog->hide();
    }
}

void AIWorkbenchView::beginDelete(const QUuid& id) {
    m_pendingDeleteChatID = id;
    if (!m_deleteDialog) {
        m_deleteDialog = new QMessageBox(this);
        m_deleteDialog->setWindowTitle(tr("Delete this chat?"));
        m_deleteDialog->setText(tr("Delete this chat?"));
        m_deleteDialog->setInformativeText(
            QStringLiteral("This removes the conversation from this computer."));
        m_deleteDialog->setTextFormat(Qt::PlainText);
        QPushButton* remove = m_deleteDialog->addButton(tr("Delete"), QMessageBox::DestructiveRole);
        QPushButton* cancel = m_deleteDialog->addButton(tr("Cancel"), QMessageBox::RejectRole);
        m_deleteDialog->setDefaultButton(cancel);
        m_deleteDialog->setEscapeButton(cancel);
        connect(m_deleteDialog, &QMessageBox::buttonClicked, this,
                [this, remove](QAbstractButton* button) {
                    if (button == remove) {
                        confirmDelete();
                    } else {
                        closeDelete();
                    }
                });
        connect(m_deleteDialog, &QDialog::finished, this, &AIWorkbenchView::closeDelete);
    }
    m_deleteDialog->open();
}

void AIWorkbenchView::confirmDelete() {
    if (m_pendingDeleteChatID) {
        m_features.session.deleteChat(*m_pendingDeleteChatID);
    }
    closeDelete();
}

void AIWorkbenchView::closeDelete() {
    m_pendingDeleteChatID.reset();
    if (m_deleteDialog && m_deleteDialog->isVisible()) {
        m_deleteDialog->hide();
    }
}

} // namespace plimbo
