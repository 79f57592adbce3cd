#include "InMemorySettingsStore.h"
#include "QSettingsStore.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

using namespace plimbo;

namespace {

TEST(QSettingsStore, WritesBooleansThatAnotherStoreReadsBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Plimbo/Plimbo.conf");
    {
        QSettingsStore store(path);
        store.setValue("modules.clipboard.enabled", true);
        store.setValue("plimbo.notch.enabled", false);
        EXPECT_TRUE(store.contains("modules.clipboard.enabled"));
    }
    const QByteArray text = test::readFile(path);
    EXPECT_TRUE(text.contains("modules.clipboard.enabled=true")) << text.constData();
    EXPECT_TRUE(text.contains("plimbo.notch.enabled=false")) << text.constData();

    QSettingsStore reread(path);
    EXPECT_EQ(reread.boolValue("modules.clipboard.enabled"), true);
    EXPECT_EQ(reread.boolValue("plimbo.notch.enabled"), false);
    EXPECT_FALSE(reread.boolValue("plimbo.notch.virtualEnabled").has_value());

    reread.remove("modules.clipboard.enabled");
    EXPECT_FALSE(reread.contains("modules.clipboard.enabled"));
    EXPECT_FALSE(test::readFile(path).contains("modules.clipboard.enabled"));
}

TEST(QSettingsStore, OnlyTrueAndFalseCountAsStoredBooleans) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Plimbo.conf");
    ASSERT_TRUE(test::writeFile(path, "[General]\n"
                                      "a=true\nb=false\nc=1\nd=0\ne=yes\nf=TRUE\ng=\nh=true \n"));
    QSettingsStore store(path);
    EXPECT_EQ(store.boolValue("a"), true);
    EXPECT_EQ(store.boolValue("b"), false);
    for (const char* key : {"c", "d", "e", "f", "g", "missing"}) {
        EXPECT_FALSE(store.boolValue(key).has_value()) << key;
        EXPECT_EQ(store.contains(key), QString(key) != "missing") << key;
    }
    // INI values lose unquoted surrounding blanks, so "true " still reads as true.
    EXPECT_EQ(store.boolValue("h"), true);
}

TEST(QSettingsStore, DefaultFileIsPlimboConfUnderTheConfigFolder) {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    {
        QSettingsStore store;
        EXPECT_EQ(store.fileName(), dir.path() + "/Plimbo/Plimbo.conf");
        store.setValue("modules.launcher.enabled", false);
    }
    EXPECT_TRUE(test::readFile(dir.path() + "/Plimbo/Plimbo.conf")
                    .contains("modules.launcher.enabled=false"));
    if (saved.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

// A pipe in the file's place would block the first read for ever (and start-up with it); a
// folder or device is no settings file either. The run goes on with defaults in memory.
TEST(QSettingsStore, SomethingOtherThanAFileIsRefusedAndNeverOpened) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath("Plimbo.conf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [&pipe] {
        QSettingsStore store(pipe);
        const bool wasStored = store.contains("plimbo.notch.enabled");
        store.setValue("plimbo.notch.enabled", false);
        return std::make_tuple(wasStored, store.boolValue("plimbo.notch.enabled"), store.problem());
    });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Let the blocked open go on, so the test ends with its failure.
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        ::close(writer);
        FAIL() << "reading the settings blocked on a pipe";
    }
    const auto [wasStored, stored, problem] = reading.get();
    EXPECT_FALSE(wasStored);
    EXPECT_EQ(stored, false);
    EXPECT_EQ(problem, "Settings could not be read: “Plimbo.conf” is not a regular file. Changes "
                       "are not saved until it is replaced by one.");

    const QString folder = dir.filePath("folder.conf");
    ASSERT_TRUE(QDir().mkpath(folder));
    QSettingsStore onFolder(folder);
    EXPECT_TRUE(onFolder.problem().has_value());
    onFolder.setValue("a", true);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    // A link to a regular file is a settings file.
    const QString real = dir.filePath("real.conf");
    ASSERT_TRUE(test::writeFile(real, "[General]\na=true\n"));
    ASSERT_TRUE(QFile::link(real, dir.filePath("linked.conf")));
    QSettingsStore linked(dir.filePath("linked.conf"));
    EXPECT_FALSE(linked.problem().has_value());
    EXPECT_EQ(linked.boolValue("a"), true);
}

TEST(InMemorySettingsStore, KeepsValuesAndAppliesTheSameBooleanRule) {
    InMemorySettingsStore store;
    store.setValue("on", true);
    store.setValue("text", QStringLiteral("false"));
    store.setValue("number", 1);
    EXPECT_EQ(store.boolValue("on"), true);
    EXPECT_EQ(store.boolValue("text"), false);
    EXPECT_FALSE(store.boolValue("number").has_value());
    EXPECT_EQ(store.value("number").toInt(), 1);
    EXPECT_EQ(store.value("missing", 7).toInt(), 7);
    store.remove("on");
    EXPECT_FALSE(store.contains("on"));
}

} // namespace
