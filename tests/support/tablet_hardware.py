"""Whether this machine looks like a tablet to the program's autostart. Standard library only."""
import shutil
import subprocess


def tablet_hardware():
    """What in udev's records would give the panel a job here (then this machine is no desktop PC)."""
    if shutil.which("udevadm") is None:
        return []  # no device manager, no records
    records = subprocess.run(["udevadm", "info", "--export-db"], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True, check=False).stdout
    return [word for word in ("ID_INPUT_TOUCHSCREEN=1", "ID_INPUT_ACCELEROMETER=1") if word in records]
