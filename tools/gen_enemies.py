#!/usr/bin/python3
"""Writes the enemy side of the game from tools/balance/balance.toml: the entity files of
the eight enemy classes, the player and enemy bullets, the kill-zone and exit-zone
templates and the station parts; their art (ships, hit flashes, class badges, bullets,
station modules); and the class description labels in content/strings/english.xml.

Ships are vector shapes drawn at 4x and downsampled. A ship's picture is drawn turned by
its heading minus 90 degrees, so at angle 0 it flies towards +y: every ship is drawn with
its nose pointing down the image. Output is deterministic and committed.
Run from the repository root: /usr/bin/python3 tools/gen_enemies.py
"""
import math
import os

from PIL import Image, ImageDraw, ImageFilter

from label_block import write_label_block
from gen_ui_images import SS, canvas, finish, save
from level_geometry import BALANCE, load_toml

ENTITIES = os.path.join("content", "config", "Entities")
GAME_IMAGES = os.path.join("content", "images", "game")
SHIP_IMAGES = os.path.join(GAME_IMAGES, "enemies")
SHOT_IMAGES = os.path.join(GAME_IMAGES, "shots")
STATION_IMAGES = os.path.join(GAME_IMAGES, "station")

# Hull palette shared by every enemy: the enemy side is orange and red; each class adds its
# own colour on cockpit, lights and engines so the class reads at a glance.
DARK = (70, 14, 8)
RED = (190, 42, 22)
ORANGE = (245, 112, 30)
LIGHT = (255, 186, 96)
EDGE = (36, 6, 4)
CYAN = (80, 220, 255)
PALE = (190, 240, 255)
WHITE = (255, 255, 255)

# Art size of each class in pixels (square); about 2.4 times the contact radius so the hull
# covers the circle the bullets hit.
ART_SCALE = 2.4


class Pen:
    """Draws in unit coordinates (-1..1 both ways, nose at +y) on a 4x canvas."""

    def __init__(self, size, flip=False):
        self.size = size
        self.img = canvas(size, size)
        self.d = ImageDraw.Draw(self.img)
        self.flip = flip

    def p(self, x, y):
        if self.flip:
            y = -y
        half = self.size * SS / 2
        return (half + x * half * 0.94, half + y * half * 0.94)

    def w(self, v):
        return max(1, int(round(v * SS)))

    def poly(self, pts, fill, outline=EDGE, width=1.0):
        self.d.polygon([self.p(x, y) for x, y in pts], fill=fill + (255,))
        if outline:
            q = [self.p(x, y) for x, y in pts]
            self.d.line(q + [q[0]], fill=outline + (255,), width=self.w(width), joint="curve")

    def mirror(self, pts, fill, outline=EDGE, width=1.0):
        self.poly(pts, fill, outline, width)
        self.poly([(-x, y) for x, y in pts], fill, outline, width)

    def ellipse(self, cx, cy, rx, ry, fill, outline=EDGE, width=1.0, alpha=255):
        a, b = self.p(cx - rx, cy - ry), self.p(cx + rx, cy + ry)
        box = [min(a[0], b[0]), min(a[1], b[1]), max(a[0], b[0]), max(a[1], b[1])]
        self.d.ellipse(box, fill=fill + (alpha,),
                       outline=(outline + (255,)) if outline else None, width=self.w(width))

    def line(self, pts, colour, width, alpha=255):
        self.d.line([self.p(x, y) for x, y in pts], fill=colour + (alpha,), width=self.w(width),
                    joint="curve")

    def glow(self, cx, cy, r, colour):
        # A soft light: a blurred disc under a bright core.
        halo = canvas(self.size, self.size)
        hd = ImageDraw.Draw(halo)
        a, b = self.p(cx - r, cy - r), self.p(cx + r, cy + r)
        hd.ellipse([min(a[0], b[0]), min(a[1], b[1]), max(a[0], b[0]), max(a[1], b[1])],
                   fill=colour + (200,))
        halo = halo.filter(ImageFilter.GaussianBlur(self.size * SS * r * 0.25))
        self.img.alpha_composite(halo)
        self.d = ImageDraw.Draw(self.img)


# --- the eight ships -------------------------------------------------------------------

