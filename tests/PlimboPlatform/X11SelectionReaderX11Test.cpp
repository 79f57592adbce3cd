#include "X11SelectionReader.h"

#include "X11LateOwner.h"
#include "X11SilentOwner.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace plimbo;

namespace {

constexpr qsizetype limit = 1024 * 1024;

// Another application owning the clipboard: xclip serves it until killed or replaced.
class Xclip {
public:
    explicit Xclip(const QByteArray& content, const QStringList& arguments = {}) {
        m_process.start(QStringLiteral("xclip"),
                        QStringList{"-quiet", "-selection", "clipboard"} + arguments);
        if (m_process.waitForStarted(3000)) {
            m_process.write(content);
            m_process.closeWriteChannel();
        }
    }
    // Serves a file's content, which xclip reads by itself.
    Xclip(const QString& path, const QStringList& arguments) {
        m_process.start(QStringLiteral("xclip"), QStringList{"-quiet", "-selection", "clipboard"} +
                                                     arguments + QStringList{path});
        m_process.waitForStarted(3000);
    }
    ~Xclip() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    bool serving() const { return m_process.state() == QProcess::Running; }

private:
    QProcess m_process;
};

// How many bytes another client is given when it pastes the clipboard, within five seconds.
qint64 bytesPastedElsewhere() {
    QProcess paste;
    paste.start(QStringLiteral("sh"), {"-c", "timeout 5 xclip -o -selection clipboard | wc -c"});
    if (!QTest::qWaitFor([&] { return paste.state() == QProcess::NotRunning; }, 10000)) {
        paste.kill();
        paste.waitForFinished(3000);
        return -1;
    }
    return paste.readAllStandardOutput().trimmed().toLongLong();
}

// A file of `bytes` letters, written a mebibyte at a time so this process never holds it.
std::unique_ptr<QTemporaryFile> fileOf(qint64 bytes) {
    auto file = std::make_unique<QTemporaryFile>();
    if (file->open()) {
        const QByteArray block(1024 * 1024, 'h');
        for (qint64 left = bytes; left > 0; left -= block.size()) {
            file->write(block.left(std::min<qint64>(left, block.size())));
        }
        file->flush();
    }
    return file;
}

// Peak resident memory of this process, in KiB.
qint64 peakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong();
        }
    }
    return 0;
}

class X11SelectionReaderX11Test : public testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("DISPLAY") ||
            QGuiApplication::platformName() != QLatin1String("xcb")) {
            GTEST_SKIP() << "needs an X server (DISPLAY)";
        }
        reader = X11SelectionReader::connect();
        ASSERT_TRUE(reader);
    }

    static std::optional<PasteboardText> wait(const QFuture<PasteboardText>& future,
                                              int timeoutMs = 10000) {
        if (!QTest::qWaitFor([&] { return future.isFinished(); }, timeoutMs) ||
            future.resultCount() == 0) {
            return std::nullopt;
        }
        return future.result();
    }

    // Waits until xclip owns the clipboard and serves `expected`.
    std::optional<PasteboardText> readOnceServed(PasteboardText::Status expected) {
        std::optional<PasteboardText> last;
        (void)QTest::qWaitFor(
            [&] {
                last = wait(reader->read(limit));
                return last && last->status == expected;
            },
            10000);
        return last;
    }

    std::unique_ptr<X11SelectionReader> reader;
};

} // namespace

TEST_F(X11SelectionReaderX11Test, TextUpToTheLimitIsReadAndOneByteMoreIsNot) {
    {
        const QByteArray exactly(limit, 'a');
        Xclip copy(exactly);
        const auto read = readOnceServed(PasteboardText::Status::text);
        ASSERT_TRUE(read && read->status == PasteboardText::Status::text);
        EXPECT_EQ(read->text.size(), limit);
    }
    {
        Xclip copy(QByteArray(limit + 1, 'b'));
        const auto read = readOnceServed(PasteboardText::Status::tooLarge);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->status, PasteboardText::Status::tooLarge);
    }
    {
        Xclip copy(QStringLiteral("grüße, 東京 😀").toUtf8());
        const auto read = readOnceServed(PasteboardText::Status::text);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->text, QStringLiteral("grüße, 東京 😀"));
    }
}

