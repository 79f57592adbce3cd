#include "AIChatHistoryStore.h"
#include "FailingStoreFileCalls.h"
#include "FakeAtomicFileWriter.h"
#include "FakeClock.h"
#include "FakeFileLocations.h"
#include "FileSystemError.h"
#include "JsonDecodingError.h"
#include "SaveFileWriter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QUuid>

#include <exception>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plimbo;
using plimbo::test::FailingStoreFileCalls;
using plimbo::test::readFile;
using plimbo::test::writeFile;

namespace {

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int ms = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), QTimeZone::utc());
}

AIChatSession sampleSession(const QString& title, const QList<AIChatAttachment>& attachments = {}) {
    const AIChatTurn turn(QUuid::createUuid(), QStringLiteral("Prompt"), QStringLiteral("Reply"),
                          utc(2026, 12, 7, 23, 40, 4, 250), AIChatTurnState::completed,
                          attachments);
    return AIChatSession{QUuid::createUuid(),
                         title,
                         {turn},
                         utc(2026, 12, 7, 23, 40, 4),
                         utc(2026, 12, 7, 23, 41, 0)};
}

class AIChatHistoryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QString path(const QString& relative) const { return root.filePath(relative); }

    // The store in its default place under a fake application support folder.
    AIChatHistoryStore makeStore() const {
        return AIChatHistoryStore(std::nullopt, std::nullopt, locations, writer, clock);
    }

    QString attachments() const { return path("data/Plimbo/AIChatAttachments"); }

    QTemporaryDir root;
    FakeFileLocations locations{root.filePath("data"), root.filePath("tmp")};
    std::shared_ptr<FakeAtomicFileWriter> writer = std::make_shared<FakeAtomicFileWriter>();
    std::shared_ptr<FakeClock> clock =
        std::make_shared<FakeClock>(utc(2026, 12, 7, 23, 40, 4, 750));
};

} // namespace

TEST_F(AIChatHistoryStoreTest, ResolvesDefaultLocations) {
    const AIChatHistoryStore store = makeStore();
    EXPECT_EQ(store.fileURL(), path("data/Plimbo/AIChats.json"));
    EXPECT_EQ(store.attachmentsDirectoryURL(), attachments());

    const FakeFileLocations noSupport(std::nullopt, path("tmp"));
    const AIChatHistoryStore temporary(std::nullopt, std::nullopt, noSupport, writer, clock);
    EXPECT_EQ(temporary.fileURL(), path("tmp/Plimbo/AIChats.json"));

    // An empty application support path is no folder either.
    const FakeFileLocations emptySupport(QString(""), path("tmp"));
    const AIChatHistoryStore emptied(std::nullopt, std::nullopt, emptySupport, writer, clock);
    EXPECT_EQ(emptied.fileURL(), path("tmp/Plimbo/AIChats.json"));

    const AIChatHistoryStore custom(path("elsewhere/h.json"), std::nullopt, locations, writer,
                                    clock);
    EXPECT_EQ(custom.attachmentsDirectoryURL(), path("elsewhere/AIChatAttachments"));
    EXPECT_FALSE(QFileInfo::exists(path("data")));
}

TEST_F(AIChatHistoryStoreTest, FreshLoadCreatesNothingAndFirstSaveCreatesTheFile) {
    const AIChatHistoryStore store = makeStore();
    EXPECT_TRUE(store.load().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path("data")));

    store.save({});
    EXPECT_EQ(readFile(store.fileURL()), "[]");
    EXPECT_TRUE(store.load().isEmpty());
    // Folders the store creates are private to the user.
    store.saveAttachment("x", "x.txt", "text/plain", AIChatAttachmentKind::text);
    for (const QString& folder : {path("data"), path("data/Plimbo"), attachments()}) {
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                QFileDevice::WriteOther | QFileDevice::ExeOther;
        EXPECT_EQ(QFileInfo(folder).permissions() & others, 0) << folder.toStdString();
    }

    const QList<AIChatSession> sessions{sampleSession("One"), sampleSession("Two")};
    store.save(sessions);
    EXPECT_EQ(store.load(), sessions);
    EXPECT_EQ(writer->writtenPaths().count(store.fileURL()), 2);
}

TEST_F(AIChatHistoryStoreTest, RealWriterReplacesTheFileWithoutLeavingTemporaryFiles) {
    const AIChatHistoryStore store(std::nullopt, std::nullopt, locations,
                                   std::make_shared<SaveFileWriter>(), clock);
    store.save({sampleSession("Old")});
    const QList<AIChatSession> sessions{sampleSession("New")};
    store.save(sessions);
    EXPECT_EQ(store.load(), sessions);
    EXPECT_EQ(QDir(path("data/Plimbo")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"AIChats.json"});
}

