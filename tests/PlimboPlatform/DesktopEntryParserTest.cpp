#include "DesktopEntryParser.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace plimbo;

namespace {

std::optional<DesktopEntry> parse(const QByteArray& text, const QString& locale = {}) {
    return DesktopEntryParser(locale).parse(text);
}

const QByteArray localised = "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Plain\n"
                             "Name[sr]=Lang\n"
                             "Name[sr@latin]=LangModifier\n"
                             "Name[sr_RS]=LangCountry\n"
                             "Name[sr_RS@latin]=Full\n"
                             "Exec=app\n";

} // namespace

TEST(DesktopEntryParser, LocaleCandidatesFollowFallbackOrder) {
    EXPECT_EQ(DesktopEntryParser::localeCandidates("sr_RS.UTF-8@latin"),
              QStringList({"sr_RS@latin", "sr_RS", "sr@latin", "sr"}));
    EXPECT_EQ(DesktopEntryParser::localeCandidates("de_DE.UTF-8"), QStringList({"de_DE", "de"}));
    EXPECT_EQ(DesktopEntryParser::localeCandidates("sr@latin"), QStringList({"sr@latin", "sr"}));
    EXPECT_TRUE(DesktopEntryParser::localeCandidates("C.UTF-8").isEmpty());
    EXPECT_TRUE(DesktopEntryParser::localeCandidates("POSIX").isEmpty());
    EXPECT_TRUE(DesktopEntryParser::localeCandidates("").isEmpty());
}

TEST(DesktopEntryParser, PicksTheBestLocalisedName) {
    EXPECT_EQ(parse(localised, "sr_RS.UTF-8@latin")->name, "Full");
    EXPECT_EQ(parse(localised, "sr_RS.UTF-8")->name, "LangCountry");
    EXPECT_EQ(parse(localised, "sr_ME@latin")->name, "LangModifier");
    EXPECT_EQ(parse(localised, "sr_ME")->name, "Lang");
    EXPECT_EQ(parse(localised, "de_DE.UTF-8")->name, "Plain");
    EXPECT_EQ(parse(localised, "C.UTF-8")->name, "Plain");

    // Order in the file must not matter: the best candidate wins even when it comes first.
    const QByteArray bestFirst = "[Desktop Entry]\nName[de_DE]=Best\nName[de]=Worse\nName=X\n";
    EXPECT_EQ(parse(bestFirst, "de_DE")->name, "Best");
}

TEST(DesktopEntryParser, ActionGroupNamesNeverLeakIntoTheEntry) {
    const QByteArray text = "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Firefox\n"
                            "Exec=firefox %u\n"
                            "Actions=new-window;\n"
                            "\n"
                            "[Desktop Action new-window]\n"
                            "Name=Open a New Window\n"
                            "Name[de]=Neues Fenster\n"
                            "Exec=firefox --new-window %u\n";
    const auto entry = parse(text, "de_DE");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Firefox");
    EXPECT_EQ(entry->exec, "firefox %u");

    // The entry's group comes first, or the file is no desktop entry (as GLib reads it).
    const QByteArray actionFirst = "[Desktop Action x]\nName=Action\n"
                                   "[Desktop Entry]\nType=Application\nName=Real\nExec=real\n";
    EXPECT_FALSE(parse(actionFirst));

    // No Name in the entry group: the action's Name must not stand in for it.
    const QByteArray nameless = "[Desktop Entry]\nType=Application\nExec=a\n"
                                "[Desktop Action x]\nName=Action\n";
    EXPECT_TRUE(parse(nameless)->name.isEmpty());
}

