#!/usr/bin/env bash
# Builds the test presets and runs every test tier in one CTest run: natively
# the unit tests (sanitizers on), the source checks, the X11 rotation library on
# private X servers and the X11 program zentara end to end; under Wine the x64
# Windows tests and the end-to-end tests; the checks of the x86 build's files;
# and the fuzz targets (Clang, libFuzzer, sanitizers), each replaying its kept
# inputs and then fuzzing for a bounded time (ZENTARA_FUZZ_SECONDS, 30 s by
# default; tests/fuzz/README.md).
# Arguments go to CTest, for example:
#   scripts/test.sh -L unit        only the unit tier (labels: the test folders, README "Test tiers")
#   scripts/test.sh -R Glow        only the tests whose name contains Glow
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
set -e
require_architecture arm64
require_packages "${native_build_packages[@]}" "${windows_build_packages[@]}" "${x86_build_packages[@]}" \
  "${wine_packages[@]}" "${check_packages[@]}" "${linux_packages[@]}" "${wayland_test_packages[@]}" "${fuzz_packages[@]}" \
  "${tablet_packages[@]}" "${deb_packages[@]}" "${arm64_packages[@]}"
cd "$repo"

# The presets whose tests this command runs; each builds in build/<preset>.
presets=(native linux win64 win32 fuzz)
for preset in "${presets[@]}"; do
  echo "== Building preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

# One run over all of them: one summary, and the unit tests fill the second
# core while the Wine tests take their turns on the one desktop.
{
  echo "# Written by scripts/test.sh: the tests of the presets ${presets[*]}."
  printf 'subdirs("%s")\n' "${presets[@]}"
} > build/CTestTestfile.cmake
set +e
echo "== Tests"
ctest --test-dir build --output-on-failure --no-tests=error -j2 "$@"
