#include "SSEParser.h"

namespace plimbo {

namespace {

// Space separators and the tab; line breaks never reach here.
bool isPayloadPadding(QChar c) {
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

} // namespace

SSEParseResult SSEParser::parse(QStringView line) const {
    if (!line.startsWith(u"data:")) {
        return SSEParseResult::ignored();
    }
    QStringView payload = line.mid(5);
    qsizetype begin = 0;
    qsizetype end = payload.size();
    while (begin < end && isPayloadPadding(payload[begin])) {
        ++begin;
    }
    while (end > begin && isPayloadPadding(payload[end - 1])) {
        --end;
    }
    payload = payload.sliced(begin, end - begin);
    if (payload == u"[DONE]") {
        return SSEParseResult::done();
    }
    return SSEParseResult::payload(payload.toUtf8());
}

} // namespace plimbo
