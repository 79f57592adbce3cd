#include "PlimboConversationView.h"

#include "ActivitySpinner.h"
#include "AppModel.h"
#include "AttachmentDropZone.h"
#include "BrandBadge.h"
#include "CapsuleButton.h"
#include "ChatDivider.h"
#include "ChatStyle.h"
#include "ComposerAIAttachmentCard.h"
#include "ComposerTextEdit.h"
#include "ConversationTurnView.h"
#include "HorizontalStrip.h"
#include "ReduceMotion.h"
#include "RichTextView.h"
#include "RoundedBox.h"
#include "SymbolButton.h"
#include "symbols/SymbolIcon.h"
#include "widgets/PlimboTheme.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <QVariantAnimation>

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

PlimboConversationView::PlimboConversationView(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model) {
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

    connect(&model, &AppModel::aiConversationChanged, this,
            &PlimboConversationView::conversationChanged);
    connect(&model, &AppModel::isGeneratingChanged, this, [this] {
        refreshTurns();
        refreshHeader();
        refreshComposer();
    });
    connect(&model, &AppModel::credentialIsStoredChanged, this, [this] {
        refreshHeader();
        refreshComposer();
    });
    connect(&model, &AppModel::aiStatusChanged, this, &PlimboConversationView::refreshComposer);
    connect(&model, &AppModel::aiInputChanged, this, &PlimboConversationView::refreshComposer);
    connect(&model, &AppModel::isAddingAIAttachmentsChanged, this,
            &PlimboConversationView::refreshComposer);
    connect(&model, &AppModel::pendingAIAttachmentsChanged, this,
            &PlimboConversationView::refreshAttachments);
    connect(&model, &AppModel::aiChatsChanged, this, &PlimboConversationView::refreshHeader);
    connect(&model, &AppModel::selectedAIChatIDChanged, this,
            &PlimboConversationView::selectionChanged);

    refreshTurns();
    refreshHeader();
    refreshAttachments();
    refreshComposer();
    refreshBorder();
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
        m_model.newAIChat();
        focusComposer();
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
    QLabel* subtitle =
        ChatStyle::plainLabel(tr("Start a conversation. Your chat history stays on this Mac."));
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
            m_model.setAiInput(prompt);
            focusComposer();
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
    m_messages = new QScrollArea;
    m_messages->setFrameShape(QFrame::NoFrame);
    m_messages->setWidgetResizable(true);
    m_messages->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_messages->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_messages->viewport()->setAutoFillBackground(false);
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    auto* padded = new QVBoxLayout(content);
    padded->setContentsMargins(28, 26, 28, 24);
    padded->setSpacing(0);
    auto* column = new QWidget;
    m_turnColumn = new QVBoxLayout(column);
    m_turnColumn->setContentsMargins(0, 0, 0, 0);
    m_turnColumn->setSpacing(24);
    m_turnColumn->addStretch(1);
    padded->addLayout(centredColumn(column));
    m_messages->setWidget(content);
    content->setAutoFillBackground(false); // setWidget() turned it on
    return m_messages;
}

