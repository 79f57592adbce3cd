#include "PlimboConversationView.h"

#include "ActivitySpinner.h"
#include "AppStartup.h"
#include "AttachmentDropZone.h"
#include "BrandBadge.h"
#include "CapsuleButton.h"
#include "ChatComposer.h"
#include "ChatDivider.h"
#include "ChatList.h"
#include "ChatSession.h"
#include "ChatStyle.h"
#include "ComposerBinding.h"
#include "ComposerTextEdit.h"
#include "ConversationTurnView.h"
#include "HorizontalStrip.h"
#include "PlimboTheme.h"
#include "ReduceMotion.h"
#include "RichTextView.h"
#include "RoundedBox.h"
#include "StoredAttachments.h"
#include "SymbolButton.h"
#include "TurnScrollArea.h"
#include "symbols/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace plimbo {

namespace {

constexpr int kColumnWidth = 760;

struct Suggestion {
    const char* title;
    const char* symbol;
    const char* prompt;
};

// Wraps `content` so that it is at most 760 wide and centred in whatever width it gets.
QHBoxLayout* centredColumn(QWidget* content) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    content->setMaximumWidth(kColumnWidth);
    row->addWidget(content, 1);
    row->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    return row;
}

} // namespace

PlimboConversationView::PlimboConversationView(const ChatFeatures& features, QWidget* parent)
    : QWidget(parent)
    , m_features(features) {
    setMinimumWidth(500);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(new ChatDivider(Qt::Horizontal, RoundedBox::primary(0.1)));
    layout->addWidget(buildMessages(), 1);
    layout->addWidget(buildEmptyConversation(), 1);
    layout->addWidget(buildComposer());

    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(16);
    connect(&m_coalesce, &QTimer::timeout, this, &PlimboConversationView::refreshTurns);

    connect(&m_features.chats, &ChatList::conversationChanged, this,
            &PlimboConversationView::conversationChanged);
    connect(&m_features.session, &ChatSession::isGeneratingChanged, this, [this] {
        refreshTurns();
        refreshHeader();
    });
    connect(&m_features.startup, &AppStartup::credentialIsStoredChanged, this,
            &PlimboConversationView::refreshHeader);
    connect(&m_features.chats, &ChatList::chatsChanged, this,
            &PlimboConversationView::refreshHeader);
    connect(&m_features.chats, &ChatList::isLoadedChanged, this, [this] {
        refreshHeader();
        refreshEmptyHint();
    });
    connect(&m_features.chats, &ChatList::selectedIDChanged, this,
            &PlimboConversationView::selectionChanged);
    connect(&m_features.attachments, &StoredAttachments::imageReady, this, [this](const QUuid& id) {
        // A photo tile is taller than the document row it replaces.
        for (ConversationTurnView* view : turnViews()) {
            view->refreshAttachmentImage(id);
        }
        m_messages->relayout();
    });

    refreshTurns();
    refreshHeader();
    refreshEmptyHint();
    refreshComposer();
}

PlimboConversationView::~PlimboConversationView() = default;

// ---------------------------------------------------------------- building

QWidget* PlimboConversationView::buildHeader() {
    auto* header = new QWidget;
    header->setFixedHeight(64);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(22, 0, 22, 0);
    row->setSpacing(11);
    row->addWidget(new BrandBadge(34, 18, 0.16), 0, Qt::AlignVCenter);

    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addStretch(1);
    m_title = new RichTextView;
    m_title->setTextLayout(RichTextView::Layout::singleLine);
    m_title->setSelectable(false);
    m_title->setHugsContent(false);
    m_title->setFont(ChatStyle::font(16, QFont::DemiBold));
    m_title->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    titles->addWidget(m_title);
    m_credential = ChatStyle::plainLabel(QString());
    m_credential->setFont(ChatStyle::font(ChatStyle::TextStyle::caption));
    titles->addWidget(m_credential);
    titles->addStretch(1);
    row->addLayout(titles, 1);

    m_spinner = new ActivitySpinner(16, PlimboTheme::accent());
    m_spinner->setAccessibleName(tr("Plimbo AI is responding"));
    row->addWidget(m_spinner, 0, Qt::AlignVCenter);

    m_newChat = new QPushButton(
        SymbolIcon::icon(QStringLiteral("square.and.pencil"), ChatStyle::primary(this)),
        tr("New chat"));
    m_newChat->setToolTip(tr("Start a new chat"));
    connect(m_newChat, &QPushButton::clicked, this, [this] {
        m_features.session.newChat();
        m_composer->focus();
    });
    row->addWidget(m_newChat, 0, Qt::AlignVCenter);
    return header;
}

