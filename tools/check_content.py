#!/usr/bin/python3
"""Checks the generated level content before it is committed, and prints the wave table
that docs/balance.md discusses. Exit status 1 on any fault.

- every entity and level file parses, and every file it names exists;
- the 45 mission files unlock each other in order, the last one nothing;
- placement images cover 32 x 24 cells of 32 pixels;
- no shot moves farther in one physics step than the thinnest thing it must hit.
Run from the repository root: /usr/bin/python3 tools/check_content.py [--waves]
"""
import glob
import os
import sys
import xml.etree.ElementTree as ET

from PIL import Image

from level_geometry import BALANCE, load_toml

MATERIALS = {"default", "hull", "shot", "station", "rock"}
CATEGORIES = {"actor", "enemy", "enemy_bullet", "player_bullet", "player_photontorpedo", "station_part",
              "bulletkillzone", "rock", "particle", "physics_query_target", "physics_query_enemy",
              "physics_query_station_parts"}
faults = []


def fault(msg):
    faults.append(msg)


def need_file(owner, path):
    if path and not os.path.isfile(path):
        fault("%s names a missing file: %s" % (owner, path))


def check_entities():
    entities = {}
    for path in sorted(glob.glob("content/config/Entities/**/*.xml", recursive=True)):
        root = ET.parse(path).getroot()
        if root.tag != "Entity" or root.get("descriptionName") != "xPhysicsPrimitiveEntityDesc":
            fault("%s: not an entity description" % path)
            continue
        for attr in ("texturePath", "texturePathHit", "templateBullet"):
            need_file(path, root.get(attr))
        if root.get("material") not in MATERIALS:
            fault("%s: unknown material %s" % (path, root.get("material")))
        if root.get("collisionCategory") not in CATEGORIES:
            fault("%s: unknown category %s" % (path, root.get("collisionCategory")))
        entities[path] = root
    return entities


def step_move(velocity, force, mass, h, damping):
    # The first step after firing is the fastest: the push acts once, damping only slows.
    return (velocity * damping + force / mass * h) * h


def check_shots(table, entities):
    eng = table["engine"]
    worst_h = eng["step_worst"] / eng["fast_speed_factor"]
    frame_s = 0.015 / eng["fast_speed_factor"]  # game seconds in the worst frame
    # What a player shot must hit: each enemy's thickness less its own move in that step.
    paces = {e["class"]: e["pace"] for e in table["enemy"].values()}
    room = {}
    for e in entities.values():
        if e.get("collisionCategory") == "enemy":
            cls = e.get("class")
            room[cls] = 2 * float(e.get("shapeFeaturesX")) - paces.get(cls, 0) * frame_s
    tightest = min(room, key=room.get)
    for key, b in table["bullet"].items():
        root = entities.get("content/config/Entities/bullets/%s.xml" % b["file"])
        if root is None:
            fault("bullet %s has no entity file" % key)
            continue
        mass = float(root.get("bodyMass"))
        if key == "player":
            move = step_move(eng["player_shot_velocity"], eng["player_shot_force"], mass, worst_h, eng["damping"])
            limit, what = room[tightest], "%s: its thickness less its own move" % tightest
        else:
            move = step_move(eng["enemy_shot_velocity"], eng["enemy_shot_force"], mass, worst_h, eng["damping"])
            limit, what = table["planning"]["tower_thickness"], "the thinnest tower"
        print("shot %-6s moves %.2f px per step at worst; must stay below %.2f (%s)" % (key, move, limit, what))
        if not move < limit:
            fault("%s shot moves %.2f px per step, more than %.2f" % (key, move, limit))


