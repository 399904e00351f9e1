#!/usr/bin/env bash
# Builds the presets and runs every test tier: the native unit tests
# (sanitizers on), the X11 program's end-to-end tests, the Windows tests under
# Wine, the end-to-end tests and the fuzz targets.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
set -e
require_packages "${native_build_packages[@]}" "${windows_build_packages[@]}" "${wine_packages[@]}" \
  "${test_packages[@]}" "${linux_packages[@]}"
cd "$repo"

echo "== Native build (GCC, AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset native >/dev/null
cmake --build --preset native
echo "== Linux build (the X11 program zentara)"
cmake --preset linux >/dev/null
cmake --build --preset linux
echo "== Windows build (MinGW-w64)"
cmake --preset win64 >/dev/null
cmake --build --preset win64
set +e

echo "== Native unit tests, and libquillet.so on private X servers"
ctest --preset native
native=$?
echo "== The X11 program on Xvfb"
ctest --preset linux
linux=$?
echo "== Windows and end-to-end tests under Wine"
ctest --preset win64
windows=$?

# --- Fuzzing (tests/fuzz/README.md): every target replays its kept inputs,
# then fuzzes for a bounded time (ZENTARA_FUZZ_SECONDS, 30 s by default).
echo "== Fuzz targets (Clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)"
require_packages "${fuzz_packages[@]}"
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz && ctest --preset fuzz
fuzz=$?
# --- end of fuzzing

if [ $native -ne 0 ] || [ $linux -ne 0 ] || [ $windows -ne 0 ] || [ $fuzz -ne 0 ]; then
  echo "Some tests failed (native: $native, X11: $linux, Windows and end to end: $windows, fuzz: $fuzz)."
  exit 1
fi
