#include "WaylandClipboardTypes.h"
#include "BoundedPipeRead.h"
#include "WaylandClipboardReader.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <thread>

#include <csignal>

#include <fcntl.h>
#include <sys/eventfd.h>
#include <unistd.h>

using namespace plimbo;

namespace {

using namespace std::chrono_literals;

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
            read = ends[0];
            write = ends[1];
        }
        // The writer blocks, as an owner's usually does.
        ::fcntl(write, F_SETFL, 0);
    }
    ~Pipe() { closeWrite(); }
    void closeWrite() {
        if (write >= 0) {
            ::close(write);
            write = -1;
        }
    }
};

struct Wake {
    int descriptor = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    ~Wake() { ::close(descriptor); }
};

} // namespace

TEST(WaylandClipboardTypesTest, AsksForUtf8TextFirstAndForNoTextWhenNoneIsOffered) {
    // As a GTK program offers it, and as the compositor passes an X owner's targets on.
    EXPECT_EQ(WaylandClipboardTypes::textType(
                  {"TEXT", "STRING", "text/plain", "UTF8_STRING", "text/plain;charset=utf-8"}),
              QStringLiteral("text/plain;charset=utf-8"));
    EXPECT_EQ(WaylandClipboardTypes::textType({"STRING", "UTF8_STRING", "text/html"}),
              QStringLiteral("UTF8_STRING"));
    EXPECT_EQ(WaylandClipboardTypes::textType({"STRING", "text/plain"}),
              QStringLiteral("text/plain"));
    EXPECT_EQ(WaylandClipboardTypes::textType({"STRING"}), QStringLiteral("STRING"));
    EXPECT_FALSE(WaylandClipboardTypes::textType({"image/png", "text/uri-list", "TEXT"}));
    EXPECT_FALSE(WaylandClipboardTypes::textType({}));
}

TEST(WaylandClipboardTypesTest, ReadsThePasswordManagersHintAndOurOwnMark) {
    EXPECT_TRUE(WaylandClipboardTypes::offersPasswordHint(
        {"text/plain;charset=utf-8", "x-kde-passwordManagerHint"}));
    EXPECT_FALSE(WaylandClipboardTypes::offersPasswordHint({"text/plain;charset=utf-8"}));
    EXPECT_TRUE(WaylandClipboardTypes::hintSaysSecret("secret"));
    EXPECT_TRUE(WaylandClipboardTypes::hintSaysSecret("secret\n"));
    EXPECT_FALSE(WaylandClipboardTypes::hintSaysSecret("not-secret"));
    EXPECT_FALSE(WaylandClipboardTypes::hintSaysSecret(""));
    // Each writer's mark is its own, so one writer's copy is new content to another.
    const QString first = WaylandClipboardTypes::newOwnContentType();
    const QString second = WaylandClipboardTypes::newOwnContentType();
    EXPECT_NE(first, second);
    EXPECT_TRUE(first.startsWith(QLatin1String("application/x-plimbo-copy-")));
    EXPECT_TRUE(first.contains(QString::number(QCoreApplication::applicationPid())));
}

TEST(WaylandClipboardTypesTest, DecodesLatin1OnlyForStringAndDropsATrailingNul) {
    const QByteArray utf8 = QStringLiteral("caf\u00e9 \u2603").toUtf8();
    EXPECT_EQ(WaylandClipboardTypes::decode(utf8, "text/plain;charset=utf-8"),
              QStringLiteral("caf\u00e9 \u2603"));
    EXPECT_EQ(WaylandClipboardTypes::decode(utf8 + '\0', "UTF8_STRING"),
              QStringLiteral("caf\u00e9 \u2603"));
    EXPECT_EQ(WaylandClipboardTypes::decode(QByteArray("caf\xe9"), "STRING"),
              QStringLiteral("caf\u00e9"));
    // A text of only spaces is text.
    EXPECT_EQ(WaylandClipboardTypes::decode("   ", "text/plain"), QStringLiteral("   "));
}

