#include "AIChatHistoryStore.h"

#include "AtomicFileWriter.h"
#include "ChatHistoryCodec.h"
#include "Clock.h"
#include "FileLocations.h"
#include "FileSystemError.h"
#include "FileWriteError.h"
#include "JsonCoding.h"
#include "Logging.h"
#include "SaveFileWriter.h"
#include "StoreFileCalls.h"
#include "SystemClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plimbo {

namespace {

const QString historyFolderName = QStringLiteral("Plimbo");
const QString historyFileName = QStringLiteral("AIChats.json");
const QString attachmentsFolderName = QStringLiteral("AIChatAttachments");

QString itemName(const QString& path) {
    return QFileInfo(path).fileName();
}

QString folderName(const QString& path) {
    return QFileInfo(QFileInfo(path).absolutePath()).fileName();
}

QString reason(int error) {
    return qt_error_string(error);
}

[[noreturn]] void throwMissing(const QString& path) {
    throw FileSystemError(path, QStringLiteral("The file “%1” couldn’t be opened because there is "
                                               "no such file.")
                                    .arg(itemName(path)));
}

[[noreturn]] void throwUnreadable(const QString& path, const QString& why) {
    throw FileSystemError(
        path, QStringLiteral("The file “%1” couldn’t be opened (%2).").arg(itemName(path), why));
}

// Creates the folder and any missing parents. New folders are private to the user (0700, as
// the XDG base directory rules ask): chats and attached files are nobody else's business,
// least of all under the shared temporary folder.
void makeFolder(const StoreFileCalls& calls, const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(absolute).isDir()) {
        return;
    }
    qsizetype next = 1;
    for (;;) {
        const qsizetype slash = absolute.indexOf(u'/', next);
        const QString prefix = slash < 0 ? absolute : absolute.left(slash);
        if (calls.mkdir(QFile::encodeName(prefix).constData(), 0700) != 0 && errno != EEXIST) {
            const int error = errno;
            throw FileSystemError(path, QStringLiteral("The folder “%1” couldn’t be created (%2).")
                                            .arg(itemName(path), reason(error)));
        }
        if (slash < 0) {
            break;
        }
        next = slash + 1;
    }
    if (!QFileInfo(absolute).isDir()) {
        throw FileSystemError(path, QStringLiteral("The folder “%1” couldn’t be created (%2).")
                                        .arg(itemName(path), reason(ENOTDIR)));
    }
}

void writeAtomically(AtomicFileWriter& writer, const QString& path, const QByteArray& bytes) {
    try {
        writer.write(path, bytes);
    } catch (const FileWriteError& error) {
        throw FileSystemError(
            path, QStringLiteral("The file “%1” couldn’t be saved in the folder “%2” (%3).")
                      .arg(itemName(path), folderName(path), error.reason()));
    }
}

// Renames without ever replacing what is at the target.
void moveWithoutReplacing(const StoreFileCalls& calls, const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    int result = calls.renameNoReplace(source.constData(), target.constData());
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without RENAME_NOREPLACE: check, then rename.
        struct stat info;
        if (::lstat(target.constData(), &info) == 0) {
            errno = EEXIST;
        } else {
            result = calls.rename(source.constData(), target.constData());
        }
    }
    if (result != 0) {
        const int error = errno;
        if (error == EEXIST) {
            throw FileSystemError(from, QStringLiteral("“%1” couldn’t be moved to “%2” because an "
                                                       "item with the same name already exists.")
                                            .arg(itemName(from), itemName(to)));
        }
        throw FileSystemError(from, QStringLiteral("“%1” couldn’t be moved to “%2” (%3).")
                                        .arg(itemName(from), itemName(to), reason(error)));
    }
}

bool isAsciiIdentifierCharacter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'-';
}

bool isExtensionCharacter(QChar c) {
    return c.isLetterOrNumber();
}

// The text after the last ".", as a path extension: none for ".profile" or "name.".
QString pathExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0) {
        return {};
    }
    return name.mid(dot + 1);
}

