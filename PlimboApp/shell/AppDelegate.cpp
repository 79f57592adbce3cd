#include "AppDelegate.h"

#include "AppModel.h"
#include "MainThreadContinuation.h"

#include <QPointer>

namespace plimbo {

AppDelegate::AppDelegate(AppModelDependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_arguments(dependencies.arguments)
    , m_model(std::make_unique<AppModel>(std::move(dependencies))) {}

AppDelegate::~AppDelegate() = default;

const QStringList& AppDelegate::previewSwitches() {
    static const QStringList switches{
        QStringLiteral("--show-menu-preview"),         QStringLiteral("--show-notch-preview"),
        QStringLiteral("--show-ai-chat-preview"),      QStringLiteral("--show-mini-ai-preview"),
        QStringLiteral("--show-mini-ai-chat-preview"), QStringLiteral("--show-launcher-preview"),
        QStringLiteral("--show-clipboard-preview"),    QStringLiteral("--show-settings-preview"),
    };
    return switches;
}

bool AppDelegate::isPreviewRun(const QStringList& arguments) {
    for (const QString& candidate : previewSwitches()) {
        if (arguments.contains(candidate)) {
            return true;
        }
    }
    return false;
}

void AppDelegate::start() {
    m_model->start();
}

void AppDelegate::handleSecondLaunch() {
    // Only a start-up that went through shows the dashboard; a delegate gone by then does
    // nothing.
    whenFinished(m_model->start(), this, [this](const QFuture<void>& started) {
        try {
            if (!completedNormally(started)) {
                return;
            }
        } catch (...) {
            return;
        }
        if (!isPreviewRun(m_arguments)) {
            m_model->showDashboard(AppSection::overview);
        }
    });
}

} // namespace plimbo
