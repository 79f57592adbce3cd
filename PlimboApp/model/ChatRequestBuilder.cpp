#include "ChatRequestBuilder.h"

#include "SensitiveDataRedactor.h"

#include <QStringDecoder>

#include <exception>
#include <optional>

namespace plimbo {

namespace {

using Part = AIMessage::ContentPart;

const QChar quote = u'"';

std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

QString base64(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toBase64());
}

// Chooses what fits and takes it off the budget. A negative recorded size (a damaged history
// file) never fits: it would otherwise grow the budget for everything after it.
void choose(const AIChatAttachment& attachment, qint64& remaining, QSet<QUuid>& chosen) {
    if (attachment.byteCount >= 0 && attachment.byteCount <= remaining) {
        chosen.insert(attachment.id);
        remaining -= attachment.byteCount;
    }
}

Part attachmentPart(const AIChatAttachment& attachment, const QSet<QUuid>& allowed,
                    const AIChatHistoryStore& store, const SensitiveDataRedactor& redactor) {
    if (!allowed.contains(attachment.id)) {
        return Part::makeText(ChatRequestBuilder::omittedText(attachment.name));
    }
    QByteArray bytes;
    try {
        bytes = store.data(attachment);
    } catch (const std::exception&) {
        return Part::makeText(ChatRequestBuilder::unavailableText(attachment.name));
    }
    switch (attachment.kind) {
    case AIChatAttachmentKind::image:
        return Part::makeImage(QStringLiteral("data:") + attachment.mimeType +
                               QStringLiteral(";base64,") + base64(bytes));
    case AIChatAttachmentKind::pdf:
        return Part::makeFile(attachment.name,
                              QStringLiteral("data:application/pdf;base64,") + base64(bytes));
    case AIChatAttachmentKind::text:
        break;
    }
    const std::optional<QString> text = decodeUtf8(bytes);
    if (!text) {
        return Part::makeText(ChatRequestBuilder::undecodableText(attachment.name));
    }
    return Part::makeText(QStringLiteral("Attached text file ") + quote + attachment.name + quote +
                          QStringLiteral(":\n\n") + redactor.redacted(*text));
}

} // namespace

const QString ChatRequestBuilder::systemPrompt = QStringLiteral(
    "You are Plimbo, a concise assistant on a Linux desktop. Analyze attached images and "
    "documents when present. Preserve the user's meaning and never claim to perform actions "
    "you cannot perform.");

QString ChatRequestBuilder::omittedText(const QString& name) {
    return QStringLiteral("Attachment ") + quote + name + quote +
           QStringLiteral(" was omitted to keep the request within the local size limit.");
}

QString ChatRequestBuilder::unavailableText(const QString& name) {
    return QStringLiteral("Attachment ") + quote + name + quote +
           QStringLiteral(" is no longer available on this computer.");
}

QString ChatRequestBuilder::undecodableText(const QString& name) {
    return QStringLiteral("Attachment ") + quote + name + quote +
           QStringLiteral(" could not be decoded as UTF-8 text.");
}

QList<AIMessage> ChatRequestBuilder::requestMessages(const QList<AIChatTurn>& priorTurns,
                                                     const AIChatTurn& currentTurn,
                                                     const AIChatHistoryStore& historyStore) {
    QList<AIMessage> messages{AIMessage(AIMessage::Role::system, systemPrompt)};
    const QSet<QUuid> allowed = attachmentIDsForRequest(priorTurns, currentTurn);
    for (const AIChatTurn& turn : priorTurns) {
        messages.append(aiMessage(turn, allowed, historyStore));
        if (!turn.response.isEmpty()) {
            messages.append(AIMessage(AIMessage::Role::assistant, turn.response));
        }
    }
    messages.append(aiMessage(currentTurn, allowed, historyStore));
    return messages;
}

QSet<QUuid> ChatRequestBuilder::attachmentIDsForRequest(const QList<AIChatTurn>& priorTurns,
                                                        const AIChatTurn& currentTurn) {
    QSet<QUuid> chosen;
    qint64 remaining = requestByteBudget;
    for (const AIChatAttachment& attachment : currentTurn.attachments) {
        choose(attachment, remaining, chosen);
    }
    for (auto turn = priorTurns.crbegin(); turn != priorTurns.crend(); ++turn) {
        for (auto attachment = turn->attachments.crbegin(); attachment != turn->attachments.crend();
             ++attachment) {
            choose(*attachment, remaining, chosen);
        }
    }
    return chosen;
}

AIMessage ChatRequestBuilder::aiMessage(const AIChatTurn& turn,
                                        const QSet<QUuid>& allowedAttachmentIDs,
                                        const AIChatHistoryStore& historyStore) {
    const SensitiveDataRedactor redactor;
    const QString prompt = redactor.redacted(turn.prompt);
    if (turn.attachments.isEmpty()) {
        return AIMessage(AIMessage::Role::user, prompt);
    }
    QList<Part> parts{Part::makeText(prompt)};
    parts.reserve(turn.attachments.size() + 1);
    for (const AIChatAttachment& attachment : turn.attachments) {
        parts.append(attachmentPart(attachment, allowedAttachmentIDs, historyStore, redactor));
    }
    return AIMessage(AIMessage::Role::user, parts);
}

QFuture<QList<AIMessage>> ChatRequestBuilder::requestMessagesInBackground(
    TaskExecutor& executor, QList<AIChatTurn> priorTurns, AIChatTurn currentTurn,
    AIChatHistoryStore historyStore) {
    return runInBackground(executor, TaskExecutor::Priority::userInitiated,
                           [priorTurns = std::move(priorTurns),
                            currentTurn = std::move(currentTurn),
                            historyStore = std::move(historyStore)] {
                               return requestMessages(priorTurns, currentTurn, historyStore);
                           });
}

} // namespace plimbo
