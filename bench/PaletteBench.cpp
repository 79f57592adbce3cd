// Palette rebuild per keystroke: 5,000 indexed applications and 100 clipboard items, the
// launcher and clipboard searches included. Target: under 2 ms per rebuild with short clipboard
// items, under 16 ms (one frame) with 100 items of 1 MiB each.
#include "ClipboardService.h"
#include "FakeApplicationFolders.h"
#include "FakePowerAssertion.h"
#include "InMemoryPasteboard.h"
#include "KeepAwakeService.h"
#include "LauncherService.h"
#include "PaletteResultsBuilder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <random>

using namespace plimbo;
using namespace std::chrono_literals;

namespace {

QString word(std::mt19937& random) {
    static const QStringList syllables{"ka",  "lo",  "mi",  "stu", "dio", "vis", "ual", "fire",
                                       "fox", "ter", "mi",  "nal", "gim", "pe",  "li",  "bre",
                                       "off", "ice", "cal", "cu",  "la",  "tor", "no",  "te"};
    std::uniform_int_distribution<int> count(2, 4);
    std::uniform_int_distribution<qsizetype> pick(0, syllables.size() - 1);
    QString out;
    for (int i = count(random); i > 0; --i) {
        out += syllables[pick(random)];
    }
    out[0] = out[0].toUpper();
    return out;
}

struct Fixture {
    std::shared_ptr<FakeApplicationFolders> folders = std::make_shared<FakeApplicationFolders>();
    LauncherService launcher{folders};
    InMemoryPasteboard* pasteboard = nullptr;
    std::unique_ptr<ClipboardService> clipboard;
    KeepAwakeService keepAwake{std::make_unique<FakePowerAssertion>()};

    Fixture() {
        std::mt19937 random(7);
        QList<DesktopEntry> entries;
        for (int i = 0; i < 5000; ++i) {
            DesktopEntry entry;
            entry.type = QStringLiteral("Application");
            entry.name = word(random) + (i % 3 ? QStringLiteral(" ") + word(random) : QString());
            entry.exec = QStringLiteral("run");
            entry.id = QStringLiteral("app%1.desktop").arg(i);
            entry.path = QStringLiteral("/usr/share/applications/") + entry.id;
            entries << entry;
        }
        folders->setEntries(entries);
        const QFuture<void> started = launcher.start();
        if (!QTest::qWaitFor([&] { return started.isFinished(); }, 60000)) {
            qFatal("the application index was not built");
        }

        auto board = std::make_unique<InMemoryPasteboard>();
        pasteboard = board.get();
        clipboard = std::make_unique<ClipboardService>(100, std::move(board), 1ms);
        clipboard->start();
        for (int i = 0; i < 100; ++i) {
            pasteboard->copyText(QStringLiteral("Copied text number %1: ").arg(i) + word(random) +
                                 QStringLiteral(" ") + word(random) + QString(120, u'x'));
            if (!QTest::qWaitFor([&] { return clipboard->items().size() == i + 1; }, 5000)) {
                qFatal("the clipboard did not take item %d", i);
            }
        }
        clipboard->stop();
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// Typing "visual studio" one key at a time, then clearing the field.
const QStringList keystrokes = [] {
    const QString typed = QStringLiteral("visual studio");
    QStringList out;
    for (qsizetype i = 0; i <= typed.size(); ++i) {
        out << typed.left(i);
    }
    return out;
}();

void BM_RebuildPerKeystroke(benchmark::State& state) {
    Fixture& f = fixture();
    qsizetype key = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            PaletteResultsBuilder::build(keystrokes[key], f.launcher, *f.clipboard, f.keepAwake));
        key = (key + 1) % keystrokes.size();
    }
    state.counters["apps"] = double(f.launcher.applications().size());
    state.counters["clips"] = double(f.clipboard->items().size());
}
BENCHMARK(BM_RebuildPerKeystroke)->Unit(benchmark::kMicrosecond);

void BM_RebuildWorstKeystroke(benchmark::State& state) {
    // One letter matches nearly every name, so the launcher sorts the most hits.
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(PaletteResultsBuilder::build(QStringLiteral("e"), f.launcher,
                                                              *f.clipboard, f.keepAwake));
    }
}
BENCHMARK(BM_RebuildWorstKeystroke)->Unit(benchmark::kMicrosecond);

void BM_RebuildEmptyQuery(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            PaletteResultsBuilder::build(QString(), f.launcher, *f.clipboard, f.keepAwake));
    }
}
BENCHMARK(BM_RebuildEmptyQuery)->Unit(benchmark::kMicrosecond);

void BM_BuildFromSearchResults(benchmark::State& state) {
    // The ranking alone, without the two searches.
    Fixture& f = fixture();
    const QList<ApplicationRecord> apps = f.launcher.search(QString(), 12);
    const QList<ClipboardItem> clips = f.clipboard->search(QString(), 8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PaletteResultsBuilder::build(QString(), apps, clips, false));
    }
}
BENCHMARK(BM_BuildFromSearchResults)->Unit(benchmark::kMicrosecond);

// 100 clipboard items of (just under) 1 MiB each, words made of the same syllables as the
// application names. The oldest item alone ends with `lastItemMarker` and `lastItemWords`.
const QString lastItemMarker = QStringLiteral("Invoice 2026-12-09 #4471");
const QString lastItemWords = QStringLiteral("firefoxterminalgimpe calcu lator");

