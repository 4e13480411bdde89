#!/usr/bin/python3
"""Draws the level's heads-up display art that is not shared with other screens'
drawings: the difficulty badges (also mission control's badge icons), the wave
progress arrow of the checkpoint bar, the arrows along the enemy paths and the
direction mark where a path comes onto the field, the frames round the chosen and
the hovered tower button; and writes the display's labels
into content/strings/english.xml.

The rest of the display's pictures (tower frames, aim mark, banner, grid, the
can't-place mark) come from tools/gen_game_images.py.

Everything is drawn at 4x and downsampled. Deterministic; the PNGs are committed.
Run from the repository root: /usr/bin/python3 tools/gen_hud.py
"""
import os

from PIL import ImageDraw

from gen_game_images import ORANGE, RED, out, ring_marker
from gen_ui_images import CYAN, PALE, PANEL, canvas, finish, s
from label_block import write_label_block

GAME = os.path.join("content", "images", "game")

LABELS = [
    ("LABEL_CLASS", "Class"),
    ("CAPTION_STATS", "Status"),
    ("LABEL_LEVEL_TIME", "Time"),
    ("LABEL_WAVE", "Wave"),
    ("LABEL_LIVES", "Lives"),
    ("LABEL_SCORE", "Score"),
    ("LABEL_CREDITS", "Credits"),
    ("LABEL_INTEREST", "Interest"),
    ("LABEL_DESTROYED", "Destroyed"),
    ("CAPTION_TOWERS", "Towers "),
    ("GAMEMODE", " Mode: "),
    ("AUTO_SEND", "Auto"),
    ("CAPTION_TOWERCOMMANDS", "Tower commands"),
    ("CHECK_POINTS", "Checkpoints"),
    ("CAPTION_INFO", "Info"),
    ("DAMAGE", "Damage"),
    ("RANGE", "Range"),
    ("LABEL_PRICE", "Price"),
    ("LABEL_NEWWAVE", "New ship sighted"),
    ("LABEL_ENDLESS_ENERGY", "Ship energy"),
    ("TOWER_DT_STEP_1", "Drone station: first of a pair"),
    ("TOWER_DT_STEP_1_DESC", "Place the first station on a free cell. Its partner comes next and costs nothing."),
    ("TOWER_DT_STEP_2", "Drone station: its partner"),
    ("TOWER_DT_STEP_2_DESC", "Place the second station. Drones patrol between the two. Right click cancels the pair."),
    ("TOWER_WT_STEP_1", "Navigation beacon: place it"),
    ("TOWER_WT_STEP_1_DESC", "Place the beacon on a free cell near the drones' route."),
    ("TOWER_WT_STEP_2", "Navigation beacon: attach it"),
    ("TOWER_WT_STEP_2_DESC", "Click a drone station: its drones' route bends through the beacon. Right click cancels."),
]


def rank_badge(w, h, count, on):
    """A small plate with one to three rank chevrons pointing up."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    rim = CYAN if on else (70, 110, 130)
    d.rounded_rectangle([s(1), s(1), s(w - 1) - 1, s(h - 1) - 1], radius=s(5),
                        fill=(PANEL + (235,)) if on else (8, 14, 24, 190), outline=rim + (255,), width=s(1.5))
    colour = (PALE if on else (90, 120, 140)) + (255,)
    step = 6.5
    top = h / 2 - (count - 1) * step / 2 - 2
    for i in range(count):
        y = top + i * step
        d.line([(s(w * 0.22), s(y + 4.5)), (s(w / 2), s(y)), (s(w * 0.78), s(y + 4.5))], fill=colour,
               width=s(2.4), joint="curve")
    return finish(img, w, h)


def arrow_up(w, h, colour, alpha=235):
    """An arrow pointing up: the level turns it to the direction it marks."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.polygon([(s(w / 2), s(h * 0.05)), (s(w * 0.95), s(h * 0.5)), (s(w * 0.64), s(h * 0.5)),
               (s(w * 0.64), s(h * 0.95)), (s(w * 0.36), s(h * 0.95)), (s(w * 0.36), s(h * 0.5)),
               (s(w * 0.05), s(h * 0.5))], fill=colour + (alpha,))
    return finish(img, w, h)


def chevron_up(w, h, colour):
    """Where a path comes onto the field: a double chevron pointing the way in."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    for k, a in ((0, 255), (1, 150)):
        y = h * 0.2 + k * h * 0.32
        d.line([(s(w * 0.12), s(y + h * 0.34)), (s(w / 2), s(y)), (s(w * 0.88), s(y + h * 0.34))],
               fill=colour + (a,), width=s(w * 0.13), joint="curve")
    return finish(img, w, h)


def arrow_down(w, h, colour):
    """The checkpoint bar's progress mark: a point hanging over the bar."""
    img = canvas(w, h)
    d = ImageDraw.Draw(img)
    d.polygon([(s(w * 0.1), s(h * 0.08)), (s(w * 0.9), s(h * 0.08)), (s(w / 2), s(h * 0.92))],
              fill=colour + (255,), outline=PALE + (255,))
    return finish(img, w, h)


def main():
    for name, count in (("Easy", 1), ("Normal", 2), ("Hard", 3)):
        out(os.path.join(GAME, "Difficulty_%s_ON.png" % name), rank_badge(26, 30, count, True))
        out(os.path.join(GAME, "Difficulty_%s_OFF.png" % name), rank_badge(26, 30, count, False))
    # Frames round a tower button (40 x 40): the chosen kind's and the hovered one's,
    # drawn 3 and 5 pixels up and left of the button.
    out(os.path.join(GAME, "towerselected.png"), ring_marker(46, PALE, dashed=True))
    out(os.path.join(GAME, "towerbtnover.png"), ring_marker(50, CYAN, width=3))
    out(os.path.join(GAME, "progress_arrow.png"), arrow_down(24, 14, (255, 170, 0)))
    out(os.path.join(GAME, "patharrow.png"), arrow_up(14, 18, ORANGE, alpha=200))
    out(os.path.join(GAME, "wave_direction.png"), chevron_up(32, 32, RED))
    write_label_block("  <!-- heads-up display: tools/gen_hud.py -->", "  <!-- end of heads-up display -->", LABELS)


if __name__ == "__main__":
    main()
