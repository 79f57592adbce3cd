#include "FileManagerRevealer.h"

#include "FakeBusTest.h"
#include "FakeDesktopServices.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMutex>

#include <atomic>
#include <memory>

using namespace plimbo;

namespace {

// A stand-in file manager. With `silent` set it takes each call and never answers.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    std::atomic<bool> silent{false};

    QList<QStringList> shown() const {
        QMutexLocker lock(&m_mutex);
        return m_shown;
    }

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId, const QDBusMessage& call) {
        if (silent) {
            call.setDelayedReply(true);
            return;
        }
        QMutexLocker lock(&m_mutex);
        m_shown << uris;
    }

private:
    mutable QMutex m_mutex;
    QList<QStringList> m_shown;
};

const QList<QUrl> files{QUrl::fromLocalFile("/home/u/docs/a.pdf"),
                        QUrl::fromLocalFile("/home/u/docs/b.txt"),
                        QUrl::fromLocalFile("/home/u/pics/c d.png")};
const QList<QUrl> folders{QUrl::fromLocalFile("/home/u/docs"), QUrl::fromLocalFile("/home/u/pics")};

class FileManagerRevealerTest : public test::FakeBusTest<FakeFileManager> {
protected:
    FileManagerRevealerTest()
        : FakeBusTest(QStringLiteral("FileManager"),
                      QString::fromLatin1(FileManagerRevealer::objectPath)) {}

    RevealOutcome reveal(FileManagerRevealer& revealer, const QList<QUrl>& urls) {
        const QFuture<RevealOutcome> future = revealer.reveal(urls);
        EXPECT_TRUE(test::waitFor(future));
        return future.isFinished() ? future.result() : RevealOutcome::failed;
    }

    std::shared_ptr<FakeDesktopServices> desktop = std::make_shared<FakeDesktopServices>();
};

} // namespace

TEST(FileManagerRevealerFolders, DistinctLocalFoldersInTheFilesOrder) {
    EXPECT_EQ(FileManagerRevealer::containingFolders(
                  files + QList<QUrl>{QUrl("https://example.com/x"),
                                      QUrl::fromLocalFile("/home/u/pics/../docs/e.txt")}),
              folders);
    EXPECT_EQ(FileManagerRevealer::containingFolders({QUrl::fromLocalFile("/top.txt")}),
              QList<QUrl>{QUrl::fromLocalFile("/")});
}

TEST(FileManagerRevealerWithoutBus, OpensTheFoldersAtOnce) {
    auto desktop = std::make_shared<FakeDesktopServices>();
    FileManagerRevealer revealer(desktop, QDBusConnection(QStringLiteral("plimbo-never-connected")),
                                 QString::fromLatin1(FileManagerRevealer::defaultServiceName));
    const QFuture<RevealOutcome> future = revealer.reveal(files);
    ASSERT_TRUE(future.isFinished());
    EXPECT_EQ(future.result(), RevealOutcome::openedFolders);
    EXPECT_EQ(desktop->opened, folders);

    // Nothing opened is a failure, not a success.
    desktop->refused = {folders[0], folders[1]};
    EXPECT_EQ(revealer.reveal(files).result(), RevealOutcome::failed);
    EXPECT_EQ(revealer.reveal({}).result(), RevealOutcome::failed);
}

TEST_F(FileManagerRevealerTest, TheFileManagerSelectsTheFiles) {
    ASSERT_TRUE(publishFake());
    FileManagerRevealer revealer(desktop, QDBusConnection::sessionBus(), serviceName);
    EXPECT_EQ(reveal(revealer, files), RevealOutcome::shownInFileManager);
    EXPECT_EQ(fake->shown(),
              (QList<QStringList>{{"file:///home/u/docs/a.pdf", "file:///home/u/docs/b.txt",
                                   "file:///home/u/pics/c%20d.png"}}));
    EXPECT_TRUE(desktop->opened.isEmpty());
}

TEST_F(FileManagerRevealerTest, NoFileManagerOnTheBusOpensTheFolders) {
    FileManagerRevealer revealer(desktop, QDBusConnection::sessionBus(), serviceName);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(reveal(revealer, files), RevealOutcome::openedFolders);
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_EQ(desktop->opened, folders);
}

TEST_F(FileManagerRevealerTest, AFileManagerThatDoesNotAnswerInTimeFallsBack) {
    fake->silent = true;
    ASSERT_TRUE(publishFake());
    FileManagerRevealer revealer(desktop, QDBusConnection::sessionBus(), serviceName, 200);
    QElapsedTimer clock;
    clock.start();
    const QFuture<RevealOutcome> future = revealer.reveal(files);
    EXPECT_FALSE(future.isFinished()) << "the caller must not wait for the bus";
    ASSERT_TRUE(test::waitFor(future));
    EXPECT_EQ(future.result(), RevealOutcome::openedFolders);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(desktop->opened, folders);
}

TEST_F(FileManagerRevealerTest, TheRevealerMayGoAwayBeforeTheAnswer) {
    fake->silent = true;
    ASSERT_TRUE(publishFake());
    QFuture<RevealOutcome> future;
    {
        FileManagerRevealer revealer(desktop, QDBusConnection::sessionBus(), serviceName, 200);
        future = revealer.reveal(files);
    }
    ASSERT_TRUE(test::waitFor(future));
    EXPECT_EQ(future.result(), RevealOutcome::openedFolders);
}

#include "FileManagerRevealerTest.moc"
