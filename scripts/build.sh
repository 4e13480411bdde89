#!/usr/bin/env bash
# build.sh [build-dir] [extra cmake args...]: configures and builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}; shift || true
gen=(); command -v ninja >/dev/null && gen=(-G Ninja)
cmake -S "$root" -B "$dir" "${gen[@]}" "$@"
cmake --build "$dir" -j "$(nproc)"
