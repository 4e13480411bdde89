#!/usr/bin/env bash
# campaign.sh [build-dir] [campaign_table.py arguments...]: plays the whole campaign with
# the simple player headless and writes docs/campaign.md. Build level_player first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}; shift || true
. "$root/scripts/xvfb.sh"
export SDL_AUDIODRIVER=dummy
start_xvfb
cd "$root"
python3 tools/campaign_table.py --player "$dir/bin/level_player" "$@"
