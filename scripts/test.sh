#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test headless: once in a normal
# build, once built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
. "$root/scripts/xvfb.sh"
export SDL_AUDIODRIVER=dummy
start_xvfb

bash "$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Both passes always run; the script fails when either found a failure.
status=0
summary=$(mktemp)
# Runs ctest in a build folder and keeps its closing line for the totals below.
run_ctest() {
  local dir=$1; shift
  local log; log=$(mktemp)
  (cd "$dir" && "$@" ctest --output-on-failure -j "$(nproc)" --timeout 900) 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 >>"$summary" || true
  rm -f "$log"
  return "$rc"
}
run_ctest "$root/build" env || status=1

if [ "${STARMOOR_SKIP_SANITIZE:-0}" != "1" ]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp
  # Mesa unloads its GL driver when the display closes, after which LeakSanitizer
  # can no longer name the driver's own allocations; keeping it loaded lets the
  # suppressions above recognise them.
  # The sanitizer runtime has to come first in the preload list.
  preload=${LD_PRELOAD:-}
  dri=/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so
  asan=$(readlink -f "$(${CXX:-c++} -print-file-name=libasan.so)")
  # SDL loads the device library for its input devices and unloads it when it quits:
  # kept loaded too, so what it leaves behind is named and not an unknown module.
  udev=/usr/lib/x86_64-linux-gnu/libudev.so.1
  [ -f "$udev" ] || udev=
  if [ -f "$dri" ] && [ -f "$asan" ]; then preload="$asan:$dri${udev:+:$udev}${preload:+:$preload}"; fi
  bash "$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DSTARMOOR_SANITIZE=ON -DSTARMOOR_BENCH=OFF
  run_ctest "$root/build-asan" env LD_PRELOAD="$preload" || status=1
fi

# Every reader of outside data under libFuzzer for a short while (clang-14).
if [ "${STARMOOR_SKIP_FUZZ:-0}" != "1" ]; then
  STARMOOR_KEEP_DISPLAY=1 STARMOOR_FUZZ_JOBS=2 STARMOOR_FUZZ_BUILD="$root/build-fuzz" \
    bash "$root/scripts/fuzz.sh" 20 || status=1
fi

# One closing line over both passes.
total=0; failed=0
while read -r line; do
  f=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  total=$((total + t)); failed=$((failed + f))
done <"$summary"
rm -f "$summary"
if [ "$total" -eq 0 ]; then echo "no test ran" >&2; status=1; fi
echo "tests: $((total - failed)) passed, $failed failed"
exit $status
