#include "X11ScreenSaverSuspend.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace plimbo {

X11ScreenSaverSuspend::X11ScreenSaverSuspend(QByteArray displayName)
    : m_displayName(std::move(displayName)) {}

X11ScreenSaverSuspend::~X11ScreenSaverSuspend() {
    if (m_display) {
        // Closing the connection ends its suspensions as well; this says so explicitly first.
        for (qsizetype i = 0; i < m_held.size(); ++i) {
            XScreenSaverSuspend(m_display, False);
        }
        XCloseDisplay(m_display);
    }
}

bool X11ScreenSaverSuspend::connect() {
    if (m_display) {
        return true;
    }
    if (m_unusable) {
        return false;
    }
    m_display = XOpenDisplay(m_displayName.isEmpty() ? nullptr : m_displayName.constData());
    if (!m_display) {
        m_unusable = QStringLiteral("No X server to hold the screen saver off");
        return false;
    }
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // XScreenSaverSuspend came with version 1.1 of the extension.
    if (!XScreenSaverQueryExtension(m_display, &eventBase, &errorBase) ||
        !XScreenSaverQueryVersion(m_display, &major, &minor) || major < 1 ||
        (major == 1 && minor < 1)) {
        XCloseDisplay(m_display);
        m_display = nullptr;
        m_unusable = QStringLiteral("The X server has no MIT-SCREEN-SAVER extension");
        return false;
    }
    return true;
}

void X11ScreenSaverSuspend::requestNoDisplaySleepAssertion(const QString&, ReplyHandler replied) {
    if (!connect()) {
        replied(PowerAssertionReply{std::nullopt, true, *m_unusable});
        return;
    }
    XScreenSaverSuspend(m_display, True);
    XFlush(m_display);
    const quint32 id = m_nextId++;
    m_held.insert(id);
    replied(PowerAssertionReply{id, false, {}});
}

void X11ScreenSaverSuspend::releaseAssertion(quint32 id) {
    if (!m_display || !m_held.remove(id)) {
        return;
    }
    XScreenSaverSuspend(m_display, False);
    XFlush(m_display);
}

} // namespace plimbo
