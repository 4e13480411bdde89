#!/usr/bin/python3
"""Writes the 45 mission level files and everything a level file names, from
tools/balance/balance.toml (funds, waves, campaign rows) and tools/levels/layouts.toml
(paths and station of each mission that has contents):

  content/levels/mission_NN.xml          the Stage: music, enabled, reward, unlocks, and for
                                         missions with contents the whole level
  content/levels/splines/mission_NN_path_P.xml   one spline file per path
  content/levels/grids/mission_NN.png    the placement image (see below)
  content/images/game/backgrounds/space_N.png    shared level backgrounds
  content/images/mission/shots/mission_NN.png    mission map shots from each level's layout

Missions 0-2 are written out in [mission.N] of the balance table and the layouts file;
missions 3-44 are rows of [plan], drawn and composed by tools/level_plan.py. Output is
deterministic and committed.
Run from the repository root: /usr/bin/python3 tools/gen_levels.py [--levels-only]
(--levels-only rewrites the level and spline files alone, for tuning waves and funds; the
images depend on the layouts only.)

Choices the level file format leaves open, and what this generator does:
- Kill zones: the format has no element of their own. They are ExitZone elements whose
  template (zones/killzone.xml) is a circle of the "bulletkillzone" category; a circle
  zone is never drawn. Four circles of radius KILL_RADIUS sit just outside the four field
  edges, so a shot leaving the field meets one within a few dozen pixels.
- ExitZone area: Rect(x, y, w, h) with x, y the centre of the box (the zone is placed at
  area x, y), at the end point of each path, off the field.
- Grid: the placement image is the full 1024 x 768 field with 32 x 32 cells, so it also
  works as an overlay drawn at (0, 0): buildable cells carry a faint pad (alpha > 0 at the
  cell centre), cells under paths and station parts are fully transparent.
- Spline files: n is the number of control points, t the spline degree (the reader passes
  n - 1 and t + 1 to the sampler), resolution about one sample per two pixels.
- offsetArrows is left out (0): where the arrows sit is the game's choice.
- Towers: written for the missions of [armoury], which offer the attack kinds it lists and
  every support kind; left out elsewhere, so the level offers every tower kind.
- Waves: a wave record's speed is the walk time of its lane at its class pace.
"""
import math
import os
import random
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

from gen_ui_images import SS, canvas, finish, save
from level_plan import compose_waves, nearest_path, orbit_spline, place_station, plan_layout
from level_geometry import (BALANCE, LAYOUTS, control_points, lanes, load_toml, path_resolution,
                            polyline_length)

FIELD_W, FIELD_H = 1024, 768
CELL = 32
CELLS_X, CELLS_Y = FIELD_W // CELL, FIELD_H // CELL
LEVELS = os.path.join("content", "levels")
SPLINES = os.path.join(LEVELS, "splines")
GRIDS = os.path.join(LEVELS, "grids")
BACKGROUNDS = os.path.join("content", "images", "game", "backgrounds")
SHOTS = os.path.join("content", "images", "mission", "shots")
SHOT_W, SHOT_H = 256, 192

KILL_RADIUS = 3000.0
# The level turns a station part by setting its body's angular velocity from angVel, in
# degrees per physics time unit; a 16 ms frame steps 1.33 units, so a second at normal speed
# is 62.5 x 1.33 units. The layouts give turn rates in degrees per second.
UNITS_PER_SECOND = 62.5 * 1.33
EXIT_SIZE = (96, 48)
# A cell is not buildable when its centre is this close to a lane: half a lane spacing plus
# the largest ship radius, so a tower never stands on a ship.
PATH_CLEARANCE = 44.0
PART_CLEARANCE = 20.0

# The level draws its paths in these colours (by path index), here as RGB.
PATH_COLOURS = [(0, 255, 255), (188, 60, 240), (255, 170, 0), (255, 255, 255), (255, 255, 0), (0, 255, 0)]


def rel(*parts):
    return "/".join(parts)


def fmt(v):
    if isinstance(v, float):
        return ("%.4f" % v).rstrip("0").rstrip(".")
    return str(v)


