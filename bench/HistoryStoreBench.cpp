// Load and save of a full chat history: 100 chats of 100 turns, replies of about 2 KB.
// Target: under 100 ms each.
#include "AIChatHistoryStore.h"
#include "FakeClock.h"
#include "FakeFileLocations.h"
#include "SaveFileWriter.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <QTimeZone>

using namespace plimbo;

namespace {

QString replyText(int seed) {
    // Prose with the characters JSON must escape and some outside ASCII, about 2 KB.
    static const QString paragraph = QStringLiteral(
        "Here is a \"quoted\" idea, a path C:\\temp\\file and a list:\n- first point — done\n"
        "- second point: café, naïve, 東京\n\tcode: if (a < b) { return a; }\n");
    QString text = QStringLiteral("Answer %1. ").arg(seed);
    while (text.size() < 2000) {
        text += paragraph;
    }
    return text;
}

QList<AIChatSession> makeHistory() {
    const QDateTime start(QDate(2026, 1, 1), QTime(8, 0), QTimeZone::utc());
    QList<AIChatSession> sessions;
    for (int chat = 0; chat < 100; ++chat) {
        AIChatSession session{QUuid::createUuid(),
                              QStringLiteral("Chat number %1").arg(chat),
                              {},
                              start.addSecs(chat * 3600),
                              start.addSecs(chat * 3600 + 5000)};
        for (int turn = 0; turn < 100; ++turn) {
            QList<AIChatAttachment> attachments;
            if (turn % 10 == 0) {
                const QUuid id = QUuid::createUuid();
                attachments.append(AIChatAttachment{
                    id, QStringLiteral("photo.png"), QStringLiteral("image/png"),
                    AIChatAttachmentKind::image, 123456,
                    id.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".png")});
            }
            session.turns.append(AIChatTurn(
                QUuid::createUuid(),
                QStringLiteral("Question %1 about the topic at hand?").arg(turn),
                replyText(chat * 100 + turn), start.addMSecs(chat * 3600000LL + turn * 1234LL),
                AIChatTurnState::completed, attachments));
        }
        sessions.append(session);
    }
    return sessions;
}

struct Fixture {
    QTemporaryDir dir;
    FakeFileLocations locations{dir.path(), dir.path()};
    AIChatHistoryStore store{std::nullopt, std::nullopt, locations,
                             std::make_shared<SaveFileWriter>(), std::make_shared<FakeClock>()};
    QList<AIChatSession> history = makeHistory();
};

Fixture& fixture() {
    static Fixture shared;
    return shared;
}

void BM_SaveHistory(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        f.store.save(f.history);
    }
    state.counters["MB"] = static_cast<double>(QFileInfo(f.store.fileURL()).size()) / 1e6;
}

void BM_LoadHistory(benchmark::State& state) {
    Fixture& f = fixture();
    f.store.save(f.history);
    qsizetype turns = 0;
    for (auto _ : state) {
        const QList<AIChatSession> loaded = f.store.load();
        turns = loaded.size() * loaded.first().turns.size();
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["turns"] = static_cast<double>(turns);
}

// The same two without the disk, to show where the time goes.
void BM_EncodeHistory(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(AIChatHistoryStore::encodeHistory(f.history));
    }
}

void BM_DecodeHistory(benchmark::State& state) {
    Fixture& f = fixture();
    const QByteArray bytes = AIChatHistoryStore::encodeHistory(f.history);
    for (auto _ : state) {
        benchmark::DoNotOptimize(AIChatHistoryStore::decodeHistory(bytes));
    }
}

} // namespace

BENCHMARK(BM_SaveHistory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadHistory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EncodeHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeHistory)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
