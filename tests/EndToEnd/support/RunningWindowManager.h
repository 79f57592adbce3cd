#pragma once

#include <QProcess>
#include <QString>

namespace plimbo::test {

// A real window manager (openbox) on the session's display for the length of one case, as a
// desktop has one: it reparents, stacks, focuses and applies its focus-stealing rules. Bare
// Xvfb has none of that. Stopped by its own process when the case ends.
class RunningWindowManager {
public:
    RunningWindowManager();
    ~RunningWindowManager();
    RunningWindowManager(const RunningWindowManager&) = delete;
    RunningWindowManager& operator=(const RunningWindowManager&) = delete;

    // True once openbox manages the display (it names itself on the root window).
    bool start();
    void stop();
    QString output();

private:
    QProcess m_process;
};

} // namespace plimbo::test
