#pragma once

#include <QObject>

class QSocketNotifier;

namespace plimbo {

// Ends the event loop as "Exit Plimbo" does when the session asks the program to end (SIGTERM
// at log-out or from `systemctl --user stop`, SIGINT from a terminal, SIGHUP when the terminal
// goes), so Qt's shutdown runs: the clipboard is handed to a clipboard manager and every
// destructor releases what it holds. The handler only writes a byte to a pipe; the quit
// happens on the main thread when the pipe becomes readable. One instance per process, made
// after the application object.
class QuitOnSignals final : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

private:
    void onSignalled();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace plimbo