def check_levels():
    files = sorted(glob.glob("content/levels/mission_*.xml"))
    if len(files) != 45:
        fault("expected 45 mission files, found %d" % len(files))
    for mid, path in enumerate(files):
        root = ET.parse(path).getroot()
        if root.tag != "Stage" or root.get("music") is None or root.get("enabled") not in ("true", "false"):
            fault("%s: Stage needs music and enabled" % path)
        unlock = root.find("UnlockMissions")
        want = None if mid == 44 else str(mid + 1)
        got = None if unlock is None else unlock.get("missions")
        if got != want:
            fault("%s unlocks %s, expected %s" % (path, got, want))
        if root.find("Reward") is None:
            fault("%s has no Reward" % path)
        grid = root.find("Grid")
        if grid is None:
            continue
        image = grid.get("levelImage")
        need_file(path, image)
        cw, ch = int(grid.get("cellWidth")), int(grid.get("cellHeight"))
        cx, cy = int(grid.get("cellsX")), int(grid.get("cellsY"))
        if (cx, cy) != (32, 24):
            fault("%s: grid must be 32 x 24" % path)
        if os.path.isfile(image):
            img = Image.open(image)
            if img.size[0] < cx * cw or img.size[1] < cy * ch or img.mode != "RGBA":
                fault("%s: placement image %s too small or without alpha" % (path, image))
        for w in grid.findall("ImageWidget"):
            need_file(path, w.get("textureFilename"))
        for p in root.findall("Path"):
            spline = p.get("centerLine")
            need_file(path, spline)
            if os.path.isfile(spline):
                s = ET.parse(spline).getroot()
                n = len(s.findall("ControlPoint"))
                if s.tag != "Spline" or int(s.get("n")) != n or int(s.get("t")) + 1 > n or int(s.get("resolution")) < 2:
                    fault("%s: bad spline header" % spline)
        path_ids = {p.get("id") for p in root.findall("Path")}
        for z in root.findall("ExitZone"):
            need_file(path, z.get("template"))
        for part in root.iter("Part"):
            need_file(path, part.get("entityFile"))
        for wave in root.iter("Wave"):
            need_file(path, wave.get("enemy"))
            if wave.get("pathId") not in path_ids:
                fault("%s: wave on unknown path %s" % (path, wave.get("pathId")))


def wave_table(table):
    # Read back from the written level files, so the table shows what the game will run.
    enemies = {e["class"]: e for e in table["enemy"].values()}
    plan = table["planning"]
    for path in sorted(glob.glob("content/levels/mission_*.xml")):
        root = ET.parse(path).getroot()
        attacks = root.findall("Attack")
        if not attacks:
            continue
        credits = float(root.find("InitialFunds").get("credits"))
        owned = credits / plan["tower_cost"]
        total_s = 0.0
        print("\n%s: %d credits at start (%.1f planning towers)" % (path, credits, owned))
        print("  wave  ships  energy  reward  length_s  towers_needed  towers_owned")
        for attack in attacks:
            ships = energy = reward = 0
            flow = single = length = 0.0
            for w in attack.findall("Wave"):
                e = enemies[ET.parse(w.get("enemy")).getroot().get("class")]
                count, delay, walk = int(w.get("count")), int(w.get("spawnDelay")) / 1000.0, int(w.get("speed")) / 1000.0
                ships += count
                energy += count * e["energy"]
                reward += count * e["reward"]
                crossing = 2 * plan["tower_reach"] / e["pace"]
                # Towers the wave needs: damage per second for the energy arriving per second
                # (records run side by side), and enough for one ship crossing one reach.
                flow += count * e["energy"] / (count * delay + crossing)
                single = max(single, e["energy"] / (plan["tower_dps"] * crossing))
                length = max(length, count * delay + walk)
            need = max(flow / plan["tower_dps"], single)
            total_s += length
            print("  %4s  %5d  %6d  %6d  %8.0f  %13.1f  %12.1f" % (attack.get("id"), ships, energy, reward, length, need, owned))
            owned += reward / plan["tower_cost"]
        print("  about %.1f minutes if each wave is sent when the last one is over" % (total_s / 60))


def main():
    table = load_toml(BALANCE)
    entities = check_entities()
    check_shots(table, entities)
    check_levels()
    if "--waves" in sys.argv:
        wave_table(table)
    for f in faults:
        print("FAULT:", f)
    print("%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
