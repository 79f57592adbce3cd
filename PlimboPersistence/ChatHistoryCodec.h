#pragma once

#include "AIChatSession.h"

#include <QByteArray>
#include <QList>

namespace plimbo {

// The history file's JSON, written and read directly rather than through QJsonDocument, which
// is several times too slow for a full history (100 chats of 100 turns, ~25 MB). The output is
// byte for byte what QJsonDocument writes for the records' toJson() (compact, keys in sorted
// order), and reading follows the records' fromJson() rules exactly: strict types, missing or
// null optionals absent, unknown keys ignored, any fault fails the whole document with
// JsonDecodingError.
class ChatHistoryCodec {
public:
    static QByteArray encode(const QList<AIChatSession>& sessions);
    static QList<AIChatSession> decode(const QByteArray& bytes);
};

} // namespace plimbo
