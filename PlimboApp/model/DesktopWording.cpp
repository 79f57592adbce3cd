#include "DesktopWording.h"

namespace plimbo {

QString DesktopWording::keepAwakeCommand() {
    return QStringLiteral("Keep Computer Awake");
}

QString DesktopWording::keepAwakeTile() {
    return QStringLiteral("Keep computer awake");
}

QString DesktopWording::allowSleepTile() {
    return QStringLiteral("Allow computer to sleep");
}

QString DesktopWording::trayKeepingAwake() {
    return QStringLiteral("Plimbo, keeping this computer awake");
}

QString DesktopWording::screenshotCommandDetail() {
    return QStringLiteral("Open the desktop's screenshot tool");
}

QString DesktopWording::screenshotToolUnavailable() {
    return QStringLiteral("No screenshot tool could be opened.");
}

QString DesktopWording::cameraAccessOff() {
    return QStringLiteral(
        "Camera access is off. Allow Plimbo to use the camera in your desktop’s privacy settings.");
}

QString DesktopWording::cameraUnavailable() {
    return QStringLiteral("No camera is available on this computer.");
}

QString DesktopWording::assistantSystemPrompt() {
    return QStringLiteral(
        "You are Plimbo, a concise assistant on a Linux desktop. Analyze attached images and "
        "documents when present. Preserve the user's meaning and never claim to perform actions "
        "you cannot perform.");
}

QString DesktopWording::attachmentGoneSuffix() {
    return QStringLiteral(" is no longer available on this computer.");
}

QString DesktopWording::deleteConversationNote() {
    return QStringLiteral("This removes the conversation from this computer.");
}

QString DesktopWording::emptyConversationHint() {
    return QStringLiteral("Start a conversation. Your chat history stays on this computer.");
}

QString DesktopWording::historySavedHere() {
    return QStringLiteral("Plimbo AI · history saved on this computer");
}

QString DesktopWording::historyNotSaved() {
    return QStringLiteral("Plimbo AI · history not saved in this session");
}

QString DesktopWording::menuTagline() {
    return QStringLiteral("Your computer, at a glance");
}

QString DesktopWording::aboutTagLine() {
    return QStringLiteral("One app. One shortcut.\nEverything your desktop is missing.");
}

QString DesktopWording::requirement() {
    return QStringLiteral("Linux with X11, or Wayland through XWayland");
}

QString DesktopWording::sendBoundary() {
    return QStringLiteral(
        "Text and attachments leave this computer only when you press Send. Plimbo redacts "
        "recognized secrets from prompts and supported text files before sending. Images and PDFs "
        "are encoded into the OpenRouter request; PDFs use OpenRouter’s file parser. Your original "
        "prompt and local attachment copy remain in chat history.");
}

QString DesktopWording::notchPlacementNote() {
    return QStringLiteral(
        "Plimbo detects the display safe area. Linux displays report no camera housing, so it "
        "draws the same interactive surface at the top of the screen.");
}

QString DesktopWording::shortcutsNote() {
    return QStringLiteral("These shortcuts work globally while Plimbo is running in the tray.");
}

QString DesktopWording::shortcutsTakenNote() {
    return QStringLiteral(
        "Another app or the desktop already owns a combination marked Unavailable; free it and "
        "press Retry Shortcuts.");
}

QString DesktopWording::shortcutsDeclinedNote() {
    return QStringLiteral(
        "The desktop declined a shortcut marked Unavailable; press Retry Shortcuts to ask again.");
}

QString DesktopWording::shortcutsWithoutKeysNote() {
    return QStringLiteral(
        "A shortcut showing “No keys” has none on this desktop; give it keys in the desktop’s "
        "shortcut settings (on KDE: System Settings › Shortcuts, under “plimbo”).");
}

QString DesktopWording::shortcutWithoutKeys() {
    return QStringLiteral("No keys");
}

QString DesktopWording::signedBuildNote() {
    return QStringLiteral(
        "Linux needs no Developer ID build: every feature works in this one, and system and "
        "network extensions are not needed on Linux.");
}

QString DesktopWording::localCopiesNote() {
    return QStringLiteral(
        "Requests are sent only after you press Send. Chat history and attached images, PDFs, "
        "and supported text or code files are copied into Plimbo’s data folder and remain local "
        "until they are included in a request.");
}

QString DesktopWording::keyStorageNote() {
    return QStringLiteral(
        "For local builds, put OPENROUTER_API_KEY in the project’s .env.local file. Packaging "
        "imports it into the desktop keyring (Secret Service) without embedding it in the app.");
}

QString DesktopWording::keyAvailable() {
    return QStringLiteral("Available in the keyring");
}

QString DesktopWording::fileManagerButton() {
    return QStringLiteral("Files");
}

QString DesktopWording::dragFileHint(const QString& fileName) {
    return QStringLiteral("Drag ") + fileName +
           QStringLiteral(" to the file manager or another app");
}

QString DesktopWording::clipboardCaptureNote() {
    return QStringLiteral(
        "On X11 every text copy is captured. In a Wayland session Plimbo reads the clipboard "
        "through the desktop's clipboard-manager protocol, which KDE Plasma and wlroots desktops "
        "such as Sway offer, so copies made in any program are captured. GNOME offers no such "
        "protocol: there only the copies GNOME passes on to X11 programs are captured, and a "
        "copy it does not pass on is missed.");
}

} // namespace plimbo