// Chats and attached files are the user's alone, also in a folder others may read and when
// the file replaced was readable by others.
TEST_F(AIChatHistoryStoreTest, HistoryAndAttachmentsAreReadableByTheOwnerOnly) {
    ASSERT_TRUE(QDir().mkpath(attachments()));
    for (const QString& folder : {path("data/Plimbo"), attachments()}) {
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
    }
    const mode_t oldMask = ::umask(0);
    const auto restoreMask = qScopeGuard([oldMask] { ::umask(oldMask); });
    const AIChatHistoryStore store(std::nullopt, std::nullopt, locations,
                                   std::make_shared<SaveFileWriter>(), clock);
    const auto mode = [](const QString& file) {
        struct stat info;
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_mode & 07777
                                                                       : mode_t(-1);
    };
    store.save({sampleSession("First")});
    EXPECT_EQ(mode(store.fileURL()), 0600u);

    ASSERT_EQ(::chmod(QFile::encodeName(store.fileURL()).constData(), 0644), 0);
    store.save({sampleSession("Second")});
    EXPECT_EQ(mode(store.fileURL()), 0600u);

    const AIChatAttachment attachment =
        store.saveAttachment("bytes", "notes.txt", "text/plain", AIChatAttachmentKind::text);
    EXPECT_EQ(mode(attachments() + u'/' + attachment.storageFileName), 0600u);
}

TEST_F(AIChatHistoryStoreTest, FailedSaveThrowsAndKeepsTheOldFile) {
    const AIChatHistoryStore store = makeStore();
    store.save({sampleSession("Kept")});
    const QByteArray before = readFile(store.fileURL());

    writer->setFailure(QStringLiteral("No space left on device"));
    try {
        store.save({sampleSession("Lost")});
        FAIL() << "save did not throw";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.description(), "The file “AIChats.json” couldn’t be saved in the folder "
                                       "“Plimbo” (No space left on device).");
    }
    EXPECT_EQ(readFile(store.fileURL()), before);

    // A folder that cannot be created fails before anything is written.
    ASSERT_TRUE(writeFile(path("blocker"), "file, not folder"));
    const AIChatHistoryStore blocked(path("blocker/AIChats.json"), std::nullopt, locations, writer,
                                     clock);
    writer->setFailure(std::nullopt);
    EXPECT_THROW(blocked.save({}), FileSystemError);
}

TEST_F(AIChatHistoryStoreTest, UnreadableOrUndecodableHistoryThrows) {
    const AIChatHistoryStore store = makeStore();
    ASSERT_TRUE(writeFile(store.fileURL(), R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"}])"));
    EXPECT_THROW(store.load(), JsonDecodingError);

    QFile::remove(store.fileURL());
    ASSERT_TRUE(QDir().mkpath(store.fileURL())); // a folder where the file should be
    EXPECT_THROW(store.load(), FileSystemError);
}

TEST_F(AIChatHistoryStoreTest, PipesInPlaceOfTheHistoryOrAnAttachmentAreRefusedWithoutWaiting) {
    // Opening a pipe for reading waits for a writer: without O_NONBLOCK these calls never return.
    const AIChatHistoryStore store = makeStore();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(store.fileURL()).path()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(store.fileURL()).constData(), 0600), 0);
    EXPECT_THROW(store.load(), FileSystemError);

    const AIChatAttachment notes =
        store.saveAttachment("x", "notes.txt", "text/plain", AIChatAttachmentKind::text);
    const QByteArray stored = QFile::encodeName(attachments() + "/" + notes.storageFileName);
    ASSERT_EQ(::unlink(stored.constData()), 0);
    ASSERT_EQ(::mkfifo(stored.constData(), 0600), 0);
    EXPECT_THROW(store.data(notes), FileSystemError);
}

TEST_F(AIChatHistoryStoreTest, StoresAttachmentsUnderNewNamesWithLowerCaseExtensions) {
    const AIChatHistoryStore store = makeStore();
    const QByteArray bytes("plain\0text\n", 11);
    const AIChatAttachment notes =
        store.saveAttachment(bytes, "notes.TXT", "text/plain", AIChatAttachmentKind::text);
    EXPECT_EQ(notes.name, "notes.TXT");
    EXPECT_EQ(notes.storageFileName,
              notes.id.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".txt"));
    EXPECT_EQ(notes.byteCount, 11);
    EXPECT_EQ(notes.mimeType, "text/plain");
    EXPECT_EQ(notes.kind, AIChatAttachmentKind::text);
    EXPECT_EQ(readFile(attachments() + "/" + notes.storageFileName), bytes);
    EXPECT_EQ(store.data(notes), bytes);

    const AIChatAttachment readme =
        store.saveAttachment("x", "README", "text/plain", AIChatAttachmentKind::text);
    EXPECT_FALSE(readme.storageFileName.contains(u'.'));
    EXPECT_EQ(readme.storageFileName.size(), 36);

    const AIChatAttachment scan = store.saveAttachment(
        "%PDF", "/Users/me/Scans/Scan.PDF", "application/pdf", AIChatAttachmentKind::pdf);
    EXPECT_EQ(scan.name, "Scan.PDF");
    EXPECT_TRUE(scan.storageFileName.endsWith(".pdf"));

    // Extensions the store could not address again are dropped rather than kept unreadable.
    const AIChatAttachment odd =
        store.saveAttachment("y", "draft.tar~", "text/plain", AIChatAttachmentKind::text);
    EXPECT_EQ(odd.name, "draft.tar~");
    EXPECT_EQ(odd.storageFileName.size(), 36);
    EXPECT_EQ(store.data(odd), "y");
    EXPECT_NE(scan.id, notes.id);
}

