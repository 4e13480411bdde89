#!/usr/bin/python3
"""Draws the title, pause, help and post-level screens: their layouts, their
animations, the images only they use, and their block of labels.

Shapes are drawn at 4x and downsampled. Deterministic; the outputs are
committed. Run from the repository root: /usr/bin/python3 tools/gen_menus.py
"""
import math
import os

from PIL import Image, ImageDraw, ImageFilter

from gen_game_images import font, text_centre
from gen_ui_images import CYAN, PALE, PANEL, canvas, finish, rounded_panel, s, save
from label_block import write_label_block

MENUS = os.path.join("content", "images", "menus")
MAIN = os.path.join(MENUS, "main")
PAUSE = os.path.join(MENUS, "pause")
HELP = os.path.join(MENUS, "help")
POST = os.path.join(MENUS, "postlevel")

BUTTON_FONT = "FONT_NOTOSANS24"
CAPTION = "Color(200, 240, 255, 255)"
CAPTION_OVER = "Color(255, 255, 255, 255)"
TEXT = "Color(190, 235, 250, 255)"
KEY_TEXT = "Color(120, 225, 255, 255)"
WHITE = (255, 255, 255)


# --- images -------------------------------------------------------------------

def wordmark(w, h):
    """The game's name in pale cyan over a faint glow line."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    halo = canvas(w, h)
    hd = ImageDraw.Draw(halo)
    hd.line([s(40), s(h * 0.78), s(w - 40), s(h * 0.78)], fill=CYAN + (200,), width=s(3))
    text_centre(hd, w, h, "STARMOOR", 58, CYAN + (170,), dy=-6)
    halo = halo.filter(ImageFilter.GaussianBlur(s(5)))
    img = Image.alpha_composite(img, halo)
    d = ImageDraw.Draw(img)
    d.line([s(80), s(h * 0.78), s(w - 80), s(h * 0.78)], fill=PALE + (255,), width=s(1.2))
    text_centre(d, w, h, "STARMOOR", 58, PALE + (255,), dy=-6)
    return finish(img, w, h)


def store_button(w, h, hover):
    """A small amber-rimmed button under the bundle message."""
    rim = (255, 215, 90) if hover else (230, 180, 60)
    fill = (60, 45, 10, 150) if hover else PANEL + (205,)
    return rounded_panel(w, h, 10, fill, rim, 1.5, glow=2 if hover else 0)


def ring(size, gaps, width):
    """A cyan ring broken into arcs; turned by the animations."""
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c, r = size / 2, size / 2 - 3
    box = [s(c - r), s(c - r), s(c + r), s(c + r)]
    step = 360 / gaps
    for i in range(gaps):
        d.arc(box, i * step + 8, (i + 1) * step - 8, fill=CYAN + (230,), width=s(width))
    r2 = r * 0.72
    d.ellipse([s(c - r2), s(c - r2), s(c + r2), s(c + r2)], outline=PALE + (90,), width=s(1))
    return finish(img, size, size)


def sweep(w, h):
    """A soft horizontal light that runs down the screen."""
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    for y in range(h):
        a = int(120 * math.exp(-((y - h / 2) / (h / 5)) ** 2))
        d.line([(0, y), (w, y)], fill=(120, 225, 255, a))
    return img


def key_cap(w, h):
    return rounded_panel(w, h, 6, (20, 50, 80, 220), CYAN, 1.5)


# --- layouts ------------------------------------------------------------------

def header(comment, path):
    return ['<?xml version="1.0" encoding="UTF-8"?>',
            "<!-- %s Written by tools/gen_menus.py. -->" % comment,
            '<Screen path="%s">' % path]


def button(bid, x, y, label, normal="BtnBtn_N.png", over="BtnBtn_O.png", font_id=BUTTON_FONT):
    return ['  <Button id="%d" x="%d" y="%d" entryFadeDuration="300" overTextureFadeDuration="150">' % (bid, x, y),
            '    <Texture normal="%s" over="%s" pressEffect="true"/>' % (normal, over),
            '    <Label name="%s" fontName="%s" color="%s" colorOver="%s"/>' % (label, font_id, CAPTION, CAPTION_OVER),
            "  </Button>"]


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines + ["</Screen>"]) + "\n")


BUTTON_X = 683 - 128  # the shared 256-wide buttons, centred


def main_layout():
    out = header("The title screen: buttons 0 new game, 1 continue, 2 options, 3 quit, 4 store page;"
                 " the name (id 2) is switched off with them under the options.", "content/images/menus/")
    out.append('  <ImageWidget id="2" textureFilename="main/title.png" x="283" y="120" width="800" height="120"/>')
    for i, (bid, label) in enumerate(((0, "LABEL_NEW_GAME"), (1, "LABEL_CONTINUE"), (2, "LABEL_OPTIONS"),
                                      (3, "LABEL_QUIT"))):
        out += button(bid, BUTTON_X, 300 + 68 * i, label)
    out += button(4, 16, 672, "LABEL_STORE_PAGE", "main/store_N.png", "main/store_O.png", "FONT_NOTOSANS16")
    write(os.path.join(MAIN, "Screen.xml"), out)


def pause_layout():
    out = header("The pause screen: 1 mission control, 2 main menu, 3 resume, 4 restart, 5 options.",
                 "content/images/menus/")
    for i, (bid, label) in enumerate(((3, "LABEL_RESUME"), (4, "LABEL_RESTART"), (5, "LABEL_OPTIONS"),
                                      (1, "LABEL_MISSION_CONTROL"), (2, "LABEL_MAIN_MENU"))):
        out += button(bid, BUTTON_X, 270 + 66 * i, label)
    write(os.path.join(PAUSE, "Screen.xml"), out)


HELP_KEYS = [
    ("Esc", "LABEL_HELP_PAUSE"), ("F1", "LABEL_HELP_HELP"), ("E", "LABEL_HELP_ENCYCLOPEDIA"),
    ("Space", "LABEL_HELP_NEXT_WAVE"), ("S", "LABEL_HELP_SPEED"), ("G", "LABEL_HELP_GRID"),
    ("P", "LABEL_HELP_PATHS"), ("V", "LABEL_HELP_PATH_DETAIL"), ("T", "LABEL_HELP_BUILDABLE"),
    ("R", "LABEL_HELP_CROSSHAIR"), ("A", "LABEL_HELP_ASSISTANT"),
]
HELP_MOUSE = [("LMB", "LABEL_HELP_LEFT_CLICK"), ("RMB", "LABEL_HELP_RIGHT_CLICK")]


def help_layout():
    out = header("The help page: the level's keys and mouse buttons, and button 0 to close it.",
                 "content/images/menus/help/")
    out.append('  <ImageWidget textureFilename="panel.png" x="233" y="100" width="900" height="540"/>')
    rows = HELP_KEYS + HELP_MOUSE
    for i, (cap, label) in enumerate(rows):
        col, row = divmod(i, 7)
        x, y = 273 + 440 * col, 130 + 68 * row
        out.append('  <ImageWidget textureFilename="key.png" x="%d" y="%d" width="88" height="40"/>' % (x, y))
        out.append('  <TextLabel x="%d" y="%d" text="LABEL_KEY_%s" font="FONT_NOTOSANS20" rect="Rect(0, 0, 88, 40)"'
                   ' color="%s"/>' % (x, y, cap.upper(), KEY_TEXT))
        out.append('  <TextLabel x="%d" y="%d" text="%s" font="FONT_NOTOSANS20" rect="Rect(0, 0, 320, 40)"'
                   ' horizontalAlignment="LEFT" color="%s"/>' % (x + 104, y, label, TEXT))
    out += button(0, BUTTON_X, 670, "LABEL_CLOSE", "../BtnBtn_N.png", "../BtnBtn_O.png")
    write(os.path.join(HELP, "Screen.xml"), out)


def post_layout():
    out = header("The post-level screen: 0 plays the level again, 1 goes back to mission control.",
                 "content/images/menus/")
    out += button(0, 683 - 266, 560, "LABEL_PLAY_AGAIN")
    out += button(1, 683 + 10, 560, "LABEL_MISSION_CONTROL")
    write(os.path.join(POST, "Screen.xml"), out)


# --- animations ---------------------------------------------------------------

def key(t, x=0, y=0, scale=100, angle=0, alpha=255):
    return ('    <KeyFrame TimeStamp="%d" TypeInterpolator="0" Type="0" x="%d" y="%d" z="0" ScaleX="%d" '
            'ScaleY="%d" Angle="%d" Red="255" Green="255" Blue="255" Alpha="%d"/>' % (t, x, y, scale, scale, angle,
                                                                                     alpha))


def scene(path, name, length, size, objects, loop=True):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- Written by tools/gen_menus.py. -->",
             '<Scene name="%s" loop="%d" loopCount="%d" length="%d">' % (name, 1 if loop else 0, -1 if loop else 1,
                                                                        length),
             '  <Screen Width="%d" Height="%d"/>' % size]
    for file_name, frames in objects:
        lines.append('  <Object file="%s" type="0">' % file_name)
        lines += frames
        lines.append("  </Object>")
    lines.append("</Scene>")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def animations():
    anim = os.path.join(PAUSE, "anim")
    save(ring(160, 6, 3), anim, "ring_outer.png")
    save(ring(112, 3, 2), anim, "ring_inner.png")
    save(sweep(1366, 64), anim, "sweep.png")
    # Two turning rings either side of the pause buttons, in opposite senses.
    def rings(sense):
        return [("ring_outer.png", [key(0, alpha=0), key(400, alpha=220, angle=60 * sense),
                                    key(6000, alpha=220, angle=900 * sense)]),
                ("ring_inner.png", [key(0, alpha=0), key(400, alpha=255, angle=-90 * sense),
                                    key(6000, alpha=255, angle=-1350 * sense)])]
    scene(os.path.join(anim, "Anim.xml"), "pause-left", 6000, (160, 160), rings(1))
    scene(os.path.join(anim, "Anim-2.xml"), "pause-right", 6000, (160, 160), rings(-1))
    # The help page: one light sweeping down once as it opens.
    scene(os.path.join(anim, "Anim-3.xml"), "help-sweep", 900, (1366, 64),
          [("sweep.png", [key(0, y=0, alpha=0), key(150, y=80, alpha=255), key(900, y=700, alpha=0)])],
          loop=False)
    post = os.path.join(POST, "anim")
    save(ring(160, 6, 3), post, "ring_outer.png")
    scene(os.path.join(post, "Anim.xml"), "postlevel-ring", 8000, (160, 160),
          [("ring_outer.png", [key(0, scale=60, alpha=0), key(600, scale=100, alpha=200, angle=90),
                               key(8000, scale=100, alpha=200, angle=1200)])])


LABELS = [
    ("LABEL_NEW_GAME", "New game"), ("LABEL_OPTIONS", "Options"), ("LABEL_QUIT", "Quit"),
    ("LABEL_STORE_PAGE", "Visit the store page"),
    ("CONTROL", "Paused"), ("LABEL_RESUME", "Resume"), ("LABEL_RESTART", "Restart level"),
    ("LABEL_MISSION_CONTROL", "Mission control"), ("LABEL_MAIN_MENU", "Main menu"),
    ("LABEL_HELP", "Help"), ("LABEL_CLOSE", "Close"),
    ("LABEL_KEY_ESC", "Esc"), ("LABEL_KEY_F1", "F1"), ("LABEL_KEY_E", "E"), ("LABEL_KEY_SPACE", "Space"),
    ("LABEL_KEY_S", "S"), ("LABEL_KEY_G", "G"), ("LABEL_KEY_P", "P"), ("LABEL_KEY_V", "V"), ("LABEL_KEY_T", "T"),
    ("LABEL_KEY_R", "R"), ("LABEL_KEY_A", "A"), ("LABEL_KEY_LMB", "Left"), ("LABEL_KEY_RMB", "Right"),
    ("LABEL_HELP_PAUSE", "Pause the battle"), ("LABEL_HELP_HELP", "This page"),
    ("LABEL_HELP_ENCYCLOPEDIA", "Ships and towers"), ("LABEL_HELP_NEXT_WAVE", "Send the next wave"),
    ("LABEL_HELP_SPEED", "Fast forward on and off"), ("LABEL_HELP_GRID", "Show or hide the grid"),
    ("LABEL_HELP_PATHS", "Show or hide the enemy paths"), ("LABEL_HELP_PATH_DETAIL", "Path detail"),
    ("LABEL_HELP_BUILDABLE", "Where towers can stand"), ("LABEL_HELP_CROSSHAIR", "Crosshair on and off"),
    ("LABEL_HELP_ASSISTANT", "Battle assistant voice on and off"),
    ("LABEL_HELP_LEFT_CLICK", "Place or select a tower"),
    ("LABEL_HELP_RIGHT_CLICK", "Cancel the choice"),
    ("LABEL_VICTORY", "Mission accomplished"), ("LABEL_DEFEAT", "Mission failed"),
    ("TOWERS_BUILT", "Towers built"),
    ("TOWERS_UPGRADED", "Towers upgraded"), ("TOWERS_SOLD", "Towers sold"),
    ("LABEL_ENEMIES_CLEARED", "Enemies destroyed"), ("LEVEL_SCORE", "Level score"),
    ("BONUS_SCORE", "Bonus score"), ("TOTAL_SCORE", "Total score"),
    ("LABEL_PLAY_AGAIN", "Play again"),
]
BLOCK_START = "  <!-- title, pause, help and post-level screens: tools/gen_menus.py -->"
BLOCK_END = "  <!-- end of title, pause, help and post-level screens -->"


def main():
    save(wordmark(800, 120), MAIN, "title.png")
    save(store_button(230, 40, False), MAIN, "store_N.png")
    save(store_button(230, 40, True), MAIN, "store_O.png")
    save(rounded_panel(900, 540, 18, (8, 18, 34, 200), CYAN, 2.0, glow=4), HELP, "panel.png")
    save(key_cap(88, 40), HELP, "key.png")
    animations()
    main_layout()
    pause_layout()
    help_layout()
    post_layout()
    write_label_block(BLOCK_START, BLOCK_END, LABELS)


if __name__ == "__main__":
    main()
