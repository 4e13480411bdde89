#!/usr/bin/env python3
"""Plays every campaign mission with the simple player (build target level_player) and
writes the table to docs/campaign.md.

Each mission is played in classic mode on normal (the table's main columns), on easy and
on hard, and on normal with no towers at all (which must be lost). A sample of missions
across the campaign is also played on normal by four other strategies (level_player
--strategy): the cheapest tower spread along the paths, the dearest affordable tower, every
kind in one cluster, and careless play with the towers far from the paths (which must lose).

Usage (from the repository root, with a display; scripts/campaign.sh starts one):
  python3 tools/campaign_table.py [--player PATH] [--jobs N] [--missions A-B] [--out FILE]
"""
import argparse
import collections
import concurrent.futures
import os
import re
import subprocess
import sys
import time

LINE = re.compile(r"outcome=(\w+) lives=(-?\d+) towers=(\d+) upgrades=(\d+) frames=(\d+) seconds=([\d.]+)"
                  r"(?: best=(\S+))?")
DIFFICULTY = {"easy": 0, "normal": 1, "hard": 2}
STRATEGIES = ("cheapest", "dearest", "cluster", "careless")
# Missions the other strategies play: early, middle and late, every mission type.
SAMPLE = (1, 4, 8, 11, 13, 17, 22, 28, 35, 41, 44)
LIVES = 20
FIRST_STATION = (0, 1, 2)
ATTACK_KINDS = ["T%d" % k for k in range(1, 11)]


def play(player, mission, difficulty, how):
    cmd = [player, "content/levels/mission_%02d.xml" % mission, "--mission", str(mission),
           "--difficulty", str(DIFFICULTY[difficulty])]
    if how == "bare":
        cmd.append("--no-towers")
    elif how != "simple":
        cmd += ["--strategy", how]
    env = dict(os.environ, SDL_AUDIODRIVER="dummy")
    out = subprocess.run(cmd, capture_output=True, text=True, env=env).stdout
    m = LINE.search(out)
    if not m:
        return {"outcome": "error", "lives": 0, "towers": 0, "upgrades": 0, "frames": 0, "seconds": 0.0, "best": "-"}
    return {"outcome": m.group(1), "lives": int(m.group(2)), "towers": int(m.group(3)),
            "upgrades": int(m.group(4)), "frames": int(m.group(5)), "seconds": float(m.group(6)),
            "best": m.group(7) or "-"}


def standing(run):
    """What a run kept, a loss below any win: lives left when won, else -1."""
    return run["lives"] if run["outcome"] == "won" else -1


def monotonic(easy, normal, hard):
    """The same player keeps at least as much on easy as on normal and on normal as on hard."""
    return standing(easy) >= standing(normal) >= standing(hard)


