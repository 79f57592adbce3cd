#include "MiniAIView.h"

#include "ActivitySpinner.h"
#include "AppModel.h"
#include "AttachmentDropZone.h"
#include "BrandBadge.h"
#include "ChatDivider.h"
#include "ChatErrorAlert.h"
#include "ChatStyle.h"
#include "ComposerAIAttachmentCard.h"
#include "ComposerTextEdit.h"
#include "HorizontalStrip.h"
#include "MiniAIBubbleShape.h"
#include "MiniAITurnView.h"
#include "ReduceMotion.h"
#include "RoundedBox.h"
#include "SymbolButton.h"
#include "widgets/PlimboTheme.h"

#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
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

MiniAIView::MiniAIView(AppModel& model, std::function<void()> onBeginConversation,
                       std::function<void()> onOpenAllChats, std::function<void()> onClose,
                       QWidget* parent)
    : QWidget(parent)
    , m_model(model)
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
    m_alert = new ChatErrorAlert(model, tr("Plimbo AI"), this);

    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(16);
    connect(&m_coalesce, &QTimer::timeout, this, &MiniAIView::refreshTurns);
    connect(&model, &AppModel::aiConversationChanged, this, &MiniAIView::conversationChanged);
    connect(&model, &AppModel::isGeneratingChanged, this, [this] {
        refreshTurns();
        refreshComposer();
    });
    connect(&model, &AppModel::aiStatusChanged, this, [this] {
        refreshComposer();
        if (!m_coalesce.isActive()) {
            m_coalesce.start();
        }
    });
    connect(&model, &AppModel::credentialIsStoredChanged, this, &MiniAIView::refreshComposer);
    connect(&model, &AppModel::aiInputChanged, this, &MiniAIView::refreshComposer);
    connect(&model, &AppModel::isAddingAIAttachmentsChanged, this, &MiniAIView::refreshComposer);
    connect(&model, &AppModel::pendingAIAttachmentsChanged, this, &MiniAIView::refreshAttachments);

    refreshLayout(false);
    refreshTurns();
    refreshAttachments();
    refreshComposer();
    refreshBorder();
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

    m_turnList = new QScrollArea;
    m_turnList->setFrameShape(QFrame::NoFrame);
    m_turnList->setWidgetResizable(true);
    m_turnList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_turnList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_turnList->viewport()->setAutoFillBackground(false);
    m_turnList->setAttribute(Qt::WA_TranslucentBackground);
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    m_turnColumn = new QVBoxLayout(content);
    m_turnColumn->setContentsMargins(14, 13, 14, 13);
    m_turnColumn->setSpacing(12);
    m_turnColumn->addStretch(1);
    m_turnList->setWidget(content);
    content->setAutoFillBackground(false); // setWidget() turned it on
    column->addWidget(m_turnList, 1);
    column->addWidget(new ChatDivider(Qt::Horizontal, RoundedBox::fixed(ChatStyle::white(0.08))));

    m_conversationSlot = new QVBoxLayout;
    m_conversationSlot->setContentsMargins(12, 12, 12, 12);
    column->addLayout(m_conversationSlot);
    return m_conversationPage;
}

