#include "MiniAIView.h"

#include "ActivitySpinner.h"
#include "AttachmentDropZone.h"
#include "BrandBadge.h"
#include "ChatDivider.h"
#include "ChatList.h"
#include "ChatSession.h"
#include "ChatStatusText.h"
#include "ChatStyle.h"
#include "ComposerBinding.h"
#include "ComposerTextEdit.h"
#include "HorizontalStrip.h"
#include "MiniAIBubbleShape.h"
#include "MiniAITurnView.h"
#include "PlimboTheme.h"
#include "ReduceMotion.h"
#include "RoundedBox.h"
#include "SymbolButton.h"
#include "TurnScrollArea.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace plimbo {

namespace {

QPalette darkPalette(QPalette palette) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, Qt::black);
        palette.setColor(group, QPalette::WindowText, Qt::white);
        palette.setColor(group, QPalette::Text, Qt::white);
        palette.setColor(group, QPalette::ButtonText, Qt::white);
        palette.setColor(group, QPalette::Base, Qt::transparent);
        palette.setColor(group, QPalette::Button, QColor(40, 40, 44));
        palette.setColor(group, QPalette::PlaceholderText, ChatStyle::white(0.4));
        palette.setColor(group, QPalette::Highlight, PlimboTheme::accent());
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    palette.setColor(QPalette::Disabled, QPalette::WindowText, ChatStyle::white(0.4));
    palette.setColor(QPalette::Disabled, QPalette::Text, ChatStyle::white(0.4));
    return palette;
}

SymbolButton* circleButton(const QString& symbol, int side, qreal pixels, qreal symbolOpacity,
                           qreal circleOpacity, const QString& label) {
    auto* button = new SymbolButton(symbol, side, pixels);
    button->setSymbolColor(RoundedBox::fixed(ChatStyle::white(symbolOpacity)));
    button->setCircleColor(RoundedBox::fixed(ChatStyle::white(circleOpacity)));
    button->setLabel(label);
    return button;
}

} // namespace

MiniAIView::MiniAIView(const ChatFeatures& features, std::function<void()> onBeginConversation,
                       std::function<void()> onOpenAllChats, std::function<void()> onClose,
                       QWidget* parent)
    : QWidget(parent)
    , m_features(features)
    , m_onBeginConversation(std::move(onBeginConversation))
    , m_onOpenAllChats(std::move(onOpenAllChats))
    , m_onClose(std::move(onClose)) {
    setPalette(darkPalette(palette()));
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(tr("Plimbo AI"));
    setFocusPolicy(Qt::NoFocus);

    m_root = new QVBoxLayout(this);
    m_root->setContentsMargins(0, 0, 0, 0);
    m_root->setSpacing(0);

    m_composerOnlyPage = new QWidget;
    auto* composerOnly = new QVBoxLayout(m_composerOnlyPage);
    composerOnly->setContentsMargins(13, 16, 13, 0);
    composerOnly->setSpacing(0);
    m_composerOnlySlot = new QVBoxLayout;
    composerOnly->addLayout(m_composerOnlySlot);
    composerOnly->addStretch(1);
    m_root->addWidget(m_composerOnlyPage);
    m_root->addWidget(buildConversation());

    buildComposer();

    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(16);
    connect(&m_coalesce, &QTimer::timeout, this, &MiniAIView::refreshTurns);
    connect(&m_features.chats, &ChatList::conversationChanged, this,
            &MiniAIView::conversationChanged);
    connect(&m_features.session, &ChatSession::isGeneratingChanged, this,
            &MiniAIView::refreshTurns);
    connect(&m_features.session, &ChatSession::statusChanged, this, [this] {
        if (!m_coalesce.isActive()) {
            m_coalesce.start();
        }
    });

    refreshLayout(false);
    refreshTurns();
    refreshComposer();
}

MiniAIView::~MiniAIView() = default;

// ---------------------------------------------------------------- building

