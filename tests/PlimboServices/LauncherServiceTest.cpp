#include "LauncherService.h"

#include "FakeApplicationFolders.h"
#include "TestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

DesktopEntry entry(const QString& name, const QString& file = {}) {
    DesktopEntry out;
    out.type = "Application";
    out.name = name;
    out.exec = "run";
    out.icon = name.toLower() + "-icon";
    out.id = (file.isEmpty() ? name.toLower() : file) + ".desktop";
    out.path = "/usr/share/applications/" + out.id;
    return out;
}

QList<DesktopEntry> entries(const QStringList& names) {
    QList<DesktopEntry> out;
    for (const QString& name : names) {
        out << entry(name, name + QString::number(out.size()));
    }
    return out;
}

QStringList names(const QList<ApplicationRecord>& records) {
    QStringList out;
    for (const ApplicationRecord& record : records) {
        out << record.name;
    }
    return out;
}

// A running service whose index holds exactly these names.
std::unique_ptr<LauncherService> indexed(const QStringList& appNames) {
    auto folders = std::make_shared<FakeApplicationFolders>();
    folders->setEntries(entries(appNames));
    auto service = std::make_unique<LauncherService>(folders);
    EXPECT_TRUE(test::waitFor(service->start()));
    return service;
}

} // namespace

TEST(LauncherService, ScoresByEqualityPrefixContainmentThenLettersInOrder) {
    EXPECT_EQ(LauncherService::score("Safari", "safari"), 1000);
    EXPECT_EQ(LauncherService::score("Safari", "SAFARI"), 1000);
    EXPECT_EQ(LauncherService::score("Safari", "saf"), 794);
    EXPECT_EQ(LauncherService::score("Safari", "far"), 594);
    EXPECT_EQ(LauncherService::score("Safari", "sfr"), 30);
    EXPECT_EQ(LauncherService::score("Safari", "xyz"), 0);
    EXPECT_EQ(LauncherService::score("Safari", "sfrx"), 0);
    // Very long names can score zero or less on a prefix.
    EXPECT_LE(LauncherService::score(QString(900, 'a'), "a"), 0);
}

TEST(LauncherService, ScoresWholeCharactersWithCanonicalEquivalence) {
    const QString decomposed = QStringLiteral("Cafe\u0301");
    const QString composed = QStringLiteral("Caf\u00e9");
    EXPECT_EQ(LauncherService::score(decomposed, composed), 1000);
    // "e" is not a prefix of "é", nor is the accent a letter of its own.
    EXPECT_EQ(LauncherService::score(decomposed + " Bar", "cafe"), 0);
    EXPECT_EQ(LauncherService::score(decomposed + " Bar", QStringLiteral("caf\u00e9")), 800 - 8);
    // Length counts characters, not code units: an emoji is one character.
    EXPECT_EQ(LauncherService::score(QStringLiteral("\U0001F600 Smile"), "smile"), 600 - 7);
    EXPECT_EQ(LauncherService::score(QStringLiteral("\u00dcbersicht"), QStringLiteral("\u00fcb")),
              800 - 9);
    // q with a combining accent has no composed form: one character of two code points.
    const QString qAcute = QStringLiteral("q\u0301");
    EXPECT_EQ(LauncherService::score(qAcute + "uiz", "q"), 0);
    EXPECT_EQ(LauncherService::score("a" + qAcute + "b", qAcute), 600 - 3);
    EXPECT_EQ(LauncherService::score("a" + qAcute + "b", QStringLiteral("x\u0301")), 0);
    EXPECT_EQ(LauncherService::score("a" + qAcute + "b" + qAcute, "a" + qAcute + "b" + qAcute),
              1000);
    EXPECT_EQ(LauncherService::score("a" + qAcute + "xb", "a" + qAcute + "b"), 30);
}

TEST(LauncherService, SearchRanksByScoreThenPlainNameOrder) {
    const auto service = indexed({"Safari Technology Preview", "Safari", "Mozilla Thunderbird",
                                  "Mail", "notes", "Image Magic", "Notes", "Maps"});
    EXPECT_EQ(names(service->search("saf", 12)),
              QStringList({"Safari", "Safari Technology Preview"}));
    // Equal scores: upper case sorts before lower case in plain order.
    EXPECT_EQ(names(service->search("notes", 12)), QStringList({"Notes", "notes"}));
    // Prefix, then containment, then letters in order.
    EXPECT_EQ(names(service->search("ma", 12)),
              QStringList({"Mail", "Maps", "Image Magic", "Mozilla Thunderbird"}));
    EXPECT_EQ(names(service->search(" \n\tsaf  ", 1)), QStringList({"Safari"}));
    EXPECT_TRUE(service->search("zzz", 12).isEmpty());
    EXPECT_TRUE(service->search("saf", 0).isEmpty());
}

TEST(LauncherService, BlankQueryListsTheIndexInNameOrder) {
    const auto service = indexed({"cherry", "Banana", "apple", "date"});
    // The index is sorted ignoring case.
    EXPECT_EQ(names(service->applications()), QStringList({"apple", "Banana", "cherry", "date"}));
    EXPECT_EQ(names(service->search("   ", 3)), QStringList({"apple", "Banana", "cherry"}));
    EXPECT_EQ(names(service->search("", 80)).size(), 4);
}

TEST(LauncherService, RecordsCarryPathUrlAndIcon) {
    const auto service = indexed({"Editor"});
    ASSERT_EQ(service->applications().size(), 1);
    const ApplicationRecord record = service->applications().front();
    EXPECT_EQ(record.id, "/usr/share/applications/Editor0.desktop");
    EXPECT_EQ(record.url, QUrl::fromLocalFile(record.id));
    EXPECT_EQ(record.icon, "editor-icon");
}

