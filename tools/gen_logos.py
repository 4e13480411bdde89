#!/usr/bin/python3
"""Draws the start-up logos (a still image and the pieces of an animated one)
and the banner the music announcement slides in.

Shapes are drawn at 4x and downsampled so edges are smooth; the wordmark uses
Noto Sans Bold from the fonts-noto-core package. Output is deterministic and
committed. Run from the repository root: /usr/bin/python3 tools/gen_logos.py
"""
import math
import os
import random

from PIL import Image, ImageDraw, ImageFilter, ImageFont

SS = 4
OUT = os.path.join("content", "images", "logos")
ANIM = os.path.join(OUT, "anim")
FONT = "/usr/share/fonts/truetype/noto/NotoSans-Bold.ttf"

CYAN = (80, 220, 255)
PALE = (190, 240, 255)
WHITE = (255, 255, 255)

DESIGN_W, DESIGN_H = 1366, 768


def canvas(w, h):
    return Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))


def finish(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def save(img, folder, name):
    os.makedirs(folder, exist_ok=True)
    img.save(os.path.join(folder, name), optimize=True)


def glow(img, radius):
    halo = img.filter(ImageFilter.GaussianBlur(radius))
    return Image.alpha_composite(halo, img)


def ring(size, width, color):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    inset = (width / 2 + 6) * SS
    d.ellipse([inset, inset, size * SS - inset, size * SS - inset], outline=color + (255,),
              width=int(width * SS))
    # Four docking notches so the turning ring reads as turning.
    cx = cy = size * SS / 2
    r = size * SS / 2 - inset
    for k in range(4):
        a = math.radians(45 + 90 * k)
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        n = 7 * SS
        d.ellipse([x - n, y - n, x + n, y + n], fill=PALE + (255,))
    return finish(glow(img, 5 * SS), size, size)


def star(size, color):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size * SS / 2
    outer, inner = size * SS * 0.46, size * SS * 0.09
    points = []
    for k in range(8):
        r = outer if k % 2 == 0 else inner
        a = math.radians(-90 + 45 * k)
        points.append((c + r * math.cos(a), c + r * math.sin(a)))
    d.polygon(points, fill=color + (255,))
    d.ellipse([c - inner * 1.6, c - inner * 1.6, c + inner * 1.6, c + inner * 1.6], fill=WHITE + (255,))
    return finish(glow(img, 4 * SS), size, size)


def wordmark(w, h, text, size_px, color):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    font = ImageFont.truetype(FONT, size_px * SS)
    # Letter-spaced, centred.
    spacing = size_px * SS * 0.18
    widths = [d.textlength(ch, font=font) for ch in text]
    total = sum(widths) + spacing * (len(text) - 1)
    x = (w * SS - total) / 2
    top = (h * SS - size_px * SS * 1.2) / 2
    for ch, cw in zip(text, widths):
        d.text((x, top), ch, font=font, fill=color + (255,))
        x += cw + spacing
    return finish(glow(img, 3 * SS), w, h)


def still_logo():
    w, h = 640, 300
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    rng = random.Random(7)
    dots = canvas(w, h)
    d = ImageDraw.Draw(dots)
    for _ in range(90):
        x, y = rng.uniform(0, w * SS), rng.uniform(0, h * SS)
        r = rng.uniform(0.6, 1.8) * SS
        a = rng.randint(60, 200)
        d.ellipse([x - r, y - r, x + r, y + r], fill=(200, 230, 255, a))
    img = Image.alpha_composite(img, finish(dots, w, h))
    emblem = ring(150, 5, CYAN)
    img.alpha_composite(emblem, (int((w - 150) / 2), 10))
    core = star(80, PALE)
    img.alpha_composite(core, (int((w - 80) / 2), 45))
    title = wordmark(w, 90, "STARMOOR", 58, WHITE)
    img.alpha_composite(title, (0, 165))
    sub = wordmark(w, 40, "HOLD THE STATION", 20, PALE)
    img.alpha_composite(sub, (0, 245))
    return img, w, h


def key(t, x, y, scale, angle, alpha):
    return ('    <KeyFrame TimeStamp="%d" TypeInterpolator="0" Type="0" x="%d" y="%d" z="0" '
            'ScaleX="%d" ScaleY="%d" Angle="%d" Red="255" Green="255" Blue="255" Alpha="%d"/>\n'
            % (t, x, y, scale, scale, angle, alpha))


def animation_xml():
    cx, cy = DESIGN_W // 2, DESIGN_H // 2 - 60
    ring_xy = (cx - 128, cy - 128)
    star_xy = (cx - 64, cy - 64)
    word_xy = ((DESIGN_W - 640) // 2, cy + 150)
    out = ['<?xml version="1.0" encoding="UTF-8"?>\n',
           '<Scene name="starmoor_intro" loop="0" loopCount="-1" length="3000">\n',
           '  <Screen Width="%d" Height="%d"/>\n' % (DESIGN_W, DESIGN_H)]
    out.append('  <Object file="ring.png" type="0">\n')
    out.append(key(0, *ring_xy, 20, 0, 0))
    out.append(key(900, *ring_xy, 100, 180, 255))
    out.append(key(2400, *ring_xy, 100, 360, 255))
    out.append(key(3000, *ring_xy, 100, 420, 0))
    out.append('  </Object>\n')
    out.append('  <Object file="star.png" type="0">\n')
    out.append(key(0, *star_xy, 0, 0, 0))
    out.append(key(600, *star_xy, 0, 0, 0))
    out.append(key(1200, *star_xy, 100, 0, 255))
    out.append(key(2400, *star_xy, 100, 0, 255))
    out.append(key(3000, *star_xy, 100, 0, 0))
    out.append('  </Object>\n')
    out.append('  <Object file="wordmark.png" type="0">\n')
    out.append(key(0, *word_xy, 100, 0, 0))
    out.append(key(1100, *word_xy, 100, 0, 0))
    out.append(key(1700, *word_xy, 100, 0, 255))
    out.append(key(2400, *word_xy, 100, 0, 255))
    out.append(key(3000, *word_xy, 100, 0, 0))
    out.append('  </Object>\n')
    out.append('</Scene>\n')
    return "".join(out)


def still_xml(w, h):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<StaticImageClip folder="content/images/logos/" fileName="starmoor_logo.png">\n'
            '  <Position x="%d" y="%d"/>\n'
            '  <Duration fadeIn="0.5" displayTime="1.5" fadeOut="0.5"/>\n'
            '</StaticImageClip>\n' % ((DESIGN_W - w) // 2, (DESIGN_H - h) // 2))


def music_banner():
    # A dark, semi-transparent strip with a thin cyan rim, open on the left so
    # it reads as sliding in from the screen's edge.
    w, h = 256, 128
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([-s(20), s(4), s(w - 6), s(56)], radius=s(14), fill=(10, 22, 40, 200),
                        outline=CYAN + (255,), width=s(2))
    # A small equaliser mark at the right end.
    for k, bar in enumerate((14, 26, 18, 32, 22)):
        x = w - 52 + k * 7
        d.rectangle([s(x), s(48 - bar), s(x + 4), s(48)], fill=PALE + (230,))
    return finish(img, w, h)


def s(v):
    return int(round(v * SS))


def main():
    save(music_banner(), os.path.join("content", "images", "mission"), "showsong.png")
    img, w, h = still_logo()
    save(img, OUT, "starmoor_logo.png")
    with open(os.path.join(OUT, "StarmoorLogo.xml"), "w") as f:
        f.write(still_xml(w, h))
    save(ring(256, 6, CYAN), ANIM, "ring.png")
    save(star(128, PALE), ANIM, "star.png")
    save(wordmark(640, 110, "STARMOOR", 64, WHITE), ANIM, "wordmark.png")
    with open(os.path.join(ANIM, "StarmoorIntro.xml"), "w") as f:
        f.write(animation_xml())


if __name__ == "__main__":
    main()
