#!/usr/bin/env bash
# soak.sh [build-dir] [soak arguments...]: plays the whole game headless for as long as
# the arguments say (default an hour) under its own Xvfb and prints the memory table.
# A build made with -DSTARMOOR_SANITIZE=ON runs with LeakSanitizer as the tests do.
# Build the soak target first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}; shift || true
. "$root/scripts/xvfb.sh"
export SDL_AUDIODRIVER=dummy
start_xvfb
preload=${LD_PRELOAD:-}
if grep -q '^STARMOOR_SANITIZE:BOOL=ON' "$dir/CMakeCache.txt" 2>/dev/null; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0
  export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp
  # As in test.sh: the GL driver stays loaded so its own leaks can be told apart.
  dri=/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so
  asan=$(readlink -f "$(${CXX:-c++} -print-file-name=libasan.so)")
  # SDL loads the device library for its input devices and unloads it when it quits:
  # kept loaded too, so what it leaves behind is named and not an unknown module.
  udev=/usr/lib/x86_64-linux-gnu/libudev.so.1
  [ -f "$udev" ] || udev=
  if [ -f "$dri" ] && [ -f "$asan" ]; then preload="$asan:$dri${udev:+:$udev}${preload:+:$preload}"; fi
fi
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(--minutes 60)
LD_PRELOAD="$preload" "$dir/bin/soak" "${args[@]}"
