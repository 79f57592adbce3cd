#pragma once

#include "AIChatHistoryStore.h"
#include "AIChatTurn.h"
#include "AIMessage.h"
#include "TaskExecutor.h"

#include <QFuture>
#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

namespace plimbo {

// Turns the recent turns of a chat and the new turn into the messages of one chat request:
// the system prompt, the history as user and assistant messages, then the new user message.
// Attachments go inline (images and PDFs as base64 data URLs, text files as text) within one
// byte budget shared by the whole request; whatever does not fit, is gone or does not decode
// becomes a short note instead. Typed prompts and text files are redacted; stored responses,
// images and PDFs are sent as they are.
//
// Every function is static, touches only its arguments and never throws, so it may run on any
// thread. Reading attachments is synchronous: run requestMessages() off the main thread
// (requestMessagesInBackground() does that).
class ChatRequestBuilder {
public:
    // Attachment bytes one request may carry, counted in stored byte counts (before base64).
    static constexpr qint64 requestByteBudget = 15'728'640;

    static const QString systemPrompt;

    // The whole message list. `priorTurns` are oldest first; the caller decides how many
    // (the send pipeline passes the last 8 turns before the new one).
    static QList<AIMessage> requestMessages(const QList<AIChatTurn>& priorTurns,
                                            const AIChatTurn& currentTurn,
                                            const AIChatHistoryStore& historyStore);

    // The attachments that fit the budget: the new turn's first to last, then the prior turns
    // newest to oldest, each turn's attachments last to first. One that does not fit is
    // skipped and the walk goes on, so a later, smaller one can still be chosen.
    static QSet<QUuid> attachmentIDsForRequest(const QList<AIChatTurn>& priorTurns,
                                               const AIChatTurn& currentTurn);

    // One turn as a user message: plain text when it has no attachments, otherwise the
    // redacted prompt followed by one part per attachment.
    static AIMessage aiMessage(const AIChatTurn& turn, const QSet<QUuid>& allowedAttachmentIDs,
                               const AIChatHistoryStore& historyStore);

    // requestMessages() as a user-initiated job of the executor. The store is copied (it holds
    // no state), so the job does not depend on the caller's objects staying alive. Never fails.
    static QFuture<QList<AIMessage>> requestMessagesInBackground(TaskExecutor& executor,
                                                                 QList<AIChatTurn> priorTurns,
                                                                 AIChatTurn currentTurn,
                                                                 AIChatHistoryStore historyStore);

    // The notes put in place of an attachment.
    static QString omittedText(const QString& name);
    static QString unavailableText(const QString& name);
    static QString undecodableText(const QString& name);
};

} // namespace plimbo
