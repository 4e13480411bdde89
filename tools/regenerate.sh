#!/usr/bin/env bash
# Regenerates every generated file of content/ from tools/, in the order the generators
# read each other's output, then names the content files no generator wrote and why.
#
#   bash tools/regenerate.sh          (from anywhere; it works from the repository root)
#
# The generators are deterministic: on a clean checkout `git status` stays clean after a
# run. The screenshots in docs/screenshots/ are drawn by the built game from this content,
# so they are made last (scripts/screenshots.sh, in the build folder $STARMOOR_BUILD, else
# build/, configured first when it is not). Two documents are also written from the built
# game but take minutes to play, so they are not part of this run: docs/balance.md's tower
# table (scripts/balance_figures.sh) and docs/campaign.md (scripts/campaign.sh).
# Exit status 1 when a generator fails, when the content check finds a fault, or when a
# content file is neither generated nor listed below as made by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
py=/usr/bin/python3   # Debian's python3-pil imports only here

# Producers before readers:
# - gen_enemies draws the station modules that gen_levels composes into the map shots;
# - gen_towers provides the shapes gen_support draws with (imported, not read from disk);
# - gen_campaign writes the station files and icons that gen_mission reads;
# - every generator owns one block of content/strings/english.xml, so their order
#   there does not matter.
generators=(
  tools/fonts/bake_fonts.py
  tools/gen_sounds.py
  tools/gen_logos.py
  tools/gen_ui_images.py
  tools/gen_game_images.py
  tools/gen_particles.py
  tools/gen_enemies.py
  tools/gen_towers.py
  tools/gen_support.py
  tools/gen_campaign.py
  tools/gen_levels.py
  tools/gen_hud.py
  tools/gen_bridge.py
  tools/gen_menus.py
  tools/gen_mission.py
  tools/gen_screens.py
  tools/gen_tutorial.py
)

# Content written by hand, with the reason no generator makes it. A path ending in / covers
# the folder.
handmade=(
  "content/config/config.xml|start-up settings (window size, folders); edited, not derived"
  "content/config/CollisionCategories.xml|which categories collide is game logic, read by the engine at start-up"
  "content/config/Materials.xml|physics material table: a handful of tuned numbers"
  "content/config/GameParameters.cfg|engine parameters, tuned by hand"
  "content/config/SystemInfo.xml|the system information screen's layout: a developer screen"
  "content/config/gamepadconfigs.txt|controller mappings in SDL's own format"
  "content/config/shaderslist.xml|names the shader pair below"
  "content/shaders/|GLSL source, written by hand"
  "content/images/menus/demo/Screen.xml|the engine's demonstration screen: its layouts and animations are written by hand around the pictures gen_ui_images draws"
  "content/images/menus/demo/Dialog.xml|the demonstration screen's dialog layout, as above"
  "content/images/menus/demo/anim/|the demonstration screen's animations, as above"
  "content/strings/english.xml|the labels outside the generators' blocks are written by hand"
)

stamp=$(mktemp)
trap 'rm -f "$stamp"' EXIT
# Whole-second file times: a file written in the stamp's second must count as written.
touch -d "@$(( $(date +%s) - 1 ))" "$stamp"

for g in "${generators[@]}"; do
  echo "== $g"
  "$py" "$g"
done
echo "== tools/check_content.py"
"$py" tools/check_content.py

reason_for() {
  local file=$1 entry path
  for entry in "${handmade[@]}"; do
    path=${entry%%|*}
    if [[ $file == "$path" || ( $path == */ && $file == "$path"* ) ]]; then
      echo "${entry#*|}"
      return 0
    fi
  done
  return 1
}

echo "== content files no generator writes"
unexplained=0
while IFS= read -r file; do
  [[ $file -nt $stamp ]] && continue
  if reason=$(reason_for "$file"); then
    echo "  $file: $reason"
  else
    echo "  $file: NOT WRITTEN by any generator and not listed as made by hand"
    unexplained=1
  fi
done < <(git ls-files content)
# english.xml is both: its blocks are generated, the rest is not.
echo "  content/strings/english.xml (partly): $(reason_for content/strings/english.xml)"

# The screenshots follow the content they show.
build=${STARMOOR_BUILD:-build}
echo "== docs/screenshots (built in $build)"
if [[ ! -f $build/CMakeCache.txt ]]; then
  gen=(); command -v ninja >/dev/null && gen=(-G Ninja)
  cmake -S . -B "$build" "${gen[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
bash scripts/screenshots.sh "$build"

if [[ -n $(git status --porcelain -- content docs/screenshots) ]]; then
  echo "== content or screenshots differ from the committed files:"
  git status --short -- content docs/screenshots | head -40
fi
exit "$unexplained"
