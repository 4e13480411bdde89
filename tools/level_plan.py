"""Missions planned in the balance table's [plan]: their paths drawn from a layout style and
their waves composed from their enemy classes. Deterministic: every random choice comes from
a generator seeded with the mission id.

Layout styles, each drawn inside a vertical strip of the field (one strip a path):
  sweeps  enters at the top and crosses the strip back and forth on its way down
  zigzag  runs down and up the strip while it moves across it, leaving at the bottom
  loop    comes down the middle, circles once and leaves at the bottom
  hook    crosses from the left edge (or the top), turns back and leaves at the bottom
  bend    one wide S from the top to the bottom
"""
import math
import random

import numpy as np

FIELD_W, FIELD_H = 1024, 768
MARGIN = 70          # lanes keep this far from the field's edges inside the strip
OFF = 70             # entries and exits lie this far off the field
PART_REACH = (62, 100)   # a raided station sits this far from its nearest lane

# Spawn gaps by class (ms), and the fewest of one class in one record.
DELAYS = {"scout": 1200, "rower": 2000, "grasshopper": 550, "spacedog": 2400, "bull": 4200,
          "catcher": 2800, "hellraiser": 3200, "destroyer": 6000}
LEAST = {"grasshopper": 8}
# Classes that already come as a swarm: a crowded row keeps their gap.
SWARMS = ("grasshopper",)
ARMED = ("spacedog", "hellraiser", "destroyer")


