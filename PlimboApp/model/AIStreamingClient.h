#pragma once

#include "AIRequest.h"

#include <QString>
#include <QUuid>

namespace plimbo {

class AIResponseStream;

// What the model needs of the provider client: one streamed request at a time, cancellable
// by its id. Lives on the main thread.
class AIStreamingClient {
public:
    virtual ~AIStreamingClient() = default;

    // Starts the request. Throws a PlimboError (a missing or unusable key, a body that cannot
    // be written) when nothing could be sent. Connect to the stream right away: it emits
    // nothing before control returns to the event loop.
    virtual AIResponseStream* stream(const AIRequest& request, const QString& apiKey) = 0;
    // Stops that request's stream, which then fails with OpenRouterError::cancelled; an
    // unknown id does nothing.
    virtual void cancel(const QUuid& requestID) = 0;
};

} // namespace plimbo
