// The chat workbench over a full history: 100 chats of 100 long turns (a few paragraphs, a list
// and a code block each). Every figure is GUI-thread time, measured around the work and the
// events it posts. Targets: opening or switching to a 100-turn chat under 100 ms with its newest
// turn in view; each turn that scrolls in under 16 ms; each search keystroke under 16 ms; memory
// for an open chat that does not grow with its length.
#include "AIWorkbenchView.h"
#include "AppModelHarness.h"
#include "ConversationTurnView.h"
#include "LongChat.h"
#include "PlimboConversationView.h"
#include "ReduceMotion.h"
#include "TurnScrollArea.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <ctime>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// CPU time of this (the GUI) thread, so that other work on the machine does not count.
class ThreadTimer {
public:
    void start() { m_start = now(); }
    double ms() const { return (now() - m_start) / 1e6; }

private:
    static double now() {
        timespec time{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
        return static_cast<double>(time.tv_sec) * 1e9 + static_cast<double>(time.tv_nsec);
    }
    double m_start = 0;
};

double msSince(const ThreadTimer& timer) {
    return timer.ms();
}

// Resident memory of this process, in MiB.
double residentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

// Lets the view finish what it does once shown (building ahead, preparing the search).
void settle() {
    QTest::qWait(500);
}

// Runs what the work posted (layouts, deferred scrolls, coalesced updates).
void drain() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

struct History {
    AppModelHarness h;
    std::unique_ptr<AppModel> model;