// The last component of a path-like name; trailing separators do not count.
QString lastPathComponent(const QString& fileName) {
    QString trimmed = fileName;
    while (trimmed.size() > 1 && trimmed.endsWith(u'/')) {
        trimmed.chop(1);
    }
    if (trimmed == QStringLiteral("/")) {
        return trimmed;
    }
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

bool isValidExtension(const QString& extension) {
    return !extension.isEmpty() &&
           std::all_of(extension.begin(), extension.end(), isExtensionCharacter);
}

// What saveAttachment() names a file: the UUID's upper-case string, then "." and a lower-case
// extension when there is one.
bool isOwnStorageFileName(const QString& name) {
    const qsizetype dot = name.indexOf(u'.');
    const QString stem = dot < 0 ? name : name.left(dot);
    const std::optional<QUuid> id = json::uuidFromString(stem);
    if (!id || json::uuidString(*id) != stem) {
        return false;
    }
    if (dot < 0) {
        return true;
    }
    const QString extension = name.mid(dot + 1);
    return isValidExtension(extension) && extension == extension.toLower();
}

// The path with every link resolved; none (errno set) when it cannot be resolved.
std::optional<QByteArray> realPath(const QByteArray& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.constData(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return QByteArray(resolved.get());
}

} // namespace

AIChatHistoryStore::AIChatHistoryStore(std::optional<QString> fileURL,
                                       std::optional<QString> attachmentsDirectoryURL,
                                       const FileLocations& locations,
                                       std::shared_ptr<AtomicFileWriter> writer,
                                       std::shared_ptr<const Clock> clock,
                                       std::shared_ptr<const StoreFileCalls> calls)
    : m_writer(writer ? std::move(writer) : std::make_shared<SaveFileWriter>())
    , m_clock(clock ? std::move(clock) : std::make_shared<SystemClock>())
    , m_calls(calls ? std::move(calls) : std::make_shared<StoreFileCalls>()) {
    if (fileURL) {
        m_fileURL = QDir::cleanPath(*fileURL);
    } else {
        const std::optional<QString> support = locations.applicationSupportDirectory();
        const QString base =
            support && !support->isEmpty() ? *support : locations.temporaryDirectory();
        m_fileURL = QDir::cleanPath(base + u'/' + historyFolderName + u'/' + historyFileName);
    }
    m_attachmentsDirectoryURL =
        attachmentsDirectoryURL
            ? QDir::cleanPath(*attachmentsDirectoryURL)
            : QDir::cleanPath(QFileInfo(m_fileURL).path() + u'/' + attachmentsFolderName);
}

QList<AIChatSession> AIChatHistoryStore::load() const {
    if (!QFileInfo::exists(m_fileURL)) {
        return {};
    }
    // O_NONBLOCK: a pipe put in the file's place must not stall the load; it is refused below.
    const int descriptor =
        ::open(QFile::encodeName(m_fileURL).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        throwUnreadable(m_fileURL, reason(errno));
    }
    const auto closeFile = qScopeGuard([descriptor] { ::close(descriptor); });
    struct stat info;
    if (::fstat(descriptor, &info) != 0) {
        throwUnreadable(m_fileURL, reason(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throwUnreadable(m_fileURL, QStringLiteral("not a regular file"));
    }
    // One read into a buffer of the file's size (one byte more, to notice growth); a file that
    // shrinks or grows meanwhile is read as far as it goes.
    QByteArray bytes(qsizetype(std::max<off_t>(info.st_size, 0)) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t count =
            m_calls->read(descriptor, bytes.data() + filled, size_t(bytes.size() - filled));
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            throwUnreadable(m_fileURL, reason(errno));
        }
        if (count == 0) {
            break;
        }
        filled += count;
    }
    bytes.truncate(filled);
    QList<AIChatSession> sessions = decodeHistory(bytes);
    // The file's bytes go; the small blocks the records were built from stay, and glibc keeps
    // the heap pages they freed on the way unless asked to hand them back.
    bytes = QByteArray();
    ::malloc_trim(0);
    return sessions;
}

void AIChatHistoryStore::save(const QList<AIChatSession>& sessions) const {
    makeFolder(*m_calls, QFileInfo(m_fileURL).path());
    writeAtomically(*m_writer, m_fileURL, encodeHistory(sessions));
}

AIChatAttachment AIChatHistoryStore::saveAttachment(const QByteArray& data, const QString& fileName,
                                                    const QString& mimeType,
                                                    AIChatAttachmentKind kind) const {
    makeFolder(*m_calls, m_attachmentsDirectoryURL);
    const QUuid id = QUuid::createUuid();
    const QString name = lastPathComponent(fileName);
    // An extension the store could not read back under (punctuation, spaces) is dropped; the
    // kind and media type, not the extension, say what the file is.
    const QString extension = pathExtension(name).toLower();
    QString storageFileName = json::uuidString(id);
    if (isValidExtension(extension)) {
        storageFileName += u'.' + extension;
    }
    writeAtomically(*m_writer, attachmentPath(storageFileName), data);
    return AIChatAttachment{id, name, mimeType, kind, data.size(), storageFileName};
}

QByteArray AIChatHistoryStore::data(const AIChatAttachment& attachment) const {
    if (!isValidStorageFileName(attachment.storageFileName)) {
        throwMissing(attachment.storageFileName);
    }
    const QString path = attachmentPath(attachment.storageFileName);
    // O_NOFOLLOW: a link planted in the folder must not lead the read elsewhere; O_NONBLOCK: a
    // pipe planted there must not stall the read (it is refused below).
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENOENT || error == ELOOP || error == ENOTDIR) {
            throwMissing(path);
        }
        throwUnreadable(path, reason(error));
    }
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        throwMissing(path);
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        throwUnreadable(path, file.errorString());
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throwUnreadable(path, file.errorString());
    }
    return bytes;
}