struct LargeClipboard {
    InMemoryPasteboard* pasteboard = nullptr;
    std::unique_ptr<ClipboardService> clipboard;

    LargeClipboard() {
        auto board = std::make_unique<InMemoryPasteboard>();
        pasteboard = board.get();
        clipboard = std::make_unique<ClipboardService>(100, std::move(board), 1ms);
        clipboard->start();
        std::mt19937 random(11);
        for (int i = 0; i < 100; ++i) {
            QString text;
            text.reserve(ClipboardService::maximumTextBytes);
            const QString tail =
                i == 0 ? QStringLiteral(" ") + lastItemMarker + QStringLiteral(" ") + lastItemWords
                       : QString();
            while (text.size() + 40 + tail.size() < ClipboardService::maximumTextBytes) {
                text += word(random);
                text += (random() % 12 == 0) ? QStringLiteral(".\n") : QStringLiteral(" ");
            }
            text += tail;
            pasteboard->copyText(text);
            if (!QTest::qWaitFor([&] { return clipboard->items().size() == i + 1; }, 5000)) {
                qFatal("the clipboard did not take large item %d", i);
            }
        }
        clipboard->stop();
    }
};

LargeClipboard& largeClipboard() {
    static LargeClipboard instance;
    return instance;
}

// Types `typed` one key at a time; each iteration is one keystroke's rebuild.
void rebuildWhileTyping(benchmark::State& state, const QString& typed, int expectedClips) {
    Fixture& f = fixture();
    LargeClipboard& large = largeClipboard();
    QStringList keys;
    for (qsizetype i = 1; i <= typed.size(); ++i) {
        keys << typed.left(i);
    }
    const auto finalResults =
        PaletteResultsBuilder::build(typed, f.launcher, *large.clipboard, f.keepAwake);
    const auto clips =
        std::count_if(finalResults.begin(), finalResults.end(), [](const PaletteItem& item) {
            return item.kind == PaletteItemKind::clipboard;
        });
    if (clips != expectedClips) {
        state.SkipWithError("the final query found other clipboard items than expected");
        return;
    }
    qsizetype key = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            PaletteResultsBuilder::build(keys[key], f.launcher, *large.clipboard, f.keepAwake));
        key = (key + 1) % keys.size();
    }
    state.counters["MiB"] = double(large.clipboard->items().size());
}

// Each iteration is one rebuild for the whole query.
void rebuildForQuery(benchmark::State& state, const QString& query, int expectedClips) {
    Fixture& f = fixture();
    LargeClipboard& large = largeClipboard();
    const auto results =
        PaletteResultsBuilder::build(query, f.launcher, *large.clipboard, f.keepAwake);
    if (std::count_if(results.begin(), results.end(), [](const PaletteItem& item) {
            return item.kind == PaletteItemKind::clipboard;
        }) != expectedClips) {
        state.SkipWithError("the query found other clipboard items than expected");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            PaletteResultsBuilder::build(query, f.launcher, *large.clipboard, f.keepAwake));
    }
}

void BM_LargeClipboardTypingNoMatch(benchmark::State& state) {
    rebuildWhileTyping(state, QStringLiteral("calculator pro"), 0);
}
BENCHMARK(BM_LargeClipboardTypingNoMatch)->Unit(benchmark::kMillisecond);

void BM_LargeClipboardTypingMatchInLastItem(benchmark::State& state) {
    rebuildWhileTyping(state, lastItemMarker, 1);
}
BENCHMARK(BM_LargeClipboardTypingMatchInLastItem)->Unit(benchmark::kMillisecond);

void BM_LargeClipboardNoMatch(benchmark::State& state) {
    rebuildForQuery(state, QStringLiteral("calculator pro"), 0);
}
BENCHMARK(BM_LargeClipboardNoMatch)->Unit(benchmark::kMillisecond);

void BM_LargeClipboardMatchInLastItem(benchmark::State& state) {
    rebuildForQuery(state, lastItemMarker.toUpper(), 1);
}
BENCHMARK(BM_LargeClipboardMatchInLastItem)->Unit(benchmark::kMillisecond);

// The worst case: every byte, pair and triple of the query occurs in every item, so each item is
// scanned to its end.
void BM_LargeClipboardNoMatchScanningEveryItem(benchmark::State& state) {
    rebuildForQuery(state, QStringLiteral("gimpefirefoxterminal calcu"), 0);
}
BENCHMARK(BM_LargeClipboardNoMatchScanningEveryItem)->Unit(benchmark::kMillisecond);

void BM_LargeClipboardMatchInLastItemScanningEveryItem(benchmark::State& state) {
    rebuildForQuery(state, lastItemWords, 1);
}
BENCHMARK(BM_LargeClipboardMatchInLastItemScanningEveryItem)->Unit(benchmark::kMillisecond);

void BM_LargeClipboardPreviews(benchmark::State& state) {
    // What the dashboard's history builds: one preview per item.
    LargeClipboard& large = largeClipboard();
    const QList<ClipboardItem> items = large.clipboard->items();
    for (auto _ : state) {
        for (const ClipboardItem& item : items) {
            benchmark::DoNotOptimize(item.preview());
        }
    }
}
BENCHMARK(BM_LargeClipboardPreviews)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    fixture();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
