#include "X11SelectionProtocol.h"

#include <QByteArray>

namespace plimbo {

xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name) {
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

X11SelectionAtoms X11SelectionAtoms::intern(xcb_connection_t* connection) {
    X11SelectionAtoms atoms;
    atoms.clipboard = x11Atom(connection, "CLIPBOARD");
    atoms.targets = x11Atom(connection, "TARGETS");
    atoms.incr = x11Atom(connection, "INCR");
    atoms.utf8String = x11Atom(connection, "UTF8_STRING");
    atoms.textPlainUtf8 = x11Atom(connection, "text/plain;charset=utf-8");
    atoms.textPlain = x11Atom(connection, "text/plain");
    atoms.passwordManagerHint = x11Atom(connection, "x-kde-passwordManagerHint");
    atoms.property = x11Atom(connection, "PLIMBO_SELECTION");
    return atoms;
}

std::optional<std::pair<xcb_atom_t, qsizetype>>
x11PropertySize(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
        nullptr));
    if (!reply) {
        return std::nullopt;
    }
    return std::pair{reply->type, qsizetype(reply->bytes_after)};
}

} // namespace plimbo