QWidget* PlimboConversationView::buildEmptyConversation() {
    m_empty = new QWidget;
    auto* column = new QVBoxLayout(m_empty);
    column->setContentsMargins(30, 30, 30, 30);
    column->setSpacing(20);
    column->addItem(new QSpacerItem(0, 24, QSizePolicy::Minimum, QSizePolicy::Expanding));
    column->addWidget(new BrandBadge(68, 34, 0.12), 0, Qt::AlignHCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(7);
    QLabel* title = ChatStyle::plainLabel(tr("What can I help with?"));
    title->setFont(ChatStyle::font(24, QFont::DemiBold));
    title->setAlignment(Qt::AlignHCenter);
    texts->addWidget(title);
    QLabel* subtitle = ChatStyle::plainLabel(QString());
    m_emptyHint = subtitle;
    subtitle->setFont(ChatStyle::font(ChatStyle::TextStyle::callout));
    subtitle->setAlignment(Qt::AlignHCenter);
    subtitle->setWordWrap(true);
    QPalette palette = subtitle->palette();
    palette.setColor(QPalette::WindowText, ChatStyle::secondary(this));
    subtitle->setPalette(palette);
    texts->addWidget(subtitle);
    column->addLayout(texts);

    static const Suggestion suggestions[] = {
        {QT_TR_NOOP("Explain"), "text.magnifyingglass", QT_TR_NOOP("Explain this clearly: ")},
        {QT_TR_NOOP("Write"), "pencil.line", QT_TR_NOOP("Help me write: ")},
        {QT_TR_NOOP("Plan"), "checklist", QT_TR_NOOP("Help me make a plan for: ")},
    };
    auto* row = new QHBoxLayout;
    row->setSpacing(9);
    row->addStretch(1);
    for (const Suggestion& suggestion : suggestions) {
        auto* button =
            new CapsuleButton(tr(suggestion.title), QString::fromLatin1(suggestion.symbol));
        const QString prompt = tr(suggestion.prompt);
        connect(button, &CapsuleButton::clicked, this, [this, prompt] {
            m_features.composer.setInput(prompt);
            m_composer->focus();
        });
        row->addWidget(button);
        m_suggestions.append(button);
    }
    row->addStretch(1);
    column->addLayout(row);
    column->addItem(new QSpacerItem(0, 24, QSizePolicy::Minimum, QSizePolicy::Expanding));
    return m_empty;
}

QWidget* PlimboConversationView::buildMessages() {
    m_messages = new TurnScrollArea(160, QMargins(28, 26, 28, 24), 24, kColumnWidth);
    m_messages->setOpaqueBackground(true);
    m_messages->setFactory([this](qsizetype index) -> QWidget* {
        const QList<AIChatTurn> turns = m_features.chats.conversation();
        const bool live = m_features.session.isGenerating() && index == turns.size() - 1;
        return makeTurnView(turns.at(index), live);
    });
    return m_messages;
}

QWidget* PlimboConversationView::buildComposer() {
    ComposerBinding::Parts parts;
    parts.dropZone = new AttachmentDropZone;
    parts.dropZone->setAutoFillBackground(true);
    auto* bar = new QVBoxLayout(parts.dropZone);
    bar->setContentsMargins(28, 14, 28, 14);

    parts.box = new RoundedBox;
    parts.box->setRadius(22);
    parts.box->setFill(RoundedBox::primary(0.055));
    auto* stack = new QVBoxLayout(parts.box);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    parts.stripRow = new QWidget;
    parts.stripRow->setAccessibleName(tr("Attachments for the next message"));
    auto* stripLayout = new QHBoxLayout(parts.stripRow);
    stripLayout->setContentsMargins(12, 12, 12, 8);
    parts.strip = new HorizontalStrip(8);
    stripLayout->addWidget(parts.strip);
    stack->addWidget(parts.stripRow);

    parts.editorRow = new QWidget;
    auto* editorLayout = new QHBoxLayout(parts.editorRow);
    parts.editor = new ComposerTextEdit(6, 34);
    parts.editor->setFont(ChatStyle::font(ChatStyle::TextStyle::body));
    parts.editor->setPlaceholderText(tr("Message Plimbo AI…"));
    parts.editor->setAccessibleName(tr("Message Plimbo AI"));
    connect(parts.editor, &ComposerTextEdit::submitted, this, &PlimboConversationView::send);
    editorLayout->addWidget(parts.editor);
    stack->addWidget(parts.editorRow);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 9, 9);
    buttons->setSpacing(9);
    parts.attach = new SymbolButton(QStringLiteral("plus"), 32, 14);
    parts.attach->setCircleColor(RoundedBox::primary(0.07));
    parts.attach->setLabel(tr("Attach images or files"));
    buttons->addWidget(parts.attach);
    parts.status = ChatStyle::plainLabel(QString());
    parts.status->setFont(ChatStyle::font(ChatStyle::TextStyle::caption2, QFont::Medium));
    QPalette statusPalette = parts.status->palette();
    statusPalette.setColor(QPalette::WindowText, ChatStyle::secondary(this));
    parts.status->setPalette(statusPalette);
    buttons->addWidget(parts.status);
    buttons->addItem(new QSpacerItem(12, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_stop = new SymbolButton(QStringLiteral("stop.fill"), 32, 10);
    m_stop->setCircleColor(RoundedBox::primary(0.1));
    m_stop->setLabel(tr("Stop response"));
    connect(m_stop, &SymbolButton::clicked, this, [this] { m_features.session.stop(); });
    buttons->addWidget(m_stop);
    m_send = new SymbolButton(QStringLiteral("arrow.up"), 32, 13);
    m_send->setSymbolColor(RoundedBox::fixed(Qt::white));
    m_send->setLabel(tr("Send message"));
    connect(m_send, &SymbolButton::clicked, this, &PlimboConversationView::send);
    buttons->addWidget(m_send);
    stack->addLayout(buttons);

    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_send->isVisible() && m_send->isEnabled()) {
                send();
            }
        });
    }
    bar->addLayout(centredColumn(parts.box));

    ComposerBinding::Look look;
    look.editorMargins = QMargins(16, 14, 16, 8);
    look.topUnderCards = 6;
    look.focusedStroke = RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.55));
    look.idleStroke = RoundedBox::primary(0.09);
    m_composer = new ComposerBinding(m_features, parts, std::move(look), this);
    connect(m_composer, &ComposerBinding::changed, this, &PlimboConversationView::refreshComposer);
    return parts.dropZone;
}

