#pragma once

#include <QString>

namespace plimbo {

// The application's texts that name the machine, its desktop and its facilities (file manager,
// keyring, screenshot tool), kept together so that every surface says it the same way.
class DesktopWording {
public:
    // The palette's keep-awake command, "Keep Computer Awake".
    static QString keepAwakeCommand();
    // The menu tile and its accessible names: "Keep computer awake", "Allow computer to sleep".
    static QString keepAwakeTile();
    static QString allowSleepTile();
    // The tray icon's tooltip while keep-awake holds, "Plimbo, keeping this computer awake".
    static QString trayKeepingAwake();

    // "Open the desktop's screenshot tool", under the palette's screenshot command.
    static QString screenshotCommandDetail();
    // "No screenshot tool could be opened."
    static QString screenshotToolUnavailable();
    // "No camera is available on this computer."
    static QString cameraUnavailable();
    // The camera preview's message when the desktop refused access to the camera.
    static QString cameraAccessOff();

    // The system prompt of every assistant request.
    static QString assistantSystemPrompt();
    // The note sent in place of a file that is gone: "… is no longer available on this
    // computer.", after the attachment's quoted name.
    static QString attachmentGoneSuffix();
    // "This removes the conversation from this computer."
    static QString deleteConversationNote();
    // "Start a conversation. Your chat history stays on this computer."
    static QString emptyConversationHint();
    // "Plimbo AI · history saved on this computer"
    static QString historySavedHere();
    // Its counterpart while this run's chats are not saved.
    static QString historyNotSaved();

    // "Your computer, at a glance"
    static QString menuTagline();
    // The about window's tag line and its "Requires" value.
    static QString aboutTagLine();
    static QString requirement();

    // The privacy settings' paragraph on what leaves the computer.
    static QString sendBoundary();
    // The assistant settings' paragraph on what is copied into Plimbo's own data folder.
    static QString localCopiesNote();
    // The assistant settings' note on where the key is kept, and the found key's status.
    static QString keyStorageNote();
    static QString keyAvailable();

    // The general settings' notes under the notch switches and under the global shortcuts.
    static QString notchPlacementNote();
    static QString shortcutsNote();
    // Added to that note only while some shortcut is in that state: its combination is held
    // elsewhere (a refused grab), the desktop declined it, the desktop holds it without keys.
    static QString shortcutsTakenNote();
    static QString shortcutsDeclinedNote();
    static QString shortcutsWithoutKeysNote();
    // In place of the keys of a shortcut the desktop holds without keys, "No keys".
    static QString shortcutWithoutKeys();
    // What a signed build would add: the general settings' distribution note and the permissions
    // page's explanation of a limit say the same.
    static QString signedBuildNote();

    // The notch shelf's button that shows its files in the file manager, "Files".
    static QString fileManagerButton();
    // A shelf file's tooltip: "Drag <name> to the file manager or another app".
    static QString dragFileHint(const QString& fileName);

    // The module settings' note under the clipboard: which copies a Wayland desktop lets it see.
    static QString clipboardCaptureNote();
};

} // namespace plimbo
