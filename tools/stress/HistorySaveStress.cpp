// Drives the real chat history store for tools/kill-during-save.sh.
//
//   history_save_stress save <folder> A|B        write one version completely
//   history_save_stress save-loop <folder> <status-file>
//                                                alternate between A and B until killed
//   history_save_stress check <folder>           exit 0 only if the history is exactly A or B
//
// Options for every mode: --chats N --turns M (default 100 and 100, about 25 MB). The history
// lives where the application keeps it, <folder>/Plimbo/AIChats.json.
#include "AIChatHistoryStore.h"
#include "FakeFileLocations.h"
#include "PhaseRecordingWriter.h"
#include "SaveFileWriter.h"
#include "StressHistory.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <exception>

using namespace plimbo;

namespace {

int usage() {
    std::fputs("usage: history_save_stress save <folder> A|B [--chats N] [--turns M]\n"
               "       history_save_stress save-loop <folder> <status-file> [--chats N] "
               "[--turns M]\n"
               "       history_save_stress check <folder> [--chats N] [--turns M]\n",
               stderr);
    return 2;
}

int fail(const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return 1;
}

struct Options {
    QString mode;
    QStringList positional;
    int chats = 100;
    int turns = 100;
};

std::optional<Options> parse(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--chats") || argument == QLatin1String("--turns")) {
            bool ok = false;
            const int value = i + 1 < arguments.size() ? arguments[i + 1].toInt(&ok) : 0;
            if (!ok || value <= 0) {
                return std::nullopt;
            }
            (argument == QLatin1String("--chats") ? options.chats : options.turns) = value;
            ++i;
        } else if (options.mode.isEmpty()) {
            options.mode = argument;
        } else {
            options.positional.append(argument);
        }
    }
    return options;
}

char generationArgument(const QString& text) {
    return text == QLatin1String("A") ? 'A' : text == QLatin1String("B") ? 'B' : '\0';
}

AIChatHistoryStore makeStore(const QString& folder, std::shared_ptr<AtomicFileWriter> writer) {
    // The application's own path rule, with the data folder pointed at the given one. The store
    // resolves its paths in the constructor and keeps no reference to the locations.
    const FakeFileLocations locations(folder, folder);
    return AIChatHistoryStore(std::nullopt, std::nullopt, locations, std::move(writer));
}

int save(const Options& options) {
    if (options.positional.size() != 2 || !generationArgument(options.positional[1])) {
        return usage();
    }
    const char generation = generationArgument(options.positional[1]);
    const AIChatHistoryStore store = makeStore(options.positional[0], nullptr);
    store.save(StressHistory(options.chats, options.turns).version(generation));
    return 0;
}

[[noreturn]] void saveLoop(const Options& options) {
    const QString folder = options.positional[0];
    auto writer = std::make_shared<PhaseRecordingWriter>(std::make_shared<SaveFileWriter>(),
                                                         QFile::encodeName(options.positional[1]));
    const AIChatHistoryStore store = makeStore(folder, writer);
    const StressHistory history(options.chats, options.turns);
    const QList<AIChatSession> versions[] = {history.version('A'), history.version('B')};

    // Start with the version that is not on disk, so the first save already changes the file.
    QFile current(store.fileURL());
    int next = 1;
    if (current.open(QIODevice::ReadOnly) &&
        current.readAll() == AIChatHistoryStore::encodeHistory(versions[1])) {
        next = 0;
    }
    current.close();
    for (;;) {
        writer->beginSave(next == 0 ? 'A' : 'B');
        store.save(versions[next]);
        next = 1 - next;
    }
}

int check(const Options& options) {
    if (options.positional.size() != 1) {
        return usage();
    }
    const AIChatHistoryStore store = makeStore(options.positional[0], nullptr);
    QFile file(store.fileURL());
    if (!file.exists()) {
        return fail(QStringLiteral("the history file is missing"));
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("the history file cannot be read: %1").arg(file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    file.close();

    const StressHistory history(options.chats, options.turns);
    const QList<AIChatSession> a = history.version('A');
    const QList<AIChatSession> b = history.version('B');
    const QByteArray bytesA = AIChatHistoryStore::encodeHistory(a);
    const QByteArray bytesB = AIChatHistoryStore::encodeHistory(b);
    const char match = bytes == bytesA ? 'A' : bytes == bytesB ? 'B' : '\0';
    if (!match) {
        return fail(QStringLiteral("the history file (%1 bytes) is neither version A (%2 bytes) "
                                   "nor version B (%3 bytes)")
                        .arg(bytes.size())
                        .arg(bytesA.size())
                        .arg(bytesB.size()));
    }
    // The store itself, with anything left beside the file, must read it back as that version.
    const QList<AIChatSession> loaded = store.load();
    if (loaded != (match == 'A' ? a : b)) {
        return fail(QStringLiteral("the store loaded something other than version %1")
                        .arg(QChar::fromLatin1(match)));
    }
    std::printf("%c\n", match);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::optional<Options> options = parse(QCoreApplication::arguments());
    if (!options) {
        return usage();
    }
    try {
        if (options->mode == QLatin1String("save")) {
            return save(*options);
        }
        if (options->mode == QLatin1String("save-loop") && options->positional.size() == 2) {
            saveLoop(*options);
        }
        if (options->mode == QLatin1String("check")) {
            return check(*options);
        }
    } catch (const std::exception& error) {
        return fail(QString::fromUtf8(error.what()));
    }
    return usage();
}
