#include "ConversationTurnView.h"

#include "BrandBadge.h"
#include "ChatStyle.h"
#include "ChatThinkingIndicator.h"
#include "HorizontalStrip.h"
#include "MarkdownText.h"
#include "PlimboTheme.h"
#include "RichTextView.h"
#include "RoundedBox.h"
#include "SentAIAttachmentView.h"
#include "SymbolButton.h"
#include "WrappingLabel.h"
#include "symbols/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace plimbo {

ConversationTurnView::ConversationTurnView(const AIChatTurn& turn, bool isGenerating,
                                           std::function<void()> onCopy,
                                           std::function<void()> onRetry,
                                           ImageProvider attachmentImage, QWidget* parent)
    : QWidget(parent)
    , m_turn(turn)
    , m_isGenerating(isGenerating)
    , m_onCopy(std::move(onCopy))
    , m_onRetry(std::move(onRetry))
    , m_attachmentImage(std::move(attachmentImage)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFont(ChatStyle::font(ChatStyle::TextStyle::body));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(17);

    // Prompt: kept 90 pixels or more from the leading edge.
    auto* promptRow = new QHBoxLayout;
    promptRow->setSpacing(6);
    promptRow->addSpacerItem(new QSpacerItem(90, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_bubble = new RoundedBox;
    m_bubble->setRadius(16);
    m_bubble->setFill(RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.22)));
    m_bubble->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    m_bubble->setAccessibleName(tr("You"));
    auto* bubble = new QVBoxLayout(m_bubble);
    bubble->setContentsMargins(14, 10, 14, 10);
    bubble->setSpacing(8);
    m_attachments = new HorizontalStrip(7);
    bubble->addWidget(m_attachments, 0, Qt::AlignRight);
    m_prompt = new RichTextView;
    m_prompt->setObjectName(QStringLiteral("prompt"));
    bubble->addWidget(m_prompt, 0, Qt::AlignRight);
    promptRow->addWidget(m_bubble);
    column->addLayout(promptRow);

    // Reply.
    auto* replyRow = new QHBoxLayout;
    replyRow->setSpacing(11);
    replyRow->setAlignment(Qt::AlignTop);
    auto* avatar = new BrandBadge(30, 15, 0.14);
    replyRow->addWidget(avatar, 0, Qt::AlignTop);
    auto* replyColumnBox = new QWidget;
    auto* replyColumn = new QVBoxLayout(replyColumnBox);
    replyColumn->setContentsMargins(0, 4, 0, 0);
    replyColumn->setSpacing(8);
    m_replyContent = new QWidget;
    m_replyContent->setAccessibleName(tr("Plimbo AI"));
    auto* content = new QVBoxLayout(m_replyContent);
    content->setContentsMargins(0, 0, 0, 0);
    content->setSpacing(0);
    replyColumn->addWidget(m_replyContent);

    m_stateRow = new QWidget;
    auto* state = new QHBoxLayout(m_stateRow);
    state->setContentsMargins(0, 0, 0, 0);
    state->setSpacing(8);
    auto* label = new QHBoxLayout;
    label->setSpacing(4);
    m_stateIcon = new QLabel;
    m_stateText = new WrappingLabel;
    m_stateText->setFont(ChatStyle::font(ChatStyle::TextStyle::caption));
    label->addWidget(m_stateIcon);
    label->addWidget(m_stateText);
    state->addLayout(label);
    m_retry = new QToolButton;
    m_retry->setText(tr("Retry"));
    const QColor retryColor = ChatStyle::accentText(palette());
    m_retry->setIcon(SymbolIcon::icon(QStringLiteral("arrow.clockwise"), retryColor));
    m_retry->setIconSize(QSize(11, 11));
    m_retry->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_retry->setAutoRaise(true);
    m_retry->setFont(ChatStyle::font(ChatStyle::TextStyle::caption, QFont::Medium));
    QPalette retryPalette = m_retry->palette();
    retryPalette.setColor(QPalette::ButtonText, retryColor);
    m_retry->setPalette(retryPalette);
    connect(m_retry, &QToolButton::clicked, this, [this] {
        if (m_onRetry) {
            m_onRetry();
        }
    });
    state->addWidget(m_retry);
    state->addStretch(1);
    replyColumn->addWidget(m_stateRow);
    replyRow->addWidget(replyColumnBox, 1);

    m_copy = new SymbolButton(QStringLiteral("doc.on.doc"), 28, 12);
    m_copy->setCircleColor(RoundedBox::primary(0.055));
    m_copy->setSymbolColor([](const QWidget* widget) { return ChatStyle::secondary(widget); });
    m_copy->setLabel(tr("Copy response"));
    connect(m_copy, &SymbolButton::clicked, this, [this] {
        if (m_onCopy) {
            m_onCopy();
        }
    });
    replyRow->addWidget(m_copy, 0, Qt::AlignTop);
    column->addLayout(replyRow);

    updatePrompt(nullptr);
    updateReply();
}

QWidget* ConversationTurnView::promptBubble() const {
    return m_bubble;
}

void ConversationTurnView::setTurn(const AIChatTurn& turn, bool isGenerating) {
    if (turn == m_turn && isGenerating == m_isGenerating) {
        return;
    }
    const AIChatTurn previous = std::exchange(m_turn, turn);
    m_isGenerating = isGenerating;
    updatePrompt(&previous);
    updateReply();
}

