#!/usr/bin/python3
"""Draws the shared textures of the game's resource lists (menus, mission
control, level and intro), apart from the enemy class icons, which come with
the level content.

Every shape is drawn at 4x and downsampled. Deterministic; the PNGs are
committed. Run from the repository root: /usr/bin/python3 tools/gen_game_images.py
"""
import math
import os

from PIL import Image, ImageDraw, ImageFilter, ImageFont

from gen_ui_images import CYAN, PALE, PANEL, SS, background, canvas, finish, rounded_panel, s

FONT_FILE = "/usr/share/fonts/truetype/noto/NotoSans-Bold.ttf"
ORANGE = (255, 150, 40)
RED = (235, 60, 50)
WHITE = (255, 255, 255)
GREEN = (90, 230, 140)


def out(path, img):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, optimize=True)


def font(px):
    return ImageFont.truetype(FONT_FILE, int(px * SS))


def text_centre(d, w, h, text, px, fill, dy=0):
    f = font(px)
    box = d.textbbox((0, 0), text, font=f)
    tw, th = box[2] - box[0], box[3] - box[1]
    d.text(((s(w) - tw) / 2 - box[0], (s(h) - th) / 2 - box[1] + s(dy)), text, font=f, fill=fill)


def glow(size, colour, strength=1.0):
    """A soft round light fading to nothing at the rim."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    for i in range(24, 0, -1):
        r = size * 0.48 * i / 24
        a = int(255 * strength * (1 - i / 24) ** 1.6)
        d.ellipse([s(c - r), s(c - r), s(c + r), s(c + r)], fill=colour + (a,))
    return finish(img.filter(ImageFilter.GaussianBlur(SS * 2)), size, size)


def labelled_panel(w, h, text, px, border, fill_alpha=215, colour=WHITE):
    img = canvas(w, h)
    panel = rounded_panel(w, h, min(12, h / 4), PANEL + (fill_alpha,), border, 2.0, glow=2)
    img = panel.resize((s(w), s(h)), Image.LANCZOS)
    d = ImageDraw.Draw(img)
    if text:
        text_centre(d, w, h, text, px, colour + (255,))
    return finish(img, w, h)


def chevrons(w, h, count, on):
    """Difficulty buttons: one to three chevrons, lit or dimmed."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    border = CYAN if on else (70, 110, 130)
    d.rounded_rectangle([s(2), s(2), s(w - 2) - 1, s(h - 2) - 1], radius=s(10),
                        fill=(PANEL + (230,)) if on else (8, 14, 24, 180), outline=border + (255,), width=s(2))
    colour = (PALE if on else (90, 120, 140)) + (255,)
    step = 16
    x0 = w / 2 - (count - 1) * step / 2
    for i in range(count):
        x = x0 + i * step
        d.line([(s(x - 6), s(h * 0.28)), (s(x + 4), s(h * 0.5)), (s(x - 6), s(h * 0.72))], fill=colour,
               width=s(4), joint="curve")
    return finish(img, w, h)


