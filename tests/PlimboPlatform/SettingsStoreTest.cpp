#include "InMemorySettingsStore.h"
#include "QSettingsStore.h"
#include "TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

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
