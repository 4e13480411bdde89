#!/usr/bin/python3
"""Writes the two particle kinds of a level: their entity files and their pictures.

magicdust  the level's own particle (hits, rings, explosions): a soft glow that swells
           over its first 256 ms while it fades.
primitive  a plain hard spark.

Both pictures are white so the colour a particle is given tints them. Drawn at 4x and
downsampled; the output is deterministic and committed.
Run from the repository root: /usr/bin/python3 tools/gen_particles.py
"""
import os

from PIL import ImageDraw, ImageFilter

from gen_ui_images import SS, canvas, finish, save

ENTITIES = os.path.join("content", "config", "Entities")
IMAGES = os.path.join("content", "images", "game", "particles")

# Light and small: a particle is pushed once and then drifts; the mass sets how far the
# push throws it: an explosion spreads about 40 px, a ring of strength 64 about 60 px.
MASS = 0.5
RADIUS = 2

KINDS = [
    # file, picture, type, startScale, endScale, what it is
    ("magicdust_particle.xml", "magicdust.png", 1, 1.0, 2.0,
     "The level's particle: a soft glow that swells to twice its size while it fades."),
    ("primitive_particle.xml", "spark.png", 0, 1.0, 1.0, "A plain spark."),
]


def glow(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size * SS / 2
    # Rings of rising opacity towards the middle, blurred into one soft disc.
    steps = 8
    for i in range(steps):
        r = c * 0.85 * (1 - i / steps)
        a = int(12 + 243 * (i / (steps - 1)) ** 2)
        d.ellipse([c - r, c - r, c + r, c + r], fill=(255, 255, 255, a))
    img = img.filter(ImageFilter.GaussianBlur(SS * 0.8))
    return finish(img, size, size)


def spark(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size * SS / 2
    r = c * 0.95
    d.polygon([(c, c - r), (c + r * 0.45, c), (c, c + r), (c - r * 0.45, c)], fill=(255, 255, 255, 255))
    d.polygon([(c - r, c), (c, c - r * 0.45), (c + r, c), (c, c + r * 0.45)], fill=(255, 255, 255, 255))
    return finish(img, size, size)


def write_entity(name, picture, kind, start, end, comment):
    attrs = [("descriptionName", "xPhysicsPrimitiveEntityDesc"), ("dynamic", 1), ("bodyType", "3DOF"),
             ("primitiveType", "circle"), ("bodyMass", MASS), ("shapeFeaturesX", RADIUS), ("shapeFeaturesY", 0),
             ("texturePath", "content/images/game/particles/" + picture), ("collisionCategory", "particle"),
             ("material", "shot"), ("debugRender", 0), ("renderingPriority", 400),
             ("type", kind), ("startScale", start), ("endScale", end)]
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- %s Made by tools/gen_particles.py. -->" % comment, "<Entity"]
    lines += ['  %s="%s"' % (k, v) for k, v in attrs]
    lines[-1] += " />"
    with open(os.path.join(ENTITIES, name), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def main():
    save(glow(12), IMAGES, "magicdust.png")
    save(spark(6), IMAGES, "spark.png")
    for kind in KINDS:
        write_entity(*kind)


if __name__ == "__main__":
    main()