def ship(w, h, part):
    """The player's ship seen from above, nose to the right, in parts that the
    main menu animates separately."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    cy = h / 2
    hull = [(w * 0.95, cy), (w * 0.62, cy - h * 0.16), (w * 0.28, cy - h * 0.42), (w * 0.12, cy - h * 0.40),
            (w * 0.2, cy - h * 0.12), (w * 0.05, cy), (w * 0.2, cy + h * 0.12), (w * 0.12, cy + h * 0.40),
            (w * 0.28, cy + h * 0.42), (w * 0.62, cy + h * 0.16)]
    pts = [(s(x), s(y)) for x, y in hull]
    if part == "hull":
        d.polygon(pts, fill=(200, 225, 240, 255), outline=CYAN + (255,))
        d.line(pts + [pts[0]], fill=CYAN + (255,), width=s(2))
        d.polygon([(s(w * 0.72), s(cy)), (s(w * 0.55), s(cy - h * 0.07)), (s(w * 0.55), s(cy + h * 0.07))],
                  fill=(40, 130, 190, 255))
        d.line([(s(w * 0.3), s(cy)), (s(w * 0.52), s(cy))], fill=(120, 160, 190, 255), width=s(2))
    elif part == "glow":
        img = glow(max(w, h), CYAN, 0.7).resize((w, h), Image.LANCZOS)
        return img
    elif part == "gun":
        d.rounded_rectangle([s(w * 0.1), s(h * 0.38), s(w * 0.9), s(h * 0.62)], radius=s(h * 0.1),
                            fill=(170, 200, 220, 255), outline=CYAN + (255,), width=s(1.5))
        d.ellipse([s(w * 0.02), s(h * 0.25), s(w * 0.32), s(h * 0.75)], fill=(90, 140, 170, 255))
        return finish(img, w, h)
    return finish(img, w, h)


def engine_glow(w, h):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    for i in range(18, 0, -1):
        f = i / 18
        a = int(230 * (1 - f) ** 1.3)
        d.ellipse([s(w * (1 - f)), s(h / 2 - h * 0.45 * f), s(w), s(h / 2 + h * 0.45 * f)],
                  fill=(120, 220, 255, a))
    return finish(img.filter(ImageFilter.GaussianBlur(SS)), w, h)


def raster(w, h, phase):
    """Scan lines laid over a paused level; the two images alternate."""
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for y in range(phase, h, 4):
        d.line([(0, y), (w, y)], fill=(0, 20, 40, 110))
        d.line([(0, y + 1), (w, y + 1)], fill=(0, 40, 70, 60))
    return img


def coin(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.ellipse([s(2), s(2), s(size - 2) - 1, s(size - 2) - 1], fill=(30, 90, 130, 255), outline=PALE + (255,),
              width=s(2))
    text_centre(d, size, size, "C", size * 0.55, PALE + (255,))
    return finish(img, size, size)


def crosshair(size, colour):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    d.ellipse([s(c - size * 0.32), s(c - size * 0.32), s(c + size * 0.32), s(c + size * 0.32)],
              outline=colour + (255,), width=s(2))
    for a in range(4):
        ang = a * math.pi / 2
        x0, y0 = c + math.cos(ang) * size * 0.18, c + math.sin(ang) * size * 0.18
        x1, y1 = c + math.cos(ang) * size * 0.46, c + math.sin(ang) * size * 0.46
        d.line([(s(x0), s(y0)), (s(x1), s(y1))], fill=colour + (255,), width=s(2))
    return finish(img, size, size)


def bar(w, h, colour):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([s(1), s(1), s(w - 1) - 1, s(h - 1) - 1], radius=s(h / 3), fill=(10, 14, 22, 200),
                        outline=colour + (255,), width=s(1.5))
    d.rounded_rectangle([s(4), s(4), s(w - 4) - 1, s(h - 4) - 1], radius=s(h / 4), fill=colour + (200,))
    return finish(img, w, h)


def gate(size):
    """The station's gate that enemies make for: a ring of segments round a bright core."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    for k in range(12):
        a0 = k * 30 + 4
        d.arc([s(size * 0.08), s(size * 0.08), s(size * 0.92), s(size * 0.92)], a0, a0 + 22,
              fill=CYAN + (255,), width=s(size * 0.05))
    d.ellipse([s(c - size * 0.3), s(c - size * 0.3), s(c + size * 0.3), s(c + size * 0.3)],
              outline=PALE + (200,), width=s(2))
    core = glow(size, (150, 230, 255), 0.9).resize((s(size), s(size)))
    img = Image.alpha_composite(img, core)
    return finish(img, size, size)


def tower_button(size, hover):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([s(2), s(2), s(size - 2) - 1, s(size - 2) - 1], radius=s(8),
                        fill=(40, 120, 170, 120) if hover else PANEL + (210,),
                        outline=(PALE if hover else CYAN) + (255,), width=s(2 if hover else 1.5))
    return finish(img, size, size)


def ring_marker(size, colour, width=2.5, dashed=False):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    box = [s(3), s(3), s(size - 3) - 1, s(size - 3) - 1]
    if dashed:
        for a in range(0, 360, 30):
            d.arc(box, a, a + 18, fill=colour + (255,), width=s(width))
    else:
        d.ellipse(box, outline=colour + (255,), width=s(width))
    return finish(img, size, size)


def grid(w, h, cell):
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for x in range(0, w + 1, cell):
        d.line([(x, 0), (x, h)], fill=CYAN + (40,))
    for y in range(0, h + 1, cell):
        d.line([(0, y), (w, y)], fill=CYAN + (40,))
    return img


