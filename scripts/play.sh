#!/usr/bin/env bash
# Installs what is needed, builds, and starts the game. Arguments go to the game ("-windowed").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTARMOOR_TESTS=OFF -DSTARMOOR_BENCH=OFF
exec "$root/build/bin/Starmoor" "$@"
