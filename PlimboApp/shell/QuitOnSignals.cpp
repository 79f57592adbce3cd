#include "QuitOnSignals.h"

#include "Logging.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace plimbo {

namespace {

constexpr int handledSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe the handler writes to; -1 while no instance exists.
int signalWriteEnd = -1;
int signalReadEnd = -1;

extern "C" void onQuitSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a quit that has not been read: nothing is lost.
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &byte, 1);
    errno = savedErrno;
}

} // namespace

QuitOnSignals::QuitOnSignals(QObject* parent)
    : QObject(parent) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(shellLog) << "No pipe for the quit signals:" << std::strerror(errno);
        return;
    }
    signalReadEnd = ends[0];
    signalWriteEnd = ends[1];
    m_notifier = new QSocketNotifier(signalReadEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignals::onSignalled);

    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume, so no other code sees EINTR because of us.
    action.sa_flags = SA_RESTART;
    for (const int number : handledSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

QuitOnSignals::~QuitOnSignals() {
    if (signalReadEnd < 0) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int number : handledSignals) {
        ::sigaction(number, &action, nullptr);
    }
    delete m_notifier;
    ::close(signalReadEnd);
    ::close(signalWriteEnd);
    signalReadEnd = -1;
    signalWriteEnd = -1;
}

void QuitOnSignals::onSignalled() {
    char bytes[16];
    while (::read(signalReadEnd, bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
}

} // namespace plimbo