QWidget* MiniAIView::buildConversation() {
    m_conversationPage = new QWidget;
    auto* column = new QVBoxLayout(m_conversationPage);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_header = new QWidget;
    auto* header = new QHBoxLayout(m_header);
    header->setContentsMargins(14, 16, 14, 10);
    header->setSpacing(9);
    header->addWidget(new BrandBadge(30, 16, 0.2));
    QLabel* title = ChatStyle::plainLabel(tr("Plimbo AI"));
    title->setFont(ChatStyle::font(14, QFont::DemiBold));
    header->addWidget(title);
    m_spinner = new ActivitySpinner(12, PlimboTheme::accent());
    m_spinner->setAccessibleName(tr("Plimbo AI is responding"));
    header->addWidget(m_spinner);
    header->addStretch(1);
    m_headerOpenAll = circleButton(QStringLiteral("bubble.left.and.bubble.right"), 28, 11, 0.72,
                                   0.07, tr("Open all chats"));
    connect(m_headerOpenAll, &SymbolButton::clicked, this, [this] {
        if (m_onOpenAllChats) {
            m_onOpenAllChats();
        }
    });
    header->addWidget(m_headerOpenAll);
    m_close = circleButton(QStringLiteral("xmark"), 28, 10, 0.62, 0.07, tr("Close Plimbo AI"));
    connect(m_close, &SymbolButton::clicked, this, [this] {
        if (m_onClose) {
            m_onClose();
        }
    });
    header->addWidget(m_close);
    column->addWidget(m_header);
    column->addWidget(new ChatDivider(Qt::Horizontal, RoundedBox::fixed(ChatStyle::white(0.08))));

    m_turnList = new TurnScrollArea(140, QMargins(14, 13, 14, 13), 12);
    m_turnList->setAttribute(Qt::WA_TranslucentBackground);
    m_turnList->setFactory([this](qsizetype index) -> QWidget* {
        auto* view = new MiniAITurnView;
        showTurn(view, m_features.chats.conversation(), index);
        return view;
    });
    column->addWidget(m_turnList, 1);
    column->addWidget(new ChatDivider(Qt::Horizontal, RoundedBox::fixed(ChatStyle::white(0.08))));

    m_conversationSlot = new QVBoxLayout;
    m_conversationSlot->setContentsMargins(12, 12, 12, 12);
    column->addLayout(m_conversationSlot);
    return m_conversationPage;
}

QWidget* MiniAIView::buildComposer() {
    ComposerBinding::Parts parts;
    parts.dropZone = new AttachmentDropZone;
    auto* zone = new QVBoxLayout(parts.dropZone);
    zone->setContentsMargins(0, 0, 0, 0);
    parts.box = new RoundedBox;
    parts.box->setRadius(16);
    parts.box->setFill(RoundedBox::fixed(ChatStyle::white(0.075)));
    zone->addWidget(parts.box);
    auto* stack = new QVBoxLayout(parts.box);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    parts.stripRow = new QWidget;
    parts.stripRow->setAccessibleName(tr("Attachments for the next message"));
    auto* strip = new QHBoxLayout(parts.stripRow);
    strip->setContentsMargins(9, 9, 9, 6);
    parts.strip = new HorizontalStrip(7);
    strip->addWidget(parts.strip);
    stack->addWidget(parts.stripRow);

    parts.editorRow = new QWidget;
    auto* editorLayout = new QHBoxLayout(parts.editorRow);
    parts.editor = new ComposerTextEdit(3, 30);
    parts.editor->setFont(ChatStyle::font(13, QFont::Medium));
    parts.editor->setPlaceholderText(tr("Ask Plimbo AI…"));
    parts.editor->setAccessibleName(tr("Message Plimbo AI"));
    connect(parts.editor, &ComposerTextEdit::submitted, this, &MiniAIView::send);
    editorLayout->addWidget(parts.editor);
    stack->addWidget(parts.editorRow);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 7, 7);
    row->setSpacing(8);
    parts.attach =
        circleButton(QStringLiteral("plus"), 29, 12, 0.72, 0.07, tr("Attach images or files"));
    row->addWidget(parts.attach);
    m_composerMark = new BrandBadge(16, 16, 0);
    row->addWidget(m_composerMark);
    parts.status = ChatStyle::plainLabel(QString());
    parts.status->setFont(ChatStyle::font(9.5, QFont::Medium));
    QPalette statusPalette = parts.status->palette();
    // Readable (4.5:1) on the panel's near-black.
    statusPalette.setColor(QPalette::WindowText, ChatStyle::white(0.5));
    parts.status->setPalette(statusPalette);
    row->addWidget(parts.status);
    row->addItem(new QSpacerItem(8, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_composerOpenAll = circleButton(QStringLiteral("bubble.left.and.bubble.right"), 29, 11, 0.72,
                                     0.08, tr("Open all chats"));
    connect(m_composerOpenAll, &SymbolButton::clicked, this, [this] {
        if (m_onOpenAllChats) {
            m_onOpenAllChats();
        }
    });
    row->addWidget(m_composerOpenAll);
    m_send = new SymbolButton(QStringLiteral("arrow.up"), 29, 12);
    m_send->setSymbolColor(RoundedBox::fixed(Qt::white));
    connect(m_send, &SymbolButton::clicked, this, [this] {
        if (m_features.session.isGenerating()) {
            m_features.session.stop();
        } else {
            send();
        }
    });
    row->addWidget(m_send);
    stack->addLayout(row);

    ComposerBinding::Look look;
    look.compactCards = true;
    look.editorMargins = QMargins(12, 10, 12, 5);
    look.topUnderCards = 4;
    look.focusedStroke = RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.78));
    look.focusedStrokeWidth = 1.5;
    look.idleStroke = RoundedBox::fixed(ChatStyle::white(0.1));
    m_composer = new ComposerBinding(m_features, parts, std::move(look), this);
    connect(m_composer, &ComposerBinding::changed, this, &MiniAIView::refreshComposer);
    connect(m_composer, &ComposerBinding::fileDialogOpened, this, &MiniAIView::fileDialogOpened);
    connect(m_composer, &ComposerBinding::fileDialogClosed, this, &MiniAIView::fileDialogClosed);
    return parts.dropZone;
}

