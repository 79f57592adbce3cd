#pragma once

#include "AppSurfaceFactory.h"
#include "AppWindowController.h"
#include "FileChooser.h"
#include "MiniAIController.h"
#include "MiniCamera.h"
#include "NotchController.h"
#include "QuickPanelController.h"
#include "WindowRouter.h"

#include <QFuture>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace plimbo::test {

// Every fake surface writes "<name>.<call>" into one shared log, so tests can check the order
// of calls across panels.
using SurfaceLog = std::shared_ptr<QStringList>;

class FakeQuickPanel : public QuickPanelController {
public:
    FakeQuickPanel(QString name, SurfaceLog log)
        : m_name(std::move(name))
        , m_log(std::move(log)) {}

    bool visible = false;
    bool monitoring = false;

    void show() override;
    void stopOutsideClickMonitoring() override;
    void hide() override;

private:
    QString m_name;
    SurfaceLog m_log;
};

class FakeWindow : public AppWindowController {
public:
    FakeWindow(QString name, SurfaceLog log)
        : m_name(std::move(name))
        , m_log(std::move(log)) {}

    void bringToFront() override { m_log->append(m_name + QStringLiteral(".front")); }

private:
    QString m_name;
    SurfaceLog m_log;
};

class FakeMiniAI : public MiniAIController {
public:
    explicit FakeMiniAI(SurfaceLog log)
        : m_log(std::move(log)) {}

    bool visible = false;

    void show() override;

private:
    SurfaceLog m_log;
};

class FakeNotch : public NotchController {
public:
    explicit FakeNotch(SurfaceLog log)
        : m_log(std::move(log)) {}

    bool hardwareNotch = false;
    bool presented = false;

    void refreshGeometry(std::optional<bool> expanded) override;
    void show(bool expanded) override;
    void hide() override;
    bool isPresented() const override { return presented; }
    void raise() override;
    bool hasHardwareNotch() const override { return hardwareNotch; }

private:
    SurfaceLog m_log;
};

// Builds the fakes above and keeps pointers to what it built (owned by the model).
class FakeSurfaceFactory : public AppSurfaceFactory {
public:
    SurfaceLog log = std::make_shared<QStringList>();
    // Whether a notch built from now on sits on a screen with a camera housing.
    bool notchHasHardware = false;
    int builds = 0;

    FakeQuickPanel* palette = nullptr;
    FakeQuickPanel* launcher = nullptr;
    FakeQuickPanel* clipboard = nullptr;
    FakeMiniAI* mini = nullptr;
    FakeNotch* notch = nullptr;

    // The same fakes, for a window router built without a model.
    WindowRouter::Makers makers();

    std::unique_ptr<QuickPanelController>
    makeCommandPalette(AppModel&, GlobalSurfaceFocusCoordinator&) override;
    std::unique_ptr<QuickPanelController> makeLauncher(AppModel&,
                                                       GlobalSurfaceFocusCoordinator&) override;
    std::unique_ptr<QuickPanelController> makeClipboard(AppModel&,
                                                        GlobalSurfaceFocusCoordinator&) override;
    std::unique_ptr<AppWindowController> makeDashboard(AppModel&) override;
    std::unique_ptr<AppWindowController> makeSettings(AppModel&) override;
    std::unique_ptr<AppWindowController> makeAbout() override;
    std::unique_ptr<AppWindowController> makeMenuPreview(AppModel&) override;
    std::unique_ptr<MiniAIController> makeMiniAI(AppModel&) override;
    std::unique_ptr<NotchController> makeNotch(AppModel&) override;
};

// The test answers the dialog with complete().
class FakeFileChooser : public FileChooser {
public:
    std::optional<Options> lastOptions;
    int requests = 0;

    void chooseFiles(const Options& options, std::function<void(const QList<QUrl>&)> done) override;
    // Answers the open dialog; false when none is open.
    bool complete(const QList<QUrl>& urls);

private:
    std::function<void(const QList<QUrl>&)> m_done;
};

class FakeMiniCamera : public MiniCamera {
public:
    // What the next toggle() does: flips the preview, or fails with this error.
    std::optional<QString> failure;
    bool active = false;
    int stops = 0;

    bool isActive() const override { return active; }
    bool isStarting() const override { return false; }
    QFuture<void> toggle() override;
    void stop() override;
};

} // namespace plimbo::test
