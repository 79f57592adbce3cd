#include "DesktopExecLine.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

QStringList split(const QString& exec) {
    return DesktopExecLine::split(exec).value_or(QStringList{"<invalid>"});
}

DesktopEntry entryWithExec(const QString& exec) {
    DesktopEntry entry;
    entry.type = "Application";
    entry.name = "My App";
    entry.exec = exec;
    entry.icon = "my-icon";
    entry.path = "/usr/share/applications/my app.desktop";
    return entry;
}

} // namespace

TEST(DesktopExecLine, SplitsByQuotingRules) {
    EXPECT_EQ(split("prog  a\tb"), QStringList({"prog", "a", "b"}));
    EXPECT_EQ(split("prog \"two words\" x\"glued\"y"),
              QStringList({"prog", "two words", "xgluedy"}));
    EXPECT_EQ(split(R"(prog "a \"q\" \`b\` \$c \\d")"),
              QStringList({"prog", "a \"q\" `b` $c \\d"}));
    // Inside quotes, a backslash before any other character is kept.
    EXPECT_EQ(split(R"(prog "C:\dir")"), QStringList({"prog", "C:\\dir"}));
    EXPECT_EQ(split("prog \"\""), QStringList({"prog", ""}));
    EXPECT_EQ(split("  "), QStringList());
    EXPECT_FALSE(DesktopExecLine::split("prog \"open"));
}

TEST(DesktopExecLine, ShellMetacharactersStayLiteral) {
    // Nothing here may be interpreted: no pipes, redirection, substitution or globbing.
    EXPECT_EQ(split(R"(sh -c "echo hi; rm -rf ~" $(id) `id` a|b a>b * ~ 'single')"),
              QStringList({"sh", "-c", "echo hi; rm -rf ~", "$(id)", "`id`", "a|b", "a>b", "*", "~",
                           "'single'"}));
}

TEST(DesktopExecLine, ExpandsFieldCodesForALaunchWithoutFiles) {
    const DesktopEntry entry = entryWithExec({});
    EXPECT_EQ(DesktopExecLine::expandFieldCodes({"app", "%f", "%F", "%u", "%U"}, entry),
              QStringList({"app"}));
    EXPECT_EQ(DesktopExecLine::expandFieldCodes({"app", "%i", "%c", "%k"}, entry),
              QStringList({"app", "--icon", "my-icon", "My App",
                           "/usr/share/applications/my app.desktop"}));
    EXPECT_EQ(
        DesktopExecLine::expandFieldCodes({"app", "100%%", "--file=%f", "%d%D%n%N%v%m"}, entry),
        QStringList({"app", "100%", "--file="}));
    // A name holding a field code is not expanded again.
    DesktopEntry tricky = entry;
    tricky.name = "50%% %f off";
    tricky.icon.clear();
    EXPECT_EQ(DesktopExecLine::expandFieldCodes({"app", "%c", "%i"}, tricky),
              QStringList({"app", "50%% %f off"}));
    // An empty argument given on purpose stays.
    EXPECT_EQ(DesktopExecLine::expandFieldCodes({"app", ""}, entry), QStringList({"app", ""}));
}

TEST(DesktopExecLine, BuildsCommands) {
    auto command = DesktopExecLine::command(entryWithExec("/opt/app/bin/app --new %U"));
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, "/opt/app/bin/app");
    EXPECT_EQ(command->arguments, QStringList({"--new"}));

    DesktopEntry terminal = entryWithExec("htop --tree \"%c\"");
    terminal.terminal = true;
    terminal.workingDirectory = "/srv";
    command = DesktopExecLine::command(terminal);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->program, "x-terminal-emulator");
    EXPECT_EQ(command->arguments, QStringList({"-e", "htop", "--tree", "My App"}));
    EXPECT_EQ(command->workingDirectory, "/srv");

    EXPECT_FALSE(DesktopExecLine::command(entryWithExec("")));
    EXPECT_FALSE(DesktopExecLine::command(entryWithExec("%f %U")));
    EXPECT_FALSE(DesktopExecLine::command(entryWithExec("app \"unterminated")));
}
