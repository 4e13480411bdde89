#!/usr/bin/env bash
# fuzz.sh [seconds per target] [target...]: builds the libFuzzer programs with
# clang-14 in their own build folder and runs every target (or the named ones)
# for the given time, seeded with our content files and the kept regressions.
# A crash, hang, leak or sanitizer report fails the run; its input is left in
# <build>/artifacts/<target>/ to be fixed and then kept in fuzz/regressions/.
# Environment: STARMOOR_FUZZ_BUILD (build folder, default build-fuzz),
# STARMOOR_FUZZ_JOBS (targets run side by side, default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}; shift || true
build=${STARMOOR_FUZZ_BUILD:-$root/build-fuzz}
jobs=${STARMOOR_FUZZ_JOBS:-1}

all=$(sed -n 's/^  X(\([a-z_]*\), .*/\1/p' "$root/fuzz/targets/Targets.h")
targets=${*:-$all}

gen=(); command -v ninja >/dev/null && gen=(-G Ninja)
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSTARMOOR_FUZZ=ON -DSTARMOOR_TESTS=OFF -DSTARMOOR_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_all -j 4

. "$root/scripts/xvfb.sh"
export SDL_AUDIODRIVER=dummy
start_xvfb
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp

# Fills the target's working corpus with its seeds and kept regressions.
seed() {
  local target=$1 corpus=$2 pattern f
  mkdir -p "$corpus"
  while read -r name pattern; do
    [ "$name" = "$target" ] || continue
    for f in $root/$pattern; do [ -f "$f" ] && cp -f "$f" "$corpus/seed-$(printf %s "${f#"$root"/}" | tr / _)"; done
  done < <(grep -v '^#' "$root/fuzz/seeds.txt")
  if [ -d "$root/fuzz/regressions/$target" ]; then
    for f in "$root/fuzz/regressions/$target"/*; do [ -f "$f" ] && cp -f "$f" "$corpus/"; done
  fi
  return 0
}

run_one() {
  local target=$1 corpus=$build/corpus/$1 artifacts=$build/artifacts/$1 log=$build/logs/$1.log
  seed "$target" "$corpus"
  mkdir -p "$artifacts" "$build/logs"
  local dict=()
  [ -f "$root/fuzz/dict/$target.dict" ] && dict=(-dict="$root/fuzz/dict/$target.dict")
  local status=0
  "$build/bin/fuzz_$target" "$corpus" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    >"$log" 2>&1 || status=$?
  local runs cov
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1 || true)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d" " -f2 || true)
  if [ "$status" = 0 ]; then
    echo "fuzz_$target: ok, ${runs:-0} runs, coverage ${cov:-?} edges"
  else
    echo "fuzz_$target: FAILED (exit $status) after ${runs:-?} runs; see $log and $artifacts/"
    grep -m3 -E 'ERROR|FINDING|runtime error' "$log" || true
  fi
  return "$status"
}

failed=0
pids=()
for target in $targets; do
  run_one "$target" & pids+=($!)
  if [ "${#pids[@]}" -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit "$failed"