// ---------------------------------------------------------------- rules and texts

void MiniAIView::send() {
    if (!canSend()) {
        return;
    }
    if (m_features.chats.conversation().isEmpty() && m_onBeginConversation) {
        m_onBeginConversation();
    }
    m_composer->send();
}

QString MiniAIView::attachmentSummary(const QList<AIChatAttachment>& attachments) {
    if (attachments.size() == 1) {
        return attachments.first().name;
    }
    return tr("%1 attachments").arg(attachments.size());
}

QString MiniAIView::userAccessibilityValue(const AIChatTurn& turn) {
    if (turn.attachments.isEmpty()) {
        return turn.prompt;
    }
    QStringList names;
    for (const AIChatAttachment& attachment : turn.attachments) {
        names.append(attachment.name);
    }
    return turn.prompt + tr(". Attachments: ") + names.join(QStringLiteral(", "));
}

QString MiniAIView::emptyResponseText(const AIChatTurn& turn) const {
    switch (turn.state) {
    case AIChatTurnState::streaming:
        return chatStatusText(m_features.session.status());
    case AIChatTurnState::completed:
        return tr("No response was returned.");
    case AIChatTurnState::stopped:
        return tr("Response stopped.");
    case AIChatTurnState::failed:
        return turn.failureMessage.value_or(tr("Response failed."));
    }
    return QString();
}

QString MiniAIView::accessibilityResponse(const AIChatTurn& turn) const {
    if (turn.response.isEmpty()) {
        return emptyResponseText(turn);
    }
    switch (turn.state) {
    case AIChatTurnState::stopped:
        return turn.response + tr(". Response stopped.");
    case AIChatTurnState::failed:
        return turn.response + tr(". Response failed.");
    case AIChatTurnState::streaming:
    case AIChatTurnState::completed:
        break;
    }
    return turn.response;
}

// ---------------------------------------------------------------- state

QList<MiniAITurnView*> MiniAIView::turnViews() const {
    QList<MiniAITurnView*> views;
    for (QWidget* view : m_turnList->views()) {
        views.append(static_cast<MiniAITurnView*>(view));
    }
    return views;
}

void MiniAIView::conversationChanged() {
    if (m_turnList->shows(m_features.chats.conversation())) {
        if (!m_coalesce.isActive()) {
            m_coalesce.start();
        }
        return;
    }
    refreshLayout(true);
    refreshTurns();
}

void MiniAIView::flushPendingUpdates() {
    if (m_coalesce.isActive()) {
        refreshTurns();
    }
}

bool MiniAIView::isTransitionRunning() const {
    return m_transition && m_transition->state() == QAbstractAnimation::Running;
}

