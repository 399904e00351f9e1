"""The guest's end of the control port: one JSON request a line from the host, {"id": ..., "do": [...]},
answered with lines of {"id": ..., "output": text} and a last {"id": ..., "status": exit status}. The host
reads only the answers to its own request: the port keeps what was written while nobody listened.

    ["ready"]                 0 once the guest is up
    ["test", "Class"]         runs that scenario class of test_*.py with unittest, its output relayed
    ["poweroff"]              powers the guest off; with "boot-times", keeps systemd's in results/boot.txt
"""
import importlib
import json
import os
import re
import select
import subprocess
import sys
import time
import traceback
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent


def module_of(name):
    """The test module that defines the class."""
    for module in sorted(HERE.glob("test_*.py")):
        if re.search(rf"^class {re.escape(name)}\b", module.read_text(), re.MULTILINE):
            return module.stem
    return None


def answer(port, **message):
    os.write(port, (json.dumps(dict(message, id=answer.request)) + "\n").encode())


def run_test(port, name):
    """Runs the class with unittest in a child forked from the agent, which has imported the scenarios'
    modules once: under emulation their import (evdev's above all) takes seconds. Each class still gets a
    process of its own."""
    module = module_of(name)
    if module is None:
        answer(port, output=f"no scenario class {name}\n")
        return 2
    try:
        importlib.import_module(module)
    except Exception:  # noqa: BLE001 - a scenario module that does not load is that request's failure
        answer(port, output=traceback.format_exc())
        return 2
    reader, writer = os.pipe()
    child = os.fork()
    if child == 0:
        os.close(reader)
        status = 2
        try:
            os.dup2(writer, 1)
            os.dup2(writer, 2)
            stream = os.fdopen(1, "w", buffering=1)
            sys.stdout = sys.stderr = stream
            suite = unittest.defaultTestLoader.loadTestsFromName(f"{module}.{name}")
            status = 0 if unittest.TextTestRunner(stream=stream, verbosity=2).run(suite).wasSuccessful() else 1
        except BaseException:  # noqa: BLE001 - told to the host, and the child ends all the same
            traceback.print_exc()
        finally:
            sys.stdout.flush()
            os._exit(status)
    os.close(writer)
    with os.fdopen(reader, "rb") as output:
        for line in iter(output.readline, b""):
            answer(port, output=line.decode(errors="replace"))
    return os.waitstatus_to_exitcode(os.waitpid(child, 0)[1])


def keep_boot_times():
    """What systemd took to boot the guest, its slowest units first, kept with the results."""
    with open(HERE.parent / "results" / "boot.txt", "w") as kept:
        for command in (["systemd-analyze", "time"], ["systemd-analyze", "blame"]):
            subprocess.run(command, stdout=kept, stderr=subprocess.STDOUT, timeout=60, check=False)


def serve(path):
    port = os.open(path, os.O_RDWR)
    buffer = b""
    while True:
        # The port reads as hung up while no host end is connected.
        ready = select.poll()
        ready.register(port, select.POLLIN)
        events = ready.poll(1000)
        if not events or events[0][1] & select.POLLHUP:
            time.sleep(0.1)
            continue
        chunk = os.read(port, 4096)
        if not chunk:
            time.sleep(0.1)
            continue
        buffer += chunk
        while b"\n" in buffer:
            line, buffer = buffer.split(b"\n", 1)
            message = json.loads(line)
            answer.request, request = message["id"], message["do"]
            if request[0] == "ready":
                answer(port, status=0)
            elif request[0] == "test":
                answer(port, status=run_test(port, request[1]))
            elif request[0] == "poweroff":
                if "boot-times" in request[1:]:
                    keep_boot_times()
                answer(port, status=0)
                subprocess.Popen(["systemctl", "poweroff"])
            else:
                answer(port, output=f"unknown request {request}\n", status=2)


if __name__ == "__main__":
    sys.path.insert(0, str(HERE))
    sys.dont_write_bytecode = True
    # How much of the boot the guest's kernel and services took, told apart from QEMU's start.
    uptime = float(Path("/proc/uptime").read_text().split()[0])
    try:
        random = bool(os.getrandom(1, os.GRND_NONBLOCK))
    except BlockingIOError:
        random = False
    with open(HERE.parent / "results" / "timings.txt", "a") as timings:
        timings.write(f"agent up {uptime:.1f} s after the kernel's start, random numbers "
                      f"{'ready' if random else 'not ready yet'}\n")
    serve(sys.argv[1])
