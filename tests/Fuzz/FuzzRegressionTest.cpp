#include "ChatHistoryFuzzTarget.h"
#include "DesktopEntryFuzzTarget.h"
#include "EventStreamFuzzTarget.h"
#include "MarkdownFuzzTarget.h"
#include "RedactorFuzzTarget.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace plimbo;

namespace {

using Body = int (*)(const uint8_t*, size_t);

// Every file of regressions/<target>/ goes through the body; a fault there aborts this process
// (or hangs it into the test timeout), so the file being replayed is printed first.
void replayAll(const char* target, Body body) {
    const QDir folder(QStringLiteral(PLIMBO_FUZZ_REGRESSIONS "/") + QLatin1String(target));
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty()) << "no inputs in " << folder.path().toStdString();
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "replaying %s/%s\n", target, qPrintable(name));
        std::fflush(stderr);
        body(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
}

} // namespace

TEST(FuzzRegression, EventStream) {
    replayAll("event_stream", fuzzEventStream);
}

TEST(FuzzRegression, ChatHistory) {
    replayAll("chat_history", fuzzChatHistory);
}

TEST(FuzzRegression, Markdown) {
    replayAll("markdown", fuzzMarkdown);
}

TEST(FuzzRegression, DesktopEntry) {
    replayAll("desktop_entry", fuzzDesktopEntry);
}

TEST(FuzzRegression, Redactor) {
    replayAll("redactor", fuzzRedactor);
}
