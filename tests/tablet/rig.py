#!/usr/bin/env python3
"""The tablet in a box: a Debian 12 guest under QEMU with the built program, driven over a control port.

    rig.py image              builds the guest image unless the cache holds one for this package list
    rig.py boot               copies the program and the scenarios into the share and starts the guest
    rig.py run CLASS...       runs scenario classes (guest/test_*.py) in the running guest
    rig.py poweroff [--boot-times]
                              powers the guest off and stops QEMU; --boot-times first keeps systemd's
                              account of the boot in the share's results/boot.txt (it takes the guest
                              half a minute under emulation)

The image lives in $XDG_CACHE_HOME/zentara/tablet/<key> (~/.cache by default), keyed by a hash of
everything that goes into it (image/packages, image/setup.sh and the build's options); another key's
image is removed when a new one is built. The running guest's state (QEMU's process id, its sockets,
its serial log, the share) is kept in $ZENTARA_TABLET_STATE (build/linux/tablet by default).
Standard library only.
"""
import contextlib
import fcntl
import hashlib
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import time
from pathlib import Path

from waiting import wait_for

HERE = Path(__file__).resolve().parent
REPO = HERE.parents[1]
SUITE = "bookworm"
MIRROR = "http://deb.debian.org/debian"
IMAGE_SIZE = "3G"
MEMORY = "1536"
# Files below /usr/share that no test reads, left out to build faster.
EXCLUDED = ["/usr/share/doc/*", "/usr/share/man/*", "/usr/share/info/*", "/usr/share/locale/*"]


def log(text):
    print(f"[tablet {time.strftime('%H:%M:%S')}] {text}", flush=True)


# --- the image ------------------------------------------------------------------------------------

def packages():
    lines = (HERE / "image" / "packages").read_text().splitlines()
    return [line.strip() for line in lines if line.strip() and not line.startswith("#")]


def image_key():
    digest = hashlib.sha256()
    for part in (SUITE, MIRROR, IMAGE_SIZE, " ".join(EXCLUDED), "\n".join(packages()),
                 (HERE / "image" / "setup.sh").read_text()):
        digest.update(part.encode() + b"\0")
    return digest.hexdigest()[:16]


def cache_root():
    base = os.environ.get("XDG_CACHE_HOME") or str(Path.home() / ".cache")
    return Path(base) / "zentara" / "tablet"


def image_folder():
    return cache_root() / image_key()


