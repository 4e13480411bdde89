#!/usr/bin/env bash
# balance_figures.sh [build-dir]: writes the tower table of docs/balance.md (between its
# markers) from the game's own rules, through the tower_figures tool. The prose around
# it is written by hand.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
cmake --build "$dir" --target tower_figures
cd "$root"
"$dir/bin/tower_figures" --write docs/balance.md