void AIChatHistoryStore::removeAttachment(const AIChatAttachment& attachment) const {
    if (!isValidStorageFileName(attachment.storageFileName)) {
        return;
    }
    const QString path = attachmentPath(attachment.storageFileName);
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info;
    if (::lstat(encoded.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return; // nothing there, or not a file this store wrote
    }
    // unlink() never follows a link, so even a file swapped for one meanwhile is safe.
    if (::unlink(encoded.constData()) != 0 && errno != ENOENT) {
        const int error = errno;
        throw FileSystemError(
            path,
            QStringLiteral("“%1” couldn’t be removed (%2).").arg(itemName(path), reason(error)));
    }
}

void AIChatHistoryStore::reconcileAttachments(
    const QSet<QString>& referencedStorageFileNames) const {
    const QByteArray folder = QFile::encodeName(m_attachmentsDirectoryURL);
    const auto listingError = [this](int error) {
        return FileSystemError(m_attachmentsDirectoryURL,
                               QStringLiteral("The folder “%1” couldn’t be read (%2).")
                                   .arg(itemName(m_attachmentsDirectoryURL), reason(error)));
    };
    struct stat info;
    if (::stat(folder.constData(), &info) != 0) {
        if (errno == ENOENT) {
            return;
        }
        throw listingError(errno);
    }
    // People link data folders to another disk. A link that leads the folder out of the data
    // folder points at files of the user's own, which a clean-up must never touch.
    const std::optional<QByteArray> resolved = realPath(folder);
    if (!resolved) {
        throw listingError(errno);
    }
    if (*resolved != QFile::encodeName(QDir::cleanPath(
                         QFileInfo(m_attachmentsDirectoryURL).absoluteFilePath()))) {
        const std::optional<QByteArray> dataFolder =
            realPath(QFile::encodeName(QFileInfo(m_fileURL).absolutePath()));
        if (!dataFolder || !resolved->startsWith(*dataFolder + '/')) {
            return;
        }
    }
    const int folderDescriptor =
        ::open(resolved->constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (folderDescriptor < 0) {
        throw listingError(errno);
    }
    DIR* directory = ::fdopendir(folderDescriptor);
    if (!directory) {
        const int error = errno;
        ::close(folderDescriptor);
        throw listingError(error);
    }
    const auto closeDirectory = qScopeGuard([directory] { ::closedir(directory); });
    // List first, delete afterwards: a listing error then deletes nothing.
    QList<QByteArray> names;
    for (;;) {
        errno = 0;
        const dirent* entry = m_calls->readdir(directory);
        if (!entry) {
            if (errno != 0) {
                throw listingError(errno);
            }
            break;
        }
        if (entry->d_name[0] != '.') {
            names.append(QByteArray(entry->d_name));
        }
    }

    for (const QByteArray& name : names) {
        const QString path = m_attachmentsDirectoryURL + u'/' + QFile::decodeName(name);
        struct stat entryInfo;
        if (m_calls->fstatat(folderDescriptor, name.constData(), &entryInfo, AT_SYMLINK_NOFOLLOW) !=
            0) {
            if (errno == ENOENT) {
                continue; // removed meanwhile
            }
            const int error = errno;
            throw FileSystemError(path, QStringLiteral("The file “%1” couldn’t be opened (%2).")
                                            .arg(itemName(path), reason(error)));
        }
        // Only names the store gives its own copies: anything else was put there by someone.
        const QString decoded = QFile::decodeName(name);
        if (!S_ISREG(entryInfo.st_mode) || !isOwnStorageFileName(decoded) ||
            referencedStorageFileNames.contains(decoded)) {
            continue;
        }
        if (m_calls->unlinkat(folderDescriptor, name.constData(), 0) != 0 && errno != ENOENT) {
            const int error = errno;
            throw FileSystemError(path, QStringLiteral("“%1” couldn’t be removed (%2).")
                                            .arg(itemName(path), reason(error)));
        }
    }
}

std::optional<QString> AIChatHistoryStore::quarantineUnreadableHistory() const {
    if (!QFileInfo::exists(m_fileURL)) {
        return std::nullopt;
    }
    const QString stamp = m_clock->now()
                              .toUTC()
                              .toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"))
                              .replace(u':', u'-');
    const QString historyTarget = QFileInfo(m_fileURL).path() +
                                  QStringLiteral("/AIChats-unreadable-") + stamp +
                                  QStringLiteral(".json");
    moveWithoutReplacing(*m_calls, m_fileURL, historyTarget);

    struct stat info;
    if (::lstat(QFile::encodeName(m_attachmentsDirectoryURL).constData(), &info) != 0) {
        return historyTarget; // no attachments to keep
    }
    const QString attachmentsTarget =
        m_attachmentsDirectoryURL + QStringLiteral("-unreadable-") + stamp;
    try {
        moveWithoutReplacing(*m_calls, m_attachmentsDirectoryURL, attachmentsTarget);
    } catch (const FileSystemError&) {
        // Keep the pair together: a history file set aside without its attachments would
        // lose them at the next clean-up.
        try {
            moveWithoutReplacing(*m_calls, historyTarget, m_fileURL);
        } catch (const FileSystemError& error) {
            // The first failure is the one the caller reports.
            qCWarning(persistenceLog).noquote()
                << "Moving the unreadable history back failed:" << error.description();
        }
        throw;
    }
    return historyTarget;
}

QByteArray AIChatHistoryStore::encodeHistory(const QList<AIChatSession>& sessions) {
    return ChatHistoryCodec::encode(sessions);
}

QList<AIChatSession> AIChatHistoryStore::decodeHistory(const QByteArray& bytes) {
    return ChatHistoryCodec::decode(bytes);
}

bool AIChatHistoryStore::isValidStorageFileName(const QString& name) {
    const qsizetype dot = name.indexOf(u'.');
    const QStringView stem = dot < 0 ? QStringView(name) : QStringView(name).left(dot);
    if (stem.isEmpty() || !std::all_of(stem.begin(), stem.end(), isAsciiIdentifierCharacter)) {
        return false;
    }
    return dot < 0 || isValidExtension(name.mid(dot + 1));
}

QString AIChatHistoryStore::attachmentPath(const QString& storageFileName) const {
    return m_attachmentsDirectoryURL + u'/' + storageFileName;
}

} // namespace plimbo
