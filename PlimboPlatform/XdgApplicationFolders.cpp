#include "XdgApplicationFolders.h"

#include "DesktopExecLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plimbo {

namespace {

QString environmentPath(const char* name) {
    const QString value = qEnvironmentVariable(name);
    // Relative paths are invalid in these variables and must be ignored.
    return QDir::isAbsolutePath(value) ? value : QString();
}

// Whether the programs entries name (TryExec, Exec) exist, as GLib looks for them: a path is
// taken as it is (a relative one from the current folder, not the entry's Path), a bare name
// is searched on PATH. Names are looked up once per scan.
class ProgramFinder {
public:
    bool finds(const QString& program) {
        if (!program.contains(u'/')) {
            const auto cached = m_onPath.constFind(program);
            if (cached != m_onPath.cend()) {
                return *cached;
            }
            const bool found = !QStandardPaths::findExecutable(program).isEmpty();
            m_onPath.insert(program, found);
            return found;
        }
        struct stat info {};
        const QByteArray encoded = QFile::encodeName(program);
        return ::stat(encoded.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
               ::access(encoded.constData(), X_OK) == 0;
    }

private:
    QHash<QString, bool> m_onPath;
};

// The program an Exec value starts, before any terminal is put in front of it.
QString execProgram(const DesktopEntry& entry) {
    const auto arguments = DesktopExecLine::split(entry.exec);
    return arguments && !arguments->isEmpty() ? arguments->first() : QString();
}

bool isListed(const DesktopEntry& entry, const QStringList& currentDesktops,
              ProgramFinder& finder) {
    if (entry.type != u"Application" || entry.hidden || entry.noDisplay || entry.name.isEmpty() ||
        !XdgApplicationFolders::showsIn(entry, currentDesktops)) {
        return false;
    }
    if (!entry.tryExec.isEmpty() && !finder.finds(entry.tryExec)) {
        return false;
    }
    const QString program = execProgram(entry);
    return !program.isEmpty() && finder.finds(program);
}

struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId&) const = default;
};

size_t qHash(const FolderId& id, size_t seed = 0) noexcept {
    return qHashMulti(seed, quint64(id.device), quint64(id.inode));
}

class Walk {
public:
    Walk(const DesktopEntryParser& parser, const QStringList& roots,
         const QStringList& currentDesktops)
        : m_parser(parser)
        , m_currentDesktops(currentDesktops) {
        for (const QString& root : roots) {
            const QString real = QFileInfo(root).canonicalFilePath();
            if (!real.isEmpty()) {
                m_roots << real;
            }
        }
    }

    void folder(const QString& path, const QString& idPrefix) {
        const QByteArray encoded = QFile::encodeName(path);
        struct stat info {};
        if (::stat(encoded.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            return;
        }
        // Once per real folder: ends link loops and keeps a linked folder from listing twice.
        const FolderId id{info.st_dev, info.st_ino};
        if (m_visited.contains(id)) {
            return;
        }
        m_visited.insert(id);

        DIR* dir = ::opendir(encoded.constData());
        if (!dir) {
            return;
        }
        struct Child {
            QString name;
            unsigned char type;
        };
        std::vector<Child> children;
        while (const dirent* item = ::readdir(dir)) {
            // Hidden files and folders (and . and ..) are not part of the listing.
            if (item->d_name[0] == '.') {
                continue;
            }
            children.push_back({QFile::decodeName(item->d_name), item->d_type});
        }
        ::closedir(dir);
        // Directory order is arbitrary; sorting keeps id collisions inside one folder stable.
        std::sort(children.begin(), children.end(),
                  [](const Child& a, const Child& b) { return a.name < b.name; });

        for (const Child& child : children) {
            const QString childPath = path + u'/' + child.name;
            bool isFolder = child.type == DT_DIR;
            bool isFile = child.type == DT_REG;
            bool isLink = child.type == DT_LNK;
            const QByteArray encodedChild = QFile::encodeName(childPath);
            if (child.type == DT_UNKNOWN) {
                struct stat own {};
                isLink = ::lstat(encodedChild.constData(), &own) == 0 && S_ISLNK(own.st_mode);
            }
            if (isLink || child.type == DT_UNKNOWN) {
                struct stat target {};
                if (::stat(encodedChild.constData(), &target) != 0) {
                    continue; // dangling link
                }
                isFolder = S_ISDIR(target.st_mode);
                isFile = S_ISREG(target.st_mode);
            }
            if (isFolder && isLink && !insideRoots(childPath)) {
                continue;
            }
            if (isFolder) {
                folder(childPath, idPrefix + child.name + u'-');
            } else if (isFile && child.name.endsWith(u".desktop")) {
                file(childPath, idPrefix + child.name);
            }
        }
    }

    QList<DesktopEntry> takeEntries() { return std::move(m_entries); }

private:
    bool insideRoots(const QString& link) const {
        const QString target = QFileInfo(link).canonicalFilePath();
        return std::any_of(m_roots.cbegin(), m_roots.cend(), [&target](const QString& root) {
            return target == root || target.startsWith(root + u'/');
        });
    }

    void file(const QString& path, const QString& id) {
        if (m_ids.contains(id)) {
            return;
        }
        m_ids.insert(id);
        auto entry = m_parser.parseFile(path);
        if (!entry || !isListed(*entry, m_currentDesktops, m_programs)) {
            return;
        }
        entry->id = id;
        m_entries.append(std::move(*entry));
    }

    const DesktopEntryParser& m_parser;
    const QStringList& m_currentDesktops;
    // The applications folders as real paths: the only places a folder link may lead.
    QStringList m_roots;
    QSet<FolderId> m_visited;
    QSet<QString> m_ids;
    ProgramFinder m_programs;
    QList<DesktopEntry> m_entries;
};

} // namespace

