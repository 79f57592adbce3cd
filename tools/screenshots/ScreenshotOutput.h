#pragma once

// What every screenshot program shares: the platform it renders on, the folder it writes to and
// how it reports each file.

#include <QDir>
#include <QImage>
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

} // namespace plimbo::screenshots
