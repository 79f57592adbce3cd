// Loading the full chat history a long-time user has (tools/fixtures: 100 chats of 100 turns,
// replies of paragraphs, a list and a code block, ~13.5 MB of JSON) and what it costs in
// memory. Targets: the loaded records hold at most 2.5x the file's size, and loading leaves no
// more resident behind than that (what the decoder used on the way is given back).
#include "AIChatHistoryStore.h"
#include "FakeClock.h"
#include "FakeFileLocations.h"
#include "FullHistory.h"
#include "SaveFileWriter.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <malloc.h>

using namespace plimbo;

namespace {

struct Fixture {
    QTemporaryDir dir;
    FakeFileLocations locations{dir.path(), dir.path()};
    AIChatHistoryStore store{std::nullopt, std::nullopt, locations,
                             std::make_shared<SaveFileWriter>(), std::make_shared<FakeClock>()};
    qint64 fileBytes = 0;

    Fixture() {
        store.save(makeFullHistory());
        fileBytes = QFileInfo(store.fileURL()).size();
        malloc_trim(0);
    }
};

Fixture& fixture() {
    static Fixture shared;
    return shared;
}

// A field of /proc/self/status in bytes.
double statusBytes(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toDouble() * 1024;
        }
    }
    return 0;
}

double heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

constexpr double MiB = 1024.0 * 1024.0;

void BM_LoadFullHistory(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        QList<AIChatSession> loaded = f.store.load();
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["file_MB"] = double(f.fileBytes) / 1e6;
    state.SetBytesProcessed(state.iterations() * f.fileBytes);
}

// One load, kept: what the records hold (heap in use), what stays resident, and the peak on
// the way, each against the file's size.
void BM_FullHistoryMemory(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const double heapBefore = heapInUse();
        const double residentBefore = statusBytes("VmRSS:");
        QFile reset(QStringLiteral("/proc/self/clear_refs"));
        const bool peakReset = reset.open(QIODevice::WriteOnly) && reset.write("5") == 1;
        reset.close();
        state.ResumeTiming();

        QList<AIChatSession> loaded = f.store.load();

        state.PauseTiming();
        const double held = heapInUse() - heapBefore;
        const double resident = statusBytes("VmRSS:") - residentBefore;
        const double peak = statusBytes("VmHWM:") - residentBefore;
        state.counters["held_MiB"] = held / MiB;
        state.counters["held_x_file"] = held / double(f.fileBytes);
        state.counters["resident_MiB"] = resident / MiB;
        state.counters["resident_x_file"] = resident / double(f.fileBytes);
        if (peakReset) {
            state.counters["peak_MiB"] = peak / MiB;
        }
        state.counters["file_MiB"] = double(f.fileBytes) / MiB;
        benchmark::DoNotOptimize(loaded);
        loaded.clear();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_LoadFullHistory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FullHistoryMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
