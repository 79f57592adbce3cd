#pragma once

#include "AIChatSession.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

namespace plimbo {

// The history search over long chats: keeps each chat's prompts and replies case-folded, so
// that a keystroke is a plain byte search, and folds a chat again only when its turns changed.
// Matching is the same as QString::contains() ignoring case on each title, prompt and reply.
class ChatSearchIndex {
public:
    // The chats whose title, or any prompt or reply, contains the trimmed search, in their order;
    // all of them for a blank search.
    QList<AIChatSession> filter(const QList<AIChatSession>& chats, const QString& search);

    // Folds up to `count` chats not folded yet; whether every chat of `chats` is folded now.
    bool prepare(const QList<AIChatSession>& chats, int count);

private:
    struct Entry {
        QList<AIChatTurn> turns; // holds the list whose text `folded` is
        QByteArray folded;
    };

    const Entry& entryFor(const AIChatSession& chat);
    bool isCurrent(const AIChatSession& chat) const;

    QHash<QUuid, Entry> m_entries;
};

} // namespace plimbo
