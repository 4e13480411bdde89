#!/usr/bin/python3
"""Writes the towers that do not fight, from tools/balance/balance.toml: the five support
towers, the drone station, the navigation beacon and the patrol ship. For each: its entity
file, its picture (and a build button for the towers), and their labels in
content/strings/english.xml.

Everything is the player's side: cyan and white vector shapes drawn at 4x and downsampled.
Output is deterministic and committed.
Run from the repository root: /usr/bin/python3 tools/gen_support.py
"""
import math
import os

from PIL import ImageDraw

from label_block import write_label_block
from gen_towers import (CYAN, DEEP, EDGE, PALE, STEEL, WHITE, BUTTON_SIZE, TOWER_SIZE, ENTITIES, TOWER_IMAGES,
                        button_frame, circle, hexagon, polygon)
from gen_ui_images import canvas, finish, save
from level_geometry import BALANCE, load_toml

SHIP_ENTITIES = os.path.join("content", "config", "Entities", "ships")
SHIP_IMAGES = os.path.join("content", "images", "game", "ships")
PLAYER_BULLET = "content/config/Entities/bullets/playerbullet.xml"

GOLD = (255, 210, 90)
GREEN = (110, 255, 160)
MINT = (0, 255, 184)

# Accent of each support kind, so the five read apart at a glance.
ACCENTS = {"S1": (255, 120, 80), "S2": GREEN, "S3": GOLD, "S4": (160, 140, 255), "S5": (255, 230, 120)}


def support_base(d, c, size, accent):
    """A square platform with cut corners and four pylons: what all support towers share."""
    r = size * 0.46
    k = size * 0.14
    polygon(d, [(c - r + k, c - r), (c + r - k, c - r), (c + r, c - r + k), (c + r, c + r - k),
                (c + r - k, c + r), (c - r + k, c + r), (c - r, c + r - k), (c - r, c - r + k)], DEEP, EDGE, 1.2)
    for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        circle(d, c + sx * size * 0.32, c + sy * size * 0.32, size * 0.05, accent, EDGE, 0.5)
    circle(d, c, c, size * 0.28, STEEL, CYAN, 0.8)


def emblem(d, key, c, size, accent):
    """The kind's sign on the platform: chevrons, a cross, a bolt, a dish, a coin."""
    u = size * 0.16
    if key == "S1":
        for dy in (-0.35, 0.35):
            y = c + dy * u
            polygon(d, [(c - u, y + u * 0.5), (c, y - u * 0.5), (c + u, y + u * 0.5), (c + u * 0.6, y + u * 0.8),
                        (c, y), (c - u * 0.6, y + u * 0.8)], accent, EDGE, 0.5)
    elif key == "S2":
        w = u * 0.4
        polygon(d, [(c - w, c - u), (c + w, c - u), (c + w, c + u), (c - w, c + u)], accent, None)
        polygon(d, [(c - u, c - w), (c + u, c - w), (c + u, c + w), (c - u, c + w)], accent, None)
    elif key == "S3":
        polygon(d, [(c + u * 0.2, c - u * 1.1), (c - u * 0.6, c + u * 0.15), (c, c + u * 0.15),
                    (c - u * 0.2, c + u * 1.1), (c + u * 0.6, c - u * 0.15), (c, c - u * 0.15)], accent, EDGE, 0.4)
    elif key == "S4":
        circle(d, c, c, u * 0.9, None, accent, 0.9)
        circle(d, c, c, u * 0.45, None, accent, 0.7)
        a = math.radians(-40)
        d.line([(c * 4, c * 4), ((c + math.cos(a) * u) * 4, (c + math.sin(a) * u) * 4)], fill=WHITE + (255,),
               width=max(1, int(size * 0.05 * 4)))
    else:
        circle(d, c, c, u, accent, EDGE, 0.6)
        circle(d, c, c, u * 0.55, None, EDGE, 0.5)
    circle(d, c, c, size * 0.04, WHITE, None)


def support_picture(key):
    def draw(size):
        img = canvas(size, size)
        d = ImageDraw.Draw(img)
        c = size / 2
        support_base(d, c, size, ACCENTS[key])
        emblem(d, key, c, size, ACCENTS[key])
        return finish(img, size, size)
    return draw


def drone_station(size):
    """A round hangar deck with a launch rail across it."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    polygon(d, hexagon(c, c, size * 0.47, 0), DEEP, EDGE, 1.2)
    circle(d, c, c, size * 0.34, STEEL, PALE, 0.8)
    w = size * 0.08
    polygon(d, [(c - size * 0.4, c - w), (c + size * 0.4, c - w), (c + size * 0.4, c + w), (c - size * 0.4, c + w)],
            PALE, EDGE, 0.5)
    polygon(d, [(c, c - size * 0.2), (c + size * 0.12, c + size * 0.1), (c, c + size * 0.04),
                (c - size * 0.12, c + size * 0.1)], CYAN, EDGE, 0.5)
    return finish(img, size, size)


def beacon(size):
    """A small mast on a diamond foot with a bright lamp."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    r = size * 0.3
    polygon(d, [(c, c - r), (c + r, c), (c, c + r), (c - r, c)], DEEP, MINT, 0.8)
    circle(d, c, c, size * 0.13, MINT, EDGE, 0.6)
    circle(d, c, c, size * 0.06, WHITE, None)
    return finish(img, size, size)


