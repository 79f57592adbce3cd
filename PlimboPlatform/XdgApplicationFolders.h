#pragma once

#include "ApplicationFolders.h"
#include "DesktopEntryParser.h"

#include <QStringList>

namespace plimbo {

// Desktop entries from the XDG "applications" folders: $XDG_DATA_HOME first, then each of
// $XDG_DATA_DIRS. Sub-folders count, their names joined into the desktop-file id with '-'; the
// first file found under an id hides every later one with that id, listed or not (that is how
// a user's Hidden=true copy removes a system entry). What is listed follows GLib's rules: an
// Application entry, not Hidden or NoDisplay, shown in the current desktop (OnlyShowIn,
// NotShowIn), whose TryExec and whose Exec program exist. Each folder is visited once, so link
// loops end; a link to a folder is followed only when the folder lies inside one of the
// applications folders, so a link to "/" does not walk the whole file system.
class XdgApplicationFolders : public ApplicationFolders {
public:
    // Folders, locales and desktop of the current environment.
    XdgApplicationFolders();
    // applicationFolders: the "applications" folders themselves, in priority order.
    // currentDesktops: as XDG_CURRENT_DESKTOP lists them.
    XdgApplicationFolders(QStringList applicationFolders, const QStringList& locales,
                          QStringList currentDesktops = {},
                          QString terminalProgram = QStringLiteral("x-terminal-emulator"));

    static QStringList applicationFoldersFromEnvironment();
    // As GLib reads them: the items of LANGUAGE when it is set, else LC_ALL, else LC_MESSAGES,
    // else LANG.
    static QStringList localesFromEnvironment();
    static QStringList currentDesktopsFromEnvironment();
    // GLib's rule: the first current desktop named in OnlyShowIn shows it, in NotShowIn hides
    // it; when none is named, it shows unless it has an OnlyShowIn.
    static bool showsIn(const DesktopEntry& entry, const QStringList& currentDesktops);

    QStringList applicationFolders() const { return m_folders; }

    QList<DesktopEntry> scan() const override;
    // Starts the program through QProcess::startDetached with the expanded Exec arguments,
    // never through a shell. The entry is read again, so it must still be listable.
    ApplicationLaunch launch(const QString& entryPath) override;

private:
    QStringList m_folders;
    QStringList m_currentDesktops;
    DesktopEntryParser m_parser;
    QString m_terminalProgram;
};

} // namespace plimbo
