#!/usr/bin/env bash
# screenshots.sh [build-dir]: regenerates docs/screenshots/ from the game's own screens.
# The layout check opens every screen and heads-up panel state; with
# STARMOOR_LAYOUT_SHOTS set it also draws each of them for real and keeps the frame.
# The frames the documents show are copied in under stable names.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target layout_check_tests
. "$root/scripts/xvfb.sh"
start_xvfb
export SDL_AUDIODRIVER=dummy
shots=$(mktemp -d)
trap 'rm -rf "$shots"; kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null' EXIT
# The check's verdict is its own business here: the frames are wanted either way.
STARMOOR_LAYOUT_SHOTS="$shots" "$build/bin/layout_check_tests" >/dev/null || true

out="$root/docs/screenshots"
mkdir -p "$out"
rm -f "$out"/*.png
keep() {  # keep <scene file> <name in docs/screenshots>
  if [ ! -f "$shots/$1" ]; then echo "screenshots.sh: no frame $1" >&2; exit 1; fi
  cp "$shots/$1" "$out/$2"
}
keep tower-name-t1-selected-at-upgrade-0.png            tower-info-upgrade-0.png
keep tower-name-t1-selected-at-upgrade-2.png            tower-info-upgrade-2.png
keep hover-over-the-build-button-with-the-longest-description.png hover-longest-description.png
keep results-won-full-scores-panel.png                  post-level-won.png
keep results-lost-full-scores-panel.png                 post-level-lost.png
keep mission-control-with-its-tutorial.png              mission-control-new-profile.png
keep mission-control-empty-scores-panel.png             mission-control.png
keep credits-caption-2.png                              credits.png
keep options-after-the-spectrum-was-switched-off.png    options-music-display-off.png
keep title-screen-after-the-spectrum-was-switched-off.png title-after-options.png
keep battle-towers-standing.png                         level-hud-battle.png
keep placing-the-second-half-of-tower-name-dt.png       level-hud-placing.png
keep first-mission-with-its-tutorial.png                tutorial-first-mission.png
keep encyclopedia-page-content-config-entities-enemies-grasshopper-xml.png encyclopedia-aliens.png
keep encyclopedia-page-content-config-entities-towers-deploymentbase-000-xml.png encyclopedia-towers.png
keep new-game-question-over-the-title.png               progress-dialog.png
keep pause-over-the-level.png                           pause.png
echo "docs/screenshots: $(ls "$out" | wc -l) frames"