std::optional<QString> ConversationTurnView::stateLabel() const {
    if (m_isGenerating) {
        return std::nullopt;
    }
    switch (m_turn.state) {
    case AIChatTurnState::streaming:
    case AIChatTurnState::completed:
        return std::nullopt;
    case AIChatTurnState::stopped:
        return tr("Response stopped");
    case AIChatTurnState::failed:
        return m_turn.failureMessage.value_or(tr("Response failed"));
    }
    return std::nullopt;
}

QString ConversationTurnView::emptyReplyText() const {
    switch (m_turn.state) {
    case AIChatTurnState::streaming:
        return tr("Waiting for a response…");
    case AIChatTurnState::completed:
        return tr("No response was returned.");
    case AIChatTurnState::stopped:
        return tr("Response stopped before any text arrived.");
    case AIChatTurnState::failed:
        return m_turn.failureMessage.value_or(tr("The response failed."));
    }
    return QString();
}

QString ConversationTurnView::accessibilityResponse() const {
    if (m_turn.response.isEmpty()) {
        return emptyReplyText();
    }
    if (!m_isGenerating &&
        (m_turn.state == AIChatTurnState::stopped || m_turn.state == AIChatTurnState::failed)) {
        const QString label = m_turn.state == AIChatTurnState::stopped
                                  ? tr("Response stopped")
                                  : m_turn.failureMessage.value_or(tr("Response failed"));
        return m_turn.response + QStringLiteral(". ") + label;
    }
    return m_turn.response;
}

QString ConversationTurnView::userAccessibilityValue() const {
    if (m_turn.attachments.isEmpty()) {
        return m_turn.prompt;
    }
    QStringList names;
    for (const AIChatAttachment& attachment : m_turn.attachments) {
        names.append(attachment.name);
    }
    return m_turn.prompt + tr(". Attachments: ") + names.join(QStringLiteral(", "));
}

QList<SentAIAttachmentView*> ConversationTurnView::attachmentViews() const {
    QList<SentAIAttachmentView*> views;
    for (QWidget* tile : m_attachments->tiles()) {
        views.append(static_cast<SentAIAttachmentView*>(tile));
    }
    return views;
}

void ConversationTurnView::refreshAttachmentImage(const QUuid& attachmentID) {
    for (SentAIAttachmentView* view : attachmentViews()) {
        if (view->attachment().id == attachmentID && m_attachmentImage) {
            view->setImage(m_attachmentImage(view->attachment()));
        }
    }
}

void ConversationTurnView::updatePrompt(const AIChatTurn* previous) {
    if (!previous || previous->prompt != m_turn.prompt) {
        m_prompt->setPlainText(m_turn.prompt);
    }
    if (!previous || previous->attachments != m_turn.attachments) {
        m_attachments->clearTiles();
        for (const AIChatAttachment& attachment : m_turn.attachments) {
            const std::optional<QImage> image =
                m_attachmentImage ? m_attachmentImage(attachment) : std::nullopt;
            m_attachments->addTile(new SentAIAttachmentView(attachment, image));
        }
        m_attachments->setVisible(!m_turn.attachments.isEmpty());
    }
    m_bubble->setAccessibleDescription(userAccessibilityValue());
}

void ConversationTurnView::updateReply() {
    auto* content = static_cast<QVBoxLayout*>(m_replyContent->layout());
    const bool hasText = !m_turn.response.isEmpty();
    if (hasText) {
        if (!m_markdown) {
            m_markdown = new MarkdownText;
            content->addWidget(m_markdown);
        }
        m_markdown->setSource(m_turn.response);
    }
    if (!hasText && m_isGenerating && !m_dots) {
        m_dots = new ChatThinkingIndicator;
        content->addWidget(m_dots, 0, Qt::AlignLeft);
    }
    if (!hasText && !m_isGenerating) {
        if (!m_emptyReply) {
            m_emptyReply = new RichTextView;
            m_emptyReply->setHugsContent(false);
            m_emptyReply->setSelectable(false);
            m_emptyReply->setTextColor(ChatStyle::secondary(this));
            content->addWidget(m_emptyReply);
        }
        m_emptyReply->setPlainText(emptyReplyText());
    }
    if (m_markdown) {
        m_markdown->setVisible(hasText);
    }
    if (m_dots) {
        // A fresh indicator each time the dots come back, so the pulse starts from rest.
        if (hasText || !m_isGenerating) {
            delete m_dots;
            m_dots = nullptr;
        }
    }
    if (m_emptyReply) {
        m_emptyReply->setVisible(!hasText && !m_isGenerating);
    }

    const std::optional<QString> label = stateLabel();
    m_stateRow->setVisible(label.has_value());
    if (label) {
        const bool failed = m_turn.state == AIChatTurnState::failed;
        const QColor color = failed ? ChatStyle::warning(this) : ChatStyle::secondary(this);
        m_stateSymbolName =
            failed ? QStringLiteral("exclamationmark.circle") : QStringLiteral("stop.circle");
        m_stateIcon->setPixmap(
            SymbolIcon::pixmap(m_stateSymbolName, QSize(11, 11), color, devicePixelRatioF()));
        m_stateText->setText(*label);
        QPalette palette = m_stateText->palette();
        palette.setColor(QPalette::WindowText, color);
        m_stateText->setPalette(palette);
    } else {
        m_stateSymbolName.clear();
    }
    m_copy->setVisible(hasText);
    m_replyContent->setAccessibleDescription(accessibilityResponse());
}

} // namespace plimbo
