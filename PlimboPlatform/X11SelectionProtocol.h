#pragma once

#include <QtGlobal>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

namespace plimbo {

template <typename T> struct XcbFree {
    void operator()(T* pointer) const { std::free(pointer); }
};
// A reply or event from xcb, which the caller frees.
template <typename T> using XcbReply = std::unique_ptr<T, XcbFree<T>>;

// The atom of that name on the connection, or XCB_ATOM_NONE when the server does not answer.
xcb_atom_t x11Atom(xcb_connection_t* connection, const char* name);

// The atoms a clipboard read names, interned once per connection.
struct X11SelectionAtoms {
    xcb_atom_t clipboard = XCB_ATOM_NONE;
    xcb_atom_t targets = XCB_ATOM_NONE;
    xcb_atom_t incr = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t textPlainUtf8 = XCB_ATOM_NONE;
    xcb_atom_t textPlain = XCB_ATOM_NONE;
    xcb_atom_t passwordManagerHint = XCB_ATOM_NONE;
    // Where owners write their answers to us.
    xcb_atom_t property = XCB_ATOM_NONE;

    static X11SelectionAtoms intern(xcb_connection_t* connection);
};

// A property's type and size in bytes, asked without its value; the type is XCB_NONE when there
// is no such property. None when the server gave no answer.
std::optional<std::pair<xcb_atom_t, qsizetype>>
x11PropertySize(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property);

} // namespace plimbo
