#!/usr/bin/env python3
"""Checks the layering of the sources under src/ and prints every breach.

Layers from the bottom up: desktop_family < platform < base < effects < gs < app;
a file includes only its own layer and those below. rotation (Quillet) stands
beside them: it includes itself, the desktop families' table and the platform's
plain types, and no layer includes it.

Operating-system headers (windows.h, X11/..., unistd.h, ...) and the headers of
an operating system's folder of the platform (platform/win32/..., platform/x11/...)
are included only inside src/platform/, by the program's entry points
(src/app/<system>/) and, for the system headers alone, by the rotation library's
own system folders (src/rotation/<family>/<system>/ and .../lock/). Only the same places test which system
they are built for (_WIN32, __linux__, ...).

    check_layers.py [SRC_DIR]            the layering rules above
    check_layers.py --circles [SRC_DIR]  include circles between modules (a module is a
                                         header/source pair)
Exit status 1 on any breach. Standard library only.
"""
import os
import re
import sys
from pathlib import Path

ORDER = ["desktop_family", "platform", "base", "effects", "gs", "app"]
ALLOWED = {layer: set(ORDER[:i + 1]) for i, layer in enumerate(ORDER)}
ALLOWED["rotation"] = {"rotation", "platform", "desktop_family"}
# Folders of src/platform/ that talk to one operating system.
SYSTEM_FOLDERS = {"win32", "x11", "posix", "linux", "macos", "wayland"}
# The rotation library's folders that talk to the system beside those: a
# family's desktop locks (GSettings, the session bus).
ROTATION_SYSTEM_FOLDERS = SYSTEM_FOLDERS | {"lock"}
# Folders of src/platform/ that only the platform and the entry points see.
BACKEND_FOLDERS = {"win32", "x11", "macos", "wayland"}
SOURCE_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp", ".inl", ".rc", ".in"}

_WINDOWS = re.compile(
    r"(win[a-z0-9_]*|gdiplus[a-z0-9_]*|shellapi|shlobj[a-z_]*|shlwapi|shellscalingapi|shtypes|dwmapi|uxtheme|"
    r"commctrl|commdlg|objbase|objidl|ole2|oleauto|olectl|unknwn|mmsystem|versionhelpers|sdkddkver|tchar|"
    r"processthreadsapi|libloaderapi|synchapi|sysinfoapi|fileapi|handleapi|errhandlingapi|memoryapi|"
    r"ntdef|ntstatus|direct|io|process|intsafe|strsafe|richedit|tlhelp32|psapi|dbghelp)\.h", re.IGNORECASE)
_POSIX = re.compile(
    r"(unistd|fcntl|dlfcn|pthread|poll|termios|dirent|pwd|grp|semaphore|spawn|syslog|libgen|glob|sched|"
    r"ucontext|execinfo|link|elf|mqueue|aio|netdb|ifaddrs|langinfo|iconv)\.h")
_SYSTEM_DIRS = ("X11/", "xcb/", "sys/", "linux/", "asm/", "netinet/", "arpa/", "net/", "gio/", "glib/",
                "gtk/", "gdk/", "pango/", "cairo/", "dbus/", "wayland-", "libudev", "xkbcommon/")
_SYSTEM_FILES = {"glib.h", "gio.h", "cairo.h", "cairo-xlib.h", "pango.h", "dbus.h"}
_SYSTEM_MACRO = re.compile(r"\b(_WIN32|_WIN64|__MINGW32__|__MINGW64__|_MSC_VER|__CYGWIN__|__linux__|"
                           r"__linux|__unix__|__unix|__APPLE__|__MACH__|__FreeBSD__)\b")
_INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
_CONDITION = re.compile(r"^\s*#\s*(if|ifdef|ifndef|elif|elifdef|elifndef)\b(.*)")