def write_text(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


# --- backgrounds -----------------------------------------------------------------------

def smooth_noise(rng, w, h, cells):
    # Random values on a coarse lattice, blown up with bicubic filtering: soft cloud texture.
    coarse = rng.random((cells[1], cells[0])).astype(np.float32)
    img = Image.fromarray((coarse * 255).astype(np.uint8), "L").resize((w, h), Image.BICUBIC)
    return np.asarray(img, np.float32) / 255.0


def background(seed):
    # A translucent nebula: drawn over the level's moving stars, so it has no black fill.
    rng = np.random.default_rng(seed)
    h, w = FIELD_H, FIELD_W
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    palettes = [((40, 80, 170), (90, 40, 150)), ((30, 110, 150), (40, 60, 160)), ((110, 40, 120), (40, 70, 160))]
    a_col, b_col = palettes[seed % len(palettes)]
    clouds = smooth_noise(rng, w, h, (6, 5)) * 0.6 + smooth_noise(rng, w, h, (16, 12)) * 0.4
    mix = smooth_noise(rng, w, h, (4, 3))
    # Two broad bands keep part of the field clear, so ships stand out against black.
    cx, cy = rng.uniform(0.3, 0.7) * w, rng.uniform(0.3, 0.7) * h
    band = np.exp(-(((xx - cx) / (0.55 * w)) ** 2 + ((yy - cy) / (0.5 * h)) ** 2))
    density = np.clip((clouds - 0.35) * 1.8, 0, 1) * (0.35 + 0.65 * band)
    rgb = np.zeros((h, w, 3), np.float32)
    for c in range(3):
        rgb[..., c] = a_col[c] * mix + b_col[c] * (1 - mix)
    alpha = density * 120
    out = np.dstack([np.clip(rgb, 0, 255), np.clip(alpha, 0, 255)]).astype(np.uint8)
    return Image.fromarray(out, "RGBA")


def background_path(index):
    return rel("content/images/game/backgrounds", "space_%d.png" % index)


# --- level geometry --------------------------------------------------------------------

def blocked_cells(all_lanes, station, parts):
    rows, cols = np.mgrid[0:CELLS_Y, 0:CELLS_X]
    cx = cols * CELL + CELL / 2.0
    cy = rows * CELL + CELL / 2.0
    near = np.zeros(cx.shape, bool)
    for line in all_lanes:
        pts = np.asarray(line, np.float64)
        a, b = pts[:-1], pts[1:]
        d = b - a
        l2 = np.maximum((d ** 2).sum(axis=1), 1e-12)
        # distance from every cell centre to every segment of the lane
        t = ((cx[..., None] - a[:, 0]) * d[:, 0] + (cy[..., None] - a[:, 1]) * d[:, 1]) / l2
        t = np.clip(t, 0.0, 1.0)
        dist = np.hypot(cx[..., None] - (a[:, 0] + t * d[:, 0]), cy[..., None] - (a[:, 1] + t * d[:, 1]))
        near |= dist.min(axis=-1) < PATH_CLEARANCE
    for sp in station:
        reach = parts[sp["part"]]["radius"] + PART_CLEARANCE
        near |= np.hypot(cx - sp["x"], cy - sp["y"]) < reach
    return {(int(c), int(r)) for r, c in zip(*np.nonzero(near))}


def grid_image(blocked):
    img = canvas(FIELD_W, FIELD_H)
    d = ImageDraw.Draw(img)
    for r in range(CELLS_Y):
        for c in range(CELLS_X):
            if (c, r) in blocked:
                continue
            x0, y0 = c * CELL * SS, r * CELL * SS
            d.rounded_rectangle([x0 + 3 * SS, y0 + 3 * SS, x0 + (CELL - 3) * SS - 1, y0 + (CELL - 3) * SS - 1],
                                radius=5 * SS, fill=(20, 70, 110, 36), outline=(70, 170, 220, 80), width=SS)
    return finish(img, FIELD_W, FIELD_H)


def spline_file(path):
    points = control_points(path)
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Path control points in pixels. Made by tools/gen_levels.py. -->",
             '<Spline n="%d" t="%d" resolution="%d">' % (len(points), path["degree"],
                                                         path_resolution(path))]
    for x, y in points:
        lines.append('  <ControlPoint x="%s" y="%s" />' % (fmt(float(x)), fmt(float(y))))
    lines.append("</Spline>")
    return lines


