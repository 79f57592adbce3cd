#pragma once

#include "TaskExecutor.h"

#include <QList>

namespace plimbo::test {

// Runs background jobs on the main thread from the event loop, as a thread pool would hand
// their results back, so model tests stay deterministic. While held, jobs wait until the test
// releases or drops them, to put events between a job's start and its end.
class QueuedTaskExecutor : public TaskExecutor {
public:
    void post(Priority priority, std::function<void()> job) override;

    void hold() { m_holding = true; }
    // Runs the jobs held so far (in order) right now, and keeps holding new ones.
    void runHeld();
    // Stops holding and queues what was held.
    void release();
    // Destroys the jobs held so far unrun, as an executor that shuts down does: their futures
    // end cancelled. Keeps holding new ones.
    void dropHeld() { m_held.clear(); }
    qsizetype heldCount() const { return m_held.size(); }
    int posted() const { return m_posted; }

private:
    bool m_holding = false;
    QList<std::function<void()>> m_held;
    int m_posted = 0;
};

} // namespace plimbo::test