TEST_F(AIChatHistoryStoreTest, RemovesAttachmentsAndToleratesMissingFiles) {
    const AIChatHistoryStore store = makeStore();
    const AIChatAttachment attachment =
        store.saveAttachment("bytes", "a.png", "image/png", AIChatAttachmentKind::image);
    store.removeAttachment(attachment);
    EXPECT_FALSE(QFileInfo::exists(attachments() + "/" + attachment.storageFileName));
    EXPECT_NO_THROW(store.removeAttachment(attachment));
    EXPECT_THROW(store.data(attachment), FileSystemError);
}

TEST_F(AIChatHistoryStoreTest, ReconcileDeletesOnlyUnreferencedVisibleRegularFiles) {
    const AIChatHistoryStore store = makeStore();
    EXPECT_NO_THROW(store.reconcileAttachments({})); // no folder yet

    const AIChatAttachment kept =
        store.saveAttachment("keep", "k.txt", "text/plain", AIChatAttachmentKind::text);
    const AIChatAttachment dropped =
        store.saveAttachment("drop", "d.txt", "text/plain", AIChatAttachmentKind::text);
    ASSERT_TRUE(writeFile(attachments() + "/.DS_Store", "hidden"));
    ASSERT_TRUE(writeFile(attachments() + "/sub/inner.txt", "nested"));
    ASSERT_TRUE(writeFile(attachments() + "/stray", "stray"));
    ASSERT_TRUE(writeFile(path("outside.txt"), "outside"));
    ASSERT_TRUE(QDir().mkpath(path("outsideFolder")));
    ASSERT_TRUE(writeFile(path("outsideFolder/file"), "deep"));
    ASSERT_TRUE(QFile::link(path("outside.txt"), attachments() + "/link-to-file"));
    ASSERT_TRUE(QFile::link(path("outsideFolder"), attachments() + "/link-to-folder"));
    ASSERT_TRUE(QFile::link(path("nowhere"), attachments() + "/dangling"));

    store.reconcileAttachments({kept.storageFileName});

    QStringList left =
        QDir(attachments())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    left.sort();
    QStringList expected{".DS_Store",    "dangling",       kept.storageFileName,
                         "link-to-file", "link-to-folder", "sub",
                         "stray"};
    expected.sort();
    EXPECT_EQ(left.join(u'|').toStdString(), expected.join(u'|').toStdString());
    EXPECT_FALSE(left.contains(dropped.storageFileName));
    EXPECT_EQ(readFile(attachments() + "/sub/inner.txt"), "nested");
    EXPECT_EQ(readFile(path("outside.txt")), "outside");
    EXPECT_EQ(readFile(path("outsideFolder/file")), "deep");

    store.reconcileAttachments({});
    EXPECT_FALSE(QFileInfo::exists(attachments() + "/" + kept.storageFileName));
    EXPECT_TRUE(QFileInfo::exists(attachments() + "/.DS_Store"));
    EXPECT_TRUE(QFileInfo::exists(attachments() + "/sub/inner.txt"));
}

// Only names of the store's own form are its copies; the user's files keep theirs.
TEST_F(AIChatHistoryStoreTest, ReconcileDeletesOnlyNamesOfTheStoresOwnForm) {
    const AIChatHistoryStore store = makeStore();
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QStringList own{id, id + ".png", id + ".tar"};
    const QStringList foreign{"stray.png",          "NOT-A-UUID.txt", id.toLower() + ".png",
                              id + ".PNG",          id + ".tar.gz",   id + "-copy.png",
                              id.left(35) + ".png", "{" + id + "}"};
    for (const QString& name : own + foreign) {
        ASSERT_TRUE(writeFile(attachments() + "/" + name, "bytes"));
    }
    store.reconcileAttachments({});
    QStringList left = QDir(attachments()).entryList(QDir::Files);
    left.sort();
    QStringList expected = foreign;
    expected.sort();
    EXPECT_EQ(left.join(u'|').toStdString(), expected.join(u'|').toStdString());
}

