#include "MiniAITurnView.h"

#include "BrandBadge.h"
#include "ChatStyle.h"
#include "MarkdownText.h"
#include "RichTextView.h"
#include "RoundedBox.h"
#include "ThinkingDots.h"
#include "symbols/SymbolIcon.h"
#include "PlimboTheme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

MiniAITurnView::MiniAITurnView(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    auto* userRow = new QHBoxLayout;
    userRow->addSpacerItem(new QSpacerItem(56, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_user = new RoundedBox;
    m_user->setRadius(14);
    m_user->setFill(RoundedBox::fixed(ChatStyle::withOpacity(PlimboTheme::accent(), 0.3)));
    m_user->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    m_user->setAccessibleName(tr("You"));
    auto* user = new QVBoxLayout(m_user);
    user->setContentsMargins(12, 9, 12, 9);
    user->setSpacing(6);
    m_attachmentRow = new QWidget;
    auto* attachments = new QHBoxLayout(m_attachmentRow);
    attachments->setContentsMargins(0, 0, 0, 0);
    attachments->setSpacing(5);
    auto* clip = new QLabel;
    clip->setPixmap(SymbolIcon::pixmap(QStringLiteral("paperclip"), QSize(11, 11),
                                       ChatStyle::white(0.76), devicePixelRatioF()));
    attachments->addWidget(clip);
    m_summary = ChatStyle::plainLabel(QString());
    m_summary->setFont(ChatStyle::font(10.5, QFont::Medium));
    QPalette summaryPalette = m_summary->palette();
    summaryPalette.setColor(QPalette::WindowText, ChatStyle::white(0.76));
    m_summary->setPalette(summaryPalette);
    attachments->addWidget(m_summary);
    user->addWidget(m_attachmentRow, 0, Qt::AlignRight);
    m_prompt = new RichTextView;
    m_prompt->setFont(ChatStyle::font(12.5, QFont::Medium));
    m_prompt->setTextColor(QColor(Qt::white));
    user->addWidget(m_prompt, 0, Qt::AlignRight);
    userRow->addWidget(m_user);
    column->addLayout(userRow);

    auto* replyRow = new QHBoxLayout;
    replyRow->setSpacing(8);
    auto* markColumn = new QVBoxLayout;
    markColumn->setContentsMargins(0, 8, 0, 0);
    markColumn->addWidget(new BrandBadge(14, 14, 0));
    markColumn->addStretch(1);
    replyRow->addLayout(markColumn);
    m_reply = new RoundedBox;
    m_reply->setRadius(14);
    m_reply->setFill(RoundedBox::fixed(ChatStyle::white(0.075)));
    m_reply->setAccessibleName(tr("Plimbo AI"));
    m_reply->setFont(ChatStyle::font(12.5));
    auto* reply = new QVBoxLayout(m_reply);
    reply->setContentsMargins(12, 10, 12, 10);
    replyRow->addWidget(m_reply, 1);
    column->addLayout(replyRow);
}

QWidget* MiniAITurnView::userBubble() const {
    return m_user;
}

QWidget* MiniAITurnView::replyBubble() const {
    return m_reply;
}

void MiniAITurnView::setTurn(const AIChatTurn& turn, bool showsDots, const QString& emptyText,
                             const QString& userValue, const QString& replyValue,
                             const QString& attachmentSummary) {
    const bool first = !m_initialised;
    m_initialised = true;
    if (first || turn.prompt != m_turn.prompt) {
        m_prompt->setPlainText(turn.prompt);
    }
    m_attachmentRow->setVisible(!turn.attachments.isEmpty());
    m_summary->setText(attachmentSummary);
    m_user->setAccessibleDescription(userValue);
    m_turn = turn;

    auto* reply = static_cast<QVBoxLayout*>(m_reply->layout());
    const bool hasText = !turn.response.isEmpty();
    if (hasText) {
        if (!m_markdown) {
            m_markdown = new MarkdownText;
            m_markdown->setTextColor(ChatStyle::white(0.92));
            reply->addWidget(m_markdown);
        }
        m_markdown->setSource(turn.response);
    }
    const bool dots = !hasText && showsDots;
    if (dots && !m_dots) {
        m_dots = new ThinkingDots;
        reply->addWidget(m_dots, 0, Qt::AlignLeft);
    } else if (!dots && m_dots) {
        delete m_dots;
        m_dots = nullptr;
    }
    if (!hasText && !dots) {
        if (!m_empty) {
            m_empty = new RichTextView;
            m_empty->setSelectable(false);
            m_empty->setHugsContent(false);
            m_empty->setTextColor(ChatStyle::white(0.52));
            reply->addWidget(m_empty);
        }
        m_empty->setPlainText(emptyText);
    }
    if (m_markdown) {
        m_markdown->setVisible(hasText);
    }
    if (m_empty) {
        m_empty->setVisible(!hasText && !dots);
    }
    m_reply->setAccessibleDescription(replyValue);
}

} // namespace plimbo
