#include "PlimboApplication.h"

#include "AppDelegate.h"
#include "AppModelDependencies.h"
#include "DialogFileChooser.h"
#include "GlobalHotKeyController.h"
#include "MenuBarExtra.h"
#include "MiniCameraService.h"
#include "PortalMotionPreference.h"
#include "QtCameraCapture.h"
#include "QuitOnSignals.h"
#include "ReduceMotion.h"
#include "SingleInstance.h"
#include "WidgetSurfaceFactory.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace plimbo {

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

    if (dependencies.resourceDirectory) {
        QApplication::setWindowIcon(QIcon(
            QDir(*dependencies.resourceDirectory).filePath(QStringLiteral("PlimboIcon.png"))));
    }

    PortalMotionPreference motion;
    ReduceMotion::instance().follow(motion);

    AppDelegate delegate(std::move(dependencies));
    MenuBarExtra menuBarExtra(delegate.model());
    QObject::connect(&instance, &SingleInstance::reopenRequested, &delegate,
                     [&delegate] { delegate.applicationShouldHandleReopen(); });
    QTimer::singleShot(0, &delegate, [&delegate] { delegate.applicationDidFinishLaunching(); });
    return application.exec();
}

} // namespace plimbo
