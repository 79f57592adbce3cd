// The shipped program plus what the tests need to drive it, built only with the tests (the
// shipped binary has none of it):
// - --openrouter-base-url=URL points the assistant at another server;
// - --history-read-delay-ms=N makes every read of the history file take N ms longer, as on a
//   slow disk;
// - SIGTERM quits the event loop as "Exit Plimbo" does, so a test's stop is an orderly quit
//   whose leaks a sanitizer build checks.
#include "AIChatHistoryStore.h"
#include "AppModelDependencies.h"
#include "OpenRouterClient.h"
#include "OpenRouterStreamingClient.h"
#include "PlimboApplication.h"
#include "StoreFileCalls.h"
#include "XdgFileLocations.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <cstring>
#include <optional>
#include <string_view>
#include <sys/socket.h>
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

int signalSockets[2] = {-1, -1};

void onTerminate(int) {
    const char byte = 1;
    (void)!::write(signalSockets[0], &byte, 1);
}

// Needs the application object; the notifier lives as long as it does.
void quitOnTerminate() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        return;
    }
    auto* notifier =
        new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte;
        (void)!::read(signalSockets[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
}

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
        quitOnTerminate();
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
