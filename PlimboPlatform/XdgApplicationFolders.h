#pragma once

#include "ApplicationFolders.h"
#include "DesktopEntryParser.h"

#include <QStringList>

namespace plimbo {

// Desktop entries from the XDG "applications" folders: $XDG_DATA_HOME first, then each of
// $XDG_DATA_DIRS. Sub-folders count, their names joined into the desktop-file id with '-'; the
// first file found under an id hides every later one with that id, listed or not (that is how
// a user's Hidden=true copy removes a system entry). Symbolic links are followed, each folder
// visited once, so link loops end.
class XdgApplicationFolders : public ApplicationFolders {
public:
    // Folders and locale of the current environment.
    XdgApplicationFolders();
    // applicationFolders: the "applications" folders themselves, in priority order.
    XdgApplicationFolders(QStringList applicationFolders, const QString& locale,
                          QString terminalProgram = QStringLiteral("x-terminal-emulator"));

    static QStringList applicationFoldersFromEnvironment();
    // LC_ALL, else LC_MESSAGES, else LANG.
    static QString localeFromEnvironment();

    QStringList applicationFolders() const { return m_folders; }

    QList<DesktopEntry> scan() const override;
    // Starts the program through QProcess::startDetached with the expanded Exec arguments,
    // never through a shell. The entry is read again, so it must still be listable.
    bool launch(const QString& entryPath) override;

private:
    QStringList m_folders;
    DesktopEntryParser m_parser;
    QString m_terminalProgram;
};

} // namespace plimbo
