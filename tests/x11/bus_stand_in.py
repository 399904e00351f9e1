"""A desktop service on the session bus of DBUS_SESSION_BUS_ADDRESS, standing in for the real one:

    bus_stand_in.py NAME [answers|silent|unavailable|stale-once|refuses]

owns NAME and, for org.kde.KScreen, serves Plasma's screen module at /modules/kscreen: automatic
rotation available and on, switched by setAutoRotate. "silent" takes every call and never answers;
"unavailable" says there is no automatic rotation. For org.gnome.Mutter.DisplayConfig it serves one
upright 1280 x 800 monitor and prints a line for each configuration sent ("applied SERIAL", "stale
SERIAL" or "refused SERIAL"): "stale-once" refuses the first as made from a serial gone stale (and
the serial moves on), "refuses" refuses each one plainly. Prints "ready" once the name is owned.
"""
import sys

from gi.repository import Gio, GLib

KSCREEN = """<node><interface name="org.kde.KScreen">
  <method name="isAutoRotateAvailable"><arg type="b" direction="out"/></method>
  <method name="getAutoRotate"><arg type="b" direction="out"/></method>
  <method name="setAutoRotate"><arg type="b" direction="in"/></method>
</interface></node>"""


DISPLAY_CONFIG = """<node><interface name="org.gnome.Mutter.DisplayConfig">
  <method name="GetCurrentState">
    <arg type="u" direction="out"/><arg type="a((ssss)a(siiddada{sv})a{sv})" direction="out"/>
    <arg type="a(iiduba(ssss)a{sv})" direction="out"/><arg type="a{sv}" direction="out"/>
  </method>
  <method name="ApplyMonitorsConfig">
    <arg type="u" direction="in"/><arg type="u" direction="in"/>
    <arg type="a(iiduba(ssa{sv}))" direction="in"/><arg type="a{sv}" direction="in"/>
  </method>
</interface></node>"""
MONITOR_STATE = """(%d,
  [(('Meta-0', 'V', 'P', '0'), [('1280x800@60.000', 1280, 800, 60.0, 1.0, [1.0], {'is-current': <true>})],
    {'is-builtin': <true>})],
  [(0, 0, 1.0, 0, true, [('Meta-0', 'V', 'P', '0')], @a{sv} {})],
  {'layout-mode': <uint32 2>})"""


def serve_display_config(bus, mode):
    serial = [1]

    def on_call(_connection, _sender, _path, _interface, method, arguments, invocation):
        if method == "GetCurrentState":
            state_type = GLib.VariantType("(ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv})")
            invocation.return_value(GLib.Variant.parse(state_type, MONITOR_STATE % serial[0]))
            return
        sent = arguments.unpack()[0]
        if mode == "refuses":
            print(f"refused {sent}", flush=True)
            invocation.return_dbus_error("org.freedesktop.DBus.Error.Failed", "not this one")
        elif mode == "stale-once" and serial[0] == 1:
            print(f"stale {sent}", flush=True)
            serial[0] += 1
            invocation.return_dbus_error("org.freedesktop.DBus.Error.AccessDenied", "stale serial")
        else:
            print(f"applied {sent}", flush=True)
            invocation.return_value(None)

    interface = Gio.DBusNodeInfo.new_for_xml(DISPLAY_CONFIG).interfaces[0]
    bus.register_object("/org/gnome/Mutter/DisplayConfig", interface, on_call)


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
    elif name == "org.gnome.Mutter.DisplayConfig":
        serve_display_config(bus, mode)
    (owned,) = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                             "RequestName", GLib.Variant("(su)", (name, 4)), GLib.VariantType("(u)"),
                             Gio.DBusCallFlags.NONE, -1, None).unpack()
    if owned != 1:
        sys.exit(f"{name} is taken")
    print("ready", flush=True)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