def ship_scout(p, acc):
    p.glow(0, -0.82, 0.22, acc)
    p.mirror([(0, 1.0), (0.22, 0.15), (0.85, -0.62), (0.3, -0.42), (0.16, -0.8), (0, -0.7)], ORANGE)
    p.mirror([(0, 0.8), (0.12, 0.1), (0.1, -0.5), (0, -0.45)], RED, None)
    p.ellipse(0, 0.22, 0.1, 0.2, acc, width=0.6)


def ship_rower(p, acc):
    for y in (0.38, 0.0, -0.38):
        p.mirror([(0.2, y + 0.08), (0.95, y - 0.12), (0.95, y - 0.26), (0.2, y - 0.1)], RED, width=0.8)
        p.ellipse(0.9, y - 0.19, 0.09, 0.09, acc, None)
        p.ellipse(-0.9, y - 0.19, 0.09, 0.09, acc, None)
    p.ellipse(0, 0.0, 0.32, 0.92, ORANGE)
    p.ellipse(0, -0.1, 0.16, 0.6, LIGHT, None)
    p.ellipse(0, 0.5, 0.13, 0.17, acc, width=0.6)


def ship_grasshopper(p, acc):
    # Long folded hind legs behind a small body: reads as a jumping insect even at 17 pixels.
    p.line([(0.22, 0.0), (0.9, -0.35), (0.55, -1.0)], DARK, 2.2)
    p.line([(-0.22, 0.0), (-0.9, -0.35), (-0.55, -1.0)], DARK, 2.2)
    p.line([(0.22, 0.0), (0.9, -0.35), (0.55, -1.0)], ORANGE, 1.2)
    p.line([(-0.22, 0.0), (-0.9, -0.35), (-0.55, -1.0)], ORANGE, 1.2)
    p.poly([(0, 1.0), (0.4, 0.2), (0.3, -0.6), (0, -0.8), (-0.3, -0.6), (-0.4, 0.2)], RED)
    p.ellipse(0.17, 0.45, 0.14, 0.16, acc, width=0.5)
    p.ellipse(-0.17, 0.45, 0.14, 0.16, acc, width=0.5)


def ship_spacedog(p, acc):
    p.glow(0, -0.78, 0.2, acc)
    p.mirror([(0, 1.0), (0.14, 0.75), (0.5, 0.3), (0.62, -0.2), (0.9, -0.85), (0.42, -0.55), (0.2, -0.8), (0, -0.72)], ORANGE)
    p.line([(0, 0.65), (0, 1.0)], DARK, 2.0)
    p.mirror([(0.12, 0.5), (0.35, 0.18), (0.4, -0.3), (0.12, -0.4)], RED, None)
    p.ellipse(0.2, 0.22, 0.1, 0.12, acc, None)
    p.ellipse(-0.2, 0.22, 0.1, 0.12, acc, None)


def ship_bull(p, acc):
    p.glow(0.35, -0.85, 0.16, acc)
    p.glow(-0.35, -0.85, 0.16, acc)
    # Horns sweep forward past the prow.
    p.mirror([(0.4, 0.55), (0.62, 0.36), (0.9, 0.5), (0.99, 0.78), (0.9, 1.0), (0.82, 0.74), (0.68, 0.6)], LIGHT)
    p.poly([(0.55, 0.6), (0.75, -0.2), (0.6, -0.85), (-0.6, -0.85), (-0.75, -0.2), (-0.55, 0.6), (0, 0.78)], RED, width=1.2)
    p.poly([(0.35, 0.45), (0.48, -0.2), (0.35, -0.65), (-0.35, -0.65), (-0.48, -0.2), (-0.35, 0.45), (0, 0.58)], ORANGE, None)
    p.line([(-0.42, 0.05), (0.42, 0.05)], acc, 1.6)
    p.ellipse(0, 0.32, 0.14, 0.1, acc, width=0.6)


