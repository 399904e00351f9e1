#!/usr/bin/python3
"""A stand-in for the system's sensor service (net.hadess.SensorProxy) with an accelerometer.

    sensor_standin.py SYSTEM_BUS_ADDRESS SESSION_BUS_ADDRESS

It owns the service's name on the first bus and watches the second, where each new client shows who
asked the desktop's session bus something (the rotation library asks it for every answer).
Commands on standard input, one a line:
    orientation NAME    the accelerometer now reads NAME (normal, left-up, bottom-up, right-up, undefined)
What it sees, on standard output, one a line:
    ready | claimed | released | session-client NAME | session-gone NAME
Runs until its standard input ends. Needs GObject introspection (python3-gi).
"""
import sys
import threading

from gi.repository import Gio, GLib

NAME = "net.hadess.SensorProxy"
PATH = "/net/hadess/SensorProxy"
INTERFACE = NAME
XML = f"""<node><interface name="{INTERFACE}">
  <method name="ClaimAccelerometer"/><method name="ReleaseAccelerometer"/>
  <property name="HasAccelerometer" type="b" access="read"/>
  <property name="AccelerometerOrientation" type="s" access="read"/>
</interface></node>"""
FLAGS = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION


def tell(line):
    print(line, flush=True)


class Sensor:
    def __init__(self, system, session):
        self.orientation = "normal"
        self.system = Gio.DBusConnection.new_for_address_sync(system, FLAGS, None, None)
        info = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
        self.system.register_object(PATH, info, self.on_call, self.on_get, None)
        self.system.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                              "RequestName", GLib.Variant("(su)", (NAME, 0)), None, Gio.DBusCallFlags.NONE,
                              -1, None)
        self.session = Gio.DBusConnection.new_for_address_sync(session, FLAGS, None, None)
        self.session.signal_subscribe("org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
                                      "/org/freedesktop/DBus", None, Gio.DBusSignalFlags.NONE,
                                      self.on_session_name)

    def on_call(self, connection, sender, path, interface, method, parameters, invocation):
        tell({"ClaimAccelerometer": "claimed", "ReleaseAccelerometer": "released"}[method])
        invocation.return_value(None)

    def on_get(self, connection, sender, path, interface, name):
        return GLib.Variant("b", True) if name == "HasAccelerometer" else GLib.Variant("s", self.orientation)

    def on_session_name(self, connection, sender, path, interface, signal, parameters):
        name, old, new = parameters.unpack()
        if name.startswith(":"):
            tell(f"session-client {name}" if new else f"session-gone {name}")

    def command(self, line):
        word, _, value = line.strip().partition(" ")
        if word == "orientation":
            self.orientation = value
            changed = GLib.Variant("(sa{sv}as)", (INTERFACE, {"AccelerometerOrientation": GLib.Variant("s", value)},
                                                  []))
            self.system.emit_signal(None, PATH, "org.freedesktop.DBus.Properties", "PropertiesChanged", changed)
        return GLib.SOURCE_REMOVE


def main():
    sensor = Sensor(sys.argv[1], sys.argv[2])
    loop = GLib.MainLoop()

    def read_commands():
        for line in sys.stdin:
            GLib.idle_add(sensor.command, line)
        GLib.idle_add(loop.quit)

    threading.Thread(target=read_commands, daemon=True).start()
    tell("ready")
    loop.run()


if __name__ == "__main__":
    main()