def orbit_file(points):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- A station part's orbit in screen fractions. Made by tools/gen_levels.py. -->",
             '<Spline n="%d" t="3" resolution="240">' % len(points)]
    for x, y in points:
        lines.append('  <ControlPoint x="%s" y="%s" />' % (fmt(float(x)), fmt(float(y))))
    lines.append("</Spline>")
    return lines


def kill_zones():
    r = KILL_RADIUS
    # Centre of each circle: one radius beyond the middle of a field edge.
    return [(-r, FIELD_H / 2), (FIELD_W + r, FIELD_H / 2), (FIELD_W / 2, -r), (FIELD_W / 2, FIELD_H + r)]


# --- map shots -------------------------------------------------------------------------

def shot_base(bg):
    rng = np.random.default_rng(99)
    base = Image.new("RGBA", (SHOT_W, SHOT_H), (6, 10, 24, 255))
    # The level's own stars move; the still picture gets a fixed sprinkle of them.
    px = base.load()
    for _ in range(160):
        x, y = int(rng.integers(0, SHOT_W)), int(rng.integers(0, SHOT_H))
        v = int(rng.integers(70, 230))
        px[x, y] = (v, v, min(255, v + 20), 255)
    base.alpha_composite(bg.resize((SHOT_W, SHOT_H), Image.LANCZOS))
    return base


def map_shot(bg, grid=None, path_lines=None, station=(), part_images=None):
    img = shot_base(bg)
    if grid is not None:
        pads = grid.resize((SHOT_W, SHOT_H), Image.LANCZOS)
        # Pads are faint at game size; the small picture needs them a little stronger.
        a = pads.getchannel("A").point(lambda v: min(255, v * 2))
        pads.putalpha(a)
        img.alpha_composite(pads)
    if path_lines:
        sx = SHOT_W / FIELD_W
        layer = canvas(SHOT_W, SHOT_H)
        d = ImageDraw.Draw(layer)
        for index, lane_lines in path_lines:
            colour = PATH_COLOURS[index % len(PATH_COLOURS)]
            for name, line in lane_lines.items():
                pts = [(x * sx * SS, y * sx * SS) for x, y in line]
                width = 2.2 if name == "" else 1.0
                alpha = 255 if name == "" else 140
                d.line(pts, fill=colour + (alpha,), width=int(width * SS), joint="curve")
        glow = layer.filter(ImageFilter.GaussianBlur(SS * 1.5))
        img.alpha_composite(finish(glow, SHOT_W, SHOT_H))
        img.alpha_composite(finish(layer, SHOT_W, SHOT_H))
    for sp in station:
        part = part_images[sp["part"]]
        w = max(4, int(round(part.width * SHOT_W / FIELD_W)))
        small = part.rotate(-sp["angle"], resample=Image.BICUBIC).resize((w, w), Image.LANCZOS)
        img.alpha_composite(small, (int(sp["x"] * SHOT_W / FIELD_W - w / 2), int(sp["y"] * SHOT_H / FIELD_H - w / 2)))
    frame = ImageDraw.Draw(img)
    frame.rectangle([0, 0, SHOT_W - 1, SHOT_H - 1], outline=(80, 220, 255, 200), width=1)
    # A palette of 128 colours with dithering keeps the 45 shots small.
    return img.convert("RGB").quantize(colors=128, method=Image.MEDIANCUT, dither=Image.FLOYDSTEINBERG)


# --- level files -----------------------------------------------------------------------

def stage_header(mid, station_row, slot_step, last_id):
    station, slot = divmod(mid, 3)
    reward = station_row["reward"] + slot * slot_step
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Mission %d: station %d, slot %d. Made by tools/gen_levels.py from "
             "tools/balance/balance.toml and tools/levels/layouts.toml. -->" % (mid, station, slot),
             '<Stage music="%d" enabled="%s">' % (station_row["music"], "true" if mid == 0 else "false"),
             "  <Reward>",
             '    <Credits amount="%d" />' % reward,
             "  </Reward>"]
    if mid < last_id:
        lines.append('  <UnlockMissions missions="%d" />' % (mid + 1))
    return lines


# The level file's tower type ids: T1 to T10, then the support station, radar and bank,
# the drone station and the navigation beacon.
ATTACK_TYPE_IDS = {"T%d" % (i + 1): i for i in range(10)}
SUPPORT_TYPE_IDS = [10, 13, 14, 15, 16]


