#pragma once

#include "AIChatSession.h"

#include <QByteArray>
#include <QList>

namespace plimbo {

// The history file's JSON, written and read directly (JsonCompactWriter, JsonPullReader) rather
// than through QJsonDocument, which is several times too slow for a full history (100 chats of
// 100 turns, ~25 MB). The output is byte for byte what QJsonDocument writes for the records'
// toJson() (compact, keys in sorted order), and reading follows the records' fromJson() rules:
// strict types, missing or null optionals absent, unknown keys ignored, any fault fails the
// whole document with JsonDecodingError. The reader's grammar is stricter than QJsonDocument's
// in strings (raw control characters and unknown escapes fail) and does not check the UTF-8 of
// keys it ignores; neither ever occurs in a file this codec wrote.
class ChatHistoryCodec {
public:
    static QByteArray encode(const QList<AIChatSession>& sessions);
    static QList<AIChatSession> decode(const QByteArray& bytes);
};

} // namespace plimbo
