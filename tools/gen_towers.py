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
RED = (255, 60, 60)
VIOLET = (188, 60, 240)
YELLOW = (255, 235, 60)
ORANGE_TIP = (255, 170, 40)

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


def deck(d, size, sides, turn, fill=DEEP, rim=STEEL, inner=0.38):
    """The common base: a polygon deck with an inner plate."""
    c = size / 2
    pts = [(c + size * 0.47 * math.cos(math.radians(360 / sides * i + turn)),
            c + size * 0.47 * math.sin(math.radians(360 / sides * i + turn))) for i in range(sides)]
    polygon(d, pts, fill, EDGE, 1.2)
    pts = [(c + size * inner * math.cos(math.radians(360 / sides * i + turn)),
            c + size * inner * math.sin(math.radians(360 / sides * i + turn))) for i in range(sides)]
    polygon(d, pts, rim, CYAN, 0.8)


def studs(d, size, count, radius, turn=0.0, colour=PALE):
    """Small lights round the rim: one per upgrade level shows on the body."""
    c = size / 2
    for i in range(count):
        a = math.radians(360 / max(count, 1) * i + turn - 90)
        circle(d, c + size * radius * math.cos(a), c + size * radius * math.sin(a), size * 0.035, colour, None)


def barrel(d, size, x, length, width, fill=PALE):
    c = size / 2
    w = size * width
    polygon(d, [(x - w, c), (x + w, c), (x + w * 0.7, c - size * length), (x - w * 0.7, c - size * length)],
            fill, EDGE, 0.6)


def beam_turret(size, level=0):
    """T1: a hexagonal deck with a round turret and a twin emitter pointing up."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    deck(d, size, 6, 30)
    studs(d, size, 6 + 2 * level, 0.42, 30)
    for side in (-1, 1):
        barrel(d, size, c + side * size * 0.09, 0.42, 0.07)
    circle(d, c, c, size * 0.2, CYAN, EDGE, 1.0)
    circle(d, c, c, size * 0.1, WHITE, None)
    return finish(img, size, size)


def chain_beam(size, level=0):
    """T2: a square deck, three prongs and a red focus."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    deck(d, size, 4, 45)
    for a in (-90, 30, 150):
        r = math.radians(a)
        x, y = c + size * 0.36 * math.cos(r), c + size * 0.36 * math.sin(r)
        d.line([(sc(c), sc(c)), (sc(x), sc(y))], fill=PALE + (255,), width=int(sc(size * 0.06)))
        circle(d, x, y, size * 0.06, WHITE, EDGE, 0.5)
    studs(d, size, level, 0.3, 0, RED)
    circle(d, c, c, size * 0.16, RED, EDGE, 1.0)
    circle(d, c, c, size * 0.07, WHITE, None)
    return finish(img, size, size)


def pulse_beam(size, level=0, core=VIOLET, sides=8, ring=0.24):
    """T3, T7, T9: a round capacitor ring around a violet core."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    deck(d, size, sides, 22.5)
    circle(d, c, c, size * ring + size * 0.06, None, CYAN, 1.2)
    circle(d, c, c, size * ring, DEEP, PALE, 0.8)
    studs(d, size, 4 + 2 * level, ring + 0.1, 0, PALE)
    circle(d, c, c, size * 0.12, core, EDGE, 0.6)
    circle(d, c, c, size * 0.05, WHITE, None)
    return finish(img, size, size)


def heavy_pulse(size, level=0):
    """T7: the pulse ring on a heavy hexagonal deck with two capacitor blocks."""
    img = pulse_beam(size * 1, level, VIOLET, 6, 0.2)
    d = ImageDraw.Draw(img)
    for x in (2, size - 6):
        d.rectangle([x, size // 2 - 5, x + 3, size // 2 + 5], fill=PALE + (255,), outline=EDGE + (255,))
    return img


def lance(size, level=0):
    """T9: a triangular deck with one long barrel."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    polygon(d, [(c, size * 0.04), (size * 0.96, size * 0.92), (size * 0.04, size * 0.92)], DEEP, EDGE, 1.2)
    polygon(d, [(c, size * 0.2), (size * 0.8, size * 0.82), (size * 0.2, size * 0.82)], STEEL, CYAN, 0.8)
    barrel(d, size, c, 0.48, 0.05, WHITE)
    studs(d, size, 3 + level, 0.22, 0, PALE)
    circle(d, c, c + size * 0.12, size * 0.12, VIOLET, EDGE, 0.8)
    return finish(img, size, size)


