// Renders the shell's drawn-in-code pieces offscreen to PNG files: the tray icon (at 1x and
// enlarged), the brand mark with and without its dots, and the section header with status pills.
// Usage: screenshot_ShellScreenshots [output folder]   (default: ./screenshots)

#include "PlimboGlobalShortcut.h"
#include "PlimboMenuBarIcon.h"
#include "PlimboMenuBarTemplateIcon.h"
#include "PlimboTheme.h"
#include "ScreenshotOutput.h"
#include "SectionHeader.h"
#include "StatusPill.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

using namespace plimbo;

namespace {

bool save(const QImage& image, const QDir& folder, const QString& name) {
    return screenshots::writeImage(image, folder.filePath(name));
}

QImage trayIcon() {
    // The icon at its size and eight times enlarged, on a light and a dark tray colour.
    QImage image(2 * (18 + 144 + 30), 144 + 20, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(image.width() / 2, 0, image.width() / 2, image.height(), QColor(60, 60, 66));
    for (int half = 0; half < 2; ++half) {
        const int left = half * image.width() / 2 + 10;
        QImage icon = PlimboMenuBarTemplateIcon::image(1.0);
        if (half == 1) {
            // Trays that tint masks draw it in their text colour.
            QPainter tint(&icon);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tint.fillRect(icon.rect(), Qt::white);
        }
        painter.drawImage(left, 10, icon);
        QImage large = PlimboMenuBarTemplateIcon::image(8.0);
        if (half == 1) {
            QPainter tint(&large);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            tint.fillRect(large.rect(), Qt::white);
        }
        large.setDevicePixelRatio(1.0);
        painter.drawImage(left + 28, 10, large);
    }
    return image;
}

QImage brandMarks() {
    QImage image(3 * 140 + 20, 160, QImage::Format_ARGB32);
    image.fill(QColor(246, 246, 248));
    QPainter painter(&image);
    PlimboMenuBarIcon::paint(painter, QRectF(10, 10, 128, 128), PlimboTheme::accent(), true);
    PlimboMenuBarIcon::paint(painter, QRectF(150, 10, 128, 128), PlimboTheme::accent(), false);
    // A wide frame: the mark fills the centred square.
    painter.setPen(QColor(0, 0, 0, 40));
    painter.drawRect(QRectF(290, 40, 128, 60));
    PlimboMenuBarIcon::paint(painter, QRectF(290, 40, 128, 60), PlimboTheme::positive(), true);
    return image;
}

QImage designSystem() {
    QWidget panel;
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Window, QColor(246, 246, 248));
    palette.setColor(QPalette::WindowText, QColor(28, 28, 30));
    panel.setPalette(palette);
    panel.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(new SectionHeader(QStringLiteral("Ready when you are"),
                                        QStringLiteral("One command surface. Disabled modules "
                                                       "remain dormant.")));
    auto* pills = new QHBoxLayout;
    pills->addWidget(new StatusPill(globalShortcutLabel(PlimboGlobalShortcut::commandPalette),
                                    PlimboTheme::accent()));
    pills->addWidget(new StatusPill(QStringLiteral("Active"), PlimboTheme::positive()));
    pills->addWidget(new StatusPill(QStringLiteral("Unavailable"), PlimboTheme::warning()));
    pills->addStretch();
    layout->addLayout(pills);
    panel.resize(520, 150);
    panel.ensurePolished();
    QImage image(panel.size(), QImage::Format_ARGB32);
    panel.render(&image);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    screenshots::preferOffscreen();
    QApplication application(argc, argv);
    const QDir folder = screenshots::outputFolder(argc, argv);
    const bool ok = save(trayIcon(), folder, QStringLiteral("shell-tray-icon.png")) &&
                    save(brandMarks(), folder, QStringLiteral("shell-brand-mark.png")) &&
                    save(designSystem(), folder, QStringLiteral("shell-design-system.png"));
    return ok ? 0 : 1;
}
