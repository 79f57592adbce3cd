#include "ComposerBinding.h"

#include "AppModel.h"
#include "AttachmentDropZone.h"
#include "ChatStatusText.h"
#include "ComposerAIAttachmentCard.h"
#include "ComposerTextEdit.h"
#include "HorizontalStrip.h"
#include "PlimboTheme.h"
#include "SymbolButton.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QPointer>

namespace plimbo {

ComposerBinding::ComposerBinding(AppModel& model, const Parts& parts, Look look, QWidget* view)
    : QObject(view)
    , m_model(model)
    , m_parts(parts)
    , m_look(std::move(look))
    , m_view(view) {
    m_parts.dropZone->setHandler(
        [this](const QList<QUrl>& files) { return m_model.addAIAttachments(files); });
    connect(m_parts.dropZone, &AttachmentDropZone::targetedChanged, this,
            &ComposerBinding::refreshBorder);
    m_parts.editor->setDropHandler(
        [this](const QList<QUrl>& urls) { return m_parts.dropZone->drop(urls); });
    connect(m_parts.editor, &ComposerTextEdit::dropTargetChanged, m_parts.dropZone,
            &AttachmentDropZone::setTargeted);
    connect(m_parts.editor, &QPlainTextEdit::textChanged, this,
            [this] { m_model.setAiInput(m_parts.editor->toPlainText()); });
    m_parts.editor->installEventFilter(this);
    connect(m_parts.attach, &SymbolButton::clicked, this, [this] {
        QPointer<ComposerBinding> self(this);
        if (m_model.chooseAIAttachments([self] {
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
    connect(&model, &AppModel::aiInputChanged, this, update);
    connect(&model, &AppModel::aiStatusChanged, this, update);
    connect(&model, &AppModel::credentialIsStoredChanged, this, update);
    connect(&model, &AppModel::isGeneratingChanged, this, update);
    connect(&model, &AppModel::isAddingAIAttachmentsChanged, this, update);
    connect(&model, &AppModel::aiHistoryLoadedChanged, this, update);
    connect(&model, &AppModel::pendingAIAttachmentsChanged, this, [this, update] {
        refreshAttachments();
        update();
    });
    connect(&model, &AppModel::attachmentImageReady, this, [this](const QUuid& id) {
        for (QWidget* tile : m_parts.strip->tiles()) {
            auto* card = static_cast<ComposerAIAttachmentCard*>(tile);
            if (card->attachment().id == id) {
                card->setImage(m_model.imageForAIAttachment(card->attachment()));
            }
        }
    });

    refreshAttachments();
    refresh();
    refreshBorder();
}

bool ComposerBinding::canSend() const {
    return m_model.isAIHistoryLoaded() && m_model.credentialIsStored() && !m_model.isGenerating() &&
           !m_model.isAddingAIAttachments() &&
           (!m_model.aiInput().trimmed().isEmpty() || !m_model.pendingAIAttachments().isEmpty());
}

QString ComposerBinding::sendUnavailableReason() const {
    return m_model.isAIHistoryLoaded() ? QString() : tr("Loading chat history…");
}

void ComposerBinding::send() {
    if (!canSend()) {
        return;
    }
    m_model.sendAI();
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
    m_parts.editor->setTextIfDifferent(m_model.aiInput());
    m_parts.status->setText(chatStatusText(m_model.aiStatus()));
    m_parts.attach->setEnabled(!m_model.isGenerating() && !m_model.isAddingAIAttachments());
}

void ComposerBinding::refreshAttachments() {
    const QList<AIChatAttachment> pending = m_model.pendingAIAttachments();
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
                attachment, m_model.imageForAIAttachment(attachment), m_look.compactCards,
                [this, id] { m_model.removePendingAIAttachment(id); }));
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
