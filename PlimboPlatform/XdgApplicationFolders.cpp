#include "XdgApplicationFolders.h"

#include "DesktopExecLine.h"

#include <QDir>
#include <QFile>
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

// Whether the program an entry names by TryExec exists; looked up once per scan.
class TryExecResolver {
public:
    bool resolves(const QString& tryExec) {
        if (tryExec.isEmpty()) {
            return true;
        }
        const auto cached = m_cache.constFind(tryExec);
        if (cached != m_cache.cend()) {
            return *cached;
        }
        bool found = false;
        if (tryExec.contains(u'/')) {
            struct stat info {};
            const QByteArray path = QFile::encodeName(tryExec);
            found = ::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
                    ::access(path.constData(), X_OK) == 0;
        } else {
            found = !QStandardPaths::findExecutable(tryExec).isEmpty();
        }
        m_cache.insert(tryExec, found);
        return found;
    }

private:
    QHash<QString, bool> m_cache;
};

bool isListed(const DesktopEntry& entry, TryExecResolver& resolver) {
    return entry.type == u"Application" && !entry.hidden && !entry.noDisplay &&
           !entry.name.isEmpty() && !entry.exec.trimmed().isEmpty() &&
           resolver.resolves(entry.tryExec);
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
    Walk(const DesktopEntryParser& parser)
        : m_parser(parser) {}

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
            if (child.type == DT_LNK || child.type == DT_UNKNOWN) {
                struct stat target {};
                if (::stat(QFile::encodeName(childPath).constData(), &target) != 0) {
                    continue; // dangling link
                }
                isFolder = S_ISDIR(target.st_mode);
                isFile = S_ISREG(target.st_mode);
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
    void file(const QString& path, const QString& id) {
        if (m_ids.contains(id)) {
            return;
        }
        m_ids.insert(id);
        auto entry = m_parser.parseFile(path);
        if (!entry || !isListed(*entry, m_tryExec)) {
            return;
        }
        entry->id = id;
        m_entries.append(std::move(*entry));
    }

    const DesktopEntryParser& m_parser;
    QSet<FolderId> m_visited;
    QSet<QString> m_ids;
    TryExecResolver m_tryExec;
    QList<DesktopEntry> m_entries;
};

} // namespace

XdgApplicationFolders::XdgApplicationFolders()
    : XdgApplicationFolders(applicationFoldersFromEnvironment(), localeFromEnvironment()) {}

XdgApplicationFolders::XdgApplicationFolders(QStringList applicationFolders, const QString& locale,
                                             QString terminalProgram)
    : m_folders(std::move(applicationFolders))
    , m_parser(locale)
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

QString XdgApplicationFolders::localeFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) {
            return value;
        }
    }
    return {};
}

QList<DesktopEntry> XdgApplicationFolders::scan() const {
    Walk walk(m_parser);
    for (const QString& folder : m_folders) {
        walk.folder(folder, QString());
    }
    return walk.takeEntries();
}

bool XdgApplicationFolders::launch(const QString& entryPath) {
    auto entry = m_parser.parseFile(entryPath);
    TryExecResolver resolver;
    if (!entry || !isListed(*entry, resolver)) {
        return false;
    }
    const auto command = DesktopExecLine::command(*entry, m_terminalProgram);
    if (!command) {
        return false;
    }
    return QProcess::startDetached(command->program, command->arguments, command->workingDirectory);
}

} // namespace plimbo
