"""A desktop service on the session bus of DBUS_SESSION_BUS_ADDRESS, standing in for the real one:

    bus_stand_in.py NAME [answers|silent|unavailable]

owns NAME and, for org.kde.KScreen, serves Plasma's screen module at /modules/kscreen: automatic
rotation available and on, switched by setAutoRotate. "silent" takes every call and never answers;
"unavailable" says there is no automatic rotation. Prints "ready" once the name is owned.
"""
import sys

from gi.repository import Gio, GLib

KSCREEN = """<node><interface name="org.kde.KScreen">
  <method name="isAutoRotateAvailable"><arg type="b" direction="out"/></method>
  <method name="getAutoRotate"><arg type="b" direction="out"/></method>
  <method name="setAutoRotate"><arg type="b" direction="in"/></method>
</interface></node>"""


def main():
    name = sys.argv[1]
    mode = sys.argv[2] if len(sys.argv) > 2 else "answers"
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    automatic = [True]
    unanswered = []

    def on_call(_connection, _sender, _path, _interface, method, arguments, invocation):
        if mode == "silent":
            unanswered.append(invocation)
        elif method == "isAutoRotateAvailable":
            invocation.return_value(GLib.Variant("(b)", (mode != "unavailable",)))
        elif method == "getAutoRotate":
            invocation.return_value(GLib.Variant("(b)", (automatic[0],)))
        else:
            automatic[0] = arguments.unpack()[0]
            invocation.return_value(None)

    if name == "org.kde.KScreen":
        bus.register_object("/modules/kscreen", Gio.DBusNodeInfo.new_for_xml(KSCREEN).interfaces[0], on_call)
    (owned,) = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                             "RequestName", GLib.Variant("(su)", (name, 4)), GLib.VariantType("(u)"),
                             Gio.DBusCallFlags.NONE, -1, None).unpack()
    if owned != 1:
        sys.exit(f"{name} is taken")
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