TEST(BoundedPipeReadTest, TakesEverythingUpToTheLimitUntilTheOwnerCloses) {
    Pipe pipe;
    Wake wake;
    const std::atomic<bool> abandon{false};
    const QByteArray text(1000, 'a');
    std::thread owner([&] {
        // In pieces, as a slow owner sends them.
        for (int i = 0; i < 10; ++i) {
            (void)::write(pipe.write, text.constData() + i * 100, 100);
            std::this_thread::sleep_for(2ms);
        }
        pipe.closeWrite();
    });
    const BoundedPipeRead::Result result =
        BoundedPipeRead::run(pipe.read, 1000, 2s, abandon, wake.descriptor);
    owner.join();
    EXPECT_EQ(result.status, BoundedPipeRead::Status::ok);
    EXPECT_EQ(result.data, text);
}

TEST(BoundedPipeReadTest, StopsReadingOneByteAfterTheLimit) {
    Pipe pipe;
    Wake wake;
    const std::atomic<bool> abandon{false};
    std::atomic<qsizetype> written{0};
    // The owner's writes fail once we close our end; they must not end this process.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    std::thread owner([&] {
        // An owner that would send 64 MiB; it learns we stopped when the pipe breaks.
        const QByteArray piece(4096, 'x');
        while (written < 64 * 1024 * 1024) {
            const ssize_t n = ::write(pipe.write, piece.constData(), size_t(piece.size()));
            if (n <= 0) {
                break;
            }
            written += n;
        }
        pipe.closeWrite();
    });
    const BoundedPipeRead::Result result =
        BoundedPipeRead::run(pipe.read, 100000, 2s, abandon, wake.descriptor);
    owner.join();
    std::signal(SIGPIPE, previous);
    EXPECT_EQ(result.status, BoundedPipeRead::Status::tooLarge);
    EXPECT_TRUE(result.data.isEmpty());
    // What the owner managed to write past the limit stayed in the pipe's buffer.
    EXPECT_LT(written.load(), 100000 + 1024 * 1024);
}

TEST(BoundedPipeReadTest, GivesUpOnASilentOwnerAndWhenAbandoned) {
    Wake wake;
    {
        Pipe silent;
        const std::atomic<bool> abandon{false};
        QElapsedTimer timer;
        timer.start();
        const auto result = BoundedPipeRead::run(silent.read, 100, 150ms, abandon, wake.descriptor);
        EXPECT_EQ(result.status, BoundedPipeRead::Status::failed);
        EXPECT_GE(timer.elapsed(), 140);
    }
    {
        Pipe silent;
        std::atomic<bool> abandon{false};
        std::thread newer([&] {
            std::this_thread::sleep_for(50ms);
            abandon = true;
            const eventfd_t one = 1;
            (void)::write(wake.descriptor, &one, sizeof one);
        });
        QElapsedTimer timer;
        timer.start();
        const auto result = BoundedPipeRead::run(silent.read, 100, 10s, abandon, wake.descriptor);
        newer.join();
        EXPECT_EQ(result.status, BoundedPipeRead::Status::failed);
        EXPECT_LT(timer.elapsed(), 5000);
    }
}

TEST(WaylandClipboardReaderTest, WithoutACompositorItIsUnavailableAndReadsFail) {
    qputenv("WAYLAND_DISPLAY", "plimbo-no-such-compositor");
    const auto reader = WaylandClipboardReader::start(QStringLiteral("application/x-test"));
    qunsetenv("WAYLAND_DISPLAY");
    ASSERT_TRUE(reader);
    QElapsedTimer timer;
    timer.start();
    while (reader->state() == WaylandClipboardReader::State::connecting && timer.elapsed() < 5000) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_EQ(reader->state(), WaylandClipboardReader::State::unavailable);
    const QFuture<PasteboardText> read = reader->read(100);
    ASSERT_TRUE(read.isFinished());
    EXPECT_EQ(read.result().status, PasteboardText::Status::failed);
    EXPECT_EQ(reader->changeCount(), 0);
}
