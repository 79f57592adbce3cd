#include "SystemPasteboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTest>

#include <memory>

using namespace plimbo;

// Works offscreen (in-process clipboard) and on X11, where the external cases run too.
namespace {

bool onX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Serves one selection from another X client until it loses it or is killed.
class Xclip {
public:
    Xclip(const QStringList& arguments, const QByteArray& content) {
        m_process.start(QStringLiteral("xclip"), QStringList{"-quiet"} + arguments);
        if (m_process.waitForStarted(3000)) {
            m_process.write(content);
            m_process.closeWriteChannel();
        }
    }
    ~Xclip() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

private:
    QProcess m_process;
};

// Reads as the clipboard service does, waiting for the answer.
PasteboardText read(SystemPasteboard& pasteboard) {
    const QFuture<PasteboardText> future = pasteboard.readText(1024 * 1024);
    if (!QTest::qWaitFor([&] { return future.isFinished(); }, 10000) || future.resultCount() == 0) {
        return {PasteboardText::Status::failed, {}};
    }
    return future.result();
}

PasteboardText text(const QString& text) {
    return {PasteboardText::Status::text, text};
}

} // namespace

TEST(SystemPasteboardX11Test, OwnWritesMoveTheChangeCountAndReadBack) {
    SystemPasteboard pasteboard;
    const qint64 before = pasteboard.changeCount();
    pasteboard.writeText(QStringLiteral("first line\nsecond line "));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pasteboard.changeCount() > before; }, 2000));
    EXPECT_EQ(read(pasteboard), text(QStringLiteral("first line\nsecond line ")));
    EXPECT_NE(read(pasteboard).status, PasteboardText::Status::concealed);

    const qint64 afterText = pasteboard.changeCount();
    const QList<QUrl> files{QUrl::fromLocalFile("/tmp/a b.txt"), QUrl::fromLocalFile("/tmp/c")};
    pasteboard.writeFileUrls(files);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pasteboard.changeCount() > afterText; }, 2000));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->urls(), files);
    EXPECT_EQ(data->data("x-special/gnome-copied-files"),
              "copy\nfile:///tmp/a%20b.txt\nfile:///tmp/c");
}

TEST(SystemPasteboardX11Test, PasswordManagerHintConcealsTheContent) {
    SystemPasteboard pasteboard;
    auto* secret = new QMimeData;
    secret->setText(QStringLiteral("hunter2"));
    secret->setData(QString::fromLatin1(SystemPasteboard::passwordManagerHintFormat), "secret");
    QGuiApplication::clipboard()->setMimeData(secret, QClipboard::Clipboard);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return read(pasteboard).status == PasteboardText::Status::concealed; }, 2000));

    auto* other = new QMimeData;
    other->setText(QStringLiteral("hunter2"));
    other->setData(QString::fromLatin1(SystemPasteboard::passwordManagerHintFormat), "public");
    QGuiApplication::clipboard()->setMimeData(other, QClipboard::Clipboard);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return read(pasteboard).status == PasteboardText::Status::text; }, 2000));
    EXPECT_EQ(read(pasteboard), text(QStringLiteral("hunter2")));
}

TEST(SystemPasteboardX11Test, ContentWithoutTextReadsAsNone) {
    SystemPasteboard pasteboard;
    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("\x89PNG", 4));
    QGuiApplication::clipboard()->setMimeData(image, QClipboard::Clipboard);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return read(pasteboard).status == PasteboardText::Status::noText; }, 2000));
}

TEST(SystemPasteboardX11Test, AnotherApplicationsCopyIsCountedAndRead) {
    if (!onX11()) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    SystemPasteboard pasteboard;
    const qint64 before = pasteboard.changeCount();
    Xclip xclip({"-selection", "clipboard"}, "copied elsewhere");
    ASSERT_TRUE(QTest::qWaitFor([&] { return pasteboard.changeCount() > before; }, 3000));
    EXPECT_EQ(read(pasteboard), text(QStringLiteral("copied elsewhere")));
}

TEST(SystemPasteboardX11Test, AnotherApplicationsSecretIsConcealed) {
    if (!onX11()) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    SystemPasteboard pasteboard;
    const qint64 before = pasteboard.changeCount();
    Xclip xclip({"-selection", "clipboard", "-t", "x-kde-passwordManagerHint"}, "secret");
    ASSERT_TRUE(QTest::qWaitFor([&] { return pasteboard.changeCount() > before; }, 3000));
    EXPECT_EQ(read(pasteboard).status, PasteboardText::Status::concealed);
}

TEST(SystemPasteboardX11Test, ThePrimarySelectionIsIgnored) {
    if (!onX11()) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    SystemPasteboard pasteboard;
    pasteboard.writeText(QStringLiteral("on the clipboard"));
    QTest::qWait(100);
    const qint64 before = pasteboard.changeCount();
    Xclip xclip({"-selection", "primary"}, "only selected");
    QTest::qWait(700);
    EXPECT_EQ(pasteboard.changeCount(), before);
    EXPECT_EQ(read(pasteboard), text(QStringLiteral("on the clipboard")));
}

TEST(SystemPasteboardX11Test, ALateNoticeAboutThePreviousOwnerIsNotAChange) {
    if (!onX11()) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    SystemPasteboard pasteboard;
    {
        const qint64 before = pasteboard.changeCount();
        Xclip xclip({"-selection", "clipboard"}, "previous owner");
        ASSERT_TRUE(QTest::qWaitFor([&] { return pasteboard.changeCount() > before; }, 3000));
        // xclip is killed here; the server's notice of it arrives after our write below.
    }
    pasteboard.writeText(QStringLiteral("ours"));
    const qint64 afterWrite = pasteboard.changeCount();
    QTest::qWait(300);
    EXPECT_EQ(pasteboard.changeCount(), afterWrite);
    EXPECT_EQ(read(pasteboard), text(QStringLiteral("ours")));

    // Another writer in this process is still a change.
    QGuiApplication::clipboard()->setText(QStringLiteral("someone else here"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pasteboard.changeCount() > afterWrite; }, 2000));
}
