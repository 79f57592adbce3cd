#include "RunningWindowManager.h"

#include <QTest>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace plimbo::test {

namespace {

xcb_window_t windowProperty(xcb_connection_t* connection, xcb_window_t window,
                            xcb_atom_t property) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    xcb_window_t value = XCB_NONE;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4) {
        value = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    }
    std::free(reply);
    return value;
}

// A window manager that runs names its check window on the root and on that window itself;
// one that has gone leaves only the root's property behind.
bool windowManagerIsRunning() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    bool running = false;
    if (xcb_connection_has_error(connection) == 0) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const char* name = "_NET_SUPPORTING_WM_CHECK";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        if (atom) {
            const xcb_window_t check = windowProperty(connection, root, atom->atom);
            running = check != XCB_NONE && windowProperty(connection, check, atom->atom) == check;
        }
        std::free(atom);
    }
    xcb_disconnect(connection);
    return running;
}

} // namespace

RunningWindowManager::RunningWindowManager() {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

RunningWindowManager::~RunningWindowManager() {
    stop();
}

bool RunningWindowManager::start() {
    // Its default configuration, as a fresh desktop has it; no session manager in a test.
    m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_process.waitForStarted(10000)) {
        return false;
    }
    return QTest::qWaitFor(
        [this] { return m_process.state() == QProcess::Running && windowManagerIsRunning(); },
        10000);
}

void RunningWindowManager::stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString RunningWindowManager::output() {
    return QString::fromUtf8(m_process.readAll());
}

} // namespace plimbo::test