QWidget* PlimboConversationView::buildComposer() {
    m_dropZone = new AttachmentDropZone;
    m_dropZone->setAutoFillBackground(true);
    m_dropZone->setHandler(
        [this](const QList<QUrl>& files) { return m_model.addAIAttachments(files); });
    connect(m_dropZone, &AttachmentDropZone::targetedChanged, this,
            &PlimboConversationView::refreshBorder);
    auto* bar = new QVBoxLayout(m_dropZone);
    bar->setContentsMargins(28, 14, 28, 14);

    m_composerBox = new RoundedBox;
    m_composerBox->setRadius(22);
    m_composerBox->setFill(RoundedBox::primary(0.055));
    auto* stack = new QVBoxLayout(m_composerBox);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    m_stripRow = new QWidget;
    m_stripRow->setAccessibleName(tr("Attachments for the next message"));
    auto* stripLayout = new QHBoxLayout(m_stripRow);
    stripLayout->setContentsMargins(12, 12, 12, 8);
    m_strip = new HorizontalStrip(8);
    stripLayout->addWidget(m_strip);
    stack->addWidget(m_stripRow);

    m_editorRow = new QWidget;
    auto* editorLayout = new QHBoxLayout(m_editorRow);
    editorLayout->setContentsMargins(16, 14, 16, 8);
    m_editor = new ComposerTextEdit(6, 34);
    m_editor->setFont(ChatStyle::font(ChatStyle::TextStyle::body));
    m_editor->setPlaceholderText(tr("Message Plimbo AI…"));
    m_editor->setAccessibleName(tr("Message Plimbo AI"));
    m_editor->setDropHandler([this](const QList<QUrl>& urls) { return m_dropZone->drop(urls); });
    connect(m_editor, &ComposerTextEdit::dropTargetChanged, m_dropZone,
            &AttachmentDropZone::setTargeted);
    connect(m_editor, &ComposerTextEdit::submitted, this, &PlimboConversationView::send);
    connect(m_editor, &QPlainTextEdit::textChanged, this,
            [this] { m_model.setAiInput(m_editor->toPlainText()); });
    m_editor->installEventFilter(this);
    editorLayout->addWidget(m_editor);
    stack->addWidget(m_editorRow);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 9, 9);
    buttons->setSpacing(9);
    m_attach = new SymbolButton(QStringLiteral("plus"), 32, 14);
    m_attach->setCircleColor(RoundedBox::primary(0.07));
    m_attach->setLabel(tr("Attach images or files"));
    connect(m_attach, &SymbolButton::clicked, this, [this] { m_model.chooseAIAttachments(); });
    buttons->addWidget(m_attach);
    m_status = ChatStyle::plainLabel(QString());
    m_status->setFont(ChatStyle::font(ChatStyle::TextStyle::caption2, QFont::Medium));
    QPalette statusPalette = m_status->palette();
    statusPalette.setColor(QPalette::WindowText, ChatStyle::secondary(this));
    m_status->setPalette(statusPalette);
    buttons->addWidget(m_status);
    buttons->addItem(new QSpacerItem(12, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_stop = new SymbolButton(QStringLiteral("stop.fill"), 32, 10);
    m_stop->setCircleColor(RoundedBox::primary(0.1));
    m_stop->setLabel(tr("Stop response"));
    connect(m_stop, &SymbolButton::clicked, this, [this] { m_model.stopAI(); });
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

    bar->addLayout(centredColumn(m_composerBox));
    return m_dropZone;
}

// ---------------------------------------------------------------- state

QString PlimboConversationView::activeTitle() const {
    const std::optional<QUuid> selected = m_model.selectedAIChatID();
    if (selected) {
        for (const AIChatSession& chat : m_model.aiChats()) {
            if (chat.id == *selected) {
                return chat.title;
            }
        }
    }
    return tr("New chat");
}

bool PlimboConversationView::canSend() const {
    return m_model.credentialIsStored() && !m_model.isGenerating() &&
           !m_model.isAddingAIAttachments() &&
           (!m_model.aiInput().trimmed().isEmpty() || !m_model.pendingAIAttachments().isEmpty());
}

void PlimboConversationView::send() {
    if (!canSend()) {
        return;
    }
    m_model.sendAI();
    focusComposer();
}

bool PlimboConversationView::isComposerFocused() const {
    return m_editor->hasFocus() || (window() && window()->focusWidget() == m_editor);
}

void PlimboConversationView::focusComposer() {
    m_editor->setFocus(Qt::OtherFocusReason);
    refreshBorder();
}

void PlimboConversationView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, &PlimboConversationView::performPendingScroll);
}

bool PlimboConversationView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        refreshBorder();
    }
    return QWidget::eventFilter(watched, event);
}

void PlimboConversationView::flushPendingUpdates() {
    if (m_coalesce.isActive()) {
        refreshTurns();
    }
}