def ship_catcher(p, acc):
    # Two armoured claws close in front of a plated body.
    p.mirror([(0.18, 0.3), (0.62, 0.55), (0.6, 1.0), (0.35, 0.85), (0.3, 0.55), (0.12, 0.48)], LIGHT, width=1.0)
    p.poly([(0, 0.55), (0.55, 0.3), (0.72, -0.3), (0.4, -0.85), (-0.4, -0.85), (-0.72, -0.3), (-0.55, 0.3)], RED, width=1.2)
    for y in (0.1, -0.3):
        p.line([(-0.58, y), (0.58, y)], DARK, 1.2)
    p.poly([(0, 0.35), (0.22, 0.05), (0, -0.6), (-0.22, 0.05)], ORANGE, None)
    p.ellipse(0, 0.05, 0.14, 0.14, acc, width=0.6)


def ship_hellraiser(p, acc):
    for x in (-0.3, 0.0, 0.3):
        p.glow(x, -0.9, 0.13, acc)
    p.mirror([(0.25, 0.2), (1.0, 0.05), (0.35, -0.15)], RED, width=0.9)
    p.mirror([(0.2, -0.3), (0.75, -0.85), (0.1, -0.6)], RED, width=0.9)
    p.poly([(0, 0.7), (0.4, 0.1), (0.3, -0.7), (-0.3, -0.7), (-0.4, 0.1)], ORANGE, width=1.1)
    for x in (-0.22, 0.0, 0.22):
        p.line([(x, 0.3), (x, 1.0 if x == 0 else 0.85)], DARK, 1.8)
    p.ellipse(0, -0.05, 0.16, 0.22, acc, width=0.6)


def ship_destroyer(p, acc):
    for x in (-0.3, 0.0, 0.3):
        p.glow(x, -0.92, 0.12, acc)
    p.mirror([(0.35, 0.4), (0.92, 0.15), (0.92, -0.45), (0.4, -0.6)], RED, width=1.0)
    p.poly([(0, 1.0), (0.32, 0.72), (0.45, -0.2), (0.38, -0.9), (-0.38, -0.9), (-0.45, -0.2), (-0.32, 0.72)], ORANGE, width=1.2)
    p.poly([(0, 0.78), (0.18, 0.5), (0.22, -0.6), (-0.22, -0.6), (-0.18, 0.5)], RED, None)
    for x, y in ((0.7, 0.0), (-0.7, 0.0), (0.0, 0.35), (0.0, -0.3)):
        p.ellipse(x, y, 0.11, 0.11, DARK, width=0.6)
        p.ellipse(x, y, 0.06, 0.06, acc, None)
    p.ellipse(0, 0.05, 0.09, 0.09, LIGHT, None)


SHIPS = {
    "scout": ship_scout, "rower": ship_rower, "grasshopper": ship_grasshopper,
    "spacedog": ship_spacedog, "bull": ship_bull, "catcher": ship_catcher,
    "hellraiser": ship_hellraiser, "destroyer": ship_destroyer,
}


def ship_image(cls, colour, size, flip=False):
    pen = Pen(size, flip)
    SHIPS[cls](pen, tuple(colour))
    return finish(pen.img, size, size)


