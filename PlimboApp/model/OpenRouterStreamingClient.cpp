#include "OpenRouterStreamingClient.h"

#include "AIResponseStream.h"
#include "OpenRouterClient.h"
#include "OpenRouterStream.h"

namespace plimbo {

OpenRouterStreamingClient::OpenRouterStreamingClient(std::shared_ptr<OpenRouterClient> client,
                                                     QObject* parent)
    : QObject(parent)
    , m_client(std::move(client)) {}

OpenRouterStreamingClient::~OpenRouterStreamingClient() = default;

AIResponseStream* OpenRouterStreamingClient::stream(const AIRequest& request,
                                                    const QString& apiKey) {
    OpenRouterStream* source = m_client->stream(request, apiKey);
    // The forwarder lives as long as the client's stream, which deletes itself after its final
    // signal; the signals are forwarded directly, so they arrive in the same order.
    auto* forwarded = new AIResponseStream(request.id, source);
    connect(source, &OpenRouterStream::eventReceived, forwarded, &AIResponseStream::eventReceived);
    connect(source, &OpenRouterStream::finished, forwarded, &AIResponseStream::finished);
    connect(source, &OpenRouterStream::failed, forwarded, &AIResponseStream::failed);
    return forwarded;
}

void OpenRouterStreamingClient::cancel(const QUuid& requestID) {
    m_client->cancel(requestID);
}

} // namespace plimbo