def _strip_points(style, x0, x1, rng, left_edge):
    w = x1 - x0
    cx = (x0 + x1) / 2
    j = lambda v: v + rng.uniform(-1, 1) * 22  # noqa: E731 - small jitter keeps layouts apart
    lo, hi = x0 + MARGIN, x1 - MARGIN
    if style == "sweeps":
        rows = 3 if w > 500 else 2 + rng.randrange(2)
        pts = [(j(lo + 30), -OFF), (j(lo + 30), 90)]
        for i in range(rows):
            y = 150 + i * (520 / max(1, rows - 1)) if rows > 1 else 380
            a, b = (hi, lo) if i % 2 == 0 else (lo, hi)
            pts += [(j(a), j(y)), (j(a), j(y + 70))] if False else [(j(a), j(y))]
        last = pts[-1][0]
        pts += [(last, 700), (last, FIELD_H + OFF)]
        return pts
    if style == "zigzag":
        cols = max(2, min(5, int(w // 190)))
        pts = [(j(lo), -OFF)]
        for i in range(cols):
            x = lo + i * (hi - lo) / (cols - 1)
            y = 660 if i % 2 == 0 else 110
            pts.append((j(x), j(y)))
        pts.append((pts[-1][0], FIELD_H + OFF) if cols % 2 == 1 else (pts[-1][0], -OFF))
        if cols % 2 == 0:
            # ended at the top: turn down once more inside the strip to leave at the bottom
            pts[-1] = (j(hi), 380)
            pts.append((j(cx), 640))
            pts.append((cx, FIELD_H + OFF))
        return pts
    if style == "loop":
        r = max(90, min(170, w / 2 - MARGIN - 10))
        cy = 400 + rng.uniform(-30, 30)
        start = (j(cx - r * 0.3), -OFF)
        pts = [start, (start[0], cy - r - 40)]
        for k in range(9):
            a = -math.pi / 2 + k * 2 * math.pi / 8 * (1 if rng.random() < 0.5 else 1)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        pts += [(cx + r * 0.3, cy + r + 60), (cx + r * 0.3, FIELD_H + OFF)]
        return pts
    if style == "hook":
        y1 = j(170)
        start = (-OFF, y1) if left_edge else (j(lo), -OFF)
        pts = [start, (j(lo + 40), y1), (j(hi), j(230)), (j(hi), j(470)), (j(lo + 20), j(520)),
               (j(cx), 650), (j(cx), FIELD_H + OFF)]
        return pts
    # bend
    pts = [(j(lo + 20), -OFF), (j(lo + 20), 140), (j(hi), j(300)), (j(lo), j(480)), (j(hi - 20), 650),
           (hi - 20, FIELD_H + OFF)]
    return pts


def plan_layout(row, parts):
    """Paths and station of a planned mission, in the shape of tools/levels/layouts.toml."""
    rng = random.Random(7000 + row["id"])
    n = row["paths"]
    raided = row["type"].startswith("STATION_PART")
    width = FIELD_W / n
    paths = []
    styles = ["sweeps", "zigzag", "loop", "hook", "bend"]
    for i in range(n):
        style = row["layout"] if i == 0 else styles[(styles.index(row["layout"]) + 2 * i) % len(styles)]
        x0, x1 = i * width, (i + 1) * width
        pts = _strip_points(style, x0, x1, rng, left_edge=(i == 0))
        clamp = lambda p: (round(min(max(p[0], -OFF), FIELD_W - MARGIN), 0), round(p[1], 0))  # noqa: E731
        pts = [clamp(p) for p in pts]
        paths.append({"id": i, "degree": 3, "sides": "BOTH", "distance": 16, "points": [list(p) for p in pts]})
    return {"paths": paths, "raided": raided}


def place_station(layout, lanes_of, parts, raided, rng):
    """The station's two parts where the layout leaves room: as far from every lane as
    possible, or, when raiders must reach it, just beside one."""
    samples = np.array([p for lines in lanes_of for line in lines.values() for p in line[::4]], np.float64)
    gy, gx = np.mgrid[120:FIELD_H - 140:16, 80:FIELD_W - 80:16].astype(np.float64)
    def nearest(x, y):
        d = np.hypot(x[..., None] - samples[:, 0], y[..., None] - samples[:, 1])
        return d.min(axis=-1)
    ring_d = nearest(gx, gy)
    core_d = nearest(gx, gy + 110)
    noise = np.array([[rng.random() for _ in range(gx.shape[1])] for _ in range(gx.shape[0])])
    if raided:
        ok = (ring_d >= PART_REACH[0]) & (ring_d <= PART_REACH[1]) & (core_d >= parts["core"]["radius"] + 40)
        score = np.where(ok, -np.abs(ring_d - 80) + noise, -np.inf)
    else:
        score = np.minimum(ring_d, core_d) + noise
    i = np.unravel_index(np.argmax(score), score.shape)
    x, y = (int(gx[i]), int(gy[i])) if np.isfinite(score[i]) else (110, 590)
    turn = rng.choice([-12, -10, 10, 12])
    return [{"part": "ring", "x": x, "y": y, "angle": 0, "turn": turn},
            {"part": "core", "x": x, "y": y + 110, "angle": 30 * rng.randrange(4), "turn": 0}]


def nearest_path(lanes_of, station):
    """The index of the path that passes closest to the station's ring."""
    ring = station[0]
    best = min((math.hypot(x - ring["x"], y - ring["y"]), i)
               for i, lines in enumerate(lanes_of) for line in lines.values() for x, y in line[::4])
    return best[1]


def compose_waves(row, plan, enemies, n_paths, credits, raid_path=0):
    """The waves of a planned mission. Wave w carries energy_per_credit x credits x
    (1 + wave_growth x strength x w), split over one to three records; the newest class leads
    from the second third on, the others take turns. The first wave asks what the funds buy
    on every mission; strength steepens the climb, which the rewards of the earlier waves pay
    for."""
    classes = row["classes"]
    base = plan["energy_per_credit"] * credits
    # A crowded row sends its ships closer together than their class's usual gap: the same
    # energy in less time, so more damage per second is needed, not just more patience.
    crowd = row.get("crowd", 1.0)
    raided = row["type"].startswith("STATION_PART")
    waves = []
    for w in range(row["waves"]):
        budget = base * (1 + plan["wave_growth"] * row["strength"] * w)
        records = 1 if w < 2 else (2 if w < row["waves"] * 2 // 3 else 3)
        lead = classes[-1] if w >= row["waves"] // 3 else classes[w % max(1, len(classes) - 1)]
        picks = [lead] + [classes[(w + k) % len(classes)] for k in range(1, records)]
        if "destroyer" in classes and w < row["waves"] - 1:
            picks = [c if c != "destroyer" else "bull" for c in picks]
        if raided and not any(c in ARMED for c in picks):
            # Someone must fire at the station: the newest gunship short of the destroyer.
            armed = [c for c in classes if c in ARMED and c != "destroyer"] or ["spacedog"]
            picks[-1] = armed[-1]
        wave = []
        for k, cls in enumerate(picks):
            e = enemies[cls]
            share = budget / len(picks)
            count = int(round(share / (e["energy"] * 0.85)))
            count = max(LEAST.get(cls, 1), min(plan["most_per_record"].get(cls, 30), count))
            lane = ["", "LEFT", "RIGHT"][k % 3] if n_paths == 1 else ""
            raider = raided and cls in ARMED
            # Raiders fly the path that passes the station; the others take turns.
            rec = {"enemy": cls + ("_raider" if raider else ""), "count": count,
                   "delay": int(round(DELAYS[cls] / (1 if cls in SWARMS else crowd))), "path": raid_path if raider else (w + k) % n_paths}
            if lane:
                rec["lane"] = lane
            wave.append(rec)
        waves.append(wave)
    return waves


def orbit_spline(station):
    """A travelling part's closed orbit around where the station stands, in screen fractions:
    the level scales a station-part spline by the field's size."""
    x, y = station["x"], station["y"]
    pts = []
    for k in range(13):
        a = k * 2 * math.pi / 12
        # Flat, so the ring never swings into the core standing below it.
        px = min(max(x + 60 * math.cos(a), 60), FIELD_W - 60)
        py = min(max(y + 15 * math.sin(a), 60), FIELD_H - 60)
        pts.append((round(px / FIELD_W, 4), round(py / FIELD_H, 4)))
    return pts
