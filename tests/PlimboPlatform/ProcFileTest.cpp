#include "ProcFile.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace plimbo;

TEST(ProcFileTest, EachReadSeesTheFileAsItIsNow) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("figures");
    ProcFile file(path);
    EXPECT_TRUE(file.read().isEmpty()) << "missing";

    ASSERT_TRUE(test::writeFile(path, "first\n"));
    EXPECT_EQ(file.read(), "first\n") << "opened once it exists";

    const QByteArray large(10000, 'x');
    ASSERT_TRUE(test::writeFile(path, large));
    EXPECT_EQ(file.read(), large) << "longer than one chunk";

    ASSERT_TRUE(test::writeFile(path, "short"));
    EXPECT_EQ(file.read(), "short") << "nothing left over from the longer text";

    ProcFile moved = std::move(file);
    ASSERT_TRUE(test::writeFile(path, "moved"));
    EXPECT_EQ(moved.read(), "moved");
}

TEST(ProcFileTest, TheKernelWritesProcTextAnewForEveryRead) {
    auto seconds = [](QByteArrayView text) {
        return text.toByteArray().split(' ')[0].toDouble();
    };
    ProcFile uptime(QStringLiteral("/proc/uptime"));
    const double first = seconds(uptime.read());
    ASSERT_GT(first, 0);
    QThread::msleep(30); // the figures move in hundredths of a second
    EXPECT_GT(seconds(uptime.read()), first);
}