def patrol_ship(size):
    """A slim player drone flying towards +y (the picture turns with the ship)."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    polygon(d, [(c, size * 0.95), (c + size * 0.38, size * 0.2), (c, size * 0.38), (c - size * 0.38, size * 0.2)],
            STEEL, EDGE, 0.6)
    polygon(d, [(c, size * 0.85), (c + size * 0.12, size * 0.35), (c - size * 0.12, size * 0.35)], PALE, None)
    circle(d, c, size * 0.5, size * 0.08, CYAN, None)
    return finish(img, size, size)


def tower_xml(title, lower, t, tower_type, info, extra=""):
    return """<?xml version="1.0" encoding="UTF-8"?>
<!-- %(title)s. Made by tools/gen_support.py from tools/balance/balance.toml. -->
<Entity
  descriptionName="xPhysicsPrimitiveEntityDesc"
  dynamic="0"
  bodyType="3DOF"
  primitiveType="box"
  shapeFeaturesX="28"
  shapeFeaturesY="28"
  texturePath="content/images/game/towers/%(lower)s.png"
  collisionCategory="actor"
  material="station"
  debugRender="0"
  renderingPriority="200"
  range="%(range)s"
  damage="0"
  energy="%(energy)d"
  reloadDelay="0"
  actionStrategy="CONTINUOUS"
  lockingStrategy="OFF"
  targetSelectionStrategy="CLOSEST"
  quantificationStrategy="ALL"
  towerType="%(tower_type)s"
  info="%(info)s"
  textureButton="content/images/game/towers/%(lower)s_button.png"
  price="%(price)d"%(extra)s />
""" % dict(t, title=title, lower=lower, tower_type=tower_type, info=info, extra=extra)


def ship_xml(s):
    return """<?xml version="1.0" encoding="UTF-8"?>
<!-- The patrol ship. Made by tools/gen_support.py from tools/balance/balance.toml. -->
<Entity
  descriptionName="xPhysicsPrimitiveEntityDesc"
  dynamic="1"
  bodyType="3DOF"
  primitiveType="circle"
  bodyMass="%(mass)d"
  shapeFeaturesX="%(radius)d"
  shapeFeaturesY="0"
  texturePath="content/images/game/ships/patrolship.png"
  collisionCategory="actor"
  material="hull"
  debugRender="0"
  renderingPriority="210"
  particleColor="Color(0,255,255,255)"
  energy="%(energy)d"
  behavior="0"
  reward="0"
  templateBullet="%(bullet)s"
  shootingDelay="%(shot_ms)d" />
""" % dict(s, bullet=PLAYER_BULLET)


BLOCK_START = "  <!-- support towers, drone stations and beacons: tools/gen_support.py -->"
BLOCK_END = "  <!-- end of support towers -->"
PANEL_LABELS = [
    ("DAMAGE_INCREASE", "Damage boost"),
    ("REPAIR_ENERGY_FACTOR", "Repair per frame"),
    ("ENERGY_INCREASE", "Energy boost"),
    ("RANGE_INCREASE", "Range boost"),
    ("INTEREST_INCREASE", "Interest boost"),
    # What a drone station's patrol ship deals, on its build button and in its panel.
    ("DRONE_DAMAGE", "Drone damage"),
    ("DRONE_RANGE", "Drone reach"),
    # The level's messages when it takes or goes back to a checkpoint.
    ("CHECK_POINT_SAVED", "Checkpoint saved"),
    ("CHECK_POINT_RESTORED", "Checkpoint restored: the battle goes on from here"),
]


def write_tower(key, lower, title, t, tower_type, info_key, picture, extra=""):
    with open(os.path.join(ENTITIES, t["file"] + ".xml"), "w", encoding="utf-8", newline="\n") as f:
        f.write(tower_xml(title, lower, t, tower_type, info_key, extra))
    save(picture(TOWER_SIZE), TOWER_IMAGES, lower + ".png")
    save(button_frame(picture(BUTTON_SIZE * 2), BUTTON_SIZE), TOWER_IMAGES, lower + "_button.png")


def main():
    table = load_toml(BALANCE)
    os.makedirs(ENTITIES, exist_ok=True)
    labels = list(PANEL_LABELS)
    for key, t in sorted(table["support"].items()):
        value = t["factor"]
        text = str(int(value)) if t["factor_attribute"] == "interestUpgradeFactor" else repr(float(value))
        write_tower(key, key.lower(), "Support tower " + key, t, "TOWER_NAME_" + key, "INFO_" + key,
                    support_picture(key), '\n  %s="%s"' % (t["factor_attribute"], text))
        labels += [("TOWER_NAME_" + key, t["name"]), ("INFO_" + key, t["info"])]
    station = table["drone"]["station"]
    write_tower("DT", "dt", "Drone station", station, "TOWER_NAME_DT", "TDEPLOYMENT_INFO", drone_station)
    labels += [("TOWER_NAME_DT", station["name"]), ("TDEPLOYMENT_INFO", station["info"])]
    nav = table["beacon"]["navigation"]
    write_tower("WT", "wt", "Navigation beacon", nav, "TOWER_NAME_WT", "TWAYPOINT_INFO", beacon)
    labels += [("TOWER_NAME_WT", nav["name"]), ("TWAYPOINT_INFO", nav["info"])]
    ship = table["patrolship"]["simple"]
    os.makedirs(SHIP_ENTITIES, exist_ok=True)
    with open(os.path.join(SHIP_ENTITIES, ship["file"] + ".xml"), "w", encoding="utf-8", newline="\n") as f:
        f.write(ship_xml(ship))
    save(patrol_ship(ship["radius"] * 3), SHIP_IMAGES, "patrolship.png")
    write_label_block(BLOCK_START, BLOCK_END, labels)


if __name__ == "__main__":
    main()
