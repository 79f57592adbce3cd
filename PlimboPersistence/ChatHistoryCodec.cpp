#include "ChatHistoryCodec.h"

#include "JsonCompactWriter.h"
#include "JsonPullReader.h"

namespace plimbo {

namespace {

using Reason = JsonDecodingError::Reason;

// Each record's writer and reader side by side. The writer puts keys in sorted order, as
// QJsonObject keeps them; the reader takes them in any order and ignores unknown ones.

void writeDate(JsonCompactWriter& w, const ChatDate& date) {
    w.number(date.secondsSinceReferenceDate());
}

ChatDate readDate(JsonPullReader& r, const char* key) {
    const double seconds = r.requireDouble(key);
    if (!ChatDate::isReadableSeconds(seconds)) {
        JsonPullReader::fail(Reason::invalidValue, key, "invalid date");
    }
    return ChatDate::fromSecondsSinceReferenceDate(seconds);
}

void writeAttachment(JsonCompactWriter& w, const AIChatAttachment& attachment) {
    w.raw('{');
    w.key("byteCount", true);
    w.integer(attachment.byteCount);
    w.key("id");
    w.uuid(attachment.id);
    w.key("kind");
    w.string(toString(attachment.kind));
    w.key("mimeType");
    w.string(attachment.mimeType);
    w.key("name");
    w.string(attachment.name);
    w.key("storageFileName");
    w.string(attachment.storageFileName);
    w.raw('}');
}

AIChatAttachment readAttachment(JsonPullReader& r) {
    r.beginObject("attachment");
    AIChatAttachment attachment;
    bool id = false, name = false, mimeType = false, kind = false, byteCount = false,
         storageFileName = false;
    QByteArray key;
    while (r.nextKey(key)) {
        if (key == "byteCount") {
            attachment.byteCount = r.requireInteger("byteCount");
            byteCount = true;
        } else if (key == "id") {
            attachment.id = r.requireUuid("id");
            id = true;
        } else if (key == "kind") {
            const std::optional<AIChatAttachmentKind> value =
                aiChatAttachmentKindFromString(r.requireString("kind"));
            if (!value) {
                JsonPullReader::fail(Reason::invalidValue, "kind", "unknown attachment kind");
            }
            attachment.kind = *value;
            kind = true;
        } else if (key == "mimeType") {
            attachment.mimeType = r.requireString("mimeType");
            mimeType = true;
        } else if (key == "name") {
            attachment.name = r.requireString("name");
            name = true;
        } else if (key == "storageFileName") {
            attachment.storageFileName = r.requireString("storageFileName");
            storageFileName = true;
        } else {
            r.skipValue();
        }
        r.afterValue();
    }
    JsonPullReader::requirePresent(id, "id");
    JsonPullReader::requirePresent(name, "name");
    JsonPullReader::requirePresent(mimeType, "mimeType");
    JsonPullReader::requirePresent(kind, "kind");
    JsonPullReader::requirePresent(byteCount, "byteCount");
    JsonPullReader::requirePresent(storageFileName, "storageFileName");
    return attachment;
}

void writeTurn(JsonCompactWriter& w, const AIChatTurn& turn) {
    w.raw('{');
    w.key("attachments", true);
    w.raw('[');
    for (qsizetype i = 0; i < turn.attachments.size(); ++i) {
        if (i > 0) {
            w.raw(',');
        }
        writeAttachment(w, turn.attachments.at(i));
    }
    w.raw(']');
    w.key("createdAt");
    writeDate(w, turn.createdAt);
    if (turn.failureMessage) {
        w.key("failureMessage");
        w.string(*turn.failureMessage);
    }
    w.key("id");
    w.uuid(turn.id);
    w.key("prompt");
    w.string(turn.prompt);
    w.key("response");
    w.string(turn.response);
    w.key("state");
    w.string(toString(turn.state));
    w.raw('}');
}

AIChatTurn readTurn(JsonPullReader& r) {
    r.beginObject("turn");
    AIChatTurn turn;
    bool id = false, prompt = false, response = false, createdAt = false;
    QByteArray key;
    while (r.nextKey(key)) {
        if (key == "attachments") {
            turn.attachments.clear();
            if (!r.skipNull()) {
                r.beginArray("attachments");
                while (r.hasElement()) {
                    turn.attachments.append(readAttachment(r));
                    r.afterValue();
                }
            }
        } else if (key == "createdAt") {
            turn.createdAt = readDate(r, "createdAt");
            createdAt = true;
        } else if (key == "failureMessage") {
            turn.failureMessage = r.optionalString("failureMessage");
        } else if (key == "id") {
            turn.id = r.requireUuid("id");
            id = true;
        } else if (key == "prompt") {
            turn.prompt = r.requireString("prompt");
            prompt = true;
        } else if (key == "response") {
            turn.response = r.requireString("response");
            response = true;
        } else if (key == "state") {
            turn.state = AIChatTurnState::completed;
            if (const std::optional<QString> raw = r.optionalString("state")) {
                const std::optional<AIChatTurnState> state = aiChatTurnStateFromString(*raw);
                if (!state) {
                    JsonPullReader::fail(Reason::invalidValue, "state", "unknown turn state");
                }
                turn.state = *state;
            }
        } else {
            r.skipValue();
        }
        r.afterValue();
    }
    JsonPullReader::requirePresent(id, "id");
    JsonPullReader::requirePresent(prompt, "prompt");
    JsonPullReader::requirePresent(response, "response");
    JsonPullReader::requirePresent(createdAt, "createdAt");
    return turn;
}

void writeSession(JsonCompactWriter& w, const AIChatSession& session) {
    w.raw('{');
    w.key("createdAt", true);
    writeDate(w, session.createdAt);
    w.key("id");
    w.uuid(session.id);
    w.key("title");
    w.string(session.title);
    w.key("turns");
    w.raw('[');
    for (qsizetype i = 0; i < session.turns.size(); ++i) {
        if (i > 0) {
            w.raw(',');
        }
        writeTurn(w, session.turns.at(i));
    }
    w.raw(']');
    w.key("updatedAt");
    writeDate(w, session.updatedAt);
    w.raw('}');
}

AIChatSession readSession(JsonPullReader& r) {
    r.beginObject("session");
    AIChatSession session;
    bool id = false, title = false, turns = false, createdAt = false, updatedAt = false;
    QByteArray key;
    while (r.nextKey(key)) {
        if (key == "createdAt") {
            session.createdAt = readDate(r, "createdAt");
            createdAt = true;
        } else if (key == "id") {
            session.id = r.requireUuid("id");
            id = true;
        } else if (key == "title") {
            session.title = r.requireString("title");
            title = true;
        } else if (key == "turns") {
            r.beginArray("turns");
            session.turns.clear();
            while (r.hasElement()) {
                session.turns.append(readTurn(r));
                r.afterValue();
            }
            turns = true;
        } else if (key == "updatedAt") {
            session.updatedAt = readDate(r, "updatedAt");
            updatedAt = true;
        } else {
            r.skipValue();
        }
        r.afterValue();
    }
    JsonPullReader::requirePresent(id, "id");
    JsonPullReader::requirePresent(title, "title");
    JsonPullReader::requirePresent(turns, "turns");
    JsonPullReader::requirePresent(createdAt, "createdAt");
    JsonPullReader::requirePresent(updatedAt, "updatedAt");
    return session;
}

} // namespace

QByteArray ChatHistoryCodec::encode(const QList<AIChatSession>& sessions) {
    qsizetype expected = 2;
    for (const AIChatSession& session : sessions) {
        for (const AIChatTurn& turn : session.turns) {
            expected += 256 + turn.prompt.size() + turn.response.size() * 11 / 10;
        }
    }
    JsonCompactWriter w(expected);
    w.raw('[');
    for (qsizetype i = 0; i < sessions.size(); ++i) {
        if (i > 0) {
            w.raw(',');
        }
        writeSession(w, sessions.at(i));
    }
    w.raw(']');
    return w.take();
}

QList<AIChatSession> ChatHistoryCodec::decode(const QByteArray& bytes) {
    JsonPullReader r(bytes);
    r.beginArray("history");
    QList<AIChatSession> sessions;
    while (r.hasElement()) {
        sessions.append(readSession(r));
        r.afterValue();
    }
    r.finish();
    return sessions;
}

} // namespace plimbo