TEST(LauncherService, ModuleLifecycle) {
    auto folders = std::make_shared<FakeApplicationFolders>();
    folders->setEntries(entries({"B", "A"}));
    folders->holdNextScan();
    LauncherService service(folders);
    EXPECT_EQ(service.manifest().id, "launcher");
    EXPECT_EQ(service.healthCheck().result(), ModuleHealth::stopped());
    QSignalSpy appsChanged(&service, &LauncherService::applicationsChanged);

    QFuture<void> started = service.start();
    EXPECT_TRUE(service.isRunning());
    EXPECT_TRUE(service.isIndexing());
    EXPECT_EQ(service.healthCheck().result(), ModuleHealth::starting());
    EXPECT_EQ(service.resourceUsageSnapshot(),
              (ModuleResourceSnapshot{1, "Indexing applications"}));
    // A second start while running returns at once and scans nothing more.
    EXPECT_TRUE(service.start().isFinished());
    ASSERT_TRUE(folders->waitUntilScanHeld());
    EXPECT_FALSE(started.isFinished());

    folders->releaseHeldScans();
    ASSERT_TRUE(test::waitFor(started));
    EXPECT_EQ(folders->scanCount(), 1);
    EXPECT_FALSE(service.isIndexing());
    EXPECT_EQ(names(service.applications()), QStringList({"A", "B"}));
    EXPECT_EQ(service.healthCheck().result(), ModuleHealth::healthy("2 apps indexed"));
    EXPECT_EQ(service.resourceUsageSnapshot(), (ModuleResourceSnapshot{0, "Dormant"}));
    EXPECT_EQ(appsChanged.count(), 1);

    ASSERT_TRUE(test::waitFor(service.stop()));
    EXPECT_FALSE(service.isRunning());
    EXPECT_TRUE(service.applications().isEmpty());
    EXPECT_EQ(service.healthCheck().result(), ModuleHealth::stopped());
    EXPECT_EQ(appsChanged.count(), 2);
    // Stopping again changes nothing and says nothing.
    service.stop();
    EXPECT_EQ(appsChanged.count(), 2);
}

TEST(LauncherService, ScanEndingAfterStopDoesNotFillTheIndex) {
    auto folders = std::make_shared<FakeApplicationFolders>();
    folders->setEntries(entries({"Stale"}));
    folders->holdNextScan();
    LauncherService service(folders);
    QFuture<void> started = service.start();
    ASSERT_TRUE(folders->waitUntilScanHeld());
    service.stop();

    folders->releaseHeldScans();
    ASSERT_TRUE(test::waitFor(started));
    EXPECT_TRUE(service.applications().isEmpty());
    EXPECT_FALSE(service.isIndexing());
    EXPECT_FALSE(service.isRunning());
}

TEST(LauncherService, ScanOvertakenByANewerStartIsDropped) {
    auto folders = std::make_shared<FakeApplicationFolders>();
    folders->setEntries(entries({"Old"}));
    folders->holdNextScan();
    LauncherService service(folders);
    QFuture<void> first = service.start();
    ASSERT_TRUE(folders->waitUntilScanHeld());
    service.stop();

    folders->setEntries(entries({"New"}));
    QFuture<void> second = service.start();
    ASSERT_TRUE(test::waitFor(second));
    EXPECT_EQ(names(service.applications()), QStringList({"New"}));

    folders->releaseHeldScans();
    ASSERT_TRUE(test::waitFor(first));
    EXPECT_EQ(names(service.applications()), QStringList({"New"}));
    EXPECT_FALSE(service.isIndexing());
    EXPECT_TRUE(service.isRunning());
}

TEST(LauncherService, ScanOutlivingTheServiceIsHarmless) {
    auto folders = std::make_shared<FakeApplicationFolders>();
    folders->setEntries(entries({"Orphan"}));
    folders->holdNextScan();
    QFuture<void> started;
    {
        LauncherService service(folders);
        started = service.start();
        ASSERT_TRUE(folders->waitUntilScanHeld());
    }
    folders->releaseHeldScans();
    EXPECT_TRUE(QTest::qWaitFor([&] { return started.isFinished() || started.isCanceled(); }));
}

TEST(LauncherService, LaunchGoesThroughTheFoldersAndAFailureNamesTheProgram) {
    auto folders = std::make_shared<FakeApplicationFolders>();
    folders->setEntries(entries({"Editor"}));
    LauncherService service(folders);
    QSignalSpy failed(&service, &LauncherService::failed);
    ASSERT_TRUE(test::waitFor(service.start()));
    const ApplicationRecord record = service.applications().front();
    EXPECT_TRUE(service.launch(record));
    EXPECT_EQ(failed.count(), 0);
    folders->setLaunchResult(false, "/usr/sbin/editor");
    EXPECT_FALSE(service.launch(record));
    EXPECT_EQ(folders->launchedPaths(), QStringList({record.id, record.id}));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(),
              LauncherService::launchFailedMessage("Editor", "/usr/sbin/editor"));
    EXPECT_TRUE(failed.at(0).at(0).toString().contains("/usr/sbin/editor"));
    // Only local entry files can be launched.
    EXPECT_FALSE(service.launch(ApplicationRecord("Web", QUrl("https://example.org/x.desktop"))));
    EXPECT_EQ(folders->launchedPaths().size(), 2);
    EXPECT_EQ(failed.count(), 2);
}
