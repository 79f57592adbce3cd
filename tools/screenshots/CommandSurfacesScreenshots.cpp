// Renders the command surfaces offscreen to PNG files, each in a light and a dark palette:
// the command palette with results, the launcher and clipboard panels, and the menu-bar panel.
// Usage: screenshot_CommandSurfacesScreenshots [output folder]   (default: ./screenshots)

#include "AppModelHarness.h"
#include "ClipboardQuickAccessView.h"
#include "CommandPaletteView.h"
#include "KeepAwakeService.h"
#include "LauncherQuickAccessView.h"
#include "LauncherService.h"
#include "MenuBarContentView.h"
#include "ScreenshotOutput.h"
#include "SystemMonitorService.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

using namespace plimbo;
using namespace plimbo::test;

namespace {

DesktopEntry entry(const QString& name, const QString& file) {
    DesktopEntry entry;
    entry.id = file;
    entry.path = QStringLiteral("/usr/share/applications/") + file;
    entry.type = QStringLiteral("Application");
    entry.name = name;
    entry.exec = file.section(QLatin1Char('.'), 0, 0);
    entry.icon = entry.exec;
    return entry;
}

// A model on in-memory services filled with plausible content.
struct Scene {
    AppModelHarness harness;
    InMemoryPasteboard* board = nullptr;
    std::shared_ptr<FakeHostStatistics> host = std::make_shared<FakeHostStatistics>();
    std::unique_ptr<AppModel> model;

    Scene() {
        AppModelDependencies dependencies = harness.dependencies();
        board = AppModelHarness::usePolledClipboard(dependencies);
        dependencies.systemMonitor = std::make_shared<SystemMonitorService>(host);
        model = std::make_unique<AppModel>(std::move(dependencies));

        harness.folders->setEntries({
            entry(QStringLiteral("Calculator"), QStringLiteral("org.gnome.Calculator.desktop")),
            entry(QStringLiteral("Calendar"), QStringLiteral("org.gnome.Calendar.desktop")),
            entry(QStringLiteral("Files"), QStringLiteral("org.gnome.Nautilus.desktop")),
            entry(QStringLiteral("Firefox ESR"), QStringLiteral("firefox-esr.desktop")),
            entry(QStringLiteral("GNU Image Manipulation Program"), QStringLiteral("gimp.desktop")),
            entry(QStringLiteral("LibreOffice Writer"),
                  QStringLiteral("libreoffice-writer.desktop")),
            entry(QStringLiteral("Settings"), QStringLiteral("org.gnome.Settings.desktop")),
            entry(QStringLiteral("Terminal"), QStringLiteral("org.gnome.Terminal.desktop")),
            entry(QStringLiteral("Text Editor"), QStringLiteral("org.gnome.TextEditor.desktop")),
            entry(QStringLiteral("Videos"), QStringLiteral("org.gnome.Totem.desktop")),
        });
        QFuture<void> indexed = model->launcher().start();
        if (!QTest::qWaitFor([&] { return indexed.isFinished(); }, 5000)) {
            std::fprintf(stderr, "the application index did not finish\n");
        }

        for (const QString& text : {
                 QStringLiteral("git rebase -i origin/main"),
                 QStringLiteral("https://www.debian.org/releases/bookworm/"),
                 QStringLiteral("Meeting moved to Thursday, 14:30 in room B.\nBring the draft."),
                 QStringLiteral("SELECT name, created_at FROM projects ORDER BY created_at DESC;"),
                 QStringLiteral("Thanks, that works for me!"),
             }) {
            if (!AppModelHarness::copyToClipboard(*model, *board, text)) {
                std::fprintf(stderr, "a clipboard entry was not taken\n");
            }
        }

        host->memory = MemoryUsage{10'200'000'000ull, 16'000'000'000ull};
        host->uptimeSeconds = 3 * 86400 + 4 * 3600 + 12 * 60;
        host->ticks = CpuTicks{10'000, 20'000};
        SystemMonitorService& monitor = model->systemMonitor();
        monitor.setSampleInterval(std::chrono::milliseconds(20));
        monitor.start();
        const int reads = host->cpuReads;
        host->ticks = CpuTicks{10'077, 20'100};
        if (!QTest::qWaitFor([&] { return host->cpuReads > reads; }, 2000)) {
            std::fprintf(stderr, "the monitor took no second sample\n");
        }
        model->keepAwake().toggle();

        model->setPaletteQuery(QString());
    }
};

bool save(QWidget* view, const QString& path, bool dark) {
    view->show();
    QTest::qWait(50);
    // Not adjustSize(): it caps top-level widgets at two thirds of the (small) offscreen screen.
    view->resize(view->sizeHint().expandedTo(view->minimumSize()));
    const int margin = 28;
    const qreal ratio = 2.0;
    const QSize size = view->size() + QSize(2 * margin, 2 * margin);
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    {
        QPainter painter(&image);
        QLinearGradient backdrop(0, 0, size.width(), size.height());
        backdrop.setColorAt(0, dark ? QColor(24, 26, 38) : QColor(214, 220, 236));
        backdrop.setColorAt(1, dark ? QColor(44, 30, 60) : QColor(236, 226, 244));
        painter.fillRect(QRect(QPoint(0, 0), size), backdrop);
    }
    view->render(&image, QPoint(margin, margin), QRegion(), QWidget::DrawChildren);
    view->hide();
    return screenshots::writeImage(image, path);
}

} // namespace

int main(int argc, char** argv) {
    screenshots::preferOffscreen();
    QApplication app(argc, argv);
    const QDir folder = screenshots::outputFolder(argc, argv);

    Scene scene;
    AppModel& model = *scene.model;
    bool ok = true;
    for (const bool dark : {false, true}) {
        QApplication::setPalette(dark ? screenshots::darkPalette() : screenshots::lightPalette());
        const QString scheme = dark ? QStringLiteral("dark") : QStringLiteral("light");
        const auto file = [&](const QString& name) {
            return folder.filePath(name + QLatin1Char('-') + scheme + QStringLiteral(".png"));
        };

        CommandPaletteView palette(
            model.palette(), [](const PaletteItem&) {}, [] {});
        palette.resize(720, 520);
        model.setPaletteQuery(QString());
        ok &= save(&palette, file(QStringLiteral("command-palette")), dark);

        LauncherQuickAccessView launcher(
            model.launcher(), model.shortcuts(), [] {}, [](const ApplicationRecord&) {});
        ok &= save(&launcher, file(QStringLiteral("launcher-panel")), dark);

        ClipboardQuickAccessView clipboard(model.clipboard(), model.shortcuts(), [] {});
        ok &= save(&clipboard, file(QStringLiteral("clipboard-panel")), dark);

        MenuBarContentView menu(model.systemMonitor(), model.keepAwake(), model.shortcuts(), {});
        menu.setTerminate([] {});
        ok &= save(&menu, file(QStringLiteral("menu-bar-panel")), dark);
    }
    return ok ? 0 : 1;
}
