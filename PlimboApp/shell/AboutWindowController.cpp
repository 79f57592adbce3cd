#include "AboutWindowController.h"

#include "ShellViews.h"

#include <QVBoxLayout>

namespace plimbo {

namespace {

std::unique_ptr<QWidget> makeAboutWindow() {
    auto window =
        std::make_unique<QWidget>(nullptr, Qt::Window | Qt::CustomizeWindowHint |
                                               Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setWindowTitle(QStringLiteral("About Plimbo"));
    window->setFixedSize(AboutWindowController::size);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ShellViews::about());
    return window;
}

} // namespace

AboutWindowController::AboutWindowController()
    : WindowController(makeAboutWindow()) {}

} // namespace plimbo
