#pragma once

#include "AIStreamEvent.h"
#include "OpenRouterError.h"

#include <QObject>
#include <QUuid>

namespace plimbo {

// The streamed answer of one chat request as the model consumes it: events in order, then
// exactly one of finished() or failed(). Whoever produces a stream emits its signals; the
// producer owns it and deletes it after the final signal.
class AIResponseStream : public QObject {
    Q_OBJECT
public:
    explicit AIResponseStream(const QUuid& requestID, QObject* parent = nullptr);

    QUuid requestID() const { return m_requestID; }

signals:
    void eventReceived(const plimbo::AIStreamEvent& event);
    // The stream ended normally (with or without a finish event before it).
    void finished();
    void failed(const plimbo::OpenRouterError& error);

private:
    QUuid m_requestID;
};

} // namespace plimbo