    History() {
        ReduceMotion::instance().setEnabled(true);
        h.storeKey(QStringLiteral("sk-or-bench"));
        h.writeHistory(fullHistory(100, 100));
        model = h.makeModel();
        if (model->aiChats().size() != 100) {
            qFatal("the history was not loaded");
        }
    }
};

History& history() {
    static History shared;
    return shared;
}

// Whether the newest turn's bottom is inside the turn list's viewport.
bool newestTurnInView(const PlimboConversationView& pane) {
    const QList<ConversationTurnView*> views = pane.turnViews();
    if (views.isEmpty()) {
        return false;
    }
    QWidget* viewport = pane.messages()->viewport();
    const QWidget* last = views.last();
    const int bottom = last->mapTo(viewport, QPoint(0, last->height())).y();
    return bottom > 0 && bottom <= viewport->height() + 1;
}

void BM_OpenNewestChat(benchmark::State& state) {
    History& shared = history();
    AppModel& model = *shared.model;
    double total = 0;
    double memory = 0;
    bool inView = true;
    for (auto _ : state) {
        model.newAIChat();
        model.selectAIChat(model.aiChats().first().id);
        drain();
        const double before = residentMiB();
        ThreadTimer timer;
        timer.start();
        auto view = std::make_unique<AIWorkbenchView>(model.chatFeatures(), shared.h.clock);
        view->resize(1100, 760);
        view->show();
        drain();
        total += msSince(timer);
        inView = inView && newestTurnInView(*view->conversation());
        memory += residentMiB() - before;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["open_ms"] = total / runs;
    state.counters["rss_growth_MiB"] = memory / runs;
    state.counters["rss_MiB"] = residentMiB();
    state.counters["newest_in_view"] = inView ? 1 : 0;
}
BENCHMARK(BM_OpenNewestChat)->Unit(benchmark::kMillisecond)->Iterations(3);

// The conversation pane alone, without the history list beside it.
void BM_OpenNewestChatPane(benchmark::State& state) {
    History& shared = history();
    AppModel& model = *shared.model;
    double total = 0;
    bool inView = true;
    for (auto _ : state) {
        model.newAIChat();
        model.selectAIChat(model.aiChats().first().id);
        drain();
        ThreadTimer timer;
        timer.start();
        auto view = std::make_unique<PlimboConversationView>(model.chatFeatures());
        view->resize(850, 760);
        view->show();
        drain();
        total += msSince(timer);
        inView = inView && newestTurnInView(*view);
    }
    state.counters["open_ms"] = total / static_cast<double>(state.iterations());
    state.counters["newest_in_view"] = inView ? 1 : 0;
}
BENCHMARK(BM_OpenNewestChatPane)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SwitchChat(benchmark::State& state) {
    History& shared = history();
    AppModel& model = *shared.model;
    model.selectAIChat(model.aiChats().first().id);
    AIWorkbenchView view(model.chatFeatures(), shared.h.clock);
    view.resize(1100, 760);
    view.show();
    drain();
    settle();
    const double before = residentMiB();
    double total = 0;
    double worst = 0;
    bool inView = true;
    int switches = 0;
    for (auto _ : state) {
        for (int i = 1; i <= 10; ++i) {
            const QUuid id = model.aiChats()[i % 2 == 0 ? 0 : i].id;
            ThreadTimer timer;
            timer.start();
            model.selectAIChat(id);
            drain();
            const double ms = msSince(timer);
            settle();
            total += ms;
            worst = std::max(worst, ms);
            inView = inView && newestTurnInView(*view.conversation());
            ++switches;
        }
    }
    state.counters["switch_ms"] = total / switches;
    state.counters["worst_switch_ms"] = worst;
    state.counters["rss_growth_MiB"] = residentMiB() - before;
    state.counters["newest_in_view"] = inView ? 1 : 0;
}
BENCHMARK(BM_SwitchChat)->Unit(benchmark::kMillisecond)->Iterations(1);

// Scrolls from the newest turn to the top of the chat, a wheel step at a time.
void BM_ScrollToTop(benchmark::State& state) {
    History& shared = history();
    AppModel& model = *shared.model;
    model.selectAIChat(model.aiChats()[3].id);
    AIWorkbenchView view(model.chatFeatures(), shared.h.clock);
    view.resize(1100, 760);
    view.show();
    drain();
    settle();
    QScrollBar* bar = view.conversation()->messages()->verticalScrollBar();
    double total = 0;
    double worst = 0;
    int steps = 0;
    int shown = 0;
    int slow = 0;
    for (auto _ : state) {
        for (int guard = 0; bar->value() > 0 && guard < 5000; ++guard) {
            const QList<ConversationTurnView*> before = view.conversation()->turnViews();
            ThreadTimer timer;
            timer.start();
            bar->setValue(bar->value() - 120);
            drain();
            const double ms = msSince(timer);
            total += ms;
            worst = std::max(worst, ms);
            ++steps;
            int built = 0;
            for (ConversationTurnView* turn : view.conversation()->turnViews()) {
                if (!before.contains(turn)) {
                    ++built;
                }
            }
            shown += built;
            if (ms > 16) {
                ++slow;
                if (qEnvironmentVariableIsSet("PLIMBO_BENCH_VERBOSE")) {
                    qInfo("slow step %d: %.1f ms, %d turns built", steps, ms, built);
                }
            }
        }
    }
    state.counters["steps"] = steps;
    state.counters["ms_per_step"] = total / std::max(steps, 1);
    state.counters["worst_step_ms"] = worst;
    state.counters["steps_over_16ms"] = slow;
    state.counters["turns_built"] = shown;
    state.counters["ms_per_new_turn"] = shown > 0 ? total / shown : 0;
    state.counters["turn_views_at_top"] = view.conversation()->turnViews().size();
}
BENCHMARK(BM_ScrollToTop)->Unit(benchmark::kMillisecond)->Iterations(1);

// One long turn coming into view: made, measured at the column's width and painted.
void BM_TurnScrollsIn(benchmark::State& state) {
    const AIChatSession chat = longChat(QStringLiteral("One"), 1);
    const AIChatTurn& turn = chat.turns.first();
    QWidget holder;
    holder.resize(760, 2000);
    holder.show();
    double build = 0;
    double measure = 0;
    double paint = 0;
    QImage image(704, 2000, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        ThreadTimer timer;
        timer.start();
        auto* view = new ConversationTurnView(turn, false, {}, {}, {});
        view->setParent(&holder);
        build += timer.ms();
        timer.start();
        const int height = view->heightForWidth(704);
        view->setGeometry(0, 0, 704, height);
        measure += timer.ms();
        timer.start();
        view->show();
        view->render(&image);
        paint += timer.ms();
        delete view;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["build_ms"] = build / runs;
    state.counters["measure_ms"] = measure / runs;
    state.counters["paint_ms"] = paint / runs;
    state.counters["total_ms"] = (build + measure + paint) / runs;
}
BENCHMARK(BM_TurnScrollsIn)->Unit(benchmark::kMillisecond)->Iterations(20);

// Types a search one key at a time; the last letters match nothing, the worst case.
void BM_HistorySearch(benchmark::State& state) {
    History& shared = history();
    AppModel& model = *shared.model;
    AIWorkbenchView view(model.chatFeatures(), shared.h.clock);
    view.resize(1100, 760);
    view.show();
    drain();
    settle();
    const QString typed = QStringLiteral("loop faster zqx");
    double total = 0;
    double worst = 0;
    int keys = 0;
    for (auto _ : state) {
        view.searchField()->clear();
        drain();
        for (const QChar key : typed) {
            ThreadTimer timer;
            timer.start();
            QTest::keyClicks(view.searchField(), QString(key));
            drain();
            const double ms = msSince(timer);
            total += ms;
            worst = std::max(worst, ms);
            ++keys;
        }
    }
    state.counters["ms_per_key"] = total / keys;
    state.counters["worst_key_ms"] = worst;
}
BENCHMARK(BM_HistorySearch)->Unit(benchmark::kMillisecond)->Iterations(3);

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