// A data folder linked to another disk is still the data folder; an attachment folder linked
// out of it holds the user's own files.
TEST_F(AIChatHistoryStoreTest, ReconcileNeverDeletesThroughALinkOutOfTheDataFolder) {
    const AIChatHistoryStore store = makeStore();
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + ".png";
    ASSERT_TRUE(QDir().mkpath(path("data/Plimbo")));
    for (const char* folder : {"mine", "data/Plimbo/elsewhere"}) {
        for (const QString& file : {name, QStringLiteral("stray.png")}) {
            ASSERT_TRUE(writeFile(path(folder) + "/" + file, "bytes"));
        }
    }

    ASSERT_TRUE(QFile::link(path("mine"), attachments()));
    store.reconcileAttachments({});
    EXPECT_EQ(QDir(path("mine")).entryList(QDir::Files).size(), 2);

    // A link that stays inside the data folder leads to the store's own files.
    ASSERT_TRUE(QFile::remove(attachments()));
    ASSERT_TRUE(QFile::link(path("data/Plimbo/elsewhere"), attachments()));
    store.reconcileAttachments({});
    EXPECT_EQ(QDir(path("data/Plimbo/elsewhere")).entryList(QDir::Files), QStringList{"stray.png"});

    // So does a real folder inside a data folder that is itself a link.
    const QString movedData = path("otherdisk");
    ASSERT_TRUE(QDir().rename(path("data/Plimbo"), movedData));
    ASSERT_TRUE(QFile::link(movedData, path("data/Plimbo")));
    ASSERT_TRUE(QFile::remove(movedData + "/AIChatAttachments"));
    ASSERT_TRUE(writeFile(movedData + "/AIChatAttachments/" + name, "bytes"));
    store.reconcileAttachments({});
    EXPECT_TRUE(QDir(movedData + "/AIChatAttachments").entryList(QDir::Files).isEmpty());
    EXPECT_EQ(QDir(path("mine")).entryList(QDir::Files).size(), 2);
}

TEST_F(AIChatHistoryStoreTest, HostileStorageNamesNeverReachOutsideTheFolder) {
    const AIChatHistoryStore store = makeStore();
    ASSERT_TRUE(QDir().mkpath(attachments()));
    ASSERT_TRUE(writeFile(path("data/Plimbo/x"), "sibling of the folder"));
    ASSERT_TRUE(writeFile(path("outside.txt"), "outside"));
    ASSERT_TRUE(writeFile(attachments() + "/.hidden", "hidden"));
    ASSERT_TRUE(writeFile(attachments() + "/a/b", "nested"));
    ASSERT_TRUE(writeFile(attachments() + "/two.dots.txt", "two dots"));
    ASSERT_TRUE(QFile::link(path("outside.txt"), attachments() + "/LINK.txt"));
    ASSERT_TRUE(QDir().mkpath(attachments() + "/FOLDER"));

    const QStringList hostile{
        "../x", "/etc/passwd", path("outside.txt"), "a/b",    ".hidden",      "",    ".",
        "..",   "..\\x",       "LINK.txt",          "FOLDER", "two.dots.txt", "x\n", "a/../../x"};
    for (const QString& name : hostile) {
        const AIChatAttachment attachment{QUuid::createUuid(),        "f", "text/plain",
                                          AIChatAttachmentKind::text, 1,   name};
        EXPECT_THROW(store.data(attachment), FileSystemError) << name.toStdString();
        EXPECT_NO_THROW(store.removeAttachment(attachment)) << name.toStdString();
    }
    EXPECT_EQ(readFile(path("data/Plimbo/x")), "sibling of the folder");
    EXPECT_EQ(readFile(path("outside.txt")), "outside");
    EXPECT_EQ(readFile(attachments() + "/.hidden"), "hidden");
    EXPECT_EQ(readFile(attachments() + "/a/b"), "nested");
    EXPECT_EQ(readFile(attachments() + "/two.dots.txt"), "two dots");
    EXPECT_TRUE(QFileInfo(attachments() + "/LINK.txt").isSymLink());
    EXPECT_TRUE(QFileInfo(attachments() + "/FOLDER").isDir());
    EXPECT_TRUE(QFileInfo::exists("/etc/passwd"));
}

TEST(AIChatHistoryStoreNames, AcceptsOnlyNamesTheStoreGives) {
    for (const char* good :
         {"E621E1F8-C36C-495A-93FC-0C247A3E6E5F", "ABC-1.pdf", "a.jpeg", "X.größe"}) {
        EXPECT_TRUE(AIChatHistoryStore::isValidStorageFileName(QString::fromUtf8(good))) << good;
    }
    for (const char* bad :
         {"", ".", "..", ".pdf", "a.", "a.b.c", "a b", "a/b", "a_b", "a.p df", "a.pdf/", "é.pdf"}) {
        EXPECT_FALSE(AIChatHistoryStore::isValidStorageFileName(QString::fromUtf8(bad))) << bad;
    }
}

TEST_F(AIChatHistoryStoreTest, QuarantineMovesHistoryAndAttachmentsAsideWithOneStamp) {
    const AIChatHistoryStore store = makeStore();
    EXPECT_EQ(store.quarantineUnreadableHistory(), std::nullopt);

    ASSERT_TRUE(writeFile(store.fileURL(), "not json"));
    const AIChatAttachment attachment =
        store.saveAttachment("bytes", "a.txt", "text/plain", AIChatAttachmentKind::text);

    const std::optional<QString> preserved = store.quarantineUnreadableHistory();
    ASSERT_TRUE(preserved.has_value());
    EXPECT_EQ(*preserved, path("data/Plimbo/AIChats-unreadable-2026-12-07T23-40-04Z.json"));
    EXPECT_EQ(readFile(*preserved), "not json");
    EXPECT_FALSE(QFileInfo::exists(store.fileURL()));
    EXPECT_FALSE(QFileInfo::exists(attachments()));
    EXPECT_EQ(readFile(path("data/Plimbo/AIChatAttachments-unreadable-2026-12-07T23-40-04Z/") +
                       attachment.storageFileName),
              "bytes");

    // A fresh history afterwards starts with an empty folder that reconcile cannot harm.
    store.save({});
    store.reconcileAttachments({});
    EXPECT_TRUE(
        QFileInfo::exists(path("data/Plimbo/AIChatAttachments-unreadable-2026-12-07T23-40-04Z/") +
                          attachment.storageFileName));
}

