#!/usr/bin/python3
"""Draws the demonstration screen's interface images.

Shapes are drawn at 4x and downsampled so edges come out smooth. Output is
deterministic (fixed seeds), and the PNGs are committed so the game runs without
this tool. Run from the repository root: /usr/bin/python3 tools/gen_ui_images.py
"""
import os
import random

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

SS = 4  # supersampling factor
OUT = os.path.join("content", "images", "menus", "demo")
ANIM = os.path.join(OUT, "anim")

CYAN = (80, 220, 255)
PALE = (190, 240, 255)
PANEL = (10, 22, 40)


def canvas(w, h):
    return Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))


def finish(img, w, h):
    return img.resize((w, h), Image.LANCZOS)


def save(img, folder, name):
    os.makedirs(folder, exist_ok=True)
    img.save(os.path.join(folder, name), optimize=True)


def s(v):
    return int(round(v * SS))


def rounded_panel(w, h, radius, fill, border, border_w, glow=0):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    inset = border_w / 2 + glow
    box = [s(inset), s(inset), s(w - inset) - 1, s(h - inset) - 1]
    if glow:
        halo = canvas(w, h)
        hd = ImageDraw.Draw(halo)
        hd.rounded_rectangle(box, radius=s(radius), outline=border + (160,), width=s(border_w * 3))
        halo = halo.filter(ImageFilter.GaussianBlur(s(glow) * 0.6))
        img = Image.alpha_composite(img, halo)
        d = ImageDraw.Draw(img)
    d.rounded_rectangle(box, radius=s(radius), fill=fill, outline=border + (255,), width=s(border_w))
    return finish(img, w, h)


def button(w, h, hover):
    if hover:
        # The hover layer fades in over the normal one: a brighter rim and a soft inner light.
        img = rounded_panel(w, h, 12, (40, 150, 200, 90), PALE, 2.0, glow=3)
    else:
        img = rounded_panel(w, h, 12, PANEL + (205,), CYAN, 1.5, glow=0)
    return img


def checkbox(size, checked):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    if not checked:
        d.rounded_rectangle([s(3), s(3), s(size - 3) - 1, s(size - 3) - 1], radius=s(6),
                            fill=PANEL + (210,), outline=CYAN + (255,), width=s(1.5))
    else:
        # Drawn centred over the normal image: only the tick.
        pts = [(s(size * 0.26), s(size * 0.52)), (s(size * 0.44), s(size * 0.70)),
               (s(size * 0.76), s(size * 0.30))]
        d.line(pts, fill=PALE + (255,), width=s(3.5), joint="curve")
    return finish(img, size, size)


def radio(size, on):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    if not on:
        d.ellipse([s(3), s(3), s(size - 3) - 1, s(size - 3) - 1], fill=PANEL + (210,),
                  outline=CYAN + (255,), width=s(1.5))
    else:
        r = size * 0.22
        c = size / 2
        d.ellipse([s(c - r), s(c - r), s(c + r), s(c + r)], fill=PALE + (255,))
    return finish(img, size, size)


def slider_track(w, h):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([s(2), s(h * 0.3), s(w - 2) - 1, s(h * 0.7)], radius=s(h * 0.2),
                        fill=PANEL + (220,), outline=CYAN + (200,), width=s(1.2))
    return finish(img, w, h)


def slider_fill(w, h):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([s(3), s(h * 0.33), s(w - 3) - 1, s(h * 0.67)], radius=s(h * 0.17),
                        fill=(60, 200, 250, 230))
    return finish(img, w, h)


def slider_thumb(w, h):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.ellipse([s(2), s(2), s(w - 2) - 1, s(h - 2) - 1], fill=(20, 60, 90, 255),
              outline=PALE + (255,), width=s(2))
    d.ellipse([s(w * 0.36), s(h * 0.36), s(w * 0.64), s(h * 0.64)], fill=CYAN + (255,))
    return finish(img, w, h)


def ring(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.ellipse([s(4), s(4), s(size - 4) - 1, s(size - 4) - 1], outline=CYAN + (230,), width=s(3))
    # A gap and two ticks make the rotation visible.
    d.arc([s(14), s(14), s(size - 14) - 1, s(size - 14) - 1], 20, 160, fill=PALE + (255,),
          width=s(4))
    d.arc([s(14), s(14), s(size - 14) - 1, s(size - 14) - 1], 200, 340, fill=PALE + (160,),
          width=s(2))
    return finish(img, size, size)


def core(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    for i, a in enumerate((40, 80, 140, 255)):
        r = size * (0.45 - i * 0.09)
        d.ellipse([s(c - r), s(c - r), s(c + r), s(c + r)], fill=(120, 230, 255, a))
    return finish(img.filter(ImageFilter.GaussianBlur(SS * 1.5)), size, size)


def background(w, h):
    rng = np.random.default_rng(1701)
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    base = np.zeros((h, w, 3), np.float32)
    base[..., 0] = 4 + 6 * (yy / h)
    base[..., 1] = 8 + 10 * (yy / h)
    base[..., 2] = 20 + 22 * (yy / h)
    # Two faint nebulae.
    for cx, cy, rad, col in ((0.72, 0.3, 0.35, (10, 26, 48)), (0.2, 0.75, 0.3, (16, 12, 36))):
        dist = ((xx / w - cx) ** 2 + ((yy / h - cy) * h / w) ** 2) / (rad * rad)
        fall = np.exp(-dist * 2.5)
        for k in range(3):
            base[..., k] += col[k] * fall
    # Stars: mostly tiny, a few bright ones with a soft halo.
    stars = np.zeros((h, w), np.float32)
    n = 900
    xs = rng.integers(0, w, n)
    ys = rng.integers(0, h, n)
    br = rng.random(n) ** 3 * 225 + 60
    stars[ys, xs] = np.maximum(stars[ys, xs], br)
    halo = Image.fromarray(np.clip(stars, 0, 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(1.2))
    halo = np.asarray(halo, np.float32) * 2.0
    for k, tint in enumerate((0.85, 0.95, 1.0)):
        base[..., k] += (stars * 0.8 + halo) * tint
    rgb = np.clip(base, 0, 255).astype(np.uint8)
    # A small palette keeps the file small; the gradient is dark enough not to band visibly.
    return Image.fromarray(rgb, "RGB").quantize(colors=128, method=Image.MEDIANCUT, dither=Image.FLOYDSTEINBERG)


def dialog_panel(w, h):
    img = rounded_panel(w, h, 16, (8, 18, 34, 225), CYAN, 2.0, glow=4)
    d = ImageDraw.Draw(img)
    # A thin title rule under the heading area.
    d.line([(24, 64), (w - 24, 64)], fill=CYAN + (120,), width=1)
    return img


def main():
    random.seed(7)
    save(background(1366, 768), OUT, "background.png")
    save(button(240, 56, False), OUT, "button_normal.png")
    save(button(240, 56, True), OUT, "button_over.png")
    save(checkbox(40, False), OUT, "checkbox_normal.png")
    save(checkbox(40, True), OUT, "checkbox_checked.png")
    save(radio(32, False), OUT, "radio_normal.png")
    save(radio(32, True), OUT, "radio_checked.png")
    save(slider_track(320, 28), OUT, "slider_track.png")
    save(slider_fill(320, 28), OUT, "slider_fill.png")
    save(slider_thumb(28, 28), OUT, "slider_thumb.png")
    save(dialog_panel(520, 300), ANIM, "dialog_panel.png")
    save(ring(96), ANIM, "ring.png")
    save(core(96), ANIM, "core.png")


if __name__ == "__main__":
    main()
