// Launcher search over 5,000 indexed applications (target: under 1 ms per query) and a full
// scan of 5,000 .desktop files in two XDG folders, parsed, filtered, sorted and prepared for
// search (target: under 200 ms).
#include "FakeApplicationFolders.h"
#include "LauncherService.h"
#include "XdgApplicationFolders.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace plimbo;

namespace {

constexpr int Count = 5000;

const QStringList words = {
    "Terminal", "Editor", "Studio",  "Player", "Viewer", "Manager",  "Monitor", "Browser", "Office",
    "Café",     "Photo",  "Music",   "Code",   "Mail",   "Calendar", "Notes",   "Maps",    "Über",
    "Chess",    "Disk",   "Network", "Sound",  "Video",  "Archive",  "Font"};

QString appName(int i) {
    // Two or three words plus a number: names of realistic length that share many letters.
    QString name = words[i % words.size()] + u' ' + words[(i / 7) % words.size()];
    if (i % 3 == 0) {
        name += u' ' + words[(i / 13) % words.size()];
    }
    return name + u' ' + QString::number(i);
}

QByteArray desktopFile(int i) {
    const QByteArray name = appName(i).toUtf8();
    QByteArray text =
        "# Generated entry\n[Desktop Entry]\nVersion=1.0\nType=Application\nName=" + name +
        "\nGenericName=Tool\nComment=Does things with " + name + "\n";
    for (const char* locale : {"de", "fr", "es", "it", "ja", "pt_BR", "ru", "sr@latin", "zh_CN"}) {
        text += "Name[" + QByteArray(locale) + "]=" + name + " (" + locale + ")\n";
        text += "Comment[" + QByteArray(locale) + "]=Translated comment\n";
    }
    // A program that exists, as in a real installation: entries whose program is missing are
    // not listed.
    text += "Exec=sh app-" + QByteArray::number(i) + " --name \"%c\" %U\n";
    text += "Icon=app-" + QByteArray::number(i) + "\nTerminal=false\n";
    text += "Categories=Utility;Development;\nKeywords=one;two;three;\n";
    if (i % 10 == 0) {
        text += "TryExec=sh\n";
    }
    if (i % 50 == 0) {
        text += "NoDisplay=true\n";
    }
    text += "Actions=new-window;\n\n[Desktop Action new-window]\nName=New Window\n"
            "Exec=/usr/bin/app --new-window\n";
    return text;
}

// Waits on the event loop, as the service applies its index on the main thread.
void runUntilFinished(const QFuture<void>& future) {
    while (!future.isFinished()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

struct SearchFixture {
    std::shared_ptr<FakeApplicationFolders> folders = std::make_shared<FakeApplicationFolders>();
    std::unique_ptr<LauncherService> service;

    SearchFixture() {
        QList<DesktopEntry> entries;
        for (int i = 0; i < Count; ++i) {
            DesktopEntry entry;
            entry.type = QStringLiteral("Application");
            entry.name = appName(i);
            entry.exec = QStringLiteral("app");
            entry.id = QStringLiteral("app-%1.desktop").arg(i);
            entry.path = QStringLiteral("/usr/share/applications/") + entry.id;
            entries << entry;
        }
        folders->setEntries(entries);
        service = std::make_unique<LauncherService>(folders);
        runUntilFinished(service->start());
    }
};

SearchFixture& searchFixture() {
    static SearchFixture fixture;
    return fixture;
}

const QStringList queries = {
    QStringLiteral("ter"),       // prefix of many
    QStringLiteral("player 42"), // containment
    QStringLiteral("cdr"),       // letters in order only
    QStringLiteral("zzzz"),      // no match: every name walked to the end
    QStringLiteral("caf\u00e9"), // outside ASCII
    QStringLiteral("  "),        // blank: first entries
};

void BM_LauncherSearch(benchmark::State& state) {
    SearchFixture& f = searchFixture();
    const QString query = queries[state.range(0)];
    qsizetype found = 0;
    for (auto _ : state) {
        const QList<ApplicationRecord> results = f.service->search(query, 12);
        found = results.size();
        benchmark::DoNotOptimize(results);
    }
    state.SetLabel(query.trimmed().isEmpty() ? "<blank>" : query.toStdString());
    state.counters["indexed"] = double(f.service->applications().size());
    state.counters["results"] = double(found);
}

struct ScanFixture {
    QTemporaryDir dir;
    QStringList folders;

    ScanFixture() {
        folders = {dir.filePath("home/applications"), dir.filePath("system/applications")};
        for (int i = 0; i < Count; ++i) {
            // Most in the system folder, some in sub-folders, some shadowed from home.
            QString folder = folders[i % 5 == 0 ? 0 : 1];
            if (i % 4 == 0) {
                folder += QStringLiteral("/vendor%1").arg(i % 8);
            }
            QDir().mkpath(folder);
            QFile file(folder + QStringLiteral("/app-%1.desktop").arg(i));
            file.open(QIODevice::WriteOnly);
            file.write(desktopFile(i));
        }
    }
};

void BM_LauncherFullScan(benchmark::State& state) {
    static ScanFixture fixture;
    const XdgApplicationFolders folders(fixture.folders, {QStringLiteral("de_DE.UTF-8")});
    qsizetype listed = 0;
    for (auto _ : state) {
        const LauncherService::Index index = LauncherService::discoverApplications(folders);
        listed = index.records.size();
        benchmark::DoNotOptimize(index);
    }
    state.counters["files"] = Count;
    state.counters["listed"] = double(listed);
}

} // namespace

BENCHMARK(BM_LauncherSearch)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LauncherFullScan)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