TEST_F(AIChatHistoryStoreTest, QuarantineWithoutAttachmentFolderMovesTheFileOnly) {
    clock->set(utc(2026, 3, 1, 9, 5, 7));
    const AIChatHistoryStore store = makeStore();
    ASSERT_TRUE(writeFile(store.fileURL(), "{"));
    const std::optional<QString> preserved = store.quarantineUnreadableHistory();
    ASSERT_TRUE(preserved.has_value());
    EXPECT_TRUE(preserved->endsWith("AIChats-unreadable-2026-03-01T09-05-07Z.json"));
    EXPECT_FALSE(QFileInfo::exists(store.fileURL()));
}

TEST_F(AIChatHistoryStoreTest, SecondQuarantineInTheSameSecondFailsAndChangesNothing) {
    const AIChatHistoryStore store = makeStore();
    ASSERT_TRUE(writeFile(store.fileURL(), "first"));
    ASSERT_TRUE(store.quarantineUnreadableHistory().has_value());

    ASSERT_TRUE(writeFile(store.fileURL(), "second"));
    store.saveAttachment("bytes", "a.txt", "text/plain", AIChatAttachmentKind::text);
    EXPECT_THROW(store.quarantineUnreadableHistory(), FileSystemError);
    EXPECT_EQ(readFile(store.fileURL()), "second");
    EXPECT_EQ(readFile(path("data/Plimbo/AIChats-unreadable-2026-12-07T23-40-04Z.json")), "first");
    EXPECT_TRUE(QFileInfo(attachments()).isDir());
}

TEST_F(AIChatHistoryStoreTest, QuarantinePutsTheFileBackWhenTheFolderCannotMove) {
    const AIChatHistoryStore store = makeStore();
    ASSERT_TRUE(writeFile(store.fileURL(), "bad"));
    store.saveAttachment("bytes", "a.txt", "text/plain", AIChatAttachmentKind::text);
    ASSERT_TRUE(
        QDir().mkpath(path("data/Plimbo/AIChatAttachments-unreadable-2026-12-07T23-40-04Z")));

    EXPECT_THROW(store.quarantineUnreadableHistory(), FileSystemError);
    EXPECT_EQ(readFile(store.fileURL()), "bad");
    EXPECT_FALSE(
        QFileInfo::exists(path("data/Plimbo/AIChats-unreadable-2026-12-07T23-40-04Z.json")));
    EXPECT_EQ(QDir(attachments()).entryList(QDir::Files).size(), 1);
}

namespace {

// Every way the disk can fail the store, made to happen through its system calls: each failure
// reaches the caller as a FileSystemError with the system's reason, and nothing stored before
// is lost.
class AIChatHistoryStoreFailureTest : public AIChatHistoryStoreTest {
protected:
    AIChatHistoryStore makeFailingStore() const {
        return AIChatHistoryStore(std::nullopt, std::nullopt, locations,
                                  std::make_shared<SaveFileWriter>(), clock, calls);
    }
    static QString describe(const std::function<void()>& call) {
        try {
            call();
        } catch (const FileSystemError& error) {
            return error.description();
        }
        return QStringLiteral("(no error)");
    }

