#include "FakeSurfaces.h"

#include "PlimboError.h"

#include <QPromise>

namespace plimbo::test {

namespace {

class FakeCameraError : public PlimboError {
public:
    explicit FakeCameraError(QString text)
        : m_text(std::move(text)) {}
    QString description() const override { return m_text; }

private:
    QString m_text;
};

} // namespace

void FakeQuickPanel::show() {
    m_log->append(m_name + QStringLiteral(".show"));
    visible = true;
    monitoring = true;
}

void FakeQuickPanel::stopOutsideClickMonitoring() {
    m_log->append(m_name + QStringLiteral(".stopMonitoring"));
    monitoring = false;
}

void FakeQuickPanel::orderOut() {
    m_log->append(m_name + QStringLiteral(".orderOut"));
    visible = false;
}

void FakeMiniAI::show() {
    m_log->append(QStringLiteral("mini.show"));
    visible = true;
}

void FakeNotch::refreshGeometry(std::optional<bool>) {
    m_log->append(QStringLiteral("notch.refreshGeometry"));
}

void FakeNotch::show(bool expanded) {
    m_log->append(expanded ? QStringLiteral("notch.showExpanded") : QStringLiteral("notch.show"));
    presented = true;
}

void FakeNotch::hide() {
    m_log->append(QStringLiteral("notch.hide"));
    presented = false;
}

void FakeNotch::presentFront() {
    m_log->append(QStringLiteral("notch.presentFront"));
    presented = true;
}

std::unique_ptr<QuickPanelController>
FakeSurfaceFactory::makeCommandPalette(AppModel&, GlobalSurfaceFocusCoordinator&) {
    ++builds;
    auto panel = std::make_unique<FakeQuickPanel>(QStringLiteral("palette"), log);
    palette = panel.get();
    return panel;
}

std::unique_ptr<QuickPanelController>
FakeSurfaceFactory::makeLauncher(AppModel&, GlobalSurfaceFocusCoordinator&) {
    ++builds;
    auto panel = std::make_unique<FakeQuickPanel>(QStringLiteral("launcher"), log);
    launcher = panel.get();
    return panel;
}

std::unique_ptr<QuickPanelController>
FakeSurfaceFactory::makeClipboard(AppModel&, GlobalSurfaceFocusCoordinator&) {
    ++builds;
    auto panel = std::make_unique<FakeQuickPanel>(QStringLiteral("clipboard"), log);
    clipboard = panel.get();
    return panel;
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeDashboard(AppModel&) {
    ++builds;
    return std::make_unique<FakeWindow>(QStringLiteral("dashboard"), log);
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeSettings(AppModel&) {
    ++builds;
    return std::make_unique<FakeWindow>(QStringLiteral("settings"), log);
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeAbout() {
    ++builds;
    return std::make_unique<FakeWindow>(QStringLiteral("about"), log);
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeMenuPreview(AppModel&) {
    ++builds;
    return std::make_unique<FakeWindow>(QStringLiteral("menuPreview"), log);
}

std::unique_ptr<MiniAIController> FakeSurfaceFactory::makeMiniAI(AppModel&) {
    ++builds;
    auto panel = std::make_unique<FakeMiniAI>(log);
    mini = panel.get();
    return panel;
}

std::unique_ptr<NotchController> FakeSurfaceFactory::makeNotch(AppModel&) {
    ++builds;
    auto controller = std::make_unique<FakeNotch>(log);
    controller->hardwareNotch = notchHasHardware;
    notch = controller.get();
    return controller;
}

void FakeFileChooser::chooseFiles(const Options& options,
                                  std::function<void(const QList<QUrl>&)> done) {
    ++requests;
    lastOptions = options;
    m_done = std::move(done);
}

bool FakeFileChooser::complete(const QList<QUrl>& urls) {
    if (!m_done) {
        return false;
    }
    std::exchange(m_done, {})(urls);
    return true;
}

QFuture<void> FakeMiniCamera::toggle() {
    QPromise<void> promise;
    promise.start();
    if (failure) {
        promise.setException(std::make_exception_ptr(FakeCameraError(*failure)));
    } else {
        active = !active;
    }
    promise.finish();
    return promise.future();
}

void FakeMiniCamera::stop() {
    ++stops;
    active = false;
}

} // namespace plimbo::test
