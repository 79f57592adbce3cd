#include "AIResponseStream.h"

namespace plimbo {

AIResponseStream::AIResponseStream(const QUuid& requestID, QObject* parent)
    : QObject(parent)
    , m_requestID(requestID) {}

} // namespace plimbo