def cell(run):
    return "%s %d" % (run["outcome"], run["lives"]) if run["outcome"] == "won" else run["outcome"]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--player", default="build/bin/level_player")
    ap.add_argument("--jobs", type=int, default=4)
    ap.add_argument("--missions", default="0-44")
    ap.add_argument("--out", default="docs/campaign.md")
    args = ap.parse_args()
    first, last = (int(x) for x in args.missions.split("-"))
    missions = list(range(first, last + 1))
    runs = [(m, d, "simple") for m in missions for d in ("normal", "easy", "hard")]
    runs += [(m, "normal", "bare") for m in missions]
    runs += [(m, "normal", s) for m in missions if m in SAMPLE for s in STRATEGIES]
    started = time.time()
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        results = dict(zip(runs, pool.map(lambda r: play(args.player, *r), runs)))
    wall = time.time() - started

    rows = []
    won = {d: 0 for d in DIFFICULTY}
    held_without = monotonic_count = upgraded = 0
    best_count = collections.Counter()
    strategy_rows = []
    strategy_won = collections.Counter()
    for m in missions:
        n, e, h, bare = (results[(m, "normal", "simple")], results[(m, "easy", "simple")],
                         results[(m, "hard", "simple")], results[(m, "normal", "bare")])
        for d, r in (("normal", n), ("easy", e), ("hard", h)):
            won[d] += r["outcome"] == "won"
        held_without += bare["outcome"] != "lost"
        mono = monotonic(e, n, h)
        monotonic_count += mono
        upgraded += n["upgrades"] > 0
        best_count[n["best"]] += 1
        rows.append("| %d | %s | %d | %d | %d | %s | %d | %.1f | %s | %s | %s | %s |" % (
            m, n["outcome"], n["lives"], n["towers"], n["upgrades"], n["best"], n["frames"], n["seconds"],
            bare["outcome"], cell(e), cell(h), "yes" if mono else "no"))
        if m in SAMPLE:
            others = [results[(m, "normal", s)] for s in STRATEGIES]
            for s, r in zip(STRATEGIES, others):
                strategy_won[s] += r["outcome"] == "won"
            strategy_rows.append("| %d | %s | %s |" % (m, cell(n), " | ".join(
                "%s / %d" % (cell(r), r["towers"]) for r in others)))

    def kept(ids):
        ids = [i for i in ids if i in missions]
        if not ids:
            return float("nan")
        return sum(max(0, results[(i, "normal", "simple")]["lives"]) for i in ids) / len(ids)

    last_five = missions[-5:]
    lost_share = 1.0 - kept(last_five) / LIVES
    sampled = [m for m in missions if m in SAMPLE]
    kinds_line = ", ".join("%s %d" % (k, best_count[k]) for k in ATTACK_KINDS)
    text = [
        "# The campaign, played",
        "",
        "Made by `scripts/campaign.sh` (tools/campaign_table.py): the simple player of the headless",
        "runner (`level_player`) plays each mission in classic mode. It sees what a player sees (the",
        "drawn paths, the free cells, its credits and lives, the offered towers and their info, the",
        "ships flying and their energy bars). At each look it weighs every buy it can afford, a",
        "shooting tower of each kind on its best free cell or an upgrade of one of its own, by one",
        "measure: the damage per second the buy adds on the paths (paths ships have used weigh a",
        "little more, paths already well guarded less) per credit it costs, the damage and reach read",
        "from the game's own tower figures (what the build buttons and the tower panel show, before",
        "and after an upgrade). It buys the best or,",
        "with three towers standing and no lives slipping, saves for a much better one; it aims",
        "each tower at the leading enemy, plays at the fast speed and sends each wave once the field",
        "is clear. `level_player --trace` prints each buy with its worth per credit.",
        "",
        "Columns: outcome, lives left (of %d), towers built, upgrades bought, the best buy (the" % LIVES,
        "attack kind its credits went to most, towers and upgrades) and frames and wall seconds on",
        "normal; the outcome on normal with no towers; the outcome and lives left on easy and on hard;",
        "whether the difficulty is monotonic for this player (lives kept on easy >= normal >= hard,",
        "a loss counting below any win).",
        "",
        "Won on normal: **%d of %d**; on hard: **%d**; on easy: **%d**. Not lost without towers: %d."
        % (won["normal"], len(missions), won["hard"], won["easy"], held_without),
        "Lives kept on normal: %.1f on average on the first station (missions 0-2), %.1f on the last"
        % (kept(FIRST_STATION), kept(last_five)),
        "five missions (a share of %.0f %% lost). Monotonic difficulty: %d of %d. Missions with an"
        % (100.0 * lost_share, monotonic_count, len(missions)),
        "upgrade bought on normal: %d of %d." % (upgraded, len(missions)),
        "Best buy on normal, missions per attack kind: %s." % kinds_line,
        "Whole run: %.0f s with %d jobs." % (wall, args.jobs),
        "",
        "| level | outcome | lives | towers | upgrades | best buy | frames | seconds | no towers | easy "
        "| hard | monotonic |",
        "|---|---|---|---|---|---|---|---|---|---|---|---|",
    ] + rows
    if strategy_rows:
        text += [
            "",
            "## Other strategies",
            "",
            "The same missions on normal played other ways, each through the runner's player",
            "commands only (`level_player --strategy NAME`): **cheapest**, the cheapest shooting",
            "tower again and again, spread along the paths; **dearest**, the dearest shooting tower",
            "it can afford, on the cell that sees most path; **cluster**, every kind in turn (support",
            "stations too) packed round one spot where the paths are thickest; **careless**, the",
            "cheapest tower on the free cells furthest from every path. Each cell: the outcome, lives",
            "left when won, and towers built.",
            "",
            "Won of %d: %s." % (len(sampled), ", ".join("%s %d" % (s, strategy_won[s]) for s in STRATEGIES)),
            "",
            "| level | simple | cheapest | dearest | cluster | careless |",
            "|---|---|---|---|---|---|",
        ] + strategy_rows
    with open(args.out, "w") as f:
        f.write("\n".join(text) + "\n")
    print("won %d of %d on normal, %d on hard, %d on easy; monotonic %d; careless won %d; %.0f s"
          % (won["normal"], len(missions), won["hard"], won["easy"], monotonic_count, strategy_won["careless"],
             wall))
    return 0 if won["normal"] == len(missions) else 1


if __name__ == "__main__":
    sys.exit(main())
