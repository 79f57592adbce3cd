#include "ChatHistoryFuzzTarget.h"

#include "ChatHistoryCodec.h"
#include "FuzzCheck.h"
#include "JsonDecodingError.h"

#include <QByteArray>
#include <QList>

namespace plimbo {

int fuzzChatHistory(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<AIChatSession> sessions;
    try {
        sessions = ChatHistoryCodec::decode(bytes);
    } catch (const JsonDecodingError&) {
        // The store keeps the unreadable file aside; refusing it is the right answer.
        return 0;
    }
    // The first reading may normalise (white space, escapes, number spelling, key order);
    // from then on the history must stay exactly as it is, or every save would change it.
    const QByteArray written = ChatHistoryCodec::encode(sessions);
    QList<AIChatSession> reread;
    try {
        reread = ChatHistoryCodec::decode(written);
    } catch (const JsonDecodingError&) {
        fuzzCheck(false, "the codec reads what it wrote");
    }
    fuzzCheck(reread == sessions, "writing and reading a history gives the same sessions");
    fuzzCheck(ChatHistoryCodec::encode(reread) == written,
              "a history read back writes the same bytes");
    return 0;
}

} // namespace plimbo
