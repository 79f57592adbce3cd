#pragma once

#include "FileRevealer.h"

#include <QFuture>
#include <QList>
#include <QUrl>

#include <memory>

namespace plimbo {

class AirDropService;
class DesktopServices;
class Pasteboard;
class ScreenshotTool;

// The small desktop actions of the notch, the palette and the shelf: screenshots, AirDrop,
// and copying, opening and showing the shelf's files. Failures the user must hear about are
// thrown as SystemActionError; the rest are ignored, as the shelf expects.
class SystemActions {
public:
    struct Platform {
        std::shared_ptr<DesktopServices> desktop;
        std::shared_ptr<FileRevealer> revealer;
        std::shared_ptr<ScreenshotTool> screenshotTool;
        std::shared_ptr<AirDropService> airDrop;
        std::shared_ptr<Pasteboard> pasteboard;
    };

    // This desktop's implementations; needs a running QGuiApplication.
    static Platform desktopPlatform();

    explicit SystemActions(Platform platform);

    // Starts the screenshot program; throws screenshotToolMissing or screenshotToolFailed.
    void startScreenshot();
    // Throws airDropUnavailable when this system cannot send to nearby devices at all, so
    // the caller reports it before asking for files.
    void ensureAirDropAvailable() const;
    // Throws airDropUnavailable when the files cannot be shared; never reports a share that
    // did not start.
    void performAirDrop(const QList<QUrl>& files);

    // Puts the files on the clipboard to be pasted as copies; an empty list leaves the
    // clipboard alone.
    void copyFiles(const QList<QUrl>& files);
    // Opens each file in its default application, in order; failures are ignored.
    void openFiles(const QList<QUrl>& files);
    // Shows the files selected in the file manager; an empty list does nothing (the future
    // then ends as failed).
    QFuture<RevealOutcome> revealFiles(const QList<QUrl>& files);

private:
    Platform m_platform;
};

} // namespace plimbo
