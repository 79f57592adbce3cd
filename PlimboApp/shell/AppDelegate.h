#pragma once

#include "AppModelDependencies.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace plimbo {

class AppModel;

// Owns the one application model for the life of the process, starts it once launching has
// finished and answers a second launch by bringing up the dashboard.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // Creates the model from `dependencies`; its arguments decide the preview run.
    explicit AppDelegate(AppModelDependencies dependencies, QObject* parent = nullptr);
    ~AppDelegate() override;

    AppModel& model() const { return *m_model; }

    // The eight switches that make a preview run, in the order they are tested. "--show-about"
    // is not one of them.
    static const QStringList& previewSwitches();
    // Whether an argument (the program path included) equals one of the eight.
    static bool isPreviewRun(const QStringList& arguments);

    // Starts the model once the event loop runs; returns at once. The application shows no
    // taskbar entry of its own beyond its windows.
    void start();
    // A second launch of the program: starts the model (nothing the second time) and then,
    // unless this is a preview run, shows the dashboard at its overview.
    void handleSecondLaunch();

private:
    QStringList m_arguments;
    std::unique_ptr<AppModel> m_model;
};

} // namespace plimbo
