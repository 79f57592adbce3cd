#include "AIResponseStream.h"

namespace plimbo {

AIResponseStream::AIResponseStream(const QUuid& requestId, QObject* parent)
    : QObject(parent)
    , m_requestId(requestId) {}

} // namespace plimbo
