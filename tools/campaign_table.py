#!/usr/bin/env python3
"""Plays every campaign mission with the simple player (build target level_player) and
writes the table to docs/campaign.md.

Each mission is played four times in classic mode: on normal (the table's main
columns), on easy and on hard (lives left and towers built, to show that hard costs
more), and on normal with no towers at all (which must be lost).

Usage (from the repository root, with a display; scripts/campaign.sh starts one):
  python3 tools/campaign_table.py [--player PATH] [--jobs N] [--missions A-B] [--out FILE]
"""
import argparse
import concurrent.futures
import os
import re
import subprocess
import sys
import time

LINE = re.compile(r"outcome=(\w+) lives=(-?\d+) towers=(\d+) upgrades=(\d+) frames=(\d+) seconds=([\d.]+)")
DIFFICULTY = {"easy": 0, "normal": 1, "hard": 2}


def play(player, mission, difficulty, towers):
    cmd = [player, "content/levels/mission_%02d.xml" % mission, "--mission", str(mission),
           "--difficulty", str(DIFFICULTY[difficulty])]
    if not towers:
        cmd.append("--no-towers")
    env = dict(os.environ, SDL_AUDIODRIVER="dummy")
    out = subprocess.run(cmd, capture_output=True, text=True, env=env).stdout
    m = LINE.search(out)
    if not m:
        return {"outcome": "error", "lives": 0, "towers": 0, "upgrades": 0, "frames": 0, "seconds": 0.0}
    return {"outcome": m.group(1), "lives": int(m.group(2)), "towers": int(m.group(3)),
            "upgrades": int(m.group(4)), "frames": int(m.group(5)), "seconds": float(m.group(6))}


def harder(easy, hard):
    """Hard asks more of the player: fewer lives left, or more towers for as many."""
    return hard["lives"] < easy["lives"] or hard["towers"] > easy["towers"] or hard["outcome"] != "won"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--player", default="build/bin/level_player")
    ap.add_argument("--jobs", type=int, default=4)
    ap.add_argument("--missions", default="0-44")
    ap.add_argument("--out", default="docs/campaign.md")
    args = ap.parse_args()
    first, last = (int(x) for x in args.missions.split("-"))
    missions = list(range(first, last + 1))
    runs = [(m, d, t) for m in missions for (d, t) in
            (("normal", True), ("easy", True), ("hard", True), ("normal", False))]
    started = time.time()
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        results = dict(zip(runs, pool.map(lambda r: play(args.player, *r), runs)))
    wall = time.time() - started

    rows, won, held_without, harder_count = [], 0, 0, 0
    for m in missions:
        n, e, h, bare = (results[(m, "normal", True)], results[(m, "easy", True)],
                         results[(m, "hard", True)], results[(m, "normal", False)])
        won += n["outcome"] == "won"
        held_without += bare["outcome"] != "lost"
        hard_ok = harder(e, h)
        harder_count += hard_ok
        rows.append("| %d | %s | %d | %d | %d | %d | %.1f | %s | %d / %d | %d / %d | %s |" % (
            m, n["outcome"], n["lives"], n["towers"], n["upgrades"], n["frames"], n["seconds"], bare["outcome"],
            e["lives"], e["towers"], h["lives"], h["towers"], "yes" if hard_ok else "no"))

    text = [
        "# The campaign, played",
        "",
        "Made by `scripts/campaign.sh` (tools/campaign_table.py): the simple player of the headless",
        "runner (`level_player`) plays each mission in classic mode. It sees what a player sees (the",
        "drawn paths, the free cells, its credits and lives, the offered towers and their info, the",
        "ships flying and their energy bars). At each look it weighs every buy it can afford, a",
        "shooting tower of each kind on its best free cell or an upgrade of one of its own, by the",
        "damage per second it adds on the paths per credit (paths ships have used weigh a little",
        "more, paths already well guarded less), buys the best or, with three towers standing and no",
        "lives slipping, saves for a much better one; it aims each tower at the leading enemy, plays",
        "at the fast speed and sends each wave once the field is clear.",
        "",
        "Columns: outcome, lives left, towers built, upgrades, frames and wall seconds on normal;",
        "the outcome on normal with no towers; lives left / towers built on easy and on hard; whether",
        "hard asked more (fewer lives left, more towers, or not won).",
        "",
        "Won on normal: **%d of %d**. Not lost without towers: %d. Hard asked more than easy: %d of %d."
        % (won, len(missions), held_without, harder_count, len(missions)),
        "Whole run: %.0f s with %d jobs." % (wall, args.jobs),
        "",
        "| level | outcome | lives | towers | upgrades | frames | seconds | no towers | easy lives / towers "
        "| hard lives / towers | hard asks more |",
        "|---|---|---|---|---|---|---|---|---|---|---|",
    ] + rows
    with open(args.out, "w") as f:
        f.write("\n".join(text) + "\n")
    print("won %d of %d, %.0f s" % (won, len(missions), wall))
    return 0 if won == len(missions) else 1


if __name__ == "__main__":
    sys.exit(main())
