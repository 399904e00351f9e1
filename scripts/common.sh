# Shared by run.sh and test.sh: Debian packages, and the Wine environment.
# shellcheck shell=bash

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Lets dpkg install packages of another architecture (Debian's multiarch) when
# run as root; otherwise names the commands that do it and stops.
require_architecture() {
  dpkg --print-foreign-architectures | grep -qx "$1" && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Zentara's $1 package build needs dpkg to take $1 packages. Add the architecture with:" >&2
    echo "  sudo dpkg --add-architecture $1 && sudo apt-get update" >&2
    exit 1
  fi
  echo "Adding the architecture $1 to dpkg ..."
  dpkg --add-architecture "$1"
}

# Installs the Debian packages that are missing, with apt-get when run as root;
# otherwise names the one command that installs them and stops.
require_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Zentara needs these Debian packages, which are not installed: ${missing[*]}" >&2
    echo "Install them as root with:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing ${missing[*]} ..."
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# What building the Windows program needs (x64, and x86 beside it; NSIS makes the
# installers, 7-Zip reads them back in the checks), what running it under Wine
# needs (iproute2: ss tells who holds a silent X server), what the native build
# needs and what the source checks need.
# Never wine32: this machine's kernel cannot run 32-bit code, and with it no Wine call works.
windows_build_packages=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest python3 nsis 7zip)
x86_build_packages=(g++-mingw-w64-i686-posix)
wine_packages=(wine wine64 xvfb xdotool imagemagick iproute2)
native_build_packages=(cmake ninja-build g++ googletest libbenchmark-dev libpng-dev pkg-config)
check_packages=(python3 clang-format)
# What building and testing the X11 rotation library needs (its headers, and the
# servers, tools and settings schema its tests run against), and what the X11
# program zentara needs (Pango and Cairo) with what its end-to-end tests run it
# on (openbox, fluxbox) and drive it with, and what its Debian package is built (the
# dependencies worked out by dpkg-shlibdeps) and checked with (Debian's own
# checkers; man-db and groff-base let lintian render the manual page, mandoc
# checks its source), with the GSettings backend it depends on, so that
# installing it needs no download;
# and the private D-Bus daemons and Python's GLib binding the stand-in desktop
# and sensor services of the tests run on; the Wayland client library and the
# output protocols of Plasma the library speaks to Wayland desktops through,
# with xdg-output from the common protocols.
linux_packages=(libwayland-dev libwayland-bin plasma-wayland-protocols wayland-protocols libx11-dev libxext-dev libxrandr-dev libxi-dev libxfixes-dev libglib2.0-dev pkg-config
  xvfb xserver-xephyr x11-xserver-utils gnome-settings-daemon-common
  libpango1.0-dev libcairo2-dev openbox fluxbox xdotool x11-utils imagemagick dpkg-dev desktop-file-utils
  lintian appstream man-db groff-base mandoc binutils dconf-gsettings-backend
  dbus-daemon python3-gi libudev-dev libwacom-dev)
# The Wayland desktops the tests start headless (wlroots' sway, GNOME's Mutter,
# Plasma's KWin, Weston, each with XWayland) and the tools that read them back.
wayland_test_packages=(sway mutter kwin-wayland weston xwayland x11-xserver-utils wlr-randr grim wayland-utils
  libkf5screen-bin qtwayland5)
# The fuzz targets: Clang with libFuzzer and the sanitizer runtimes.
fuzz_packages=(clang-14 libclang-rt-14-dev libpng-dev zlib1g-dev)
# The tablet in a QEMU guest: the emulator and its image tool, and what builds the guest's image from
# Debian's packages (mmdebstrap, ext4's tools, the archive's keys).
tablet_packages=(qemu-system-x86 qemu-utils mmdebstrap e2fsprogs debian-archive-keyring)
# What building the Debian packages adds (build-essential, which Debian's build
# dependencies take for granted, debhelper; git lists the tracked files the build
# copies), and what cross-building them for arm64 and running the arm64
# program and library under qemu-user need: the cross compilers, the emulator,
# and the arm64 development packages of debian/control's build dependencies
# (with the arm64 C++ runtime the program runs on), through multiarch.
deb_packages=(build-essential debhelper git)
arm64_packages=(crossbuild-essential-arm64 qemu-user-static libcairo2-dev:arm64 libglib2.0-dev:arm64
  libpango1.0-dev:arm64 libpng-dev:arm64 libudev-dev:arm64 libwacom-dev:arm64 libwayland-dev:arm64
  libx11-dev:arm64 libxext-dev:arm64 libxfixes-dev:arm64 libxi-dev:arm64 libxrandr-dev:arm64 libstdc++6:arm64)
