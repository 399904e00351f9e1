#!/usr/bin/env bash
# Builds both presets and runs all three test tiers: the native unit tests
# (sanitizers on), the Windows tests under Wine and the end-to-end tests.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
set -e
require_packages "${native_build_packages[@]}" "${windows_build_packages[@]}" "${wine_packages[@]}" \
  "${test_packages[@]}" "${linux_packages[@]}"
cd "$repo"

echo "== Native build (GCC, AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset native >/dev/null
cmake --build --preset native
echo "== Windows build (MinGW-w64)"
cmake --preset win64 >/dev/null
cmake --build --preset win64
set +e

echo "== Native unit tests, and libquillet.so on private X servers"
ctest --preset native
native=$?
echo "== Windows and end-to-end tests under Wine"
ctest --preset win64
windows=$?

if [ $native -ne 0 ] || [ $windows -ne 0 ]; then
  echo "Some tests failed (native: $native, Windows and end to end: $windows)."
  exit 1
fi
