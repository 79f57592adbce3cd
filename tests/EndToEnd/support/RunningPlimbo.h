#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <optional>

namespace plimbo::test {

// The real program running in a home of its own (settings, data, runtime folder) on the
// session's display, D-Bus and keyring, with its assistant pointed at `baseUrl`.
class RunningPlimbo {
public:
    explicit RunningPlimbo(const QUrl& baseUrl);
    ~RunningPlimbo();

    // Runs the program on another session bus (a private keyring's) instead of the session's.
    void useSessionBus(const QString& address);
    // True once the program runs and shows its notch; `switches` go on its command line.
    bool start(const QStringList& switches = {});
    // True once the program runs and its command palette answers the global shortcut.
    bool startAndOpenPalette();
    // Opens the palette of a running program through its global shortcut.
    bool openPalette();
    // Opens the mini assistant from the palette, as a user would.
    bool openMiniAIFromPalette();
    // Quits the program as "Exit Plimbo" does (SIGTERM, which the testable program takes as
    // a quit); true once it ended that way with status 0, so a sanitizer build that finds
    // leaks at the exit fails the case. A program that does not end in time is killed.
    bool stop();
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    // What the program printed so far.
    QString output();

    QString historyPath() const;
    // The stored turn with this prompt, once the history file holds it.
    std::optional<QJsonObject> storedTurn(const QString& prompt) const;

private:
    QTemporaryDir m_home;
    QUrl m_baseUrl;
    QProcess m_process;
};

} // namespace plimbo::test