def is_system_header(name):
    return (_WINDOWS.fullmatch(name) is not None or _POSIX.fullmatch(name) is not None
            or name.startswith(_SYSTEM_DIRS) or name in _SYSTEM_FILES)


def place(relative):
    """(layer, system folder or None) of a file given relative to src/."""
    parts = relative.parts
    layer = parts[0] if len(parts) > 1 else None
    # The rotation library keeps a system folder inside each family's folder (rotation/<family>/<system>/).
    folders = ROTATION_SYSTEM_FOLDERS if layer == "rotation" else SYSTEM_FOLDERS
    system = next((part for part in parts[1:-1] if part in folders), None)
    return layer, system


def may_use_system(layer, system):
    """Whether a file may include operating-system headers and test the system."""
    return layer == "platform" or (layer in ("app", "rotation") and system is not None)


def check(src):
    breaches = []
    modules = {}
    files = sorted(p for p in src.rglob("*") if p.is_file() and p.suffix in SOURCE_SUFFIXES)
    for path in files:
        relative = path.relative_to(src)
        layer, system = place(relative)
        module = str(relative.with_suffix("")).removesuffix(".rc")
        uses = modules.setdefault(module, set())
        lines = path.read_text(errors="replace").splitlines()
        for number, line in enumerate(lines, 1):
            where = f"{relative}:{number}"
            condition = _CONDITION.match(line)
            if condition and _SYSTEM_MACRO.search(condition.group(2)) and not may_use_system(layer, system):
                breaches.append(f"{where}: tests the operating system outside src/platform/ and the entry points")
            match = _INCLUDE.match(line)
            if not match:
                continue
            quoted, name = match.group(1) == '"', match.group(2)
            target = src / name if quoted else None
            if quoted and not target.is_file() and (path.parent / name).is_file():
                target = path.parent / name
            if target is not None and target.is_file():
                included = target.resolve().relative_to(src.resolve())
                used_layer, used_system = place(included)
                uses.add(str(included.with_suffix("")))
                if layer in ALLOWED and used_layer not in ALLOWED[layer]:
                    breaches.append(f"{where}: {layer} includes {included}, from the layer {used_layer}")
                elif (used_layer == "platform" and used_system in BACKEND_FOLDERS and layer != "platform"
                      and not (layer == "app" and system == used_system)):
                    breaches.append(f"{where}: includes the {used_system} backend header {included}")
            elif is_system_header(name) and not may_use_system(layer, system):
                breaches.append(f"{where}: includes the operating-system header {name}")
    return breaches, circles(modules)


def circles(modules):
    """Every group of modules that include each other, found with Tarjan's algorithm."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(module):
        index[module] = low[module] = len(index)
        stack.append(module)
        on_stack.add(module)
        for used in modules.get(module, ()):
            if used == module or used not in modules:
                continue
            if used not in index:
                visit(used)
                low[module] = min(low[module], low[used])
            elif used in on_stack:
                low[module] = min(low[module], index[used])
        if low[module] == index[module]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == module:
                    break
            if len(group) > 1:
                found.append(sorted(group))

    sys.setrecursionlimit(10000)
    for module in sorted(modules):
        if module not in index:
            visit(module)
    return sorted(found)


def main():
    arguments = sys.argv[1:]
    want_circles = "--circles" in arguments
    arguments = [a for a in arguments if a != "--circles"]
    src = Path(arguments[0] if arguments else Path(__file__).resolve().parents[1] / "src")
    breaches, groups = check(src)
    count = sum(1 for p in src.rglob("*") if p.is_file() and p.suffix in SOURCE_SUFFIXES)
    if want_circles:
        for group in groups:
            print("include circle: " + " <-> ".join(group))
        print(f"{count} files: {len(groups)} include circles")
        return 1 if groups else 0
    for breach in breaches:
        print(breach)
    print(f"{count} files: {len(breaches)} layering breaches")
    return 1 if breaches else 0


if __name__ == "__main__":
    sys.exit(main())
