// The shipped program plus what the tests need to drive it, built only with the tests (the
// shipped binary has none of it):
// - --openrouter-base-url=URL points the assistant at another server;
// - --history-read-delay-ms=N makes every read of the history file take N ms longer, as on a
//   slow disk.
#include "AIChatHistoryStore.h"
#include "AppModelDependencies.h"
#include "OpenRouterClient.h"
#include "OpenRouterStreamingClient.h"
#include "PlimboApplication.h"
#include "StoreFileCalls.h"
#include "XdgFileLocations.h"

#include <QByteArrayView>
#include <QThread>
#include <QUrl>

#include <optional>
#include <string_view>
#include <unistd.h>

namespace {

class SlowReads : public plimbo::StoreFileCalls {
public:
    explicit SlowReads(int delayMs)
        : m_delayMs(delayMs) {}
    ssize_t read(int descriptor, void* buffer, size_t size) const override {
        QThread::msleep(m_delayMs);
        return StoreFileCalls::read(descriptor, buffer, size);
    }

private:
    int m_delayMs;
};

} // namespace

int main(int argc, char** argv) {
    constexpr std::string_view baseUrlPrefix = "--openrouter-base-url=";
    constexpr std::string_view delayPrefix = "--history-read-delay-ms=";
    std::optional<QUrl> baseUrl;
    int readDelayMs = 0;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument.starts_with(baseUrlPrefix)) {
            baseUrl = QUrl(QString::fromUtf8(argument.substr(baseUrlPrefix.size())));
        } else if (argument.starts_with(delayPrefix)) {
            readDelayMs = QByteArrayView(argument.substr(delayPrefix.size())).toInt();
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;

    return plimbo::PlimboApplication::main(argc, argv, [=](plimbo::AppModelDependencies& d) {
        if (baseUrl) {
            auto client = std::make_shared<plimbo::OpenRouterClient>(
                *baseUrl, plimbo::OpenRouterClient::Timeouts{});
            d.aiClient = std::make_shared<plimbo::OpenRouterStreamingClient>(client);
        }
        if (readDelayMs > 0) {
            d.historyStore = std::make_shared<plimbo::AIChatHistoryStore>(
                d.historyStore->fileURL(), d.historyStore->attachmentsDirectoryURL(),
                plimbo::XdgFileLocations(), nullptr, nullptr,
                std::make_shared<SlowReads>(readDelayMs));
        }
    });
}
