#include "ComposerBinding.h"

#include "AppStartup.h"
#include "AttachmentDropZone.h"
#include "ChatComposer.h"
#include "ChatList.h"
#include "ChatSession.h"
#include "ChatStatusText.h"
#include "ComposerAIAttachmentCard.h"
#include "ComposerTextEdit.h"
#include "HorizontalStrip.h"
#include "PlimboTheme.h"
#include "StoredAttachments.h"
#include "SymbolButton.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QPointer>

namespace plimbo {

ComposerBinding::ComposerBinding(const ChatFeatures& features, const Parts& parts, Look look,
                                 QWidget* view)
    : QObject(view)
    , m_features(features)
    , m_parts(parts)
    , m_look(std::move(look))
    , m_view(view) {
    m_parts.dropZone->setHandler(
        [this](const QList<QUrl>& files) { return m_features.addAttachments(files); });
    connect(m_parts.dropZone, &AttachmentDropZone::targetedChanged, this,
            &ComposerBinding::refreshBorder);
    m_parts.editor->setDropHandler(
        [this](const QList<QUrl>& urls) { return m_parts.dropZone->drop(urls); });
    connect(m_parts.editor, &ComposerTextEdit::dropTargetChanged, m_parts.dropZone,
            &AttachmentDropZone::setTargeted);
    connect(m_parts.editor, &QPlainTextEdit::textChanged, this,
            [this] { m_features.composer.setInput(m_parts.editor->toPlainText()); });
    m_parts.editor->installEventFilter(this);
    connect(m_parts.attach, &SymbolButton::clicked, this, [this] {
        QPointer<ComposerBinding> self(this);
        if (m_features.chooseAttachments([self] {
                if (self) {
                    emit self->fileDialogClosed();
                }
            })) {
            emit fileDialogOpened();
        }
    });

    const auto update = [this] {
        refresh();
        emit changed();
    };
    ChatComposer& composer = features.composer;
    ChatSession& session = features.session;
    connect(&composer, &ChatComposer::inputChanged, this, update);
    connect(&session, &ChatSession::statusChanged, this, update);
    connect(&features.startup, &AppStartup::credentialIsStoredChanged, this, update);
    connect(&session, &ChatSession::isGeneratingChanged, this, update);
    connect(&composer, &ChatComposer::isAddingChanged, this, update);
    connect(&features.chats, &ChatList::isLoadedChanged, this, update);
    connect(&composer, &ChatComposer::pendingAttachmentsChanged, this, [this, update] {
        refreshAttachments();
        update();
    });
    connect(&features.attachments, &StoredAttachments::imageReady, this, [this](const QUuid& id) {
        for (QWidget* tile : m_parts.strip->tiles()) {
            auto* card = static_cast<ComposerAIAttachmentCard*>(tile);
            if (card->attachment().id == id) {
                card->setImage(m_features.attachments.image(card->attachment()));
            }
        }
    });

    refreshAttachments();
    refresh();
    refreshBorder();
}

bool ComposerBinding::canSend() const {
    const ChatComposer& composer = m_features.composer;
    return m_features.chats.isLoaded() && m_features.startup.credentialIsStored() &&
           !m_features.session.isGenerating() && !composer.isAdding() &&
           (!composer.input().trimmed().isEmpty() || !composer.pendingAttachments().isEmpty());
}

QString ComposerBinding::sendUnavailableReason() const {
    return m_features.chats.isLoaded() ? QString() : tr("Loading chat history…");
}

void ComposerBinding::send() {
    if (!canSend()) {
        return;
    }
    m_features.session.send();
    focus();
}

bool ComposerBinding::isFocused() const {
    QWidget* window = m_view->window();
    return m_parts.editor->hasFocus() || (window && window->focusWidget() == m_parts.editor);
}

void ComposerBinding::focus() {
    m_parts.editor->setFocus(Qt::OtherFocusReason);
    refreshBorder();
}

bool ComposerBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_parts.editor &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        refreshBorder();
    }
    return QObject::eventFilter(watched, event);
}

void ComposerBinding::refresh() {
    m_parts.editor->setTextIfDifferent(m_features.composer.input());
    m_parts.status->setText(chatStatusText(m_features.session.status()));
    m_parts.attach->setEnabled(!m_features.session.isGenerating() &&
                               !m_features.composer.isAdding());
}

void ComposerBinding::refreshAttachments() {
    const QList<AIChatAttachment> pending = m_features.composer.pendingAttachments();
    QList<QUuid> shown;
    for (QWidget* tile : m_parts.strip->tiles()) {
        shown.append(static_cast<ComposerAIAttachmentCard*>(tile)->attachment().id);
    }
    QList<QUuid> wanted;
    for (const AIChatAttachment& attachment : pending) {
        wanted.append(attachment.id);
    }
    if (shown != wanted) {
        m_parts.strip->clearTiles();
        for (const AIChatAttachment& attachment : pending) {
            const QUuid id = attachment.id;
            m_parts.strip->addTile(new ComposerAIAttachmentCard(
                attachment, m_features.attachments.image(attachment), m_look.compactCards,
                [this, id] { m_features.composer.removePending(id); }));
        }
    }
    m_parts.stripRow->setVisible(!pending.isEmpty());
    QMargins margins = m_look.editorMargins;
    if (!pending.isEmpty()) {
        margins.setTop(m_look.topUnderCards);
    }
    m_parts.editorRow->layout()->setContentsMargins(margins);
}

void ComposerBinding::refreshBorder() {
    if (m_parts.dropZone->isTargeted()) {
        m_parts.box->setStroke(RoundedBox::fixed(PlimboTheme::accent()), 1.5);
    } else if (isFocused()) {
        m_parts.box->setStroke(m_look.focusedStroke, m_look.focusedStrokeWidth);
    } else {
        m_parts.box->setStroke(m_look.idleStroke, 1);
    }
}

} // namespace plimbo