// ---------------------------------------------------------------- state

QString PlimboConversationView::activeTitle() const {
    const std::optional<QUuid> selected = m_features.chats.selectedID();
    if (selected) {
        for (const AIChatSession& chat : m_features.chats.chats()) {
            if (chat.id == *selected) {
                return chat.title;
            }
        }
    }
    return tr("New chat");
}

void PlimboConversationView::send() {
    m_composer->send();
}

void PlimboConversationView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QTimer::singleShot(0, m_messages, &TurnScrollArea::performPendingScroll);
}

void PlimboConversationView::flushPendingUpdates() {
    if (m_coalesce.isActive()) {
        refreshTurns();
    }
}

QList<ConversationTurnView*> PlimboConversationView::turnViews() const {
    QList<ConversationTurnView*> views;
    for (QWidget* view : m_messages->views()) {
        views.append(static_cast<ConversationTurnView*>(view));
    }
    return views;
}

void PlimboConversationView::conversationChanged() {
    if (m_messages->shows(m_features.chats.conversation())) {
        // Only text or states changed (a streaming reply): at most one update per frame.
        if (!m_coalesce.isActive()) {
            m_coalesce.start();
        }
        return;
    }
    refreshTurns();
}

void PlimboConversationView::refreshTurns() {
    m_coalesce.stop();
    const QList<AIChatTurn> turns = m_features.chats.conversation();
    const bool generating = m_features.session.isGenerating();
    QList<QUuid> ids;
    ids.reserve(turns.size());
    for (const AIChatTurn& turn : turns) {
        ids.append(turn.id);
    }
    const bool countChanged = m_messages->setTurns(ids);
    // Views that already existed; new ones were made from these turns.
    const QList<QWidget*> views = m_messages->views();
    const QList<qsizetype> indexes = m_messages->viewIndexes();
    for (qsizetype i = 0; i < views.size(); ++i) {
        const bool live = generating && indexes[i] == turns.size() - 1;
        static_cast<ConversationTurnView*>(views[i])->setTurn(turns[indexes[i]], live);
    }

    const bool showing = !turns.isEmpty();
    m_messages->setVisible(showing);
    m_empty->setVisible(!showing);
    if (showing && (!m_wasShowingTurns || countChanged)) {
        scrollToLatest();
    }
    m_wasShowingTurns = showing;
}

