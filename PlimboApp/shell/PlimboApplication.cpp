#include "PlimboApplication.h"

#include "AIChatHistoryStore.h"
#include "AppDelegate.h"
#include "AppModel.h"
#include "AppModelDependencies.h"
#include "DialogFileChooser.h"
#include "FolderLock.h"
#include "GlobalHotKeyController.h"
#include "MiniCameraService.h"
#include "PortalMotionPreference.h"
#include "QSettingsStore.h"
#include "QtCameraCapture.h"
#include "QuitOnSignals.h"
#include "ReduceMotion.h"
#include "ShellViews.h"
#include "SingleInstance.h"
#include "TrayIcon.h"
#include "WidgetSurfaceFactory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QThreadPool>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <unistd.h>
#include <vector>

namespace plimbo {

namespace {

// How long a quit waits for background jobs before it leaves them.
constexpr int quitGraceMs = 300;

QString historyLockPath(const AIChatHistoryStore& store) {
    return QFileInfo(store.fileURL()).dir().filePath(QStringLiteral("AIChats.lock"));
}

} // namespace

QByteArray PlimboApplication::platformFor(const QProcessEnvironment& environment) {
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty() ||
        !GlobalHotKeyController::isWaylandSession(environment) ||
        environment.value(QStringLiteral("DISPLAY")).isEmpty()) {
        return {};
    }
    return QByteArrayLiteral("xcb");
}

QList<QByteArray> PlimboApplication::qtArguments(const QList<QByteArray>& arguments,
                                                 const QProcessEnvironment& environment) {
    QList<QByteArray> result = arguments;
    if (const QByteArray platform = platformFor(environment); !platform.isEmpty()) {
        const qsizetype afterName = qMin(qsizetype(1), result.size());
        result.insert(afterName, platform);
        result.insert(afterName, QByteArrayLiteral("-platform"));
    }
    return result;
}

int PlimboApplication::main(int& argc, char** argv, const DependencyAdjuster& adjust) {
    // The platform goes to Qt as its switch, never through QT_QPA_PLATFORM: every program
    // Plimbo starts inherits the environment, and must get the user's.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QByteArray(argv[i]);
    }
    arguments = qtArguments(arguments, QProcessEnvironment::systemEnvironment());
    std::vector<char*> qtArgv;
    for (QByteArray& argument : arguments) {
        qtArgv.push_back(argument.data());
    }
    qtArgv.push_back(nullptr);
    int qtArgc = int(arguments.size());
    QApplication application(qtArgc, qtArgv.data());
    QApplication::setOrganizationName(QStringLiteral("Plimbo"));
    QApplication::setApplicationName(QStringLiteral("Plimbo"));
    // Matches the installed desktop entry, so desktops show its name and icon for our windows.
    QApplication::setDesktopFileName(QStringLiteral("com.plimbo.utility"));
    QApplication::setQuitOnLastWindowClosed(false);
    QuitOnSignals quitOnSignals;

    SingleInstance instance(SingleInstance::defaultDirectory(), SingleInstance::defaultName());
    switch (instance.claim()) {
    case SingleInstance::Role::primary:
        break;
    case SingleInstance::Role::handedOver:
        return 0;
    case SingleInstance::Role::unreachable:
        std::fputs("Plimbo is already running but did not answer.\n", stderr);
        return 1;
    }

    AppModelDependencies dependencies = AppModelDependencies::production();
    dependencies.surfaces = std::make_shared<WidgetSurfaceFactory>(dependencies.settings);
    dependencies.fileChooser = std::make_shared<DialogFileChooser>();
    dependencies.miniCamera =
        std::make_shared<MiniCameraService>(std::make_shared<QtCameraCapture>());
    if (adjust) {
        adjust(dependencies);
    }

    // The runtime folder's guard misses an instance started with another one (su, ssh -X, a
    // shell without XDG_RUNTIME_DIR); two instances on one history would each save over the
    // other's chats. The data folder itself is guarded for the whole run.
    FolderLock historyLock(historyLockPath(*dependencies.historyStore));
    switch (historyLock.claim()) {
    case FolderLock::Result::acquired:
        historyLock.setNote(QFile::encodeName(instance.socketPath()));
        break;
    case FolderLock::Result::heldElsewhere:
        if (const QString socket = QFile::decodeName(historyLock.note());
            !socket.isEmpty() && socket != instance.socketPath() &&
            SingleInstance::handOver(socket, 5000)) {
            return 0;
        }
        std::fprintf(stderr,
                     "Plimbo is already running with the chat history in %s and did not "
                     "answer. This start ends without changing anything.\n",
                     qPrintable(QFileInfo(historyLock.path()).path()));
        return 1;
    case FolderLock::Result::unavailable:
        std::fprintf(stderr, "Plimbo could not lock %s (%s); running without the guard.\n",
                     qPrintable(historyLock.path()), qPrintable(historyLock.errorString()));
        break;
    }
    std::optional<QString> settingsProblem;
    if (const auto file = std::dynamic_pointer_cast<QSettingsStore>(dependencies.settings)) {
        settingsProblem = file->problem();
    }
    if (settingsProblem) {
        std::fprintf(stderr, "%s\n", qPrintable(*settingsProblem));
    }

    if (dependencies.resourceDirectory) {
        QApplication::setWindowIcon(QIcon(
            QDir(*dependencies.resourceDirectory).filePath(QStringLiteral("PlimboIcon.png"))));
    }

    PortalMotionPreference motion;
    ReduceMotion::instance().follow(motion);

    int status = 0;
    {
        AppDelegate delegate(std::move(dependencies));
        if (settingsProblem) {
            delegate.model().setPresentedError(settingsProblem);
        }
        AppModel& model = delegate.model();
        TrayIcon trayIcon(model.keepAwake(), [&model](std::function<void()> closeMenu) {
            return ShellViews::menuBarContent(model, std::move(closeMenu));
        });
        QObject::connect(&instance, &SingleInstance::reopenRequested, &delegate,
                         [&delegate] { delegate.handleSecondLaunch(); });
        QTimer::singleShot(0, &delegate, [&delegate] { delegate.start(); });
        status = application.exec();
    }
    // The windows and the model are gone. A background job may still run (the history's first
    // read on a slow disk takes many seconds): nobody is left for its result, and every file
    // it writes is written atomically, so the process ends without it. Either way both locks
    // are let go only now, so a new start never runs beside this one.
    if (!QThreadPool::globalInstance()->waitForDone(quitGraceMs)) {
        std::fflush(nullptr);
        ::_exit(status);
    }
    return status;
}

} // namespace plimbo
