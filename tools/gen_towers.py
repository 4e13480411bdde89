#!/usr/bin/python3
"""Writes the player's towers from tools/balance/balance.toml: each tower's entity file, its
picture and build button, and the tower labels in content/strings/english.xml (the labels the
command bridge shares, price, damage and range, come from tools/gen_bridge.py).

Towers are the player's side: cyan and white vector shapes drawn at 4x and downsampled.
Output is deterministic and committed.
Run from the repository root: /usr/bin/python3 tools/gen_towers.py
"""
import math
import os

from PIL import Image, ImageDraw

from label_block import write_label_block
from gen_ui_images import SS, canvas, finish, save
from level_geometry import BALANCE, load_toml

ENTITIES = os.path.join("content", "config", "Entities", "towers")
GAME_IMAGES = os.path.join("content", "images", "game")
TOWER_IMAGES = os.path.join(GAME_IMAGES, "towers")

CYAN = (80, 220, 255)
DEEP = (14, 60, 92)
STEEL = (30, 96, 130)
PALE = (190, 240, 255)
WHITE = (255, 255, 255)
EDGE = (4, 18, 30)

TOWER_SIZE = 32
BUTTON_SIZE = 40


def sc(v):
    return v * SS


def polygon(d, pts, fill, outline=EDGE, width=1.0):
    q = [(sc(x), sc(y)) for x, y in pts]
    d.polygon(q, fill=fill + (255,))
    if outline:
        d.line(q + [q[0]], fill=outline + (255,), width=max(1, int(sc(width))), joint="curve")


def circle(d, cx, cy, r, fill, outline=EDGE, width=1.0):
    box = [sc(cx - r), sc(cy - r), sc(cx + r), sc(cy + r)]
    d.ellipse(box, fill=(fill + (255,)) if fill else None,
              outline=(outline + (255,)) if outline else None, width=max(1, int(sc(width))))


def hexagon(cx, cy, r, turn=0.0):
    return [(cx + r * math.cos(math.radians(60 * i + turn)), cy + r * math.sin(math.radians(60 * i + turn)))
            for i in range(6)]


def beam_turret(size):
    """T1: a hexagonal deck with a round turret and a twin emitter pointing up."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    polygon(d, hexagon(c, c, size * 0.47, 30), DEEP, EDGE, 1.2)
    polygon(d, hexagon(c, c, size * 0.38, 30), STEEL, CYAN, 0.8)
    for i in range(6):
        a = math.radians(60 * i + 30)
        x, y = c + size * 0.42 * math.cos(a), c + size * 0.42 * math.sin(a)
        circle(d, x, y, size * 0.035, PALE, None)
    w = size * 0.07
    for side in (-1, 1):
        x = c + side * size * 0.09
        polygon(d, [(x - w, c), (x + w, c), (x + w * 0.7, size * 0.08), (x - w * 0.7, size * 0.08)], PALE, EDGE, 0.6)
    circle(d, c, c, size * 0.2, CYAN, EDGE, 1.0)
    circle(d, c, c, size * 0.1, WHITE, None)
    return finish(img, size, size)


def button_frame(picture, size):
    """A build button: the tower on a dark rounded tile with a thin cyan border."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([sc(1), sc(1), sc(size - 1), sc(size - 1)], radius=sc(6),
                        fill=(8, 20, 36, 220), outline=CYAN + (255,), width=sc(1))
    out = finish(img, size, size)
    inner = picture.resize((size - 8, size - 8), Image.LANCZOS)
    out.alpha_composite(inner, (4, 4))
    return out


def entity_xml(key, t):
    return """<?xml version="1.0" encoding="UTF-8"?>
<!-- Tower %(key)s. Made by tools/gen_towers.py from tools/balance/balance.toml. -->
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
  damage="%(damage)d"
  energy="%(energy)d"
  reloadDelay="%(reload_ms)d"
  actionStrategy="%(action)s"
  lockingStrategy="%(locking)s"
  targetSelectionStrategy="%(selection)s"
  quantificationStrategy="ALL"
  towerType="TOWER_NAME_%(key)s"
  info="INFO_%(key)s"
  textureButton="content/images/game/towers/%(lower)s_button.png"
  price="%(price)d" />
""" % dict(t, key=key, lower=key.lower())


BLOCK_START = "  <!-- towers: tools/gen_towers.py -->"
BLOCK_END = "  <!-- end of towers -->"
PANEL_LABELS = [
    ("ENERGY", "Energy"),
    ("LABEL_TOWER_INTEREST", "Interest"),
    ("AFTER_UPGRADE", "After upgrade"),
]





PICTURES = {"T1": beam_turret}


def main():
    table = load_toml(BALANCE)
    os.makedirs(ENTITIES, exist_ok=True)
    labels = list(PANEL_LABELS)
    for key, t in sorted(table["tower"].items()):
        with open(os.path.join(ENTITIES, t["file"] + ".xml"), "w", encoding="utf-8", newline="\n") as f:
            f.write(entity_xml(key, t))
        picture = PICTURES[key](TOWER_SIZE)
        save(picture, TOWER_IMAGES, key.lower() + ".png")
        save(button_frame(PICTURES[key](BUTTON_SIZE * 2), BUTTON_SIZE), TOWER_IMAGES, key.lower() + "_button.png")
        labels += [("TOWER_NAME_" + key, t["name"]), ("INFO_" + key, t["info"])]
    write_label_block(BLOCK_START, BLOCK_END, labels)


if __name__ == "__main__":
    main()
