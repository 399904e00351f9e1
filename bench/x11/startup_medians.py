#!/usr/bin/env python3
"""Medians of the X11 panel's start-up at each display scale, on a private Xvfb:

    bench/x11/startup_medians.py build/linux/bench/zentara_x11_panel_timing [--runs 7] [--scales 100 200 300]
                                 [--openbox]

Each run is a fresh process (`--start-only`); the table gives the median time from the process start to the
shown panel, the median time beyond the pauses the program asks for (the floor), and the median VmHWM. With
--openbox the display has openbox for its window manager, which keeps the panel where it asks."""
import argparse
import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "support"))
from xservers import PrivateDisplay  # noqa: E402


def start_once(program, scale, env):
    out = subprocess.run([program, str(scale), "--start-only"], env=env, check=True, timeout=60,
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    line = next(line for line in out.splitlines() if line.startswith("startup "))
    return {key: float(value) for key, value in (field.split("=") for field in line.split()[1:])}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--scales", type=int, nargs="+", default=[100, 200, 300])
    parser.add_argument("--openbox", action="store_true", help="with openbox as the window manager")
    args = parser.parse_args()
    with PrivateDisplay("1920x1080") as display:
        env = dict(os.environ, DISPLAY=display.display)
        manager = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL) if args.openbox else None
        while manager and "window id" not in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                                                            stdout=subprocess.PIPE, text=True).stdout:
            time.sleep(0.1)
        print("scale  shown_ms  beyond_floor_ms  vmhwm_mb")
        for scale in args.scales:
            runs = [start_once(args.program, scale, env) for _ in range(args.runs)]
            median = {key: statistics.median(run[key] for run in runs) for key in runs[0]}
            print(f"{scale:5d}  {median['shown_ms']:8.0f}  {median['beyond_floor_ms']:15.0f}  "
                  f"{median['vmhwm_kb'] / 1024:8.1f}")
        if manager:
            manager.terminate()
            manager.wait(timeout=10)


if __name__ == "__main__":
    main()