void MiniAIView::refreshLayout(bool animated) {
    const bool conversation = !m_features.chats.conversation().isEmpty();
    if (m_layoutInitialised && conversation == m_showsConversation) {
        return;
    }
    m_layoutInitialised = true;
    m_showsConversation = conversation;
    QVBoxLayout* slot = conversation ? m_conversationSlot : m_composerOnlySlot;
    slot->insertWidget(0, m_composer->parts().dropZone);
    m_composerMark->setVisible(!conversation);
    m_composerOpenAll->setVisible(!conversation);
    QWidget* incoming = conversation ? m_conversationPage : m_composerOnlyPage;
    QWidget* outgoing = conversation ? m_composerOnlyPage : m_conversationPage;
    outgoing->hide();
    outgoing->setGraphicsEffect(nullptr);
    incoming->show();
    if (m_transition) {
        m_transition->stop();
        delete m_transition;
    }
    if (!animated || ReduceMotion::enabled()) {
        incoming->setGraphicsEffect(nullptr);
        return;
    }
    // The new layout fades in over a short, critically damped spring's time.
    auto* effect = new QGraphicsOpacityEffect(incoming);
    effect->setOpacity(0);
    incoming->setGraphicsEffect(effect);
    auto* fade = new QVariantAnimation(this);
    fade->setDuration(240);
    fade->setEasingCurve(QEasingCurve::OutCubic);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    connect(fade, &QVariantAnimation::valueChanged, effect,
            [effect](const QVariant& value) { effect->setOpacity(value.toReal()); });
    connect(fade, &QVariantAnimation::finished, incoming,
            [incoming] { incoming->setGraphicsEffect(nullptr); });
    m_transition = fade;
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void MiniAIView::refreshTurns() {
    m_coalesce.stop();
    const QList<AIChatTurn> turns = m_features.chats.conversation();
    const bool generating = m_features.session.isGenerating();
    QList<QUuid> ids;
    ids.reserve(turns.size());
    for (const AIChatTurn& turn : turns) {
        ids.append(turn.id);
    }
    const bool countChanged = m_turnList->setTurns(ids);
    // Views that already existed; new ones were made from these turns.
    const QList<MiniAITurnView*> views = turnViews();
    const QList<qsizetype> indexes = m_turnList->viewIndexes();
    for (qsizetype i = 0; i < views.size(); ++i) {
        showTurn(views[i], turns, indexes[i]);
    }
    if (countChanged && !turns.isEmpty()) {
        scrollToLatest();
    }
    m_spinner->setVisible(generating);
}

void MiniAIView::showTurn(MiniAITurnView* view, const QList<AIChatTurn>& turns,
                          qsizetype index) const {
    const AIChatTurn& turn = turns.at(index);
    const bool last = index == turns.size() - 1;
    view->setTurn(turn, m_features.session.isGenerating() && last, emptyResponseText(turn),
                  userAccessibilityValue(turn), accessibilityResponse(turn),
                  turn.attachments.isEmpty() ? QString() : attachmentSummary(turn.attachments));
}

void MiniAIView::refreshComposer() {
    const bool generating = m_features.session.isGenerating();
    const bool sendable = canSend();
    m_spinner->setVisible(generating);
    if (generating) {
        m_send->setSymbol(QStringLiteral("stop.fill"));
        m_send->setSymbolPixels(9);
        m_send->setEnabled(true);
        m_send->setLabel(tr("Stop response"));
    } else {
        m_send->setSymbol(QStringLiteral("arrow.up"));
        m_send->setSymbolPixels(12);
        m_send->setEnabled(sendable);
        const QString reason = m_composer->sendUnavailableReason();
        m_send->setToolTip(reason.isEmpty() ? tr("Send") : reason);
        m_send->setAccessibleName(tr("Send message"));
    }
    if (generating || sendable) {
        m_send->setCircleColor([](const QWidget* button) {
            return ChatStyle::withOpacity(PlimboTheme::accent(), button->underMouse() ? 1.0 : 0.88);
        });
    } else {
        m_send->setCircleColor(RoundedBox::fixed(ChatStyle::white(0.1)));
    }
}

void MiniAIView::scrollToLatest() {
    const QList<AIChatTurn> turns = m_features.chats.conversation();
    if (!turns.isEmpty()) {
        m_turnList->scrollToLatest(turns.last().id);
    }
}

// ---------------------------------------------------------------- events

void MiniAIView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = MiniAIBubbleShape::path(QRectF(rect()));
    painter.fillPath(outline, ChatStyle::black(0.985));
    painter.strokePath(outline, QPen(ChatStyle::white(0.11), 1));
}

void MiniAIView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (m_onClose) {
            m_onClose();
        }
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MiniAIView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_composer->focus();
    if (m_showsConversation) {
        scrollToLatest();
    }
    QTimer::singleShot(0, m_turnList, &TurnScrollArea::performPendingScroll);
}

} // namespace plimbo