def build_image():
    """Builds the image into the cache unless it is there; returns its folder."""
    root = cache_root()
    root.mkdir(parents=True, exist_ok=True)
    with open(root / "lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        folder = image_folder()
        if (folder / "ready").exists():
            log(f"image cached in {folder}")
            return folder
        if os.geteuid() != 0:
            raise SystemExit("building the guest image needs root (mmdebstrap writes a root file system)")
        for old in root.iterdir():
            if old.is_dir():
                log(f"removing the image of another package list: {old}")
                shutil.rmtree(old)
        started = time.monotonic()
        work = root / f"{image_key()}.part"
        work.mkdir()
        tree = work / "root"
        command = ["mmdebstrap", "--variant=apt", "--mode=root", "--include=" + ",".join(packages()),
                   '--aptopt=Acquire::Languages "none"',
                   *[f"--dpkgopt=path-exclude={pattern}" for pattern in EXCLUDED],
                   f"--customize-hook=upload {HERE / 'image' / 'setup.sh'} /root/setup.sh",
                   '--customize-hook=chroot "$1" sh /root/setup.sh',
                   '--customize-hook=rm -f "$1"/root/setup.sh',
                   SUITE, str(tree), MIRROR]
        log("building the guest image: " + " ".join(command[:3]) + " ...")
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        boot = tree / "boot"
        kernel = sorted(boot.glob("vmlinuz-*"))[-1]
        initrd = sorted(boot.glob("initrd.img-*"))[-1]
        shutil.copy(kernel, work / "vmlinuz")
        shutil.copy(initrd, work / "initrd.img")
        subprocess.run(["mke2fs", "-q", "-t", "ext4", "-L", "tablet", "-d", str(tree), str(work / "root.ext4"),
                        IMAGE_SIZE], check=True)
        shutil.rmtree(tree)
        seconds = time.monotonic() - started
        (work / "ready").write_text(json.dumps({"seconds": round(seconds), "packages": packages()}) + "\n")
        work.rename(folder)
        log(f"image built in {seconds:.0f} s: {folder}")
        return folder


# --- the guest ------------------------------------------------------------------------------------

def state_folder():
    default = REPO / "build" / "linux" / "tablet"
    return Path(os.environ.get("ZENTARA_TABLET_STATE", default))


def dist_folder():
    return Path(os.environ.get("ZENTARA_X11_DIST", REPO / "build" / "linux" / "dist"))


def kvm_boots(folder):
    """Whether KVM really runs this guest: its kernel must print its first line within a few seconds
    (a KVM that accepts the calls but never runs the guest stays silent)."""
    if not os.access("/dev/kvm", os.R_OK | os.W_OK):
        return False
    process = subprocess.Popen(["qemu-system-x86_64", "-accel", "kvm", "-m", "256", "-nodefaults", "-display",
                                "none", "-no-reboot", "-serial", "stdio", "-kernel", str(folder / "vmlinuz"),
                                "-append", "console=ttyS0 earlyprintk=serial panic=-1 root=/dev/null"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    os.set_blocking(process.stdout.fileno(), False)
    seen = b""

    def printed():
        nonlocal seen
        with contextlib.suppress(BlockingIOError, TypeError):
            seen += process.stdout.read() or b""
        return b"Linux version" in seen or process.poll() is not None

    try:
        wait_for(printed, 5, 0.2, "the KVM probe's first kernel line")
    except AssertionError:
        pass
    finally:
        if process.poll() is None:
            process.kill()
        process.wait()
    return b"Linux version" in seen


class Guest:
    """The running guest as the state folder describes it."""

    def __init__(self, state=None):
        self.state = state or state_folder()
        self.control = self.state / "control.sock"
        self.qmp_socket = self.state / "qmp.sock"
        self.pid_file = self.state / "qemu.pid"
        self.share = self.state / "share"

    def pid(self):
        with contextlib.suppress(FileNotFoundError, ValueError):
            return int(self.pid_file.read_text())
        return None

    def alive(self):
        pid = self.pid()
        if pid is None:
            return False
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            return False
        # A QEMU that ended is a zombie until its starter, gone already, is replaced by init.
        try:
            return Path(f"/proc/{pid}/stat").read_text().split(")")[-1].split()[0] != "Z"
        except (FileNotFoundError, ProcessLookupError):  # it went between the two looks
            return False

    def prepare_share(self):
        if self.share.exists():
            shutil.rmtree(self.share)
        self.share.mkdir(parents=True)
        shutil.copytree(dist_folder(), self.share / "dist", symlinks=True)
        shutil.copytree(HERE / "guest", self.share / "guest", ignore=shutil.ignore_patterns("__pycache__"))
        shutil.copy(REPO / "src" / "app" / "x11" / "zentara-autostart.desktop", self.share / "guest")
        # The shared test library the guest imports.
        for module in ("panel_pictures.py", "source_module.py", "waiting.py", "xlib.py"):
            shutil.copy(REPO / "tests" / "support" / module, self.share / "guest")
        (self.share / "results").mkdir()

    def start(self, folder):
        if self.alive():
            raise SystemExit(f"a guest runs already (QEMU {self.pid()}); power it off first")
        self.state.mkdir(parents=True, exist_ok=True)
        for stale in (self.control, self.qmp_socket, self.pid_file):
            stale.unlink(missing_ok=True)
        self.prepare_share()
        # The image stays as the cache keeps it: the guest writes to an overlay that goes with the run.
        overlay = self.state / "overlay.qcow2"
        overlay.unlink(missing_ok=True)
        subprocess.run(["qemu-img", "create", "-q", "-f", "qcow2", "-F", "raw", "-b", str(folder / "root.ext4"),
                        str(overlay)], check=True)
        started = time.monotonic()
        kvm = kvm_boots(folder)
        accel = ["-accel", "kvm", "-cpu", "host"] if kvm else ["-accel", "tcg,thread=multi", "-cpu", "max"]
        log(f"KVM {'runs' if kvm else 'does not run'} the guest (probed in {time.monotonic() - started:.1f} s): "
            f"{'KVM' if kvm else 'TCG'} with 2 vCPUs")
        command = ["qemu-system-x86_64", *accel, "-smp", "2", "-m", MEMORY, "-nodefaults", "-no-user-config",
                   "-display", "none", "-nic", "none",
                   "-kernel", str(folder / "vmlinuz"), "-initrd", str(folder / "initrd.img"),
                   "-append", "root=/dev/vda rw console=ttyS0 quiet systemd.show_status=0 mitigations=off",
                   "-drive", f"file={overlay},if=virtio,format=qcow2,cache=unsafe",
                   # The tablet's panel and an external monitor's connector beside it, 1280 x 800 each.
                   "-device", "virtio-gpu-pci,max_outputs=2,xres=1280,yres=800",
                   # The host's entropy: an emulated machine gathers its own slowly, and what wants random
                   # numbers at the desktop's start would wait for it.
                   "-device", "virtio-rng-pci",
                   "-fsdev", f"local,id=share,path={self.share},security_model=none",
                   "-device", "virtio-9p-pci,fsdev=share,mount_tag=share",
                   "-device", "virtio-serial-pci",
                   "-chardev", f"socket,id=control,path={self.control},server=on,wait=off",
                   "-device", "virtserialport,chardev=control,name=tablet.control",
                   "-qmp", f"unix:{self.qmp_socket},server=on,wait=off",
                   "-serial", f"file:{self.state / 'serial.log'}",
                   "-pidfile", str(self.pid_file), "-daemonize"]
        subprocess.run(command, check=True)
        boot = time.monotonic()
        wait_for(lambda: self.call("ready", timeout=5, quiet=True) is not None, 300, 1, "the guest's agent")
        seconds = time.monotonic() - boot
        (self.state / "timings.txt").open("a").write(f"boot {seconds:.0f} s ({'KVM' if kvm else 'TCG'})\n")
        log(f"guest up in {seconds:.0f} s (QEMU {self.pid()})")

    def call(self, *request, timeout=600, quiet=False, out=None):
        """Sends one request to the agent; relays what it prints to `out` and returns its exit status,
        or None when the agent cannot be reached."""
        try:
            connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            connection.settimeout(timeout)
            connection.connect(str(self.control))
        except OSError:
            return None
        with connection:
            try:
                own = f"{os.getpid()}-{time.monotonic_ns()}"
                connection.sendall((json.dumps({"id": own, "do": list(request)}) + "\n").encode())
                buffer = b""
                while True:
                    chunk = connection.recv(65536)
                    if not chunk:
                        return None
                    buffer += chunk
                    while b"\n" in buffer:
                        line, buffer = buffer.split(b"\n", 1)
                        message = json.loads(line)
                        if message.get("id") != own:
                            continue
                        if "output" in message and not quiet:
                            (out or sys.stdout).write(message["output"])
                            (out or sys.stdout).flush()
                        if "status" in message:
                            return message["status"]
            except (OSError, ValueError):
                return None

    def qmp(self, command, **arguments):
        """One QMP command; its answer."""
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as connection:
            connection.settimeout(30)
            connection.connect(str(self.qmp_socket))
            stream = connection.makefile("rw")
            json.loads(stream.readline())
            for message in ({"execute": "qmp_capabilities"}, {"execute": command, "arguments": arguments}):
                stream.write(json.dumps(message) + "\n")
                stream.flush()
                while True:
                    answer = json.loads(stream.readline())
                    if "return" in answer or "error" in answer:
                        break
            return answer

    def power_off(self, boot_times=False):
        pid = self.pid()
        if not self.alive():
            log("no guest runs")
            return
        self.call("poweroff", *(["boot-times"] if boot_times else []), timeout=90, quiet=True)
        try:
            wait_for(lambda: not self.alive(), 90, 0.5, "the guest to power off")
            log("guest powered off")
        except AssertionError:
            log(f"the guest did not power off; stopping QEMU {pid}")
            os.kill(pid, signal.SIGTERM)
            wait_for(lambda: not self.alive(), 30, 0.5, "QEMU to stop")


def main(argv):
    if not argv:
        raise SystemExit(__doc__)
    command, rest = argv[0], argv[1:]
    if command == "image":
        build_image()
    elif command == "boot":
        Guest().start(build_image())
    elif command == "run":
        guest = Guest()
        if not guest.alive():
            raise SystemExit("no guest runs: boot it first")
        failed = 0
        for name in rest:
            started = time.monotonic()
            status = guest.call("test", name)
            seconds = time.monotonic() - started
            (guest.state / "timings.txt").open("a").write(f"{name} {seconds:.0f} s status {status}\n")
            log(f"{name}: status {status} in {seconds:.0f} s")
            failed += status != 0
        return 1 if failed else 0
    elif command == "poweroff":
        Guest().power_off(boot_times="--boot-times" in rest)
    else:
        raise SystemExit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
