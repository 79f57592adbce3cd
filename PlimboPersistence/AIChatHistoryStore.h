#pragma once

#include "AIChatAttachment.h"
#include "AIChatSession.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

namespace plimbo {

class AtomicFileWriter;
class Clock;
class FileLocations;
class StoreFileCalls;

// The chat history on disk: one JSON file with every chat, and a folder with the bytes of
// every attached file. No cache and no mutable state: every call goes to the file system, so
// one store may be used from any thread. Failures throw FileSystemError (file system) or
// JsonDecodingError (a history file that does not decode); the store recovers from nothing.
//
// Attachment files are addressed only by names of the form the store itself gives them (an
// identifier of letters, digits and "-", then an optional "." and an extension of letters and
// digits), always inside the attachment folder and never through a symbolic link: a record
// naming anything else counts as a missing file.
class AIChatHistoryStore {
public:
    // Paths default to <application support>/Plimbo/AIChats.json (the temporary folder when
    // there is no application support folder) and to "AIChatAttachments" beside the history
    // file. A null writer, clock or set of file calls means the real ones. Creates nothing on
    // disk.
    AIChatHistoryStore(std::optional<QString> fileURL,
                       std::optional<QString> attachmentsDirectoryURL,
                       const FileLocations& locations,
                       std::shared_ptr<AtomicFileWriter> writer = nullptr,
                       std::shared_ptr<const Clock> clock = nullptr,
                       std::shared_ptr<const StoreFileCalls> calls = nullptr);

    // The history file's path.
    QString fileURL() const { return m_fileURL; }
    // The attachment folder's path.
    QString attachmentsDirectoryURL() const { return m_attachmentsDirectoryURL; }

    // The stored chats in file order; empty (and nothing created) when there is no file.
    QList<AIChatSession> load() const;
    // Replaces the history file atomically, creating its folder first.
    void save(const QList<AIChatSession>& sessions) const;

    // Stores the bytes under a new name and describes them. `fileName` may carry folders; only
    // its last component is kept as the attachment's name.
    AIChatAttachment saveAttachment(const QByteArray& data, const QString& fileName,
                                    const QString& mimeType, AIChatAttachmentKind kind) const;
    // The stored bytes; throws when the file is missing or unreadable.
    QByteArray data(const AIChatAttachment& attachment) const;
    // Deletes the attachment's file if there is one; a missing file is no error. Only regular
    // files are deleted: a symbolic link or folder under that name is left alone.
    void removeAttachment(const AIChatAttachment& attachment) const;
    // Deletes every visible regular file in the attachment folder that bears a name of the
    // store's own form (a UUID's upper-case string and an optional lower-case extension) and
    // is not in the set. Other names, hidden entries, folders and symbolic links are kept;
    // sub-folders are not entered. A folder that is reached through a link and lies outside
    // the history file's folder belongs to the user and is left alone.
    void reconcileAttachments(const QSet<QString>& referencedStorageFileNames) const;

    // Moves an unreadable history file aside, within its folder, to
    // "AIChats-unreadable-<yyyy-MM-ddTHH-mm-ssZ>.json" and returns the new path; none when there
    // is no history file. The attachment folder, which the set-aside file still refers to, is
    // moved aside with the same stamp ("AIChatAttachments-unreadable-<stamp>"), so a fresh
    // history started afterwards does not reconcile those files away. Either both moves happen
    // or neither does; a name already taken (a second set-aside within one second) throws.
    std::optional<QString> quarantineUnreadableHistory() const;

    // The history file's bytes for a list of chats, and back (throws JsonDecodingError).
    static QByteArray encodeHistory(const QList<AIChatSession>& sessions);
    static QList<AIChatSession> decodeHistory(const QByteArray& bytes);

    // True for a name this store could have given an attachment file.
    static bool isValidStorageFileName(const QString& name);

private:
    QString attachmentPath(const QString& storageFileName) const;

    QString m_fileURL;
    QString m_attachmentsDirectoryURL;
    std::shared_ptr<AtomicFileWriter> m_writer;
    std::shared_ptr<const Clock> m_clock;
    std::shared_ptr<const StoreFileCalls> m_calls;
};

} // namespace plimbo