def towers_element(kinds):
    """The Towers element of a mission that offers only the attack kinds listed."""
    if kinds is None:
        return []
    unknown = [k for k in kinds if k not in ATTACK_TYPE_IDS]
    if unknown or not kinds:
        sys.exit("balance table: [armoury] lists %s; the attack kinds are T1 to T10" % (unknown or "nothing"))
    ids = sorted(ATTACK_TYPE_IDS[k] for k in set(kinds)) + SUPPORT_TYPE_IDS
    return ["  <Towers>"] + ['    <Tower typeId="%d" />' % i for i in ids] + ["  </Towers>"]


def level_body(mid, mission, layout, table, bg_index, extra=None):
    extra = extra or {}
    enemies = table["enemy"]
    parts = table["station_part"]
    name = "mission_%02d" % mid
    lines = ['  <InitialFunds credits="%d" />' % mission["credits"]]
    lines += towers_element(table.get("armoury", {}).get(str(mid)))
    lines += ['  <Grid levelImage="%s" cellsX="%d" cellsY="%d" cellWidth="%d" cellHeight="%d">'
             % (rel("content/levels/grids", name + ".png"), CELLS_X, CELLS_Y, CELL, CELL),
             '    <ImageWidget textureFilename="%s" />' % background_path(bg_index),
             "  </Grid>"]
    path_lanes = {}
    for path in layout["paths"]:
        spline = rel("content/levels/splines", "%s_path_%d.xml" % (name, path["id"]))
        write_text(spline, spline_file(path))
        lines.append('  <Path id="%d" centerLine="%s" sides="%s" distance="%s" />'
                     % (path["id"], spline, path["sides"], fmt(float(path["distance"]))))
        path_lanes[path["id"]] = lanes(path)
    exits = sorted({tuple(p["points"][-1]) for p in layout["paths"]})
    for x, y in exits:
        lines.append('  <ExitZone template="content/config/Entities/zones/exitzone.xml" '
                     'area="Rect(%s,%s,%d,%d)" />' % (fmt(float(x)), fmt(float(y)), EXIT_SIZE[0], EXIT_SIZE[1]))
    for x, y in kill_zones():
        lines.append('  <ExitZone template="content/config/Entities/zones/killzone.xml" '
                     'area="Rect(%s,%s,%s,%s)" />' % (fmt(x), fmt(y), fmt(KILL_RADIUS), fmt(KILL_RADIUS)))
    lines.append("  <StationParts>")
    for index, sp in enumerate(layout["station"]):
        orbit = ""
        if index in extra.get("orbits", {}):
            spline = rel("content/levels/splines", "%s_orbit_%d.xml" % (name, index))
            write_text(spline, orbit_file(extra["orbits"][index]))
            orbit = ' spline="%s" delay="%d"' % (spline, extra["lap_ms"])
        lines.append('    <Part entityFile="content/config/Entities/station/%s.xml" x="%d" y="%d" '
                     'angle="%s" angVel="%s"%s />' % (sp["part"], sp["x"], sp["y"], fmt(float(sp["angle"])),
                                                      fmt(sp["turn"] / UNITS_PER_SECOND), orbit))
    lines.append("  </StationParts>")
    if extra.get("timer"):
        lines.append('  <Timer delay="%d" />' % extra["timer"])
    if extra.get("type", "CLASSIC") != "CLASSIC":
        lines.append('  <ForceGameplayType type="%s" />' % extra["type"])
    for attack_id, wave in enumerate(mission["waves"]):
        lines.append('  <Attack id="%d">' % attack_id)
        for wave_id, rec in enumerate(wave):
            e = enemies[rec["enemy"].removesuffix("_raider")]
            pid = rec.get("path", 0)
            lane = rec.get("lane", "")
            length = polyline_length(path_lanes[pid][lane])
            speed = int(round(length / e["pace"] * 1000))
            sub = ' pathSubId="%s"' % lane if lane else ""
            lines.append('    <Wave id="%d" pathId="%d"%s count="%d" spawnDelay="%d" speed="%d" '
                         'enemy="content/config/Entities/enemies/%s.xml" />'
                         % (wave_id, pid, sub, rec["count"], rec["delay"], speed, rec["enemy"]))
        lines.append("  </Attack>")
    return lines, path_lanes