QWidget* MiniAIView::buildComposer() {
    m_dropZone = new AttachmentDropZone;
    m_dropZone->setHandler(
        [this](const QList<QUrl>& files) { return m_model.addAIAttachments(files); });
    connect(m_dropZone, &AttachmentDropZone::targetedChanged, this, &MiniAIView::refreshBorder);
    auto* zone = new QVBoxLayout(m_dropZone);
    zone->setContentsMargins(0, 0, 0, 0);
    m_composerBox = new RoundedBox;
    m_composerBox->setRadius(16);
    m_composerBox->setFill(RoundedBox::fixed(ChatStyle::white(0.075)));
    zone->addWidget(m_composerBox);
    auto* stack = new QVBoxLayout(m_composerBox);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    m_stripRow = new QWidget;
    m_stripRow->setAccessibleName(tr("Attachments for the next message"));
    auto* strip = new QHBoxLayout(m_stripRow);
    strip->setContentsMargins(9, 9, 9, 6);
    m_strip = new HorizontalStrip(7);
    strip->addWidget(m_strip);
    stack->addWidget(m_stripRow);

    m_editorRow = new QWidget;
    auto* editorLayout = new QHBoxLayout(m_editorRow);
    editorLayout->setContentsMargins(12, 10, 12, 5);
    m_editor = new ComposerTextEdit(3, 30);
    m_editor->setFont(ChatStyle::font(13, QFont::Medium));
    m_editor->setPlaceholderText(tr("Ask Plimbo AI…"));
    m_editor->setAccessibleName(tr("Message Plimbo AI"));
    m_editor->setDropHandler([this](const QList<QUrl>& urls) { return m_dropZone->drop(urls); });
    connect(m_editor, &ComposerTextEdit::dropTargetChanged, m_dropZone,
            &AttachmentDropZone::setTargeted);
    connect(m_editor, &ComposerTextEdit::submitted, this, &MiniAIView::send);
    connect(m_editor, &QPlainTextEdit::textChanged, this,
            [this] { m_model.setAiInput(m_editor->toPlainText()); });
    m_editor->installEventFilter(this);
    editorLayout->addWidget(m_editor);
    stack->addWidget(m_editorRow);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 7, 7);
    row->setSpacing(8);
    m_attach =
        circleButton(QStringLiteral("plus"), 29, 12, 0.72, 0.07, tr("Attach images or files"));
    connect(m_attach, &SymbolButton::clicked, this, [this] { m_model.chooseAIAttachments(); });
    row->addWidget(m_attach);
    m_composerMark = new BrandBadge(16, 16, 0);
    row->addWidget(m_composerMark);
    m_status = ChatStyle::plainLabel(QString());
    m_status->setFont(ChatStyle::font(9.5, QFont::Medium));
    QPalette statusPalette = m_status->palette();
    statusPalette.setColor(QPalette::WindowText, ChatStyle::white(0.42));
    m_status->setPalette(statusPalette);
    row->addWidget(m_status);
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
        if (m_model.isGenerating()) {
            m_model.stopAI();
        } else {
            send();
        }
    });
    row->addWidget(m_send);
    stack->addLayout(row);
    return m_dropZone;
}

// ---------------------------------------------------------------- rules and texts

bool MiniAIView::canSend() const {
    return m_model.credentialIsStored() && !m_model.isGenerating() &&
           !m_model.isAddingAIAttachments() &&
           (!m_model.aiInput().trimmed().isEmpty() || !m_model.pendingAIAttachments().isEmpty());
}