    std::shared_ptr<FailingStoreFileCalls> calls = std::make_shared<FailingStoreFileCalls>();
};

TEST_F(AIChatHistoryStoreFailureTest, ReadErrorsAndAFileCutShortFailTheLoadAndKeepTheFile) {
    const AIChatHistoryStore store = makeFailingStore();
    const QList<AIChatSession> sessions{sampleSession("Kept"), sampleSession("Also kept")};
    store.save(sessions);
    const QByteArray before = readFile(store.fileURL());

    calls->readError = EIO;
    EXPECT_EQ(describe([&] { store.load(); }),
              "The file “AIChats.json” couldn’t be opened (Input/output error).");
    calls->readError.reset();

    calls->fileEndsAfter = size_t(before.size() / 2);
    EXPECT_THROW(store.load(), JsonDecodingError);
    calls->fileEndsAfter.reset();

    EXPECT_EQ(readFile(store.fileURL()), before);
    EXPECT_EQ(store.load(), sessions);
}

TEST_F(AIChatHistoryStoreFailureTest, FoldersThatCannotBeCreatedFailSavesAndAttachments) {
    const AIChatHistoryStore store = makeFailingStore();
    calls->mkdirError = ENOSPC;
    EXPECT_EQ(describe([&] { store.save({sampleSession("Lost")}); }),
              "The folder “Plimbo” couldn’t be created (No space left on device).");
    EXPECT_EQ(describe([&] {
                  store.saveAttachment("bytes", "a.txt", "text/plain", AIChatAttachmentKind::text);
              }),
              "The folder “AIChatAttachments” couldn’t be created (No space left on device).");
    EXPECT_FALSE(QFileInfo::exists(path("data/Plimbo")));

    // A folder that exists needs no creating, so saving goes on working.
    calls->mkdirError.reset();
    store.save({sampleSession("Kept")});
    const QByteArray before = readFile(store.fileURL());
    calls->mkdirError = ENOSPC;
    store.save({sampleSession("Replaced")});
    EXPECT_NE(readFile(store.fileURL()), before);
}

TEST_F(AIChatHistoryStoreFailureTest, ReconcileErrorsEndThePassAndDeleteNothingReferenced) {
    const AIChatHistoryStore store = makeFailingStore();
    QStringList names;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) {
        names.append(store.saveAttachment(name, name, "text/plain", AIChatAttachmentKind::text)
                         .storageFileName);
    }
    const QSet<QString> referenced{names[0], names[2]};
    const auto present = [&] {
        QStringList list = QDir(attachments()).entryList(QDir::Files);
        list.sort();
        return list;
    };
    QStringList all = names;
    all.sort();

    calls->readdirError = EIO;
    EXPECT_EQ(describe([&] { store.reconcileAttachments(referenced); }),
              "The folder “AIChatAttachments” couldn’t be read (Input/output error).");
    EXPECT_EQ(present(), all);
    calls->readdirError.reset();

    calls->fstatatError = EIO;
    calls->failingEntry = QFile::encodeName(names[1]);
    EXPECT_EQ(describe([&] { store.reconcileAttachments(referenced); }),
              "The file “" + names[1] + "” couldn’t be opened (Input/output error).");
    EXPECT_TRUE(present().contains(names[1]));
    calls->fstatatError.reset();

    calls->unlinkError = EBUSY;
    EXPECT_EQ(describe([&] { store.reconcileAttachments(referenced); }),
              "“" + names[1] + "” couldn’t be removed (Device or resource busy).");
    EXPECT_TRUE(present().contains(names[1]));
    calls->unlinkError.reset();

    for (const QString& name : referenced) {
        EXPECT_TRUE(present().contains(name)) << name.toStdString();
    }
    // A listing of a folder that is a file fails without the seam too.
    const AIChatHistoryStore blocked(std::nullopt, path("blocker"), locations, writer, clock);
    ASSERT_TRUE(writeFile(path("blocker"), "file, not folder"));
    EXPECT_EQ(describe([&] { blocked.reconcileAttachments({}); }),
              "The folder “blocker” couldn’t be read (Not a directory).");
    EXPECT_EQ(readFile(path("blocker")), "file, not folder");
}

TEST_F(AIChatHistoryStoreFailureTest, SetAsideWithoutRenameNoReplaceChecksThenRenames) {
    const AIChatHistoryStore store = makeFailingStore();
    store.save({sampleSession("Unreadable")});
    const QByteArray before = readFile(store.fileURL());
    calls->renameNoReplaceError = EINVAL; // a file system without RENAME_NOREPLACE

    const std::optional<QString> moved = store.quarantineUnreadableHistory();
    ASSERT_TRUE(moved);
    EXPECT_EQ(readFile(*moved), before);
    EXPECT_FALSE(QFileInfo::exists(store.fileURL()));

    // The check still refuses to replace a file set aside in the same second.
    store.save({sampleSession("Second")});
    const QByteArray second = readFile(store.fileURL());
    EXPECT_EQ(describe([&] { store.quarantineUnreadableHistory(); }),
              "“AIChats.json” couldn’t be moved to “AIChats-unreadable-2026-12-07T23-40-04Z.json” "
              "because an item with the same name already exists.");
    EXPECT_EQ(readFile(store.fileURL()), second);
    EXPECT_EQ(readFile(*moved), before);

    // A rename that fails leaves the history where it was.
    clock->advance(std::chrono::seconds(1));
    calls->renameError = EXDEV;
    EXPECT_EQ(describe([&] { store.quarantineUnreadableHistory(); }),
              "“AIChats.json” couldn’t be moved to “AIChats-unreadable-2026-12-07T23-40-05Z.json” "
              "(Invalid cross-device link).");
    EXPECT_EQ(readFile(store.fileURL()), second);
}

} // namespace

namespace {

// The calls of a disk shared with other programs: a read interrupted by a signal once, a file
// another writer replaces with longer content just before it is read, a set-aside that fails
// for chosen sources.
class BusyDiskFileCalls : public StoreFileCalls {
public:
    mutable bool interruptNextRead = false;
    mutable QString growingFile;
    QByteArray grownBytes;
    QSet<QByteArray> unmovableSources;