XdgApplicationFolders::XdgApplicationFolders()
    : XdgApplicationFolders(applicationFoldersFromEnvironment(), localesFromEnvironment(),
                            currentDesktopsFromEnvironment()) {}

XdgApplicationFolders::XdgApplicationFolders(QStringList applicationFolders,
                                             const QStringList& locales,
                                             QStringList currentDesktops, QString terminalProgram)
    : m_folders(std::move(applicationFolders))
    , m_currentDesktops(std::move(currentDesktops))
    , m_parser(locales)
    , m_terminalProgram(std::move(terminalProgram)) {}

QStringList XdgApplicationFolders::applicationFoldersFromEnvironment() {
    QString home = environmentPath("XDG_DATA_HOME");
    if (home.isEmpty()) {
        home = QDir::homePath() + QStringLiteral("/.local/share");
    }
    QStringList dataFolders{home};
    const QStringList listed =
        qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    QStringList shared;
    for (const QString& folder : listed) {
        if (QDir::isAbsolutePath(folder)) {
            shared << folder;
        }
    }
    if (shared.isEmpty()) {
        shared = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    }
    dataFolders << shared;
    QStringList out;
    for (QString folder : dataFolders) {
        while (folder.size() > 1 && folder.endsWith(u'/')) {
            folder.chop(1);
        }
        out << folder + QStringLiteral("/applications");
    }
    return out;
}

QStringList XdgApplicationFolders::localesFromEnvironment() {
    const QStringList languages = qEnvironmentVariable("LANGUAGE").split(u':', Qt::SkipEmptyParts);
    if (!languages.isEmpty()) {
        return languages;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) {
            return {value};
        }
    }
    return {};
}

QStringList XdgApplicationFolders::currentDesktopsFromEnvironment() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
}

bool XdgApplicationFolders::showsIn(const DesktopEntry& entry, const QStringList& currentDesktops) {
    for (const QString& desktop : currentDesktops) {
        if (entry.onlyShowIn && entry.onlyShowIn->contains(desktop)) {
            return true;
        }
        if (entry.notShowIn.contains(desktop)) {
            return false;
        }
    }
    return !entry.onlyShowIn;
}

QList<DesktopEntry> XdgApplicationFolders::scan() const {
    Walk walk(m_parser, m_folders, m_currentDesktops);
    for (const QString& folder : m_folders) {
        walk.folder(folder, QString());
    }
    return walk.takeEntries();
}

ApplicationLaunch XdgApplicationFolders::launch(const QString& entryPath) {
    auto entry = m_parser.parseFile(entryPath);
    if (!entry) {
        return {};
    }
    ApplicationLaunch launch{false, execProgram(*entry)};
    ProgramFinder finder;
    if (!isListed(*entry, m_currentDesktops, finder)) {
        return launch;
    }
    const auto command = DesktopExecLine::command(*entry, m_terminalProgram);
    if (!command) {
        return launch;
    }
    launch.started =
        QProcess::startDetached(command->program, command->arguments, command->workingDirectory);
    return launch;
}

} // namespace plimbo
