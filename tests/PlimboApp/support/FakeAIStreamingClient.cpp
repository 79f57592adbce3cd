#include "FakeAIStreamingClient.h"

namespace plimbo::test {

AIResponseStream* FakeAIStreamingClient::stream(const AIRequest& request, const QString& apiKey) {
    if (refuseWith) {
        throw *refuseWith;
    }
    auto* stream = new AIResponseStream(request.id, this);
    calls.append({request, apiKey, stream});
    return stream;
}

void FakeAIStreamingClient::text(const QString& delta) const {
    emit last()->eventReceived(AIStreamEvent::makeText(delta));
}

void FakeAIStreamingClient::usage(qint64 total) const {
    emit last()->eventReceived(AIStreamEvent::makeUsage(AIUsage{1, 2, total}));
}

void FakeAIStreamingClient::finishEvent() const {
    emit last()->eventReceived(AIStreamEvent::makeFinished(QStringLiteral("stop")));
}

void FakeAIStreamingClient::end() const {
    AIResponseStream* stream = last();
    emit stream->finished();
    stream->deleteLater();
}

void FakeAIStreamingClient::fail(const OpenRouterError& error) const {
    AIResponseStream* stream = last();
    emit stream->failed(error);
    stream->deleteLater();
}

} // namespace plimbo::test