    ssize_t read(int descriptor, void* buffer, size_t size) const override {
        if (std::exchange(interruptNextRead, false)) {
            errno = EINTR;
            return -1;
        }
        if (!growingFile.isEmpty()) {
            const QByteArray file = QFile::encodeName(std::exchange(growingFile, QString()));
            const int writer = ::open(file.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            EXPECT_GE(writer, 0);
            EXPECT_EQ(::write(writer, grownBytes.constData(), size_t(grownBytes.size())),
                      ssize_t(grownBytes.size()));
            ::close(writer);
        }
        return StoreFileCalls::read(descriptor, buffer, size);
    }
    int renameNoReplace(const char* from, const char* to) const override {
        if (unmovableSources.contains(QByteArray(from))) {
            errno = EIO;
            return -1;
        }
        return StoreFileCalls::renameNoReplace(from, to);
    }
};

class AIChatHistoryStoreBusyDiskTest : public AIChatHistoryStoreTest {
protected:
    AIChatHistoryStore makeBusyStore() const {
        return AIChatHistoryStore(std::nullopt, std::nullopt, locations, writer, clock, calls);
    }

    std::shared_ptr<BusyDiskFileCalls> calls = std::make_shared<BusyDiskFileCalls>();
};

TEST_F(AIChatHistoryStoreBusyDiskTest, LoadReadsOnAfterASignalAndReadsAFileThatGrewInFull) {
    const AIChatHistoryStore store = makeBusyStore();
    const QList<AIChatSession> sessions{sampleSession("One"), sampleSession("Two")};
    store.save(sessions);

    calls->interruptNextRead = true;
    EXPECT_EQ(store.load(), sessions);
    EXPECT_FALSE(calls->interruptNextRead);

    // Sized for "[]", then replaced by the whole history before the first read.
    store.save({});
    calls->growingFile = store.fileURL();
    calls->grownBytes = AIChatHistoryStore::encodeHistory(sessions);
    EXPECT_EQ(store.load(), sessions);
    EXPECT_TRUE(calls->growingFile.isEmpty());
}

// When the attachment folder cannot be set aside and the history file cannot be put back
// either, the caller learns why the folder stayed, and the history is still on disk under the
// set-aside name.
TEST_F(AIChatHistoryStoreBusyDiskTest, FailedPutBackReportsTheFolderAndKeepsTheHistory) {
    const AIChatHistoryStore store = makeBusyStore();
    ASSERT_TRUE(writeFile(store.fileURL(), "bad"));
    store.saveAttachment("bytes", "a.txt", "text/plain", AIChatAttachmentKind::text);
    const QString setAside = path("data/Plimbo/AIChats-unreadable-2026-12-07T23-40-04Z.json");
    calls->unmovableSources = {QFile::encodeName(attachments()), QFile::encodeName(setAside)};

    try {
        store.quarantineUnreadableHistory();
        FAIL() << "the set-aside did not fail";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.description(),
                  "“AIChatAttachments” couldn’t be moved to "
                  "“AIChatAttachments-unreadable-2026-12-07T23-40-04Z” (Input/output error).");
    }
    EXPECT_EQ(readFile(setAside), "bad");
    EXPECT_EQ(QDir(attachments()).entryList(QDir::Files).size(), 1);
}

TEST_F(AIChatHistoryStoreTest, WithoutWriterClockOrCallsTheSystemOnesAreUsed) {
    const AIChatHistoryStore store(path("own/AIChats.json"), std::nullopt, locations);
    const QList<AIChatSession> sessions{sampleSession("Real")};
    store.save(sessions);
    EXPECT_EQ(store.load(), sessions);
    EXPECT_TRUE(writer->writtenPaths().isEmpty());

    // The set-aside name carries the time of day, not the fake clock's.
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    const std::optional<QString> moved = store.quarantineUnreadableHistory();
    const QDateTime after = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(moved);
    const QString stamp =
        QFileInfo(*moved).completeBaseName().mid(QStringLiteral("AIChats-unreadable-").size());
    QDateTime stamped = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd'T'HH-mm-ss'Z'"));
    stamped.setTimeZone(QTimeZone::utc());
    EXPECT_TRUE(stamped >= before && stamped <= after) << stamp.toStdString();
    EXPECT_EQ(readFile(*moved), AIChatHistoryStore::encodeHistory(sessions));
}

// Only the last component of the name handed in is the attachment's name: trailing slashes,
// as a path to a folder-like item carries them, do not make it empty.
TEST_F(AIChatHistoryStoreTest, AttachmentNamesKeepTheLastPathComponent) {
    const AIChatHistoryStore store = makeStore();
    const AIChatAttachment trailing =
        store.saveAttachment("x", "/home/me/Notes.TXT//", "text/plain", AIChatAttachmentKind::text);
    EXPECT_EQ(trailing.name, "Notes.TXT");
    EXPECT_TRUE(trailing.storageFileName.endsWith(".txt"));
    EXPECT_EQ(store.data(trailing), "x");

    const AIChatAttachment root =
        store.saveAttachment("y", "//", "text/plain", AIChatAttachmentKind::text);
    EXPECT_EQ(root.name, "/");
    EXPECT_EQ(root.storageFileName.size(), 36);
    EXPECT_EQ(store.data(root), "y");
}

// A file where the attachment folder should be: attachments read as missing, and a clean-up
// below it reports that the folder cannot be read, deleting nothing.
TEST_F(AIChatHistoryStoreTest, AFileInPlaceOfTheAttachmentFolderMeansMissingFiles) {
    ASSERT_TRUE(writeFile(path("blocker"), "file, not folder"));
    const AIChatHistoryStore store(std::nullopt, path("blocker/AIChatAttachments"), locations,
                                   writer, clock);
    const AIChatAttachment attachment{QUuid::createUuid(),        "a.txt", "text/plain",
                                      AIChatAttachmentKind::text, 1,       "ABC-1.txt"};
    try {
        store.data(attachment);
        FAIL() << "data() did not throw";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.description(),
                  "The file “ABC-1.txt” couldn’t be opened because there is no such file.");
    }
    try {
        store.reconcileAttachments({});
        FAIL() << "reconcileAttachments() did not throw";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.description(),
                  "The folder “AIChatAttachments” couldn’t be read (Not a directory).");
    }
    EXPECT_EQ(readFile(path("blocker")), "file, not folder");
}

