"""A D-Bus message bus of the test's own: its address goes to the processes under test as
DBUS_SESSION_BUS_ADDRESS or DBUS_SYSTEM_BUS_ADDRESS, and it is stopped by its process id.
Standard library only."""
import subprocess

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


def stop_process(process):
    """Ends a process this test started: asked first, killed if it has not ended ten seconds later."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