TEST(DesktopEntryParser, UnescapesValues) {
    EXPECT_EQ(DesktopEntryParser::unescapeValue(u"a\\sb\\nc\\td\\re\\\\f"), "a b\nc\td\re\\f");
    // Unknown pairs survive for the Exec quoting layer; a lone trailing backslash stays.
    EXPECT_EQ(DesktopEntryParser::unescapeValue(u"say \\\"hi\\\" \\$HOME\\"),
              "say \\\"hi\\\" \\$HOME\\");

    const QByteArray text = "[Desktop Entry]\nName=\\sLeading Space\nIcon=/opt/my\\sapp.png\n"
                            "Exec=run \"C:\\\\\\\\dir\"\n";
    const auto entry = parse(text);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, " Leading Space");
    EXPECT_EQ(entry->icon, "/opt/my app.png");
    // Four backslashes in the file are two after value unescaping (the Exec layer halves them).
    EXPECT_EQ(entry->exec, "run \"C:\\\\dir\"");
}

TEST(DesktopEntryParser, ReadsFlagsAndToleratesLayout) {
    const QByteArray text = "\xEF\xBB\xBF# comment before the group\r\n"
                            "\r\n"
                            "[Desktop Entry]\r\n"
                            "  Type = Application  \r\n"
                            "Name=First\r\n"
                            "Name=Second\r\n"
                            "Hidden=true\r\n"
                            "NoDisplay=1\r\n"
                            "Terminal=false\r\n"
                            "TryExec=/usr/bin/true\r\n"
                            "Path=/tmp\r\n"
                            "X-Unknown-Key=whatever\r\n"
                            "Bad Key=ignored\r\n";
    const auto entry = parse(text);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->type, "Application");
    EXPECT_EQ(entry->name, "First"); // first occurrence of a key wins
    EXPECT_TRUE(entry->hidden);
    EXPECT_TRUE(entry->noDisplay);
    EXPECT_FALSE(entry->terminal);
    EXPECT_EQ(entry->tryExec, "/usr/bin/true");
    EXPECT_EQ(entry->workingDirectory, "/tmp");
}

TEST(DesktopEntryParser, RejectsMalformedAndHostileFiles) {
    // Key before any group header.
    EXPECT_FALSE(parse("Name=Orphan\n[Desktop Entry]\nName=X\n"));
    // No [Desktop Entry] group at all.
    EXPECT_FALSE(parse("[Something Else]\nName=X\n"));
    EXPECT_FALSE(parse(""));
    // A line that is neither comment, group nor key.
    EXPECT_FALSE(parse("[Desktop Entry]\nName=X\njust words\n"));
    // Unterminated group header.
    EXPECT_FALSE(parse("[Desktop Entry\nName=X\n"));
    // Binary junk: NUL bytes, invalid UTF-8.
    EXPECT_FALSE(parse(QByteArray("[Desktop Entry]\nName=X\0Y\n", 23)));
    EXPECT_FALSE(parse("[Desktop Entry]\nName=\xff\xfe\n"));
    // A very long line.
    EXPECT_FALSE(parse(
        "[Desktop Entry]\nName=" + QByteArray(DesktopEntryParser::MaxLineLength + 1, 'a') + "\n"));
    // Oversized as a whole even with short lines.
    QByteArray huge = "[Desktop Entry]\nName=X\n";
    while (huge.size() <= DesktopEntryParser::MaxFileSize) {
        huge += "# padding padding padding padding padding padding padding padding\n";
    }
    EXPECT_FALSE(parse(huge));
}

TEST(DesktopEntryParser, ParseFileRefusesNonRegularAndOversizedFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath("good.desktop");
    ASSERT_TRUE(test::writeFile(good, "[Desktop Entry]\nType=Application\nName=Good\nExec=g\n"));
    const auto entry = DesktopEntryParser().parseFile(good);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->path, good);

    EXPECT_FALSE(DesktopEntryParser().parseFile(dir.filePath("missing.desktop")));
    EXPECT_FALSE(DesktopEntryParser().parseFile(dir.path()));
    // A FIFO would block a plain open until a writer came along.
    const QString fifo = dir.filePath("fifo.desktop");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(DesktopEntryParser().parseFile(fifo));

    const QString big = dir.filePath("big.desktop");
    ASSERT_TRUE(test::writeFile(big, "[Desktop Entry]\nName=Big\n" +
                                         QByteArray(DesktopEntryParser::MaxFileSize, '#')));
    EXPECT_FALSE(DesktopEntryParser().parseFile(big));
}
