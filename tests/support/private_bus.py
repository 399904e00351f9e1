"""A D-Bus message bus of the test's own: its address goes to the processes under test as
DBUS_SESSION_BUS_ADDRESS or DBUS_SYSTEM_BUS_ADDRESS, and it is stopped by its process id; and stand-in
desktop services on such a bus (bus_stand_in.py). Standard library only."""
import subprocess
from pathlib import Path

SYSTEM_PYTHON = "/usr/bin/python3"  # the one Debian's GObject bindings (python3-gi) belong to
_STAND_IN = Path(__file__).with_name("bus_stand_in.py")

# A session-type bus listening in a folder of the test's, on which anyone may own any name and watch
# every message (a stand-in service takes a system service's name there).
OPEN_BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


class PrivateBus:
    """dbus-daemon with the session configuration, or with the configuration file given."""

    def __init__(self, config_file=None, env=None):
        configuration = f"--config-file={config_file}" if config_file else "--session"
        self.process = subprocess.Popen(["dbus-daemon", configuration, "--nofork", "--print-address=1"],
                                        env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        self.address = self.process.stdout.readline().strip()
        if not self.address:
            self.stop()
            raise RuntimeError("the message bus did not start")

    @classmethod
    def open_in(cls, folder, name):
        """A bus with OPEN_BUS_CONFIG, its configuration written as NAME.conf and its socket in `folder`."""
        config = folder / f"{name}.conf"
        config.write_text(OPEN_BUS_CONFIG.format(folder=folder))
        return cls(config_file=config)

    def stop(self):
        stop_process(self.process)
        self.process.stdout.close()


def start_stand_in(name, env, mode="answers"):
    """bus_stand_in.py serving `name` in `mode` on the session bus of env's DBUS_SESSION_BUS_ADDRESS, once it
    owns the name; its output (after "ready") in `stdout`. Stopped with stop_process."""
    service = subprocess.Popen([SYSTEM_PYTHON, str(_STAND_IN), name, mode], env=env, stdout=subprocess.PIPE,
                               text=True)
    if service.stdout.readline().strip() != "ready":
        stop_process(service)
        service.stdout.close()
        raise RuntimeError(f"the stand-in for {name} did not start")
    return service


def stop_process(process):
    """Ends a process this test started: asked first, killed if it has not ended ten seconds later."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
