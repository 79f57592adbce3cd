#pragma once

#include "AIStreamingClient.h"

#include <QObject>

#include <memory>

namespace plimbo {

class OpenRouterClient;

// The OpenRouter client behind the model's streaming seam.
class OpenRouterStreamingClient : public QObject, public AIStreamingClient {
    Q_OBJECT
public:
    explicit OpenRouterStreamingClient(std::shared_ptr<OpenRouterClient> client,
                                       QObject* parent = nullptr);
    ~OpenRouterStreamingClient() override;

    OpenRouterClient& client() const { return *m_client; }

    AIResponseStream* stream(const AIRequest& request, const QString& apiKey) override;
    void cancel(const QUuid& requestID) override;

private:
    std::shared_ptr<OpenRouterClient> m_client;
};

} // namespace plimbo
