#include "ChatSearchIndex.h"

#include <QSet>

#include <cstring>

namespace plimbo {

namespace {

// Between two texts: never part of a query typed in the search field.
constexpr char kSeparator = '\0';

QByteArray folded(const QString& text) {
    return text.toCaseFolded().toUtf8();
}

} // namespace

bool ChatSearchIndex::isCurrent(const AIChatSession& chat) const {
    const auto found = m_entries.constFind(chat.id);
    // The same list (not only an equal one): the model detaches a chat's turns to change them.
    return found != m_entries.constEnd() && found->turns.size() == chat.turns.size() &&
           found->turns.constData() == chat.turns.constData();
}

const ChatSearchIndex::Entry& ChatSearchIndex::entryFor(const AIChatSession& chat) {
    if (!isCurrent(chat)) {
        Entry entry;
        entry.turns = chat.turns;
        for (const AIChatTurn& turn : chat.turns) {
            entry.folded += folded(turn.prompt);
            entry.folded += kSeparator;
            entry.folded += folded(turn.response);
            entry.folded += kSeparator;
        }
        m_entries.insert(chat.id, std::move(entry));
    }
    return *m_entries.constFind(chat.id);
}

bool ChatSearchIndex::prepare(const QList<AIChatSession>& chats, int count) {
    for (const AIChatSession& chat : chats) {
        if (isCurrent(chat)) {
            continue;
        }
        if (count-- <= 0) {
            return false;
        }
        entryFor(chat);
    }
    return true;
}

QList<AIChatSession> ChatSearchIndex::filter(const QList<AIChatSession>& chats,
                                             const QString& search) {
    const QString query = search.trimmed();
    if (query.isEmpty()) {
        return chats;
    }
    const QByteArray needle = folded(query);
    const bool plain = !needle.contains(kSeparator);
    QList<AIChatSession> kept;
    QSet<QUuid> listed;
    for (const AIChatSession& chat : chats) {
        listed.insert(chat.id);
        bool found = chat.title.contains(query, Qt::CaseInsensitive);
        if (!found && plain) {
            const QByteArray& text = entryFor(chat).folded;
            found = memmem(text.constData(), static_cast<size_t>(text.size()), needle.constData(),
                           static_cast<size_t>(needle.size())) != nullptr;
        }
        for (qsizetype i = 0; !found && !plain && i < chat.turns.size(); ++i) {
            found = chat.turns[i].prompt.contains(query, Qt::CaseInsensitive) ||
                    chat.turns[i].response.contains(query, Qt::CaseInsensitive);
        }
        if (found) {
            kept.append(chat);
        }
    }
    // Chats that are gone take their text with them.
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        it = listed.contains(it.key()) ? std::next(it) : m_entries.erase(it);
    }
    return kept;
}

} // namespace plimbo
