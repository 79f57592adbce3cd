#pragma once

// What every screenshot program shares: the platform it renders on, the folder it writes to and
// how it reports each file.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPalette>
#include <QString>

#include <cstdio>

namespace plimbo::screenshots {

// Call before the application object: pictures render offscreen unless a platform was chosen.
inline void preferOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// The folder named by the first argument ("screenshots" without one), created if missing.
inline QDir outputFolder(int argc, char** argv) {
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    QDir().mkpath(folder.path());
    return folder;
}

// Writes the picture and says on standard output whether it did.
inline bool writeImage(const QImage& image, const QString& path) {
    const bool saved = image.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    std::fflush(stdout);
    return saved;
}

// The light and dark schemes every surface is pictured in.
inline QPalette lightPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(246, 246, 248));
    palette.setColor(QPalette::WindowText, QColor(28, 28, 30));
    palette.setColor(QPalette::Base, QColor(255, 255, 255));
    palette.setColor(QPalette::AlternateBase, QColor(240, 240, 242));
    palette.setColor(QPalette::Text, QColor(28, 28, 30));
    palette.setColor(QPalette::PlaceholderText, QColor(28, 28, 30, 110));
    palette.setColor(QPalette::Button, QColor(236, 236, 238));
    palette.setColor(QPalette::ButtonText, QColor(28, 28, 30));
    palette.setColor(QPalette::Highlight, QColor(110, 92, 245));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

inline QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(36, 36, 40));
    palette.setColor(QPalette::WindowText, QColor(236, 236, 240));
    palette.setColor(QPalette::Base, QColor(28, 28, 32));
    palette.setColor(QPalette::AlternateBase, QColor(44, 44, 48));
    palette.setColor(QPalette::Text, QColor(236, 236, 240));
    palette.setColor(QPalette::PlaceholderText, QColor(236, 236, 240, 110));
    palette.setColor(QPalette::Button, QColor(52, 52, 58));
    palette.setColor(QPalette::ButtonText, QColor(236, 236, 240));
    palette.setColor(QPalette::Highlight, QColor(110, 92, 245));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

} // namespace plimbo::screenshots
