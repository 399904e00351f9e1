"""libquillet.so's calls made as the program makes them: by the driver of the library's tests
(tests/x11_quillet/quillet_driver.cpp), one process per list of calls. CTest gives the library and the
driver through QUILLET_LIBRARY and QUILLET_DRIVER. Standard library only."""
import os
import re
import subprocess

LIBRARY = os.environ.get("QUILLET_LIBRARY", "")
DRIVER = os.environ.get("QUILLET_DRIVER", "")


def drive(*calls, env, timeout=60, times=None, driver=None, library=None, runner=()):
    """The results of the calls (get-angle, set-angle=N, get-auto, set-auto=N), made in order by one
    driver process. A list given as `times` gets the milliseconds each call took; `driver` and
    `library` stand for the built ones, `runner` is what the driver runs under (an emulator for
    another architecture's build)."""
    command = [*runner, str(driver or DRIVER), str(library or LIBRARY), *calls]
    result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout)
    if result.returncode != 0:
        raise AssertionError(f"driver exit code {result.returncode} for {calls}: {result.stderr}")
    if times is not None:
        times.extend(float(took) for took in re.findall(r" in ([0-9.]+) ms$", result.stderr, re.MULTILINE))
    return [int(line) for line in result.stdout.split()]