TEST_F(X11SelectionReaderX11Test, AHundredMegabyteCopyIsSkippedWithoutBeingHeldInMemory) {
    const auto huge = fileOf(100 * 1000 * 1000);
    Xclip copy(huge->fileName(), {});
    const qint64 peakBefore = peakResidentKiB();
    QElapsedTimer clock;
    clock.start();
    const auto read = readOnceServed(PasteboardText::Status::tooLarge);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->status, PasteboardText::Status::tooLarge);
    EXPECT_LT(clock.elapsed(), 8000);
    // Reading may add little more than the limit.
    EXPECT_LT(peakResidentKiB() - peakBefore, 16 * 1024) << "KiB over the peak before the read";
    // The owner is left able to give the whole copy to the application it was meant for. (xclip
    // drops a paste asked for while it still sends us the rest, so the paste may need asking
    // again.)
    qint64 pasted = 0;
    (void)QTest::qWaitFor([&] { return (pasted = bytesPastedElsewhere()) == 100 * 1000 * 1000; },
                          20000);
    EXPECT_EQ(pasted, 100 * 1000 * 1000);
    EXPECT_TRUE(copy.serving());
}

TEST_F(X11SelectionReaderX11Test, APasswordManagersCopyIsConcealedWithoutReadingText) {
    Xclip copy(QByteArray("secret"), {"-t", "x-kde-passwordManagerHint"});
    const auto read = readOnceServed(PasteboardText::Status::concealed);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->status, PasteboardText::Status::concealed);
}

TEST_F(X11SelectionReaderX11Test, AnOwnerThatNeverAnswersTimesOutOrGivesWayToANewerRead) {
    auto silent = std::make_unique<test::X11SilentOwner>();
    QElapsedTimer clock;
    clock.start();
    const auto timedOut = wait(reader->read(limit));
    ASSERT_TRUE(timedOut);
    EXPECT_EQ(timedOut->status, PasteboardText::Status::failed);
    EXPECT_GE(clock.elapsed(), X11SelectionReader::stepTimeout.count() - 100);

    // A read stuck on it is abandoned as soon as a newer one is asked for.
    const QFuture<PasteboardText> stuck = reader->read(limit);
    QTest::qWait(200);
    Xclip next(QByteArray("the next copy"));
    clock.restart();
    reader->read(limit);
    const auto abandoned = wait(stuck, 5000);
    EXPECT_LT(clock.elapsed(), X11SelectionReader::stepTimeout.count() - 500)
        << "it waited for the owner";
    ASSERT_TRUE(abandoned);
    EXPECT_EQ(abandoned->status, PasteboardText::Status::failed);
    const auto read = readOnceServed(PasteboardText::Status::text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, QStringLiteral("the next copy"));
}

TEST_F(X11SelectionReaderX11Test, AnOwnerAnsweringAnAbandonedReadLateStillHasAPlaceToWriteTo) {
    test::X11LateOwner late(std::chrono::milliseconds(400));
    const QFuture<PasteboardText> abandoned = reader->read(limit);
    QTest::qWait(100);
    const QFuture<PasteboardText> newer = reader->read(limit);
    const auto first = wait(abandoned, 1000);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->status, PasteboardText::Status::failed);

    // The late answer to the abandoned read is not taken for the newer one's.
    const auto read = wait(newer);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->status, PasteboardText::Status::text);
    EXPECT_EQ(read->text, QString::fromLatin1(test::X11LateOwner::text));
    EXPECT_EQ(late.answers(), 3);
    EXPECT_EQ(late.failedAnswers(), 0) << "its answer went to a window already destroyed";
}

TEST_F(X11SelectionReaderX11Test, DestroyingTheReaderMidReadStopsItsWorkerPromptly) {
    test::X11SilentOwner silent;
    const QFuture<PasteboardText> pending = reader->read(limit);
    QTest::qWait(100);
    QElapsedTimer clock;
    clock.start();
    reader.reset();
    EXPECT_LT(clock.elapsed(), X11SelectionReader::stepTimeout.count() - 500)
        << "it waited for the owner";
    EXPECT_TRUE(pending.isFinished());
}
