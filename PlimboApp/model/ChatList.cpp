#include "ChatList.h"

#include "AIChatHistoryStore.h"
#include "Clock.h"
#include "FailureText.h"
#include "MainThreadContinuation.h"
#include "PropertyAssign.h"
#include "StoredAttachments.h"
#include "TaskExecutor.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace plimbo {

ChatList::ChatList(std::shared_ptr<AIChatHistoryStore> store, const Clock& clock,
                   StoredAttachments& attachments, QObject* parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_clock(clock)
    , m_attachments(attachments) {}

namespace {

// What the background load hands to the main thread.
struct LoadedHistory {
    QList<AIChatSession> chats;
    std::optional<QString> failure;
    bool canWrite = true;
};

LoadedHistory readHistory(AIChatHistoryStore& store) {
    LoadedHistory result;
    QList<AIChatSession> loaded;
    try {
        loaded = store.load();
    } catch (...) {
        // The file stays out of the way (with its attachment folder), so nothing it refers to
        // is reconciled away in this run.
        try {
            const std::optional<QString> preserved = store.quarantineUnreadableHistory();
            result.failure =
                QStringLiteral(
                    "Chat history could not be read. The original file was preserved as ") +
                (preserved ? QFileInfo(*preserved).fileName() : QStringLiteral("a recovery file")) +
                QStringLiteral(".");
        } catch (...) {
            result.canWrite = false;
            result.failure = QStringLiteral("Chat history could not be read and was left "
                                            "unchanged. Saving is disabled for this session.");
        }
        return result;
    }

    bool changed = loaded.size() > ChatList::maximumChats;
    // A merged or hand-edited file may name two chats alike; each must stay selectable and be
    // deleted alone.
    QSet<QUuid> ids;
    for (AIChatSession& chat : loaded) {
        if (ids.contains(chat.id)) {
            chat.id = QUuid::createUuid();
            changed = true;
        }
        ids.insert(chat.id);
        if (chat.turns.size() > ChatList::maximumTurnsPerChat) {
            changed = true;
        }
        for (AIChatTurn& turn : chat.turns) {
            // The application quit while this reply streamed.
            if (turn.state == AIChatTurnState::streaming) {
                turn.state = AIChatTurnState::stopped;
                changed = true;
            }
        }
    }
    // Files of dropped turns and chats go with the clean-up below.
    ChatList::applyHistoryLimits(loaded);
    if (changed) {
        try {
            store.save(loaded);
        } catch (...) {
            // The next save writes the trimmed list again.
            logSwallowedFailure("Saving the trimmed chat history");
        }
    }
    // Nothing can add attachments before the history is published, so every file no stored
    // turn refers to is left over from an earlier run.
    try {
        store.reconcileAttachments(ChatList::referencedAttachmentFileNames(loaded, {}));
    } catch (...) {
        // A folder that cannot be cleaned now is cleaned at a later start.
        logSwallowedFailure("Cleaning the attachment folder");
    }
    result.chats = loaded;
    return result;
}

} // namespace

void ChatList::load(TaskExecutor& executor) {
    if (m_isLoading || m_isLoaded) {
        return;
    }
    m_isLoading = true;
    const std::shared_ptr<AIChatHistoryStore> store = m_store;
    const QFuture<LoadedHistory> reading = runInBackground(
        executor, TaskExecutor::Priority::userInitiated, [store] { return readHistory(*store); });
    whenFinished(reading, this, [this](const QFuture<LoadedHistory>& done) {
        std::optional<LoadedHistory> read;
        try {
            read = resultOf(done);
        } catch (...) {
            // Reported below like a job that never ran.
        }
        LoadedHistory history;
        if (read) {
            history = *read;
        } else {
            // The file was not read, so it must not be saved over.
            history.canWrite = false;
            history.failure = QStringLiteral("Chat history could not be read and was left "
                                             "unchanged. Saving is disabled for this session.");
        }
        m_isLoading = false;
        if (!history.canWrite) {
            m_canWrite = false;
        }
        // Chats made meanwhile are newer than anything stored, and the file does not hold them.
        const bool madeMeanwhile = !m_showsSamples && !m_chats.isEmpty();
        if (!m_showsSamples) {
            QList<AIChatSession> merged = m_chats;
            for (const AIChatSession& stored : std::as_const(history.chats)) {
                if (indexOf(stored.id) < 0) {
                    merged.append(stored);
                }
            }
            publishWithinLimits(merged);
            // A chat the user started or chose meanwhile stays where they are typing.
            if (!m_selectionIsUsers && !m_chats.isEmpty()) {
                const AIChatSession& newest = m_chats.first();
                setSelectedID(newest.id);
                setConversation(newest.turns);
                m_attachments.preload(attachmentsOf(newest.turns));
            }
        }
        assign(this, m_isLoaded, true, &ChatList::isLoadedChanged);
        if (madeMeanwhile) {
            persist();
        }
        if (history.failure) {
            emit failed(*history.failure);
        }
    });
}

void ChatList::useSampleChats() {
    m_canWrite = false;
    m_showsSamples = true;
}

void ChatList::setChats(const QList<AIChatSession>& chats) {
    assign(this, m_chats, chats, &ChatList::chatsChanged);
}

void ChatList::setSelectedID(const std::optional<QUuid>& id) {
    assign(this, m_selectedID, id, &ChatList::selectedIDChanged);
}

void ChatList::setConversation(const QList<AIChatTurn>& turns) {
    assign(this, m_conversation, turns, &ChatList::conversationChanged);
}

void ChatList::showNewTurn(const AIChatTurn& turn) {
    setConversation(m_conversation + QList<AIChatTurn>{turn});
}

bool ChatList::updateTurn(const QUuid& chatID, const QUuid& turnID,
                          const std::function<void(AIChatTurn&)>& change, bool applyLimits) {
    const qsizetype chatIndex = indexOf(chatID);
    if (chatIndex < 0) {
        return false;
    }
    QList<AIChatSession> chats = m_chats;
    AIChatSession& chat = chats[chatIndex];
    auto turn = std::find_if(chat.turns.begin(), chat.turns.end(),
                             [&](const AIChatTurn& candidate) { return candidate.id == turnID; });
    if (turn == chat.turns.end()) {
        return false;
    }
    change(*turn);
    chat.updatedAt = m_clock.now();
    if (applyLimits) {
        publishWithinLimits(chats);
    } else {
        setChats(chats);
    }
    if (m_selectedID == chatID) {
        const qsizetype kept = indexOf(chatID);
        setConversation(kept >= 0 ? m_chats[kept].turns : QList<AIChatTurn>{});
    }
    return true;
}

void ChatList::showSampleChats(const QList<AIChatSession>& chats, const QUuid& selected) {
    setChats(chats);
    setSelectedID(selected);
    const qsizetype index = indexOf(selected);
    setConversation(index >= 0 ? m_chats[index].turns : QList<AIChatTurn>{});
}

void ChatList::showSampleTurns(const QList<AIChatTurn>& turns) {
    setConversation(turns);
}

qsizetype ChatList::indexOf(const QUuid& id) const {
    for (qsizetype i = 0; i < m_chats.size(); ++i) {
        if (m_chats[i].id == id) {
            return i;
        }
    }
    return -1;
}

QString ChatList::response(const QUuid& turnID, const QUuid& chatID) const {
    const qsizetype chatIndex = indexOf(chatID);
    if (chatIndex < 0) {
        return QString();
    }
    for (const AIChatTurn& turn : m_chats[chatIndex].turns) {
        if (turn.id == turnID) {
            return turn.response;
        }
    }
    return QString();
}

void ChatList::publishWithinLimits(QList<AIChatSession> chats) {
    const QList<AIChatAttachment> dropped = applyHistoryLimits(chats);
    setChats(chats);
    removeUnused(dropped);
}

void ChatList::removeUnused(const QList<AIChatAttachment>& attachments) {
    const QSet<QString> used = referencedAttachmentFileNames(m_chats, {});
    QList<AIChatAttachment> unused = attachments;
    unused.removeIf([&](const AIChatAttachment& attachment) {
        return used.contains(attachment.storageFileName);
    });
    m_attachments.remove(unused);
}

bool ChatList::show(const QUuid& id) {
    const qsizetype index = indexOf(id);
    if (index < 0) {
        return false;
    }
    const AIChatSession chat = m_chats[index];
    keepSelection();
    setSelectedID(id);
    setConversation(chat.turns);
    return true;
}

void ChatList::showNone() {
    keepSelection();
    setSelectedID(std::nullopt);
    setConversation({});
}

void ChatList::ensureSelected(const QString& prompt) {
    keepSelection();
    if (m_selectedID && indexOf(*m_selectedID) >= 0) {
        return;
    }
    const QDateTime now = m_clock.now();
    const AIChatSession chat{QUuid::createUuid(), chatTitle(prompt), {}, now, now};
    QList<AIChatSession> chats = m_chats;
    chats.prepend(chat);
    publishWithinLimits(chats);
    setSelectedID(chat.id);
}

void ChatList::syncSelected(bool persist) {
    if (!m_selectedID) {
        return;
    }
    const qsizetype index = indexOf(*m_selectedID);
    if (index < 0) {
        return;
    }
    QList<AIChatSession> chats = m_chats;
    chats[index].turns = m_conversation;
    chats[index].updatedAt = m_clock.now();
    publishWithinLimits(chats);

    const qsizetype kept = indexOf(*m_selectedID);
    setConversation(kept >= 0 ? m_chats[kept].turns : QList<AIChatTurn>{});
    if (persist) {
        this->persist();
    }
}

void ChatList::rename(const QUuid& id, const QString& title) {
    const QString trimmed = title.trimmed();
    const qsizetype index = indexOf(id);
    if (trimmed.isEmpty() || index < 0) {
        return;
    }
    QList<AIChatSession> chats = m_chats;
    chats[index].title = trimmed;
    setChats(chats);
    persist();
}

void ChatList::remove(const QUuid& id) {
    QList<AIChatAttachment> attachments;
    for (const AIChatSession& chat : std::as_const(m_chats)) {
        if (chat.id == id) {
            attachments += attachmentsOf(chat.turns);
        }
    }
    QList<AIChatSession> chats = m_chats;
    chats.removeIf([&](const AIChatSession& chat) { return chat.id == id; });
    setChats(chats);
    // A file another chat names stays with it.
    removeUnused(attachments);
    persist();
}

void ChatList::persist() {
    if (!m_canWrite || !m_isLoaded) {
        return;
    }
    try {
        m_store->save(m_chats);
    } catch (...) {
        emit failed(QStringLiteral("Chat history could not be saved. ") +
                    describeFailure(std::current_exception()));
    }
}

QString ChatList::chatTitle(const QString& prompt) {
    static const QRegularExpression whitespace(QStringLiteral("\\s+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    const QString joined = prompt.split(whitespace, Qt::SkipEmptyParts).join(u' ');

    // Counted in user-perceived characters, so a cut never splits one.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, joined);
    qsizetype count = 0;
    qsizetype cutAt = -1;
    while (graphemes.toNextBoundary() >= 0) {
        ++count;
        if (count == maximumTitleLength - 1) {
            cutAt = graphemes.position();
        }
    }
    if (count <= maximumTitleLength) {
        return joined;
    }
    return joined.left(cutAt).trimmed() + QStringLiteral("…");
}

QList<AIChatAttachment> ChatList::attachmentsOf(const QList<AIChatTurn>& turns) {
    QList<AIChatAttachment> attachments;
    for (const AIChatTurn& turn : turns) {
        attachments += turn.attachments;
    }
    return attachments;
}

QSet<QString> ChatList::referencedAttachmentFileNames(const QList<AIChatSession>& chats,
                                                      const QList<AIChatAttachment>& pending) {
    QSet<QString> names;
    for (const AIChatSession& chat : chats) {
        for (const AIChatTurn& turn : chat.turns) {
            for (const AIChatAttachment& attachment : turn.attachments) {
                names.insert(attachment.storageFileName);
            }
        }
    }
    for (const AIChatAttachment& attachment : pending) {
        names.insert(attachment.storageFileName);
    }
    return names;
}

QList<AIChatAttachment> ChatList::applyHistoryLimits(QList<AIChatSession>& chats) {
    QList<AIChatAttachment> dropped;
    for (AIChatSession& chat : chats) {
        const qsizetype excess = chat.turns.size() - maximumTurnsPerChat;
        if (excess > 0) {
            dropped += attachmentsOf(chat.turns.first(excess));
            chat.turns.remove(0, excess);
        }
    }
    std::stable_sort(
        chats.begin(), chats.end(),
        [](const AIChatSession& a, const AIChatSession& b) { return a.updatedAt > b.updatedAt; });
    if (chats.size() > maximumChats) {
        for (qsizetype i = maximumChats; i < chats.size(); ++i) {
            dropped += attachmentsOf(chats[i].turns);
        }
        chats.resize(maximumChats);
    }
    return dropped;
}

} // namespace plimbo