// A process out of file descriptors cannot open the history or an attachment: the user is
// told so, and nothing on disk changes.
TEST_F(AIChatHistoryStoreTest, NoFreeFileDescriptorFailsReadsWithTheReason) {
    const AIChatHistoryStore store = makeStore();
    const QList<AIChatSession> sessions{sampleSession("Kept")};
    store.save(sessions);
    const AIChatAttachment attachment =
        store.saveAttachment("bytes", "a.txt", "text/plain", AIChatAttachmentKind::text);

    // Nothing but the two calls runs while no descriptor is free: the undefined-behaviour
    // sanitizer's type check needs one (it probes memory through a pipe) and would report a
    // false fault. The failures are looked at once the limit is back.
    const auto capture = [](const auto& call) -> std::exception_ptr {
        try {
            call();
        } catch (...) {
            return std::current_exception();
        }
        return nullptr;
    };
    const auto describe = [](const std::exception_ptr& failure) {
        try {
            if (failure) {
                std::rethrow_exception(failure);
            }
        } catch (const FileSystemError& error) {
            return error.description();
        }
        return QStringLiteral("(no error)");
    };
    struct rlimit limit;
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const int lowestFree = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lowestFree, 0);
    ::close(lowestFree);
    std::exception_ptr loadFailure;
    std::exception_ptr dataFailure;
    {
        struct rlimit exhausted = limit;
        exhausted.rlim_cur = rlim_t(lowestFree);
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &exhausted), 0);
        const auto restore = qScopeGuard([&limit] { ::setrlimit(RLIMIT_NOFILE, &limit); });
        loadFailure = capture([&] { store.load(); });
        dataFailure = capture([&] { store.data(attachment); });
    }
    EXPECT_EQ(describe(loadFailure),
              "The file “AIChats.json” couldn’t be opened (Too many open files).");
    EXPECT_EQ(describe(dataFailure), "The file “" + attachment.storageFileName +
                                         "” couldn’t be opened (Too many open files).");
    EXPECT_EQ(store.load(), sessions);
    EXPECT_EQ(store.data(attachment), "bytes");
}

// Another program may delete files while a clean-up runs: a file gone between the listing and
// its inspection or deletion is no error, and the rest of the pass goes on.
TEST_F(AIChatHistoryStoreFailureTest, FilesVanishingDuringACleanUpAreNoError) {
    const AIChatHistoryStore store = makeFailingStore();
    QStringList names;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        names.append(store.saveAttachment(name, name, "text/plain", AIChatAttachmentKind::text)
                         .storageFileName);
    }
    calls->fstatatError = ENOENT;
    calls->failingEntry = QFile::encodeName(names[1]);
    EXPECT_EQ(describe([&] { store.reconcileAttachments({}); }), "(no error)");
    EXPECT_EQ(QDir(attachments()).entryList(QDir::Files), QStringList{names[1]});
    calls->fstatatError.reset();

    calls->unlinkError = ENOENT;
    EXPECT_EQ(describe([&] { store.reconcileAttachments({}); }), "(no error)");
}

// File systems without RENAME_NOREPLACE answer EINVAL or, on older kernels, ENOSYS.
TEST_F(AIChatHistoryStoreFailureTest, SetAsideFallsBackAlsoWhereRenameNoReplaceIsMissing) {
    const AIChatHistoryStore store = makeFailingStore();
    store.save({sampleSession("Unreadable")});
    const QByteArray before = readFile(store.fileURL());
    calls->renameNoReplaceError = ENOSYS;
    const std::optional<QString> moved = store.quarantineUnreadableHistory();
    ASSERT_TRUE(moved);
    EXPECT_EQ(readFile(*moved), before);
    EXPECT_FALSE(QFileInfo::exists(store.fileURL()));
}

} // namespace
