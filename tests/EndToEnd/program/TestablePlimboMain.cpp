// The shipped program plus one switch, --openrouter-base-url=URL, that points the assistant at
// another server. Built only with the tests; the shipped binary has no such switch.
#include "AppModelDependencies.h"
#include "OpenRouterClient.h"
#include "OpenRouterStreamingClient.h"
#include "PlimboApplication.h"

#include <QUrl>

#include <cstring>
#include <optional>
#include <string_view>

int main(int argc, char** argv) {
    constexpr std::string_view prefix = "--openrouter-base-url=";
    std::optional<QUrl> baseUrl;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument.starts_with(prefix)) {
            baseUrl = QUrl(QString::fromUtf8(argument.substr(prefix.size())));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;

    return plimbo::PlimboApplication::main(argc, argv, [baseUrl](plimbo::AppModelDependencies& d) {
        if (baseUrl) {
            auto client = std::make_shared<plimbo::OpenRouterClient>(
                *baseUrl, plimbo::OpenRouterClient::Timeouts{});
            d.aiClient = std::make_shared<plimbo::OpenRouterStreamingClient>(client);
        }
    });
}
