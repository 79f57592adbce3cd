#include "PaletteResultsBuilder.h"

#include "ClipboardService.h"
#include "FakeApplicationFolders.h"
#include "FakePowerAssertion.h"
#include "InMemoryPasteboard.h"
#include "KeepAwakeService.h"
#include "LauncherService.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTimeZone>

using namespace plimbo;
using namespace std::chrono_literals;

namespace {

ApplicationRecord app(const QString& name, const QString& path = {}) {
    return ApplicationRecord(
        name, QUrl::fromLocalFile(path.isEmpty() ? "/usr/share/applications/" + name + ".desktop"
                                                 : path));
}

QList<ApplicationRecord> apps(int count) {
    QList<ApplicationRecord> out;
    for (int i = 0; i < count; ++i) {
        out << app(QStringLiteral("app%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    return out;
}

ClipboardItem clip(const QString& text, const QDateTime& createdAt = {}) {
    return ClipboardItem{QUuid::createUuid(), text,
                         createdAt.isValid() ? createdAt : QDateTime::currentDateTimeUtc(), false};
}

QList<ClipboardItem> clips(int count) {
    QList<ClipboardItem> out;
    for (int i = 0; i < count; ++i) {
        out << clip(QStringLiteral("clip%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    return out;
}

// Commands by id; applications and clipboard entries by their title.
QStringList keys(const QList<PaletteItem>& items) {
    QStringList out;
    for (const PaletteItem& item : items) {
        out << (item.kind == PaletteItemKind::application || item.kind == PaletteItemKind::clipboard
                    ? item.title
                    : item.id);
    }
    return out;
}

QStringList numbered(const QString& stem, int count) {
    QStringList out;
    for (int i = 0; i < count; ++i) {
        out << QStringLiteral("%1%2").arg(stem).arg(i, 2, 10, QLatin1Char('0'));
    }
    return out;
}

const QStringList allCommands{"command.dashboard", "command.launcher", "command.clipboard",
                              "command.ai",        "command.airdrop",  "command.screenshot",
                              "command.keepawake", "command.settings"};

// "open" is in four titles and in the subtitles of the assistant and the screenshot command.
const QStringList openCommands{"command.dashboard", "command.launcher",   "command.clipboard",
                               "command.ai",        "command.screenshot", "command.settings"};
const QStringList plimboCommands{"command.dashboard", "command.ai", "command.settings"};

struct RankingCase {
    const char* name;
    QString query;
    int applications;
    int clipboardItems;
    bool keepingAwake;
    QStringList expected;
};

void PrintTo(const RankingCase& c, std::ostream* os) {
    *os << c.name;
}

class PaletteRanking : public testing::TestWithParam<RankingCase> {};

TEST_P(PaletteRanking, CommandsThenApplicationsThenClipboardWithinTheLimits) {
    const RankingCase& c = GetParam();
    const QList<PaletteItem> results = PaletteResultsBuilder::build(
        c.query, apps(c.applications), clips(c.clipboardItems), c.keepingAwake);
    EXPECT_EQ(keys(results), c.expected);
    EXPECT_LE(results.size(), 24);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PaletteRanking,
    testing::Values(
        // 8 commands and 12 applications leave room for 4 clipboard entries.
        RankingCase{"EmptyQueryCutAt24", "", 20, 10, false,
                    allCommands + numbered("app", 12) + numbered("clip", 4)},
        RankingCase{"BlankQueryIsEmpty", " \t\n\u2028 ", 20, 10, false,
                    allCommands + numbered("app", 12) + numbered("clip", 4)},
        RankingCase{"ClipboardCappedAt8", "", 3, 10, false,
                    allCommands + numbered("app", 3) + numbered("clip", 8)},
        RankingCase{"NothingIndexed", "", 0, 0, false, allCommands},
        RankingCase{"TitleMatch", "clip", 2, 3, false,
                    QStringList{"command.clipboard"} + numbered("app", 2) + numbered("clip", 3)},
        RankingCase{"QueryIsTrimmed", "  clip\n", 0, 0, false, {"command.clipboard"}},
        RankingCase{"SubtitleMatch", "space", 0, 0, false, {"command.launcher"}},
        RankingCase{"CaseInsensitive", "OPEN", 0, 0, false, openCommands},
        RankingCase{"TitleOrSubtitle", "plimbo", 0, 0, false, plimboCommands},
        RankingCase{"AwakeWhileReleased", "awake", 0, 0, false, {"command.keepawake"}},
        RankingCase{"AwakeWhileHeld", "awake", 0, 0, true, {}},
        RankingCase{"SleepWhileHeld", "sleep", 0, 0, true, {"command.keepawake"}},
        RankingCase{"SleepWhileReleased", "sleep", 0, 0, false, {}},
        RankingCase{"PowerEitherWay", "power", 0, 0, true, {"command.keepawake"}},
        RankingCase{"SymbolsAreNotSearched", "gearshape", 0, 0, false, {}},
        // The services' own matches are kept as they are, capped at 12 and 8.
        RankingCase{"ServiceResultsKeptAndCapped", "zzz", 30, 30, false,
                    numbered("app", 12) + numbered("clip", 8)}),
    [](const testing::TestParamInfo<RankingCase>& info) { return std::string(info.param.name); });

TEST(PaletteResultsBuilder, OnlyTheKeepAwakeEntryFollowsTheAssertion) {
    const QList<PaletteItem> released = PaletteResultsBuilder::commandItems(false);
    const QList<PaletteItem> held = PaletteResultsBuilder::commandItems(true);
    ASSERT_EQ(released.size(), 8);
    ASSERT_EQ(held.size(), 8);
    EXPECT_EQ(released[6],
              (PaletteItem{"command.keepawake", PaletteItemKind::command, "Keep Computer Awake",
                           "Toggle power assertion", "cup.and.heat.waves",
                           PaletteAction::toggleKeepAwake(), 960}));
    PaletteItem allowSleep = released[6];
    allowSleep.title = "Allow Sleep";
    allowSleep.symbol = "moon.zzz";
    EXPECT_EQ(held[6], allowSleep);
    for (int i = 0; i < 8; ++i) {
        if (i != 6) {
            EXPECT_EQ(held[i], released[i]);
        }
    }
    EXPECT_EQ(released[3].kind, PaletteItemKind::ai);
}

TEST(PaletteResultsBuilder, EqualScoresKeepTheServicesOrder) {
    // Not in name order: the launcher ranks by score, and that order must survive.
    const QList<ApplicationRecord> ranked{app("Zed"), app("Alpha"), app("Mid")};
    const QList<ClipboardItem> history{clip("newest"), clip("older"), clip("oldest")};
    const QList<PaletteItem> results = PaletteResultsBuilder::build("zzz", ranked, history, false);
    EXPECT_EQ(keys(results), (QStringList{"Zed", "Alpha", "Mid", "newest", "older", "oldest"}));
}

TEST(PaletteResultsBuilder, ApplicationEntryNamesTheFolderThatHoldsIt) {
    const ApplicationRecord firefox = app("Firefox", "/usr/share/applications/firefox.desktop");
    const PaletteItem item = PaletteResultsBuilder::applicationItem(firefox);
    EXPECT_EQ(item, (PaletteItem{"app./usr/share/applications/firefox.desktop",
                                 PaletteItemKind::application, "Firefox", "/usr/share/applications",
                                 "app", PaletteAction::launchApplication(firefox.url), 800}));

    EXPECT_EQ(PaletteResultsBuilder::applicationItem(app("Top", "/top.desktop")).subtitle, "/");
    const PaletteItem spaced =
        PaletteResultsBuilder::applicationItem(app("Mine", "/opt/My Apps/100% mine.desktop"));
    EXPECT_EQ(spaced.subtitle, "/opt/My Apps");
    EXPECT_EQ(spaced.id, "app./opt/My Apps/100% mine.desktop");
}

TEST(PaletteResultsBuilder, ClipboardEntryShowsPreviewAndLocalTimeOfDay) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QDateTime createdAt =
        QDateTime(QDate(2026, 3, 4), QTime(8, 5, 59), QTimeZone::systemTimeZone()).toUTC();
    const QUuid id = QUuid::fromString(QStringLiteral("{6f1c1f0e-3b7a-4c1d-9e55-0a1b2c3d4e5f}"));
    const ClipboardItem item{id, QString("line one\nline two ") + QString(120, 'x'), createdAt,
                             false};

    const PaletteItem entry = PaletteResultsBuilder::clipboardItem(item);
    QLocale::setDefault(previous);

    EXPECT_EQ(entry.id, "clipboard.6F1C1F0E-3B7A-4C1D-9E55-0A1B2C3D4E5F");
    EXPECT_EQ(entry.kind, PaletteItemKind::clipboard);
    EXPECT_EQ(entry.title, item.preview());
    EXPECT_TRUE(entry.title.startsWith("line one line two x"));
    EXPECT_EQ(entry.title.size(), 100);
    EXPECT_EQ(entry.subtitle, "Clipboard · 08:05");
    EXPECT_EQ(entry.symbol, "clipboard");
    EXPECT_EQ(entry.action, PaletteAction::copyClipboard(id));
    EXPECT_EQ(entry.score, 600);
}

TEST(PaletteResultsBuilder, ReadsTheServicesThroughTheirSearchesAndLimits) {
    auto folders = std::make_shared<FakeApplicationFolders>();
    QList<DesktopEntry> entries;
    for (const QString name : {"Clipper", "Calculator", "Eclipse", "Files", "Terminal"}) {
        DesktopEntry entry;
        entry.type = "Application";
        entry.name = name;
        entry.exec = "run";
        entry.id = name.toLower() + ".desktop";
        entry.path = "/usr/share/applications/" + entry.id;
        entries << entry;
    }
    for (int i = 0; i < 20; ++i) {
        DesktopEntry entry = entries.last();
        entry.name = QStringLiteral("Tool %1").arg(i, 2, 10, QLatin1Char('0'));
        entry.id = QStringLiteral("tool%1.desktop").arg(i);
        entry.path = "/usr/share/applications/" + entry.id;
        entries << entry;
    }
    folders->setEntries(entries);
    LauncherService launcher(folders);
    ASSERT_TRUE(test::waitFor(launcher.start()));

    auto board = std::make_unique<InMemoryPasteboard>();
    InMemoryPasteboard* pasteboard = board.get();
    ClipboardService clipboard(100, std::move(board), 5ms);
    clipboard.start();
    for (int i = 0; i < 10; ++i) {
        pasteboard->copyText(i == 3 ? QStringLiteral("paper clip")
                                    : QStringLiteral("text %1").arg(i));
        ASSERT_TRUE(QTest::qWaitFor([&] { return clipboard.items().size() == i + 1; }, 2000));
    }
    clipboard.stop();

    KeepAwakeService keepAwake(std::make_unique<FakePowerAssertion>());
    keepAwake.toggle();
    ASSERT_TRUE(keepAwake.isKeepingAwake());

    const QList<PaletteItem> all = PaletteResultsBuilder::build("", launcher, clipboard, keepAwake);
    ASSERT_EQ(all.size(), 24);
    EXPECT_EQ(all[6].title, "Allow Sleep");
    EXPECT_EQ(all[8].title, "Calculator"); // the index in name order
    EXPECT_EQ(all[20].title, "text 9");    // newest first

    const QList<PaletteItem> found =
        PaletteResultsBuilder::build(" clip ", launcher, clipboard, keepAwake);
    QStringList titles;
    for (const PaletteItem& item : found) {
        titles << item.title;
    }
    EXPECT_EQ(titles, (QStringList{"Open Clipboard", "Clipper", "Eclipse", "paper clip"}));
}

} // namespace