def main():
    images = "--levels-only" not in sys.argv[1:]
    table = load_toml(BALANCE)
    layouts = load_toml(LAYOUTS)["mission"]
    camp = table["campaign"]
    rows = camp["stations"]
    total = len(rows) * 3
    missions = table.get("mission", {})

    backgrounds = {}
    for index in sorted({row["background"] for row in rows}) if images else []:
        img = background(500 + index)
        save(img, BACKGROUNDS, "space_%d.png" % index)
        backgrounds[index] = img

    part_images = {k: Image.open(os.path.join("content", "images", "game", "station", k + ".png")).convert("RGBA")
                   for k in table["station_part"]}

    plan = table.get("plan", {})
    planned = {row["id"]: row for row in plan.get("missions", [])}
    for mid in range(total):
        row = rows[mid // 3]
        name = "mission_%02d" % mid
        lines = stage_header(mid, row, camp["slot_reward_step"], total - 1)
        key = str(mid)
        contents = None
        if key in missions and key in layouts:
            contents = (missions[key], layouts[key], None)
        elif mid in planned:
            contents = planned_contents(planned[mid], plan, table)
        if contents:
            mission, layout, extra = contents
            body, path_lanes = level_body(mid, mission, layout, table, row["background"], extra)
            lines += body
        lines.append("</Stage>")
        write_text(os.path.join(LEVELS, name + ".xml"), lines)
        if not images:
            continue
        if contents:
            all_lanes = [line for lanes_of in path_lanes.values() for line in lanes_of.values()]
            keep_clear = layout["station"] + (extra or {}).get("orbit_points", [])
            grid = grid_image(blocked_cells(all_lanes, keep_clear, table["station_part"]))
            save(grid, GRIDS, name + ".png")
            shot = map_shot(backgrounds[row["background"]], grid,
                            [(i, path_lanes[pid]) for i, pid in enumerate(sorted(path_lanes))],
                            layout["station"], part_images)
        else:
            shot = map_shot(backgrounds[row["background"]])
        save(shot, SHOTS, name + ".png")


def planned_contents(row, plan, table):
    """Layout, waves and gameplay extras of a mission of the plan (tools/level_plan.py)."""
    layout = plan_layout(row, table["station_part"])
    lanes_of = [lanes(p) for p in layout["paths"]]
    rng = random.Random(9000 + row["id"])
    layout["station"] = place_station(layout, lanes_of, table["station_part"], layout["raided"], rng)
    credits = plan["first_credits"] + (row["id"] - 3) * plan["credits_step"]
    # The later a mission, the smaller the share of its waves' credits it starts with:
    # the curve of the campaign.
    ids = [r["id"] for r in plan["missions"]]
    progress = (row["id"] - min(ids)) / max(1, max(ids) - min(ids))
    share = plan["funds_share"][0] + (plan["funds_share"][1] - plan["funds_share"][0]) * progress
    # A row may set its own share where its layout or type needs a different margin.
    share = row.get("funds_share", share)
    # Every path needs its own guard: each path past the first adds to the funds, not to
    # the waves, which the credits of one path size.
    funds = int(round(credits * share * (1 + plan["funds_per_extra_path"] * (row["paths"] - 1)), -1))
    mission = {"credits": funds,
               "waves": compose_waves(row, plan, table["enemy"], len(layout["paths"]), credits,
                                      nearest_path(lanes_of, layout["station"]))}
    extra = {"type": row["type"]}
    if row["type"] == "TIMER":
        extra["timer"] = plan["timer_seconds_per_wave"] * row["waves"]
        # Kept as TIMER by the Timer element alone.
        extra["type"] = "CLASSIC"
    if row["type"] == "STATION_PART_MOVING":
        ring = layout["station"][0]
        orbit = orbit_spline(ring)
        extra["orbits"] = {0: orbit}
        extra["lap_ms"] = plan["station_lap_ms"]
        # Cells under the whole orbit stay free: the ring passes over them.
        extra["orbit_points"] = [{"part": "ring", "x": x * FIELD_W, "y": y * FIELD_H, "angle": 0, "turn": 0}
                                 for x, y in orbit]
    return mission, layout, extra


if __name__ == "__main__":
    main()
