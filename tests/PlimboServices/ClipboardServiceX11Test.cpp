#include "ClipboardService.h"

#include "SystemPasteboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

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
    ~Xclip() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

private:
    QProcess m_process;
};

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
