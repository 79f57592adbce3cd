#pragma once

#include "AIResponseStream.h"
#include "AIStreamingClient.h"
#include "OpenRouterError.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <optional>

namespace plimbo::test {

// Records every request and hands out streams the test drives by hand. Like the real client,
// cancel() only records the wish: the stream ends when the test says so (or never).
class FakeAIStreamingClient : public QObject, public AIStreamingClient {
    Q_OBJECT
public:
    struct Call {
        AIRequest request;
        QString apiKey;
        QPointer<AIResponseStream> stream;
    };

    // Thrown by the next stream() calls instead of starting one.
    std::optional<OpenRouterError> refuseWith;
    QList<Call> calls;
    QList<QUuid> cancelled;

    AIResponseStream* stream(const AIRequest& request, const QString& apiKey) override;
    void cancel(const QUuid& requestID) override { cancelled.append(requestID); }

    AIResponseStream* last() const {
        return calls.isEmpty() ? nullptr : calls.last().stream.data();
    }
    void text(const QString& delta) const;
    void usage(qint64 total) const;
    void finishEvent() const;
    // The stream ends normally, then goes away.
    void end() const;
    void fail(const OpenRouterError& error) const;
};

} // namespace plimbo::test
