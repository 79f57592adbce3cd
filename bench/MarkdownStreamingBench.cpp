// A reply streaming into the Markdown view: each step appends one delta and lays the view out
// again at its width, as the conversation does once per frame while text arrives.
#include "MarkdownText.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace {

using plimbo::MarkdownText;

// About 50 KB of the kinds of blocks replies hold.
QString sampleReply() {
    const QStringList pieces{
        QStringLiteral("## Section heading\n\n"),
        QStringLiteral("A paragraph with **bold** words, some *emphasis*, `inline code` and a "
                       "[link](https://example.com/docs) that wraps across a few lines when the "
                       "column is narrow enough to need it.\nIt keeps a second line too.\n\n"),
        QStringLiteral("- first point with `code`\n- second point, a little longer than the "
                       "first one\n- third point\n\n"),
        QStringLiteral("1. Step one\n2. Step two with **strong** text\n3. Step three\n\n"),
        QStringLiteral("> A quoted line\n> and another one\n\n"),
        QStringLiteral(
            "```cpp\nint main() {\n    return run(argc, argv); // keep going\n}\n```\n\n"),
    };
    QString reply;
    for (int i = 0; reply.size() < 50 * 1024; ++i) {
        reply += pieces[i % pieces.size()];
    }
    return reply;
}

// Streams `reply` into a fresh view in `deltas` equal steps, laying it out at 700 pixels after
// each, as the conversation does; reports the mean and the slowest step in milliseconds.
void streamInSteps(benchmark::State& state, const QString& reply, int deltas) {
    const qsizetype step = reply.size() / deltas + 1;
    double total = 0;
    double slowest = 0;
    qint64 steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MarkdownText view;
        view.resize(700, 400);
        QStringList sources;
        for (qsizetype end = step; end < reply.size() + step; end += step) {
            sources.append(reply.left(std::min(end, reply.size())));
        }
        state.ResumeTiming();
        for (const QString& source : sources) {
            QElapsedTimer timer;
            timer.start();
            view.setSource(source);
            const int height = view.heightForWidth(700);
            view.resize(700, height);
            benchmark::DoNotOptimize(height);
            const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            total += elapsed;
            slowest = std::max(slowest, elapsed);
            ++steps;
        }
    }
    // Target: under 2 ms per delta on average, for every shape of reply.
    state.counters["ms_per_delta"] = total / static_cast<double>(steps);
    state.counters["slowest_ms"] = slowest;
}

// One fenced code block of about 50 KB.
void BM_StreamCodeBlock(benchmark::State& state) {
    QString reply = QStringLiteral("```cpp\n");
    for (int i = 0; reply.size() < 50 * 1024; ++i) {
        reply +=
            QStringLiteral("    result += compute(values[%1], \"label %1\"); // step %1\n").arg(i);
    }
    streamInSteps(state, reply, 4000);
}
BENCHMARK(BM_StreamCodeBlock)->Unit(benchmark::kMillisecond)->Iterations(1);

// One paragraph of about 50 KB on a single line, with inline markup.
void BM_StreamLongParagraph(benchmark::State& state) {
    QString reply;
    while (reply.size() < 50 * 1024) {
        reply += QStringLiteral("The reply keeps **going** with `code`, *emphasis* and a "
                                "[link](https://example.com/a) in one long paragraph. ");
    }
    streamInSteps(state, reply, 4000);
}
BENCHMARK(BM_StreamLongParagraph)->Unit(benchmark::kMillisecond)->Iterations(1);

// One bulleted list of about 50 KB.
void BM_StreamLongList(benchmark::State& state) {
    QString reply;
    for (int i = 0; reply.size() < 50 * 1024; ++i) {
        reply += QStringLiteral("- item %1 with **bold** words and `code` in it\n").arg(i);
    }
    streamInSteps(state, reply, 4000);
}
BENCHMARK(BM_StreamLongList)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_StreamReply(benchmark::State& state) {
    const QString reply = sampleReply();
    constexpr int deltas = 4000;
    const qsizetype step = reply.size() / deltas + 1;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MarkdownText view;
        view.resize(700, 400);
        // The texts a stream delivers are ready before the view gets them.
        QStringList sources;
        for (qsizetype end = step; end < reply.size() + step; end += step) {
            sources.append(reply.left(std::min(end, reply.size())));
        }
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        for (const QString& source : sources) {
            view.setSource(source);
            const int height = view.heightForWidth(700);
            view.resize(700, height);
            benchmark::DoNotOptimize(height);
        }
        total += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    // Target: under 2 ms per delta on average.
    state.counters["ms_per_delta"] = total / static_cast<double>(state.iterations() * deltas);
}
BENCHMARK(BM_StreamReply)->Unit(benchmark::kMillisecond)->Iterations(1);

// One reply that is a single growing paragraph: the worst case for the tail re-parse.
void BM_StreamOneParagraph(benchmark::State& state) {
    QString reply;
    while (reply.size() < 20 * 1024) {
        reply += QStringLiteral("word **strong** and `code` ");
    }
    constexpr int deltas = 1000;
    const qsizetype step = reply.size() / deltas + 1;
    double total = 0;
    for (auto _ : state) {
        MarkdownText view;
        QElapsedTimer timer;
        timer.start();
        for (qsizetype end = step; end < reply.size() + step; end += step) {
            view.setSource(reply.left(std::min(end, reply.size())));
            benchmark::DoNotOptimize(view.heightForWidth(700));
        }
        total += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    state.counters["ms_per_delta"] = total / static_cast<double>(state.iterations() * deltas);
}
BENCHMARK(BM_StreamOneParagraph)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_HostileReply(benchmark::State& state) {
    const QString hostile = QString(50000, QLatin1Char('[')) + QString(50000, QLatin1Char('*'));
    for (auto _ : state) {
        MarkdownText view;
        view.setSource(hostile);
        benchmark::DoNotOptimize(view.heightForWidth(700));
    }
}
BENCHMARK(BM_HostileReply)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return EXIT_SUCCESS;
}