def cant_place(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.rectangle([s(1), s(1), s(size - 1) - 1, s(size - 1) - 1], fill=RED + (70,), outline=RED + (220,), width=s(2))
    d.line([(s(8), s(8)), (s(size - 8), s(size - 8))], fill=RED + (230,), width=s(3))
    d.line([(s(size - 8), s(8)), (s(8), s(size - 8))], fill=RED + (230,), width=s(3))
    return finish(img, size, size)


def arrow(w, h, colour):
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.polygon([(s(w * 0.1), s(h * 0.35)), (s(w * 0.55), s(h * 0.35)), (s(w * 0.55), s(h * 0.1)), (s(w * 0.95), s(h / 2)),
               (s(w * 0.55), s(h * 0.9)), (s(w * 0.55), s(h * 0.65)), (s(w * 0.1), s(h * 0.65))],
              fill=colour + (230,))
    return finish(img, w, h)


def upgrade_icon(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    d.polygon([(s(c), s(size * 0.12)), (s(size * 0.85), s(size * 0.55)), (s(size * 0.62), s(size * 0.55)),
               (s(size * 0.62), s(size * 0.88)), (s(size * 0.38), s(size * 0.88)), (s(size * 0.38), s(size * 0.55)),
               (s(size * 0.15), s(size * 0.55))], fill=GREEN + (240,), outline=WHITE + (255,))
    return finish(img, size, size)


def pip(size, colour):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([s(1), s(1), s(size - 1) - 1, s(size - 1) - 1], radius=s(size / 4), fill=colour + (255,),
                        outline=WHITE + (200,), width=s(1))
    return finish(img, size, size)


def boost(size, colour, glyph):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.ellipse([s(2), s(2), s(size - 2) - 1, s(size - 2) - 1], fill=(10, 20, 34, 220), outline=colour + (255,),
              width=s(2))
    text_centre(d, size, size, glyph, size * 0.5, colour + (255,))
    return finish(img, size, size)


def result_icon(size, won):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    colour = GREEN if won else RED
    d.ellipse([s(3), s(3), s(size - 3) - 1, s(size - 3) - 1], fill=(10, 20, 30, 220), outline=colour + (255,),
              width=s(3))
    if won:
        d.line([(s(size * 0.28), s(size * 0.52)), (s(size * 0.44), s(size * 0.68)), (s(size * 0.74), s(size * 0.32))],
               fill=colour + (255,), width=s(5), joint="curve")
    else:
        d.line([(s(size * 0.3), s(size * 0.3)), (s(size * 0.7), s(size * 0.7))], fill=colour + (255,), width=s(5))
        d.line([(s(size * 0.7), s(size * 0.3)), (s(size * 0.3), s(size * 0.7))], fill=colour + (255,), width=s(5))
    return finish(img, size, size)


def hud(w, h):
    """The intro's heads-up frame: corner brackets and a thin rule."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    m, L = 24, 90
    for (x, y, dx, dy) in ((m, m, 1, 1), (w - m, m, -1, 1), (m, h - m, 1, -1), (w - m, h - m, -1, -1)):
        d.line([(s(x), s(y + dy * L)), (s(x), s(y)), (s(x + dx * L), s(y))], fill=CYAN + (220,), width=s(2))
    d.line([(s(w * 0.3), s(h - 60)), (s(w * 0.7), s(h - 60))], fill=CYAN + (120,), width=s(1))
    return finish(img, w, h)


def emblem(size):
    """The makers' small badge shown in the menus."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    d.ellipse([s(3), s(3), s(size - 3) - 1, s(size - 3) - 1], fill=PANEL + (230,), outline=CYAN + (255,), width=s(2))
    pts = []
    for k in range(10):
        r = size * (0.32 if k % 2 == 0 else 0.14)
        a = -math.pi / 2 + k * math.pi / 5
        pts.append((s(c + math.cos(a) * r), s(c + math.sin(a) * r)))
    d.polygon(pts, fill=PALE + (255,))
    return finish(img, size, size)


def main():
    g = os.path.join("content", "images")
    menus, mission, game = os.path.join(g, "menus"), os.path.join(g, "mission"), os.path.join(g, "game")
    # Global list.
    out(os.path.join(menus, "BtnBtn_N.png"), rounded_panel(256, 56, 12, PANEL + (205,), CYAN, 1.5))
    out(os.path.join(menus, "BtnBtn_O.png"), rounded_panel(256, 56, 12, (40, 150, 200, 90), PALE, 2.0, glow=3))
    out(os.path.join(menus, "cwlic-96-1.png"), emblem(96))
    out(os.path.join(menus, "main", "BG.png"), background(1366, 768))
    out(os.path.join(menus, "pause", "raster_even.png"), raster(64, 64, 0))
    out(os.path.join(menus, "pause", "raster_odd.png"), raster(64, 64, 2))
    out(os.path.join(mission, "icons", "icon_credits.png"), coin(32))
    out(os.path.join(mission, "powersafe.png"), glow(128, CYAN))
    out(os.path.join(mission, "ship.png"), ship(256, 128, "hull"))
    out(os.path.join(mission, "ship_glow.png"), ship(256, 128, "glow"))
    out(os.path.join(mission, "ship_gun.png"), ship(96, 32, "gun"))
    out(os.path.join(mission, "left_engine_glow.png"), engine_glow(96, 48))
    out(os.path.join(mission, "PostLevelDialog.png"), rounded_panel(800, 560, 18, (8, 18, 34, 230), CYAN, 2.0, glow=4))
    for name, count in (("Easy", 1), ("Normal", 2), ("Hard", 3)):
        out(os.path.join(game, "Difficulty_%s_ON.png" % name), chevrons(96, 48, count, True))
        out(os.path.join(game, "Difficulty_%s_OFF.png" % name), chevrons(96, 48, count, False))
    # Level list (showsong.png comes with the logos).
    out(os.path.join(mission, "BG.png"), background(1366, 768))
    out(os.path.join(mission, "mission_failed.png"), labelled_panel(512, 112, "MISSION FAILED", 44, RED, colour=RED))
    out(os.path.join(mission, "crosshair-2.png"), crosshair(64, ORANGE))
    out(os.path.join(mission, "health_unit.png"), pip(12, GREEN))
    out(os.path.join(mission, "boss-powerbar.png"), bar(256, 24, ORANGE))
    out(os.path.join(mission, "portastellarum.png"), gate(192))
    out(os.path.join(mission, "restore_raster.png"), raster(64, 768, 1))
    out(os.path.join(game, "Btntower_N.png"), tower_button(64, False))
    out(os.path.join(game, "Btntower_O.png"), tower_button(64, True))
    out(os.path.join(game, "towerselected.png"), ring_marker(64, PALE, dashed=True))
    out(os.path.join(game, "grid.png"), grid(1024, 768, 32))
    out(os.path.join(game, "aimer.png"), crosshair(48, CYAN))
    out(os.path.join(game, "fg-test.png"), raster(64, 64, 1))
    out(os.path.join(game, "cantplace.png"), cant_place(32))
    out(os.path.join(game, "towerbtnover.png"), ring_marker(64, CYAN, width=3))
    out(os.path.join(game, "UpgradeIcon.png"), upgrade_icon(32))
    out(os.path.join(game, "newwavebg.png"), labelled_panel(480, 96, "", 0, CYAN))
    out(os.path.join(game, "towerupgradeunit.png"), pip(8, GREEN))
    out(os.path.join(game, "patharrow.png"), arrow(24, 16, ORANGE))
    out(os.path.join(game, "progress_arrow.png"), arrow(32, 24, CYAN))
    out(os.path.join(game, "wave_direction.png"), arrow(48, 32, RED))
    out(os.path.join(game, "boost_bank.png"), boost(32, (250, 210, 80), "$"))
    out(os.path.join(game, "boost_range.png"), boost(32, CYAN, "R"))
    out(os.path.join(game, "boost_power.png"), boost(32, ORANGE, "P"))
    out(os.path.join(game, "defeat_icon.png"), result_icon(64, False))
    out(os.path.join(game, "victory_icon.png"), result_icon(64, True))
    # The towers' roll images are drawn with the towers, by tools/gen_towers.py.
    # Intro list.
    out(os.path.join(g, "intro", "intro-hud.png"), hud(1366, 768))


if __name__ == "__main__":
    main()