void MiniAIView::send() {
    if (!canSend()) {
        return;
    }
    if (m_model.aiConversation().isEmpty() && m_onBeginConversation) {
        m_onBeginConversation();
    }
    m_model.sendAI();
    focusComposer();
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
        return m_model.aiStatus();
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

void MiniAIView::conversationChanged() {
    QList<QUuid> ids;
    for (const AIChatTurn& turn : m_model.aiConversation()) {
        ids.append(turn.id);
    }
    if (ids == m_shownTurnIds) {
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
    const bool conversation = !m_model.aiConversation().isEmpty();
    if (m_layoutInitialised && conversation == m_showsConversation) {
        return;
    }
    m_layoutInitialised = true;
    m_showsConversation = conversation;
    QVBoxLayout* slot = conversation ? m_conversationSlot : m_composerOnlySlot;
    slot->insertWidget(0, m_dropZone);
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
    const QList<AIChatTurn> turns = m_model.aiConversation();
    const bool generating = m_model.isGenerating();
    QHash<QUuid, MiniAITurnView*> existing;
    for (MiniAITurnView* view : std::as_const(m_turnViews)) {
        existing.insert(view->turn().id, view);
    }
    QList<MiniAITurnView*> views;
    QList<QUuid> ids;
    for (qsizetype i = 0; i < turns.size(); ++i) {
        const AIChatTurn& turn = turns[i];
        ids.append(turn.id);
        MiniAITurnView* view = existing.take(turn.id);
        if (!view) {
            view = new MiniAITurnView;
        }
        const bool last = i == turns.size() - 1;
        view->setTurn(turn, generating && last, emptyResponseText(turn),
                      userAccessibilityValue(turn), accessibilityResponse(turn),
                      turn.attachments.isEmpty() ? QString() : attachmentSummary(turn.attachments));
        views.append(view);
    }
    for (MiniAITurnView* gone : std::as_const(existing)) {
        m_turnColumn->removeWidget(gone);
        delete gone;
    }
    if (views != m_turnViews) {
        for (MiniAITurnView* view : std::as_const(views)) {
            m_turnColumn->removeWidget(view);
        }
        for (qsizetype i = 0; i < views.size(); ++i) {
            m_turnColumn->insertWidget(static_cast<int>(i), views[i]);
        }
    }
    m_turnViews = views;
    const bool countChanged = ids.size() != m_shownTurnIds.size();
    m_shownTurnIds = ids;
    if (countChanged && !turns.isEmpty()) {
        scrollToLatest();
    }
    m_spinner->setVisible(generating);
}

void MiniAIView::refreshComposer() {
    const bool generating = m_model.isGenerating();
    const bool sendable = canSend();
    m_editor->setTextIfDifferent(m_model.aiInput());
    m_status->setText(m_model.aiStatus());
    m_attach->setEnabled(!generating && !m_model.isAddingAIAttachments());
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
        m_send->setToolTip(tr("Send"));
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

void MiniAIView::refreshAttachments() {
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
                attachment, m_model.imageForAIAttachment(attachment), true,
                [this, id] { m_model.removePendingAIAttachment(id); }));
        }
    }
    m_stripRow->setVisible(!pending.isEmpty());
    m_editorRow->layout()->setContentsMargins(12, pending.isEmpty() ? 10 : 4, 12, 5);
    refreshComposer();
}

void MiniAIView::refreshBorder() {
    if (m_dropZone->isTargeted()) {
        m_composerBox->setStroke(RoundedBox::fixed(PlimboTheme::accent()), 1.5);
    } else if (isComposerFocused()) {
        m_composerBox->setStroke(
            RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.78)), 1.5);
    } else {
        m_composerBox->setStroke(RoundedBox::fixed(ChatStyle::white(0.1)), 1);
    }
}

bool MiniAIView::isComposerFocused() const {
    return m_editor->hasFocus() || (window() && window()->focusWidget() == m_editor);
}

void MiniAIView::focusComposer() {
    m_editor->setFocus(Qt::OtherFocusReason);
    refreshBorder();
}

void MiniAIView::scrollToLatest() {
    const QList<AIChatTurn> turns = m_model.aiConversation();
    if (turns.isEmpty()) {
        return;
    }
    m_lastScrollTarget = turns.last().id;
    m_lastScrollAnimated = !ReduceMotion::enabled();
    m_scrollPending = true;
    // After the new turn is laid out.
    QTimer::singleShot(0, this, &MiniAIView::performPendingScroll);
}

void MiniAIView::performPendingScroll() {
    if (!m_scrollPending || m_turnViews.isEmpty() || !m_turnList->isVisible()) {
        return;
    }
    m_scrollPending = false;
    // Pending layouts first, so that the scroll range is the laid-out one.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget* content = m_turnList->widget();
    if (content->layout()) {
        content->layout()->activate();
    }
    QWidget* last = m_turnViews.last();
    QScrollBar* bar = m_turnList->verticalScrollBar();
    const int bottom = last->mapTo(content, QPoint(0, last->height())).y();
    const int target =
        std::clamp(bottom - m_turnList->viewport()->height(), bar->minimum(), bar->maximum());
    if (!m_lastScrollAnimated) {
        bar->setValue(target);
        return;
    }
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(140);
    animation->setEasingCurve(QEasingCurve::OutCubic);
    animation->setStartValue(bar->value());
    animation->setEndValue(target);
    connect(animation, &QVariantAnimation::valueChanged, bar,
            [bar](const QVariant& value) { bar->setValue(value.toInt()); });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
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
    focusComposer();
    if (m_showsConversation) {
        scrollToLatest();
    }
    QTimer::singleShot(0, this, &MiniAIView::performPendingScroll);
}

bool MiniAIView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        refreshBorder();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace plimbo
