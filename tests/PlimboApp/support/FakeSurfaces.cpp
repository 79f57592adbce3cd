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

void FakeQuickPanel::hide() {
    m_log->append(m_name + QStringLiteral(".hide"));
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

void FakeNotch::raise() {
    m_log->append(QStringLiteral("notch.raise"));
    presented = true;
}

WindowRouter::Makers FakeSurfaceFactory::makers() {
    const auto panel = [this](const QString& name, FakeQuickPanel*& kept) {
        return [this, name, &kept]() -> std::unique_ptr<QuickPanelController> {
            ++builds;
            auto made = std::make_unique<FakeQuickPanel>(name, log);
            kept = made.get();
            return made;
        };
    };
    const auto window = [this](const QString& name) {
        return [this, name]() -> std::unique_ptr<AppWindowController> {
            ++builds;
            return std::make_unique<FakeWindow>(name, log);
        };
    };
    return {
        .palette = panel(QStringLiteral("palette"), palette),
        .launcher = panel(QStringLiteral("launcher"), launcher),
        .clipboard = panel(QStringLiteral("clipboard"), clipboard),
        .dashboard = window(QStringLiteral("dashboard")),
        .settings = window(QStringLiteral("settings")),
        .about = window(QStringLiteral("about")),
        .menuPreview = window(QStringLiteral("menuPreview")),
        .miniAI = [this]() -> std::unique_ptr<MiniAIController> {
            ++builds;
            auto made = std::make_unique<FakeMiniAI>(log);
            mini = made.get();
            return made;
        },
        .notch = [this]() -> std::unique_ptr<NotchController> {
            ++builds;
            auto made = std::make_unique<FakeNotch>(log);
            made->hardwareNotch = notchHasHardware;
            notch = made.get();
            return made;
        },
    };
}

std::unique_ptr<QuickPanelController>
FakeSurfaceFactory::makeCommandPalette(AppModel&, GlobalSurfaceFocusCoordinator&) {
    return makers().palette();
}

std::unique_ptr<QuickPanelController>
FakeSurfaceFactory::makeLauncher(AppModel&, GlobalSurfaceFocusCoordinator&) {
    return makers().launcher();
}

std::unique_ptr<QuickPanelController>
FakeSurfaceFactory::makeClipboard(AppModel&, GlobalSurfaceFocusCoordinator&) {
    return makers().clipboard();
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeDashboard(AppModel&) {
    return makers().dashboard();
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeSettings(AppModel&) {
    return makers().settings();
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeAbout() {
    return makers().about();
}

std::unique_ptr<AppWindowController> FakeSurfaceFactory::makeMenuPreview(AppModel&) {
    return makers().menuPreview();
}

std::unique_ptr<MiniAIController> FakeSurfaceFactory::makeMiniAI(AppModel&) {
    return makers().miniAI();
}

std::unique_ptr<NotchController> FakeSurfaceFactory::makeNotch(AppModel&) {
    return makers().notch();
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