def snare(size, level=0):
    """T4: an octagonal deck with a yellow emitter; its coil turns above it."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    deck(d, size, 8, 22.5)
    studs(d, size, 4 + level, 0.42, 45, YELLOW)
    circle(d, c, c, size * 0.14, YELLOW, EDGE, 0.8)
    return finish(img, size, size)


def picket(size, level=0):
    """T5: a small diamond picket with a cyan needle."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    polygon(d, [(c, size * 0.06), (size * 0.94, c), (c, size * 0.94), (size * 0.06, c)], DEEP, EDGE, 1.2)
    polygon(d, [(c, size * 0.22), (size * 0.78, c), (c, size * 0.78), (size * 0.22, c)], STEEL, CYAN, 0.8)
    barrel(d, size, c, 0.4, 0.04, WHITE)
    studs(d, size, 4 * (level + 1), 0.3, 45, PALE)
    circle(d, c, c, size * 0.09, CYAN, EDGE, 0.6)
    return finish(img, size, size)


def launcher(size, level=0, tubes=2, sides=4, turn=45):
    """T6, T8, T10: a deck with missile tubes; the radar turns above it."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    deck(d, size, sides, turn)
    span = size * 0.5
    for i in range(tubes):
        x = c - span / 2 + span * (i + 0.5) / tubes
        w = size * 0.24 / tubes + size * 0.02
        d.rounded_rectangle([sc(x - w / 2), sc(size * 0.2), sc(x + w / 2), sc(size * 0.8)], radius=sc(w / 3),
                            fill=STEEL + (255,), outline=PALE + (255,), width=max(1, int(sc(0.6))))
        circle(d, x, size * 0.26, w * 0.3, ORANGE_TIP, None)
    studs(d, size, level * 2, 0.44, 0, PALE)
    return finish(img, size, size)


def battery(size, level=0):
    return launcher(size, level, 2, 4, 45)


def torpedo_rack(size, level=0):
    return launcher(size, level, 1, 6, 30)


def salvo_array(size, level=0):
    return launcher(size, level, 4, 8, 22.5)


def roll_coil(size):
    """T4's coil: a yellow ring with three spokes, open in the middle."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    circle(d, c, c, size * 0.44, None, YELLOW, 1.4)
    for i in range(3):
        a = math.radians(120 * i)
        d.line([(sc(c + size * 0.18 * math.cos(a)), sc(c + size * 0.18 * math.sin(a))),
                (sc(c + size * 0.44 * math.cos(a)), sc(c + size * 0.44 * math.sin(a)))],
               fill=YELLOW + (255,), width=int(sc(1.2)))
    return finish(img, size, size)


def roll_radar(size, arms=1, dots=0):
    """The launchers' radar: a thin ring with sweeping arms and marker lights."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    circle(d, c, c, size * 0.46, None, CYAN, 0.8)
    for i in range(arms):
        a = math.radians(360 / arms * i)
        d.line([(sc(c), sc(c)), (sc(c + size * 0.46 * math.cos(a)), sc(c + size * 0.46 * math.sin(a)))],
               fill=PALE + (220,), width=int(sc(1.0)))
    for i in range(dots):
        a = math.radians(360 / dots * i + 45)
        circle(d, c + size * 0.46 * math.cos(a), c + size * 0.46 * math.sin(a), size * 0.06, WHITE, None)
    circle(d, c, c, size * 0.08, WHITE, None)
    return finish(img, size, size)


def missile(length, width, fins, colour):
    """A missile nose down (the game turns +y toward the target)."""
    img = canvas(width, length)
    d = ImageDraw.Draw(img)
    c = width / 2
    polygon(d, [(c - width * 0.22, 1), (c + width * 0.22, 1), (c + width * 0.22, length * 0.7),
                (c, length - 0.5), (c - width * 0.22, length * 0.7)], PALE, EDGE, 0.4)
    for side in (-1, 1):
        polygon(d, [(c + side * width * 0.22, 1), (c + side * width * 0.48, 0.5),
                    (c + side * width * 0.22, length * 0.35)], colour, None)
    if fins > 1:
        polygon(d, [(c - width * 0.1, length * 0.45), (c + width * 0.1, length * 0.45),
                    (c, length * 0.6)], colour, None)
    circle(d, c, length * 0.1, width * 0.14, ORANGE_TIP, None)
    return finish(img, width, length)


def crosshair(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    circle(d, c, c, size * 0.38, None, YELLOW, 1.0)
    for a in range(0, 360, 90):
        r = math.radians(a)
        d.line([(sc(c + size * 0.22 * math.cos(r)), sc(c + size * 0.22 * math.sin(r))),
                (sc(c + size * 0.48 * math.cos(r)), sc(c + size * 0.48 * math.sin(r)))],
               fill=YELLOW + (255,), width=int(sc(1.0)))
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
    targets = t.get("targets", 1)
    fields = dict(t, key=key, lower=key.lower(),
                  quantification="ALL" if targets == "ALL" else "FIXED",
                  capacity=-1 if targets == "ALL" else targets)
    return """<?xml version="1.0" encoding="UTF-8"?>
