#!/usr/bin/env bash
# Runs one fuzz target as a test: first every kept input once (the seed
# corpus and the regressions, inputs that once broke the code), then a bounded
# fuzzing run that starts from them.
#   run_fuzzer.sh FUZZER CORPUS REGRESSIONS WORK SECONDS [libFuzzer options...]
# New inputs the run finds go to WORK/corpus, emptied at the start of every
# run so that each run spends its time fuzzing rather than replaying what
# earlier runs found; an input that breaks the code is saved in WORK/artifacts.
# The time-out per input is generous: machines running this are shared, and a
# slow input there is not a hang. No input of the sizes the targets take
# (PNG files up to 16 KiB, painter targets up to 64 x 64) needs a single
# allocation of 600 MiB; one that asks for it is a fault.
set -euo pipefail
fuzzer=$1 corpus=$2 regressions=$3 work=$4
seconds=${ZENTARA_FUZZ_SECONDS:-$5}
shift 5
rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/artifacts"
options=(-timeout=60 -rss_limit_mb=2048 -malloc_limit_mb=600 -artifact_prefix="$work/artifacts/" "$@")

kept=("$corpus"/*)
[ -d "$regressions" ] && kept+=("$regressions"/*)
echo "== Replaying ${#kept[@]} kept inputs"
if ! "$fuzzer" "${options[@]}" "${kept[@]}" >"$work/replay.log" 2>&1; then
  cat "$work/replay.log"
  echo "A kept input fails again (see above)."
  exit 1
fi

echo "== Fuzzing for ${seconds} s"
dirs=("$work/corpus" "$corpus")
[ -d "$regressions" ] && dirs+=("$regressions")
if ! "$fuzzer" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 "${dirs[@]}" \
  >"$work/fuzz.log" 2>&1; then
  tail -n 60 "$work/fuzz.log"
  echo "The fuzzer found an input that breaks the code: $(ls -t "$work/artifacts" | head -n 1)"
  echo "Fix the fault, then keep the input in $regressions/."
  exit 1
fi
# The closing figures: executions, speed, coverage.
grep -E "^#[0-9]+.*(DONE|pulse)|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb" \
  "$work/fuzz.log" | tail -n 5
