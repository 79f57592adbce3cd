#include "XdgApplicationFolders.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace plimbo;

namespace {

// An entry whose program exists, so that only `extra` decides whether it is listed.
QByteArray app(const QByteArray& name, const QByteArray& extra = {}) {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true run-" + name + "\n" +
           extra;
}

QStringList names(const QList<DesktopEntry>& entries) {
    QStringList out;
    for (const DesktopEntry& entry : entries) {
        out << entry.name;
    }
    out.sort();
    return out;
}

const DesktopEntry* byId(const QList<DesktopEntry>& entries, const QString& id) {
    for (const DesktopEntry& entry : entries) {
        if (entry.id == id) {
            return &entry;
        }
    }
    return nullptr;
}

// Restores an environment variable when the test ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name)) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
    ~ScopedEnv() {
        if (m_had) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

class XdgApplicationFoldersTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString home() const { return m_dir.filePath("home/applications"); }
    QString system() const { return m_dir.filePath("system/applications"); }
    void write(const QString& folder, const QString& relative, const QByteArray& bytes) {
        ASSERT_TRUE(test::writeFile(folder + '/' + relative, bytes));
    }
    QList<DesktopEntry> scan(const QStringList& desktops = {}) const {
        return XdgApplicationFolders({home(), system()}, {}, desktops).scan();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(XdgApplicationFoldersTest, EarlierFoldersShadowLaterOnesById) {
    write(home(), "editor.desktop", app("Home Editor"));
    write(system(), "editor.desktop", app("System Editor"));
    // A sub-folder joins the id with '-', so kde/konsole.desktop hides kde-konsole.desktop.
    write(home(), "kde/konsole.desktop", app("Home Konsole"));
    write(system(), "kde-konsole.desktop", app("System Konsole"));
    // A user's Hidden=true copy removes the system entry altogether.
    write(home(), "removed.desktop", app("Removed", "Hidden=true\n"));
    write(system(), "removed.desktop", app("System Removed"));
    write(system(), "only-system.desktop", app("Only System"));

    const QList<DesktopEntry> entries = scan();
    EXPECT_EQ(names(entries), QStringList({"Home Editor", "Home Konsole", "Only System"}));
    const DesktopEntry* konsole = byId(entries, "kde-konsole.desktop");
    ASSERT_TRUE(konsole);
    EXPECT_EQ(konsole->path, home() + "/kde/konsole.desktop");
}

TEST_F(XdgApplicationFoldersTest, ListsOnlyLaunchableApplications) {
    write(system(), "shown.desktop", app("Shown", "TryExec=sh\nIcon=shown-icon\n"));
    write(system(), "link.desktop",
          "[Desktop Entry]\nType=Link\nName=Link\nURL=https://example.org\n");
    write(system(), "nodisplay.desktop", app("NoDisplay", "NoDisplay=true\n"));
    write(system(), "hidden.desktop", app("Hidden", "Hidden=true\n"));
    write(system(), "tryexec-missing.desktop",
          app("Missing TryExec", "TryExec=/nonexistent/plimbo-no-such-program\n"));
    write(system(), "tryexec-not-on-path.desktop",
          app("Not On Path", "TryExec=plimbo-no-such-program-on-path\n"));
    write(system(), "no-exec.desktop", "[Desktop Entry]\nType=Application\nName=No Exec\n");
    write(system(), "no-name.desktop", "[Desktop Entry]\nType=Application\nExec=x\n");
    write(system(), "notes.txt", app("Not A Desktop File"));
    write(system(), ".hidden-file.desktop", app("Dot File"));
    write(system(), ".hidden-folder/inside.desktop", app("In Dot Folder"));

    const QList<DesktopEntry> entries = scan();
    EXPECT_EQ(names(entries), QStringList({"Shown"}));
    EXPECT_EQ(entries.value(0).icon, "shown-icon");
}

TEST_F(XdgApplicationFoldersTest, SkipsJunkFilesWithoutStoppingTheScan) {
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i) {
        binary[i] = char((i * 131 + 7) & 0xff);
    }
    write(system(), "binary.desktop", binary);
    write(system(), "long-line.desktop",
          "[Desktop Entry]\nType=Application\nName=Long\nExec=" + QByteArray(200 * 1024, 'x') +
              "\n");
    write(system(), "no-group.desktop", "Type=Application\nName=No Group\nExec=x\n");
    write(system(), "empty.desktop", "");
    ASSERT_EQ(::mkfifo(QFile::encodeName(system() + "/fifo.desktop").constData(), 0600), 0);
    write(system(), "zz-good.desktop", app("Good"));

    EXPECT_EQ(names(scan()), QStringList({"Good"}));
}

TEST_F(XdgApplicationFoldersTest, SymbolicLinkLoopsEndAndFoldersCountOnce) {
    write(system(), "a/app.desktop", app("Looped"));
    ASSERT_TRUE(QFile::link(system(), system() + "/a/back-to-top"));
    ASSERT_TRUE(QFile::link(system() + "/a", system() + "/a/self"));
    ASSERT_TRUE(QFile::link(system() + "/a", system() + "/b"));
    ASSERT_TRUE(QFile::link(system() + "/nowhere", system() + "/dangling.desktop"));
    // A linked file is read like any other.
    write(m_dir.filePath("elsewhere"), "real.desktop", app("Linked File"));
    ASSERT_TRUE(
        QFile::link(m_dir.filePath("elsewhere/real.desktop"), system() + "/linked.desktop"));
    // A home folder that is a link to the system one adds nothing twice.
    QDir().mkpath(m_dir.filePath("home"));
    ASSERT_TRUE(QFile::link(system(), home()));

    const QList<DesktopEntry> entries = scan();
    EXPECT_EQ(names(entries), QStringList({"Linked File", "Looped"}));
    EXPECT_TRUE(byId(entries, "a-app.desktop"));
}

TEST_F(XdgApplicationFoldersTest, FoldersAndLocaleFromEnvironment) {
    {
        ScopedEnv dataHome("XDG_DATA_HOME", "/data/home/");
        ScopedEnv dataDirs("XDG_DATA_DIRS", "relative/ignored:/opt/share::/usr/share");
        EXPECT_EQ(XdgApplicationFolders::applicationFoldersFromEnvironment(),
                  QStringList({"/data/home/applications", "/opt/share/applications",
                               "/usr/share/applications"}));
    }
    {
        ScopedEnv dataHome("XDG_DATA_HOME", "relative");
        ScopedEnv dataDirs("XDG_DATA_DIRS", QByteArray());
        EXPECT_EQ(XdgApplicationFolders::applicationFoldersFromEnvironment(),
                  QStringList({QDir::homePath() + "/.local/share/applications",
                               "/usr/local/share/applications", "/usr/share/applications"}));
    }
    {
        ScopedEnv desktop("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        EXPECT_EQ(XdgApplicationFolders::currentDesktopsFromEnvironment(),
                  QStringList({"ubuntu", "GNOME"}));
    }
    ScopedEnv all("LC_ALL", QByteArray());
    ScopedEnv messages("LC_MESSAGES", "fr_CA.UTF-8");
    ScopedEnv lang("LANG", "de_DE.UTF-8");
    {
        ScopedEnv language("LANGUAGE", QByteArray());
        EXPECT_EQ(XdgApplicationFolders::localesFromEnvironment(), QStringList{"fr_CA.UTF-8"});
    }
    // LANGUAGE comes first, as in GLib and gettext: LANG=de_DE with LANGUAGE=fr reads French.
    ScopedEnv language("LANGUAGE", "it:fr");
    EXPECT_EQ(XdgApplicationFolders::localesFromEnvironment(), QStringList({"it", "fr"}));

    write(system(), "app.desktop", app("English", "Name[fr]=Français\nName[de]=Deutsch\n"));
    EXPECT_EQ(names(XdgApplicationFolders({system()}, {"fr_CA.UTF-8"}).scan()),
              QStringList({"Français"}));
    EXPECT_EQ(
        names(XdgApplicationFolders({system()}, XdgApplicationFolders::localesFromEnvironment())
                  .scan()),
        QStringList({"Français"}));
}

TEST_F(XdgApplicationFoldersTest, ListsWhatTheCurrentDesktopShows) {
    write(system(), "everywhere.desktop", app("Everywhere"));
    write(system(), "lxqt.desktop", app("LXQt Appearance", "OnlyShowIn=LXQt;\n"));
    write(system(), "xfce.desktop", app("XFCE Appearance", "OnlyShowIn=XFCE;\n"));
    write(system(), "not-xfce.desktop", app("Not XFCE", "NotShowIn=XFCE;GNOME;\n"));
    // The first current desktop the entry names decides.
    write(system(), "both.desktop", app("Both", "OnlyShowIn=GNOME;\nNotShowIn=ubuntu;\n"));
    // Present but empty: meant for no desktop.
    write(system(), "nowhere.desktop", app("Nowhere", "OnlyShowIn=\n"));
    write(system(), "escaped.desktop", app("Escaped", "OnlyShowIn=Odd\\;Name;XFCE\n"));

    EXPECT_EQ(names(scan({"XFCE"})), QStringList({"Escaped", "Everywhere", "XFCE Appearance"}));
    EXPECT_EQ(names(scan({"Odd;Name"})), QStringList({"Escaped", "Everywhere", "Not XFCE"}));
    EXPECT_EQ(names(scan({"LXQt"})), QStringList({"Everywhere", "LXQt Appearance", "Not XFCE"}));
    EXPECT_EQ(names(scan({"ubuntu", "GNOME"})), QStringList({"Everywhere"}));
    EXPECT_EQ(names(scan({"GNOME", "ubuntu"})), QStringList({"Both", "Everywhere"}));
    // No desktop at all: entries meant only for some desktop stay out.
    EXPECT_EQ(names(scan()), QStringList({"Everywhere", "Not XFCE"}));
}

TEST_F(XdgApplicationFoldersTest, ListsOnlyEntriesWhoseProgramExists) {
    const QString bin = m_dir.filePath("bin");
    write(bin, "tool", "#!/bin/sh\n");
    QFile::setPermissions(bin + "/tool", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    write(bin, "not-executable", "#!/bin/sh\n");
    write(system(), "on-path.desktop",
          "[Desktop Entry]\nType=Application\nName=On Path\n"
          "Exec=sh -c true\n");
    write(system(), "absolute.desktop",
          "[Desktop Entry]\nType=Application\nName=Absolute\nExec=" + bin.toUtf8() + "/tool %U\n");
    write(system(), "quoted.desktop",
          "[Desktop Entry]\nType=Application\nName=Quoted\nExec=\"" + bin.toUtf8() +
              "/tool\" --x\n");
    write(system(), "relative.desktop",
          "[Desktop Entry]\nType=Application\nName=Relative\nPath=" + bin.toUtf8() +
              "\nExec=./tool\n");
    // GParted's entry names /usr/sbin/gparted, which a desktop user's PATH may lack.
    write(system(), "sbin.desktop",
          "[Desktop Entry]\nType=Application\nName=Gone\n"
          "Exec=/nonexistent/sbin/plimbo-gparted %f\n");
    write(system(), "not-on-path.desktop",
          "[Desktop Entry]\nType=Application\nName=Not Found\n"
          "Exec=plimbo-no-such-program --x\n");
    write(system(), "not-executable.desktop",
          "[Desktop Entry]\nType=Application\nName=Plain\n"
          "Exec=" +
              bin.toUtf8() + "/not-executable\n");
    write(system(), "folder.desktop",
          "[Desktop Entry]\nType=Application\nName=Folder\nExec=" + bin.toUtf8() + "\n");

    EXPECT_EQ(names(scan()), QStringList({"Absolute", "On Path", "Quoted"}));
}

TEST_F(XdgApplicationFoldersTest, FolderLinksLeadOnlyIntoApplicationFolders) {
    write(m_dir.filePath("elsewhere"), "share/applications/foreign.desktop", app("Foreign"));
    write(m_dir.filePath("elsewhere"), "top.desktop", app("Top Foreign"));
    write(home(), "mine/app.desktop", app("Home App"));
    ASSERT_TRUE(QDir().mkpath(system()));
    ASSERT_TRUE(QFile::link(m_dir.filePath("elsewhere"), system() + "/rootlink"));
    // Into another applications folder: followed (and listed once, under its own place).
    ASSERT_TRUE(QFile::link(home() + "/mine", system() + "/home-mine"));

    const QList<DesktopEntry> entries = scan();
    EXPECT_EQ(names(entries), QStringList({"Home App"}));
    EXPECT_TRUE(byId(entries, "mine-app.desktop"));
}

namespace {

// A program that writes the arguments it received, one per line, where the test can read them.
QString writeRecorder(const QString& folder) {
    const QString script = folder + "/record.sh";
    test::writeFile(script, "#!/bin/sh\n"
                            "out=\"$(dirname \"$0\")/args\"\n"
                            "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.part\"\n"
                            "pwd > \"$out.pwd\"\n"
                            "mv \"$out.part\" \"$out\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

QStringList waitForArguments(const QString& folder) {
    const QString path = folder + "/args";
    if (!QTest::qWaitFor([&] { return QFileInfo::exists(path); }, 5000)) {
        return {"<timed out>"};
    }
    return QString::fromUtf8(test::readFile(path)).split('\n', Qt::SkipEmptyParts);
}

} // namespace

TEST_F(XdgApplicationFoldersTest, LaunchPassesShellMetacharactersAsLiteralArguments) {
    const QString work = m_dir.filePath("work");
    QDir().mkpath(work);
    const QString recorder = writeRecorder(work);
    // In the file: \\$ is \$ after value unescaping, then $ after Exec quoting.
    write(system(), "meta.desktop",
          "[Desktop Entry]\nType=Application\nName=Meta\nPath=" + work.toUtf8() + "\nExec=" +
              recorder.toUtf8() + " \"a;b\" \"\\\\$(touch pwned)\" x|y > out `id` %U %%\n");

    XdgApplicationFolders folders({system()}, {});
    ASSERT_TRUE(folders.launch(system() + "/meta.desktop").started);
    EXPECT_EQ(waitForArguments(work),
              QStringList({"a;b", "$(touch pwned)", "x|y", ">", "out", "`id`", "%"}));
    EXPECT_EQ(test::readFile(work + "/args.pwd").trimmed(), QFile::encodeName(work));
    EXPECT_FALSE(QFileInfo::exists(work + "/pwned"));
    EXPECT_FALSE(QFileInfo::exists(work + "/out"));
}

TEST_F(XdgApplicationFoldersTest, TerminalEntriesRunThroughTheTerminalProgram) {
    const QString work = m_dir.filePath("work");
    QDir().mkpath(work);
    const QString recorder = writeRecorder(work);
    write(system(), "tui.desktop", app("Tui", "Terminal=true\n"));
    // The recorder stands in for x-terminal-emulator.
    XdgApplicationFolders folders({system()}, {}, {}, recorder);
    ASSERT_TRUE(folders.launch(system() + "/tui.desktop").started);
    EXPECT_EQ(waitForArguments(work), QStringList({"-e", "true", "run-Tui"}));
}

TEST_F(XdgApplicationFoldersTest, LaunchRefusesWhatTheScanWouldNotList) {
    write(system(), "hidden.desktop", app("Hidden", "Hidden=true\n"));
    write(system(), "missing-program.desktop",
          "[Desktop Entry]\nType=Application\nName=Gone\nExec=/nonexistent/plimbo-gone\n");
    write(system(), "broken-quote.desktop",
          "[Desktop Entry]\nType=Application\nName=Broken\nExec=app \"open\n");
    write(system(), "other-desktop.desktop", app("Other", "OnlyShowIn=KDE;\n"));
    XdgApplicationFolders folders({system()}, {}, {"XFCE"});
    EXPECT_FALSE(folders.launch(system() + "/hidden.desktop").started);
    EXPECT_FALSE(folders.launch(system() + "/other-desktop.desktop").started);
    // The program is named, so the user learns what is missing.
    const ApplicationLaunch missing = folders.launch(system() + "/missing-program.desktop");
    EXPECT_FALSE(missing.started);
    EXPECT_EQ(missing.program, "/nonexistent/plimbo-gone");
    EXPECT_FALSE(folders.launch(system() + "/broken-quote.desktop").started);
    const ApplicationLaunch unreadable = folders.launch(system() + "/no-such.desktop");
    EXPECT_FALSE(unreadable.started);
    EXPECT_EQ(unreadable.program, QString());
}