<!-- Tower %(key)s. Made by tools/gen_towers.py from tools/balance/balance.toml.
     What it deals, reaches and costs at each upgrade level: docs/balance.md, whose tower
     table the game's own rules write (scripts/balance_figures.sh). -->
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
  quantificationStrategy="%(quantification)s"
  targetCapacity="%(capacity)d"
  towerType="TOWER_NAME_%(key)s"
  info="INFO_%(key)s"
  textureButton="content/images/game/towers/%(lower)s_button.png"
  price="%(price)d" />
""" % fields


def missile_xml(name, m):
    return """<?xml version="1.0" encoding="UTF-8"?>
<!-- Homing missile %(name)s. Made by tools/gen_towers.py from tools/balance/balance.toml. -->
<Entity
  descriptionName="xPhysicsPrimitiveEntityDesc"
  dynamic="1"
  bodyType="2DOF"
  primitiveType="circle"
  bodyMass="%(mass)s"
  shapeFeaturesX="%(radius)s"
  shapeFeaturesY="0"
  texturePath="content/images/game/shots/%(name)s.png"
  collisionCategory="player_photontorpedo"
  material="shot"
  debugRender="0"
  renderingPriority="260"
  crosshairImage="content/images/game/shots/crosshair.png"
  damage="%(damage)d"
  type="%(type)d" />
""" % dict(m, name=name)


BLOCK_START = "  <!-- towers: tools/gen_towers.py -->"
BLOCK_END = "  <!-- end of towers -->"
PANEL_LABELS = [
    ("ENERGY", "Energy"),
    ("LABEL_TOWER_INTEREST", "Interest"),
    ("AFTER_UPGRADE", "After upgrade"),
]





PICTURES = {"T1": beam_turret, "T2": chain_beam, "T3": pulse_beam, "T4": snare, "T5": picket,
            "T6": battery, "T7": heavy_pulse, "T8": torpedo_rack, "T9": lance, "T10": salvo_array}
ROLLS = {"T4": lambda: roll_coil(26), "T6": lambda: roll_radar(18, 1, 0),
         "T8": lambda: roll_radar(22, 2, 0), "T10": lambda: roll_radar(24, 2, 4)}
MISSILE_LOOKS = {"eagereagle": (14, 7, 1, CYAN), "triton": (20, 9, 2, STEEL),
                 "doubleeagereagle": (16, 8, 2, YELLOW)}
MISSILES = os.path.join("content", "config", "Entities", "missiles")
SHOTS = os.path.join(GAME_IMAGES, "shots")


def main():
    table = load_toml(BALANCE)
    os.makedirs(ENTITIES, exist_ok=True)
    os.makedirs(MISSILES, exist_ok=True)
    labels = list(PANEL_LABELS)
    towers = sorted(table["tower"].items(), key=lambda kv: int(kv[0][1:]))
    for key, t in towers:
        with open(os.path.join(ENTITIES, t["file"] + ".xml"), "w", encoding="utf-8", newline="\n") as f:
            f.write(entity_xml(key, t))
        draw = PICTURES[key]
        save(draw(TOWER_SIZE), TOWER_IMAGES, key.lower() + ".png")
        # The body at each upgrade level shows one more ring of lights.
        for level in range(1, 4):
            save(draw(TOWER_SIZE, level), TOWER_IMAGES, "%s_%d.png" % (key.lower(), level))
        save(button_frame(draw(BUTTON_SIZE * 2), BUTTON_SIZE), TOWER_IMAGES, key.lower() + "_button.png")
        if key in ROLLS:
            save(ROLLS[key](), TOWER_IMAGES, key + "_roll.png")
        labels += [("TOWER_NAME_" + key, t["name"]), ("INFO_" + key, t["info"])]
    for name, m in sorted(table["missile"].items()):
        with open(os.path.join(MISSILES, name + ".xml"), "w", encoding="utf-8", newline="\n") as f:
            f.write(missile_xml(name, m))
        length, width, fins, colour = MISSILE_LOOKS[name]
        save(missile(length, width, fins, colour), SHOTS, name + ".png")
    save(crosshair(16), SHOTS, "crosshair.png")
    write_label_block(BLOCK_START, BLOCK_END, labels)


if __name__ == "__main__":
    main()
