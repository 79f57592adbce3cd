#!/usr/bin/python3
"""Looks into a running KDE session for tools/kde-wayland-check.sh.

  probe.py shortcuts ID...      kglobalaccel components holding any of the ids, one line each:
                                "<component path> <id>=<keys> ..." (keys "-" when none)
  probe.py press NAME           presses the button of that accessible name in Plimbo (AT-SPI)
  probe.py names TEXT...        prints each TEXT that some accessible name in Plimbo contains
  probe.py dump                 every application and accessible name (for a failed check)
"""
import sys

from gi.repository import Gio, GLib

TIMEOUT_MS = 5000


def call(bus, name, path, interface, method, args=None, reply=None):
    return bus.call_sync(name, path, interface, method, args, reply and GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, TIMEOUT_MS, None).unpack()


def shortcuts(ids):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    (components,) = call(bus, "org.kde.kglobalaccel", "/kglobalaccel", "org.kde.KGlobalAccel",
                         "allComponents", None, "(ao)")
    for path in components:
        (infos,) = call(bus, "org.kde.kglobalaccel", path, "org.kde.kglobalaccel.Component",
                        "allShortcutInfos", None, "(a(ssssssaiai))")
        held = {info[0]: info[6] for info in infos}
        if not any(i in held for i in ids):
            continue
        parts = [path]
        for i in ids:
            if i in held:
                keys = held[i]
                parts.append("%s=%s" % (i, ",".join(str(k) for k in keys) if keys else "-"))
        print(" ".join(parts))


def accessibility_bus():
    session = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    (address,) = call(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                      None, "(s)")
    flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
             | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
    return Gio.DBusConnection.new_for_address_sync(address, flags, None, None)


def name_of(bus, name, path):
    (value,) = call(bus, name, path, "org.freedesktop.DBus.Properties", "Get",
                    GLib.Variant("(ss)", ("org.a11y.atspi.Accessible", "Name")), "(v)")
    return value


def children(bus, name, path):
    (items,) = call(bus, name, path, "org.a11y.atspi.Accessible", "GetChildren", None, "(a(so))")
    return items


def plimbo_nodes():
    """Every accessible of Plimbo's windows: (bus, name, path, accessible name)."""
    bus = accessibility_bus()
    for app_name, app_path in children(bus, "org.a11y.atspi.Registry",
                                       "/org/a11y/atspi/accessible/root"):
        try:
            if name_of(bus, app_name, app_path).lower() != "plimbo":
                continue
        except GLib.Error:
            continue
        stack = [(app_name, app_path)]
        seen = set()
        while stack:
            node = stack.pop()
            if node in seen:
                continue
            seen.add(node)
            try:
                yield bus, node[0], node[1], name_of(bus, *node)
                stack.extend(children(bus, *node))
            except GLib.Error:
                continue


def press(label):
    for bus, name, path, accessible in plimbo_nodes():
        if accessible == label:
            call(bus, name, path, "org.a11y.atspi.Action", "DoAction",
                 GLib.Variant("(i)", (0,)), "(b)")
            return 0
    print("no accessible named %r in Plimbo" % label, file=sys.stderr)
    return 1


def names(texts):
    found = set()
    for _bus, _name, _path, accessible in plimbo_nodes():
        for text in texts:
            if text in accessible:
                found.add(text)
    for text in texts:
        if text in found:
            print(text)


def dump():
    bus = accessibility_bus()
    for app_name, app_path in children(bus, "org.a11y.atspi.Registry",
                                       "/org/a11y/atspi/accessible/root"):
        print("application %r at %s%s" % (name_of(bus, app_name, app_path), app_name, app_path))
    for _bus, name, path, accessible in plimbo_nodes():
        print("%s%s %r" % (name, path, accessible))


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        if argv[1] == "shortcuts":
            shortcuts(argv[2:])
        elif argv[1] == "press" and len(argv) == 3:
            return press(argv[2])
        elif argv[1] == "names":
            names(argv[2:])
        elif argv[1] == "dump":
            dump()
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except GLib.Error as error:
        print(error.message, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