def hit_image(ship):
    # The hit flash: the ship's own outline, white, fading at the rim.
    a = ship.getchannel("A")
    white = Image.new("RGBA", ship.size, WHITE + (0,))
    white.putalpha(a.point(lambda v: v * 230 // 255))
    return white


def badge_image(cls, colour):
    # Class badge (wave preview, info panel): a dark shield rimmed in the class colour with
    # the ship inside, nose up.
    size = 32
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    k = SS
    shield = [(3 * k, 3 * k), (29 * k, 3 * k), (29 * k, 17 * k), (16 * k, 30 * k), (3 * k, 17 * k)]
    d.polygon(shield, fill=(24, 10, 10, 235))
    d.line(shield + [shield[0]], fill=tuple(colour) + (255,), width=int(1.6 * k), joint="curve")
    img = finish(img, size, size)
    ship = ship_image(cls, colour, 20, flip=True)
    img.alpha_composite(ship, (6, 4))
    return img


def shot_image(core, rim, size=8):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size * SS / 2
    for r, colour, a in ((0.48, rim, 90), (0.36, rim, 200), (0.2, core, 255)):
        rr = r * size * SS
        d.ellipse([c - rr, c - rr, c + rr, c + rr], fill=colour + (a,))
    return finish(img.filter(ImageFilter.GaussianBlur(SS * 0.4)), size, size)


def station_core_image(size):
    pen = Pen(size)
    pts = [(math.cos(math.radians(60 * i + 30)) * 0.72, math.sin(math.radians(60 * i + 30)) * 0.72)
           for i in range(6)]
    pen.glow(0, 0, 0.5, CYAN)
    pen.poly(pts, (24, 60, 84), outline=PALE, width=1.4)
    inner = [(x * 0.6, y * 0.6) for x, y in pts]
    pen.poly(inner, (40, 110, 150), outline=CYAN, width=1.0)
    pen.ellipse(0, 0, 0.2, 0.2, WHITE, outline=CYAN, width=1.0)
    return finish(pen.img, size, size)


def station_ring_image(size):
    pen = Pen(size)
    # A habitat ring on spokes round a hub: solid enough to read as the disc that shots hit.
    pen.ellipse(0, 0, 0.9, 0.9, (18, 44, 64), outline=CYAN, width=2.0, alpha=150)
    pen.ellipse(0, 0, 0.74, 0.74, (8, 20, 34), outline=(40, 120, 160), width=1.2, alpha=200)
    for i in range(3):
        a = math.radians(120 * i)
        pen.line([(0, 0), (math.cos(a) * 0.74, math.sin(a) * 0.74)], (70, 170, 210), 1.6)
    pen.ellipse(0, 0, 0.18, 0.18, (40, 110, 150), outline=PALE, width=1.0)
    # Four docking arms with solar panels: the ring's turn is visible.
    for i in range(4):
        a = math.radians(90 * i + 45)
        ca, sa = math.cos(a), math.sin(a)

        def rot(x, y):
            return (x * ca - y * sa, x * sa + y * ca)
        pen.poly([rot(0.72, -0.06), rot(1.0, -0.06), rot(1.0, 0.06), rot(0.72, 0.06)], PALE, outline=None)
        pen.poly([rot(0.78, -0.2), rot(0.98, -0.2), rot(0.98, -0.08), rot(0.78, -0.08)], (40, 150, 200), outline=PALE, width=0.6)
        pen.poly([rot(0.78, 0.08), rot(0.98, 0.08), rot(0.98, 0.2), rot(0.78, 0.2)], (40, 150, 200), outline=PALE, width=0.6)
    return finish(pen.img, size, size)


# --- entity files ----------------------------------------------------------------------

def fmt(v):
    if isinstance(v, float):
        return ("%.4f" % v).rstrip("0").rstrip(".")
    return str(v)


def colour_text(rgb, alpha=255):
    return "Color(%d,%d,%d,%d)" % (rgb[0], rgb[1], rgb[2], alpha)


def write_entity(rel, comment, attrs):
    path = os.path.join(ENTITIES, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- %s Made by tools/gen_enemies.py from tools/balance/balance.toml. -->" % comment,
             "<Entity"]
    for k, v in attrs:
        lines.append('  %s="%s"' % (k, fmt(v)))
    lines[-1] += " />"
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def base_attrs(dynamic, body, prim, mass, fx, fy, texture, category, material, priority):
    # Attributes in the reader's order. Zones are static; the reader wants a body type all
    # the same, and "kinematic" is the one kept for static entities.
    out = [("descriptionName", "xPhysicsPrimitiveEntityDesc"), ("dynamic", dynamic),
           ("bodyType", body), ("primitiveType", prim), ("bodyMass", mass),
           ("shapeFeaturesX", fx), ("shapeFeaturesY", fy)]
    if texture:
        out.append(("texturePath", texture))
    out += [("collisionCategory", category), ("material", material), ("debugRender", 0),
            ("renderingPriority", priority)]
    return out


def img_path(*parts):
    return "/".join(parts)


def main():
    table = load_toml(BALANCE)
    bullets = table["bullet"]
    enemy_bullet = "content/config/Entities/bullets/%s.xml" % bullets["enemy"]["file"]

    for key, b in sorted(bullets.items()):
        tex = img_path("content/images/game/shots", b["file"] + ".png")
        core, rim = {"enemy": ((255, 230, 180), (255, 90, 20)), "raider": ((255, 200, 240), (230, 40, 120))}.get(
            key, (WHITE, CYAN))
        save(shot_image(core, rim), SHOT_IMAGES, b["file"] + ".png")
        attrs = base_attrs(1, "2DOF", "circle", b["mass"], float(b["radius"]), 0.0, tex,
                           b["category"], "shot", 250)
        attrs.append(("damage", b["damage"]))
        if key == "player":
            attrs.append(("sfx", "SFX_PLAYER_SHOOT"))
        write_entity("bullets/%s.xml" % b["file"], "A %s shot." % key, attrs)

    # Kill zones and exit zones take their place and size from the level file. A kill zone
    # is a circle, which the game never draws; the exit zone a box. Both swallow shots.
    write_entity("zones/killzone.xml", "Border zone that removes shots leaving the field.",
                 base_attrs(0, "kinematic", "circle", 0.0, 1.0, 0.0, None, "bulletkillzone",
                            "default", 100))
    write_entity("zones/exitzone.xml", "The area at the end of the enemy paths.",
                 base_attrs(0, "kinematic", "box", 0.0, 1.0, 1.0, None, "bulletkillzone",
                            "default", 100))

    labels = []
    for key, e in table["enemy"].items():
        cls = e["class"]
        size = int(math.ceil(e["radius"] * ART_SCALE / 2) * 2)
        ship = ship_image(cls, e["colour"], size)
        save(ship, SHIP_IMAGES, key + ".png")
        save(hit_image(ship), SHIP_IMAGES, key + "_hit.png")
        save(badge_image(cls, e["colour"]), GAME_IMAGES, cls + ".png")
        attrs = base_attrs(1, "3DOF", "circle", 100.0, float(e["radius"]), 0.0,
                           img_path("content/images/game/enemies", key + ".png"), "enemy", "hull", 200)
        attrs.append(("particleColor", colour_text(e["colour"])))
        if e["shot_ms"] > 0:
            attrs += [("templateBullet", enemy_bullet), ("shootingDelay", e["shot_ms"])]
        attrs += [("energy", e["energy"]),
                  ("texturePathHit", img_path("content/images/game/enemies", key + "_hit.png")),
                  ("behavior", 0), ("reward", e["reward"]), ("class", cls)]
        write_entity("enemies/%s.xml" % key, "Enemy class %s: %s." % (cls, e["trait"]), attrs)
        if e["shot_ms"] > 0:
            # The raider of the station-part missions: the same ship, but it fires only at
            # station parts it passes close by (behaviour 100).
            raider_bullet = "content/config/Entities/bullets/%s.xml" % bullets["raider"]["file"]
            raider = [(k, 100 if k == "behavior" else raider_bullet if k == "templateBullet" else v)
                      for k, v in attrs]
            write_entity("enemies/%s_raider.xml" % key, "Enemy class %s, raiding the station." % cls, raider)
        labels.append(("ENEMY_NAME_" + cls.upper(), e["name"]))
        labels.append(("DESC_" + cls.upper(), e["description"]))

    # Station parts are enemy-like entities of the player's station. Behaviour 5 keeps them
    # in place turning at the rate the level gives; without a bullet they never fire.
    parts = table["station_part"]
    for key, draw in (("core", station_core_image), ("ring", station_ring_image)):
        sp = parts[key]
        size = int(math.ceil(sp["radius"] * 2.3 / 2) * 2)
        img = draw(size)
        save(img, STATION_IMAGES, key + ".png")
        save(hit_image(img), STATION_IMAGES, key + "_hit.png")
        attrs = base_attrs(1, "3DOF", "circle", 5000.0, float(sp["radius"]), 0.0,
                           img_path("content/images/game/station", key + ".png"), "station_part",
                           "station", 150)
        attrs += [("particleColor", colour_text(CYAN)), ("energy", sp["energy"]),
                  ("texturePathHit", img_path("content/images/game/station", key + "_hit.png")),
                  ("behavior", 5), ("reward", 0), ("class", "noclass")]
        write_entity("station/%s.xml" % key, "Station module: %s." % key, attrs)

    write_label_block(BLOCK_START, BLOCK_END, labels)


BLOCK_START = "  <!-- enemy classes: tools/gen_enemies.py -->"
BLOCK_END = "  <!-- end of enemy classes -->"





if __name__ == "__main__":
    main()