ConversationTurnView* PlimboConversationView::makeTurnView(const AIChatTurn& turn, bool live) {
    const QUuid id = turn.id;
    const auto current = [this, id]() -> std::optional<AIChatTurn> {
        for (const AIChatTurn& candidate : m_features.chats.conversation()) {
            if (candidate.id == id) {
                return candidate;
            }
        }
        return std::nullopt;
    };
    return new ConversationTurnView(
        turn, live,
        [this, current] {
            if (const std::optional<AIChatTurn> found = current()) {
                m_features.session.copyMessage(found->response);
            }
        },
        [this, current] {
            if (const std::optional<AIChatTurn> found = current()) {
                m_features.session.retry(*found);
            }
        },
        [this](const AIChatAttachment& attachment) {
            return m_features.attachments.image(attachment);
        });
}

void PlimboConversationView::refreshHeader() {
    m_title->setPlainText(activeTitle());
    const bool stored = m_features.startup.credentialIsStored();
    const QString history = m_features.chats.savesHistory()
                                ? QStringLiteral("Plimbo AI · history saved on this computer")
                                : QStringLiteral("Plimbo AI · history not saved in this session");
    m_credential->setText(stored ? history : tr("AI key required"));
    QPalette palette = m_credential->palette();
    palette.setColor(QPalette::WindowText,
                     stored ? ChatStyle::secondary(this) : ChatStyle::warning(this));
    m_credential->setPalette(palette);
    m_spinner->setVisible(m_features.session.isGenerating());
}

void PlimboConversationView::refreshEmptyHint() {
    m_emptyHint->setText(
        m_features.chats.isLoaded()
            ? QStringLiteral("Start a conversation. Your chat history stays on this computer.")
            : tr("Loading chat history…"));
}

void PlimboConversationView::refreshComposer() {
    const bool generating = m_features.session.isGenerating();
    const bool sendable = canSend();
    m_stop->setVisible(generating);
    m_send->setVisible(!generating);
    m_send->setEnabled(sendable);
    const QString reason = m_composer->sendUnavailableReason();
    m_send->setLabel(reason.isEmpty() ? tr("Send message") : reason);
    m_send->setCircleColor(sendable ? RoundedBox::fixed(PlimboTheme::accent())
                                    : RoundedBox::primary(0.11));
}

void PlimboConversationView::selectionChanged() {
    refreshHeader();
    m_composer->focus();
    if (!m_features.chats.conversation().isEmpty()) {
        refreshTurns();
        scrollToLatest();
    }
}

void PlimboConversationView::scrollToLatest() {
    const QList<AIChatTurn> turns = m_features.chats.conversation();
    if (!turns.isEmpty()) {
        m_messages->scrollToLatest(turns.last().id);
    }
}

} // namespace plimbo
