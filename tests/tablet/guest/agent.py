"""The guest's end of the control port: one JSON request a line from the host, {"id": ..., "do": [...]},
answered with lines of {"id": ..., "output": text} and a last {"id": ..., "status": exit status}. The host
reads only the answers to its own request: the port keeps what was written while nobody listened.

    ["ready"]                 0 once the guest is up
    ["test", "Class"]         runs that scenario class of test_*.py with unittest, its output relayed
    ["poweroff"]              powers the guest off
"""
import json
import os
import re
import select
import subprocess
import sys
import time
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
    module = module_of(name)
    if module is None:
        answer(port, output=f"no scenario class {name}\n")
        return 2
    env = dict(os.environ, PYTHONDONTWRITEBYTECODE="1", PYTHONUNBUFFERED="1")
    process = subprocess.Popen([sys.executable, "-m", "unittest", "-v", f"{module}.{name}"], cwd=HERE, env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    for line in iter(process.stdout.readline, b""):
        answer(port, output=line.decode(errors="replace"))
    return process.wait()


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
                answer(port, status=0)
                subprocess.Popen(["systemctl", "poweroff"])
            else:
                answer(port, output=f"unknown request {request}\n", status=2)


if __name__ == "__main__":
    serve(sys.argv[1])
