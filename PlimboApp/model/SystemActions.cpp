#include "SystemActions.h"

#include "AirDropService.h"
#include "DesktopServices.h"
#include "FileManagerRevealer.h"
#include "InstalledScreenshotTool.h"
#include "LinuxAirDropService.h"
#include "Pasteboard.h"
#include "QtDesktopServices.h"
#include "ScreenshotTool.h"
#include "SystemActionError.h"
#include "SystemPasteboard.h"

#include <QPromise>

namespace plimbo {

SystemActions::Platform SystemActions::desktopPlatform() {
    auto desktop = std::make_shared<QtDesktopServices>();
    return Platform{desktop, std::make_shared<FileManagerRevealer>(desktop),
                    std::make_shared<InstalledScreenshotTool>(),
                    std::make_shared<LinuxAirDropService>(), std::make_shared<SystemPasteboard>()};
}

SystemActions::SystemActions(Platform platform)
    : m_platform(std::move(platform)) {}

void SystemActions::startScreenshot() {
    switch (m_platform.screenshotTool->open()) {
    case ScreenshotTool::OpenResult::opened:
        return;
    case ScreenshotTool::OpenResult::notInstalled:
        throw SystemActionError(SystemActionError::Kind::screenshotToolMissing);
    case ScreenshotTool::OpenResult::failedToStart:
        throw SystemActionError(SystemActionError::Kind::screenshotToolFailed);
    }
}

void SystemActions::ensureAirDropAvailable() const {
    if (!m_platform.airDrop->isAvailable()) {
        throw SystemActionError(SystemActionError::Kind::airDropUnavailable);
    }
}

void SystemActions::performAirDrop(const QList<QUrl>& files) {
    if (!m_platform.airDrop->canShare(files)) {
        throw SystemActionError(SystemActionError::Kind::airDropUnavailable);
    }
    m_platform.airDrop->share(files);
}

void SystemActions::copyFiles(const QList<QUrl>& files) {
    if (!files.isEmpty()) {
        m_platform.pasteboard->writeFileUrls(files);
    }
}

void SystemActions::openFiles(const QList<QUrl>& files) {
    for (const QUrl& file : files) {
        m_platform.desktop->openUrl(file);
    }
}

QFuture<RevealOutcome> SystemActions::revealFiles(const QList<QUrl>& files) {
    if (files.isEmpty()) {
        QPromise<RevealOutcome> promise;
        promise.start();
        promise.addResult(RevealOutcome::failed);
        promise.finish();
        return promise.future();
    }
    return m_platform.revealer->reveal(files);
}

} // namespace plimbo