void PlimboConversationView::conversationChanged() {
    QList<QUuid> ids;
    for (const AIChatTurn& turn : m_model.aiConversation()) {
        ids.append(turn.id);
    }
    if (ids == m_shownTurnIds) {
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
    const QList<AIChatTurn> turns = m_model.aiConversation();
    const bool generating = m_model.isGenerating();

    QHash<QUuid, ConversationTurnView*> existing;
    for (ConversationTurnView* view : std::as_const(m_turnViews)) {
        existing.insert(view->turn().id, view);
    }
    QList<ConversationTurnView*> views;
    QList<QUuid> ids;
    for (qsizetype i = 0; i < turns.size(); ++i) {
        const AIChatTurn& turn = turns[i];
        const bool live = generating && i == turns.size() - 1;
        ids.append(turn.id);
        if (ConversationTurnView* view = existing.take(turn.id)) {
            view->setTurn(turn, live);
            views.append(view);
            continue;
        }
        const QUuid id = turn.id;
        const auto current = [this, id]() -> std::optional<AIChatTurn> {
            for (const AIChatTurn& candidate : m_model.aiConversation()) {
                if (candidate.id == id) {
                    return candidate;
                }
            }
            return std::nullopt;
        };
        auto* view = new ConversationTurnView(
            turn, live,
            [this, current] {
                if (const std::optional<AIChatTurn> found = current()) {
                    m_model.copyAIMessage(found->response);
                }
            },
            [this, current] {
                if (const std::optional<AIChatTurn> found = current()) {
                    m_model.retryAIChatTurn(*found);
                }
            },
            [this](const AIChatAttachment& attachment) {
                return m_model.imageForAIAttachment(attachment);
            });
        views.append(view);
    }
    for (ConversationTurnView* gone : std::as_const(existing)) {
        m_turnColumn->removeWidget(gone);
        delete gone;
    }
    if (views != m_turnViews) {
        for (ConversationTurnView* view : std::as_const(views)) {
            m_turnColumn->removeWidget(view);
        }
        for (qsizetype i = 0; i < views.size(); ++i) {
            m_turnColumn->insertWidget(static_cast<int>(i), views[i]);
        }
    }
    m_turnViews = views;

    const bool countChanged = ids.size() != m_shownTurnIds.size();
    m_shownTurnIds = ids;
    const bool showing = !turns.isEmpty();
    m_messages->setVisible(showing);
    m_empty->setVisible(!showing);
    if (showing && (!m_wasShowingTurns || countChanged)) {
        scrollToLatest();
    }
    m_wasShowingTurns = showing;
}

void PlimboConversationView::refreshHeader() {
    m_title->setPlainText(activeTitle());
    const bool stored = m_model.credentialIsStored();
    m_credential->setText(stored ? tr("Plimbo AI · history saved on this Mac")
                                 : tr("AI key required"));
    QPalette palette = m_credential->palette();
    palette.setColor(QPalette::WindowText,
                     stored ? ChatStyle::secondary(this) : PlimboTheme::warning());
    m_credential->setPalette(palette);
    m_spinner->setVisible(m_model.isGenerating());
}

void PlimboConversationView::refreshComposer() {
    const bool generating = m_model.isGenerating();
    const bool adding = m_model.isAddingAIAttachments();
    const bool sendable = canSend();
    m_editor->setTextIfDifferent(m_model.aiInput());
    m_status->setText(m_model.aiStatus());
    m_attach->setEnabled(!generating && !adding);
    m_stop->setVisible(generating);
    m_send->setVisible(!generating);
    m_send->setEnabled(sendable);
    m_send->setCircleColor(sendable ? RoundedBox::fixed(PlimboTheme::accent())
                                    : RoundedBox::primary(0.11));
}

void PlimboConversationView::refreshAttachments() {
    const QList<AIChatAttachment> pending = m_model.pendingAIAttachments();
    QList<QUuid> shown;
    for (QWidget* tile : m_strip->tiles()) {
        shown.append(static_cast<ComposerAIAttachmentCard*>(tile)->attachment().id);
    }
    QList<QUuid> wanted;
    for (const AIChatAttachment& attachment : pending) {
        wanted.append(attachment.id);
    }
    if (shown != wanted) {
        m_strip->clearTiles();
        for (const AIChatAttachment& attachment : pending) {
            const QUuid id = attachment.id;
            m_strip->addTile(new ComposerAIAttachmentCard(
                attachment, m_model.imageForAIAttachment(attachment), false,
                [this, id] { m_model.removePendingAIAttachment(id); }));
        }
    }
    m_stripRow->setVisible(!pending.isEmpty());
    m_editorRow->layout()->setContentsMargins(16, pending.isEmpty() ? 14 : 6, 16, 8);
    refreshComposer();
}

void PlimboConversationView::refreshBorder() {
    if (m_dropZone->isTargeted()) {
        m_composerBox->setStroke(RoundedBox::fixed(PlimboTheme::accent()), 1.5);
    } else if (isComposerFocused()) {
        m_composerBox->setStroke(
            RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.55)), 1);
    } else {
        m_composerBox->setStroke(RoundedBox::primary(0.09), 1);
    }
}

void PlimboConversationView::selectionChanged() {
    refreshHeader();
    focusComposer();
    if (!m_model.aiConversation().isEmpty()) {
        refreshTurns();
        scrollToLatest();
    }
}

void PlimboConversationView::scrollToLatest() {
    const QList<AIChatTurn> turns = m_model.aiConversation();
    if (turns.isEmpty()) {
        return;
    }
    m_lastScrollTarget = turns.last().id;
    m_lastScrollAnimated = !ReduceMotion::enabled();
    m_scrollPending = true;
    // After the new turn is laid out.
    QTimer::singleShot(0, this, &PlimboConversationView::performPendingScroll);
}

void PlimboConversationView::performPendingScroll() {
    if (!m_scrollPending || m_turnViews.isEmpty() || !m_messages->isVisible()) {
        return;
    }
    m_scrollPending = false;
    // Pending layouts first, so that the scroll range is the laid-out one.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget* content = m_messages->widget();
    if (content->layout()) {
        content->layout()->activate();
    }
    QWidget* last = m_turnViews.last();
    QScrollBar* bar = m_messages->verticalScrollBar();
    const int bottom = last->mapTo(content, QPoint(0, last->height())).y();
    const int target =
        std::clamp(bottom - m_messages->viewport()->height(), bar->minimum(), bar->maximum());
    if (!m_lastScrollAnimated) {
        bar->setValue(target);
        return;
    }
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(160);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(bar->value());
    animation->setEndValue(target);
    connect(animation, &QVariantAnimation::valueChanged, bar,
            [bar](const QVariant& value) { bar->setValue(value.toInt()); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace plimbo
