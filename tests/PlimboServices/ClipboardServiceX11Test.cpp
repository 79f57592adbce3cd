#include "ClipboardService.h"

#include "SystemPasteboard.h"
#include "X11SilentOwner.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace plimbo;
using namespace std::chrono_literals;

namespace {

// Another application owning the clipboard: xclip serves it until killed or replaced.
class Xclip {
public:
    Xclip(const QStringList& arguments, const QByteArray& content) {
        m_process.start(QStringLiteral("xclip"),
                        QStringList{"-quiet", "-selection", "clipboard"} + arguments);
        if (m_process.waitForStarted(3000)) {
            m_process.write(content);
            m_process.closeWriteChannel();
        }
    }
    // Serves a file's content, which xclip reads by itself.
    explicit Xclip(const QString& path) {
        m_process.start(QStringLiteral("xclip"),
                        QStringList{"-quiet", "-selection", "clipboard", path});
        m_process.waitForStarted(3000);
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

QStringList texts(const ClipboardService& service) {
    QStringList result;
    for (const ClipboardItem& item : service.items()) {
        result << item.text;
    }
    return result;
}

} // namespace

// The history against the real X clipboard, with copies made by another client.
TEST(ClipboardServiceX11Test, CapturesOtherApplicationsCopiesButNotItsOwnOrSecrets) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    ClipboardService service(100, std::make_unique<SystemPasteboard>(), 20ms);
    service.start();

    {
        Xclip copy({}, "alpha");
        ASSERT_TRUE(QTest::qWaitFor([&] { return texts(service) == QStringList{"alpha"}; }, 3000));
    }
    {
        Xclip copy({}, "beta");
        ASSERT_TRUE(QTest::qWaitFor([&] { return service.items().size() == 2; }, 3000));
    }
    {
        // A password manager's copy offers the hint next to the text; xclip offers one target,
        // which is enough for the hint to be seen.
        Xclip copy({"-t", "x-kde-passwordManagerHint"}, "secret");
        QTest::qWait(300);
    }
    EXPECT_EQ(texts(service), (QStringList{"beta", "alpha"}));

    service.copyAgain(service.items().at(1).id);
    QTest::qWait(300);
    EXPECT_EQ(texts(service), (QStringList{"beta", "alpha"}))
        << "our own write came back as a new entry";
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("alpha"));
    service.stop();
}

// Copies too large to keep, and an owner that never answers, hold up neither the poll nor the
// next copy. (That the GUI thread never waits for them is shown by the reader's own tests.)
TEST(ClipboardServiceX11Test, HugeCopiesAndSilentOwnersAreSkippedAndTheNextCopyIsTaken) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    ClipboardService service(100, std::make_unique<SystemPasteboard>(), 20ms);
    service.start();
    {
        const auto large = fileOf(ClipboardService::maximumTextBytes + 1);
        Xclip copy(large->fileName());
        QTest::qWait(800);
    }
    {
        const auto huge = fileOf(100 * 1000 * 1000);
        Xclip copy(huge->fileName());
        QTest::qWait(1500);
    }
    EXPECT_TRUE(service.items().isEmpty());
    {
        test::X11SilentOwner silent;
        QTest::qWait(300);
        Xclip copy({}, "after the silent one");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return texts(service) == QStringList{"after the silent one"}; }, 3000));
    }
    service.stop();
}
