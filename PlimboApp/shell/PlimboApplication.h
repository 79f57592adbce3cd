#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>

#include <functional>

namespace plimbo {

struct AppModelDependencies;

// The program's entry: one instance per user, a tray icon whose popup holds the menu content,
// and the delegate that owns and starts the application model. The application keeps running
// when its last window closes.
class PlimboApplication {
public:
    PlimboApplication() = delete;

    // Changes the production services before the model is built (test programs only).
    using DependencyAdjuster = std::function<void(AppModelDependencies&)>;

    // Runs the application; returns the process's exit status. A launch while another
    // instance runs hands over to it and returns 0 at once.
    static int main(int& argc, char** argv, const DependencyAdjuster& adjust = {});

    // The Qt platform to set before the application object exists, or empty to leave Qt's
    // choice: in a Wayland session the windows stay on XWayland ("xcb"), because the notch,
    // the panels near the pointer and the focus hand-back need global window positions that
    // Wayland clients do not have. A platform the user chose (QT_QPA_PLATFORM) stays.
    static QByteArray platformFor(const QProcessEnvironment& environment);
    // The command line Qt is given: `arguments` (the program's name first) with the platform of
    // platformFor as Qt's "-platform" switch, when there is one.
    static QList<QByteArray> qtArguments(const QList<QByteArray>& arguments,
                                         const QProcessEnvironment& environment);
};

} // namespace plimbo
