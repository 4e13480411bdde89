#!/usr/bin/python3
"""Writes the two tutorials: the one over the first mission and the one over
mission control. Each is a layout of slides (a dimmed screen around a highlight,
a text and a continue caption), one pointer picture per slide and a title label;
the texts go into the strings file as this generator's block.

A slide's eventId tells the level what to do when the player clicks it:
-1 moves on, 1 chooses the first tower kind, 2 presses at the pointer (builds the
chosen tower on the hovered cell). Mission control has no listener: any click
moves on. Deterministic; run from the repository root:
/usr/bin/python3 tools/gen_tutorial.py
"""
import os
import xml.etree.ElementTree as ET

from PIL import ImageDraw

from bridge_ids import read_ids
from gen_ui_images import CYAN, PALE, canvas, finish, s, save
from label_block import write_label_block

ROOT = os.path.join("content", "images", "menus", "tutorial")
ARROW = 72  # pointer picture size

# Level screen geometry the slides point at; the bridge's comes from the game's header.
IDS = read_ids()
FIELD = (8, 56, 1022, 704)       # the battle field left of the bridge
BRIDGE = (IDS["kBridgeX"], 0, 1366 - IDS["kBridgeX"], 768)  # the command bridge
FIRST_TOWER = (IDS["kTowerGridX"] - 4, IDS["kTowerGridY"] - 4, 56, 56)  # the first tower kind's button, with a rim
NEXT_WAVE = (1262, 102, 70, 50)    # the bridge's next-wave button

LABELS = [
    ("SKIP", "Skip"),
    ("PRESENTER_CONTINUE", "Click to continue"),
    ("LABEL_TUTORIAL", "Tutorial"),
    ("TUTORIAL_TITLE", "BASIC TRAINING"),
    ("TUTORIAL_GAME_1", "Commander, welcome aboard. Alien ships will fly along the marked lanes across this field "
                        "towards the station. Every ship that gets through costs one life."),
    ("TUTORIAL_GAME_2", "This is your first tower kind. Click its button to choose it."),
    ("TUTORIAL_GAME_3", "Now move the pointer over a free cell of the grid, near a lane, and click to build the tower "
                        "there."),
    ("TUTORIAL_GAME_4", "The bridge shows your credits, lives and the waves to come. Destroyed ships pay credits: "
                        "spend them on more towers and upgrades. Click a tower to upgrade, sell or retarget it."),
    ("TUTORIAL_GAME_5", "When you are ready, send the first wave with this button at the top of the bridge. "
                        "Good luck, Commander."),
    ("TUTORIAL_GAME_CONTINUE_TOWER", "Click the tower button"),
    ("TUTORIAL_GAME_CONTINUE_PLACE", "Click a free cell"),
    ("TUTORIAL_GAME_CONTINUE_START", "Click to take command"),
    ("TUTORIAL_MC_1", "This is mission control. The map shows the stations you can defend; more open as you win "
                      "their missions. Click a station to choose it."),
    ("TUTORIAL_MC_2", "Each station has three missions. Click one to choose it, and set its difficulty with the "
                      "three lights under it."),
    ("TUTORIAL_MC_3", "Pick a game mode here. Each mode changes the rules of the battle and earns its own badge."),
    ("TUTORIAL_MC_4", "Launch the chosen mission from here, or go back to the main menu. The tutorial button shows "
                      "this again."),
]


def arrow(direction):
    """A glowing pointer arrow; direction is the way it points: right, left, up or down."""
    img = canvas(ARROW, ARROW)
    d = ImageDraw.Draw(img)
    c = ARROW / 2
    pts = [(-0.38, -0.14), (0.05, -0.14), (0.05, -0.32), (0.40, 0.0), (0.05, 0.32), (0.05, 0.14), (-0.38, 0.14)]
    turn = {"right": (1, 0, 0, 1), "left": (-1, 0, 0, 1), "down": (0, -1, 1, 0), "up": (0, 1, -1, 0)}[direction]
    a, b, cc, dd = turn
    poly = [(s(c + (a * x + b * y) * ARROW), s(c + (cc * x + dd * y) * ARROW)) for x, y in pts]
    d.polygon(poly, fill=CYAN + (230,), outline=PALE + (255,))
    d.line(poly + [poly[0]], fill=PALE + (255,), width=s(2))
    return finish(img, ARROW, ARROW)


def rect(r):
    return "Rect(%d, %d, %d, %d)" % r


def write_layout(folder, comment, slides, title_x=32):
    """title_x: where the title starts. slides: (highlight, textRect, textKey, pointer (file, x, y), eventId, clickRect or None, continue key or '')."""
    out = os.path.join(ROOT, folder)
    root = ET.Element("Screen", path=out.replace(os.sep, "/") + "/")
    ET.SubElement(root, "TextLabel", x=str(title_x), y="14", text="TUTORIAL_TITLE", font="FONT_NOTOSANS24",
                  rect="Rect(0, 0, 420, 34)", horizontalAlignment="LEFT", color="Color(255, 220, 120, 255)",
                  layer="6")
    for i, (_, _, _, (picture, x, y), _, _, _) in enumerate(slides):
        ET.SubElement(root, "ImageWidget", id=str(10 + i), textureFilename=picture, x=str(x), y=str(y),
                      width=str(ARROW), height=str(ARROW), layer="5")
    for i, (highlight, text_rect, key, _, event, click, cont) in enumerate(slides):
        attrs = {"id": str(i), "highlightRect": rect(highlight), "textRect": rect(text_rect), "textLabel": key,
                 "textColor": "Color(235, 248, 255, 255)", "fillColor": "Color(0, 0, 0, 200)", "layer": "4",
                 "continueTextRect": rect((text_rect[0], text_rect[1] + text_rect[3] + 8, text_rect[2], 40)),
                 "eventId": str(event)}
        if click:
            attrs["continueClickRect"] = rect(click)
        if cont:
            attrs["customContinueLabel"] = cont
        ET.SubElement(root, "TutorialSlide", attrs)
    ET.indent(root, space="  ")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "Screen.xml"), "w", encoding="utf-8", newline="\n") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        f.write("<!-- %s; generated by tools/gen_tutorial.py. -->\n" % comment)
        f.write(ET.tostring(root, encoding="unicode") + "\n")
    for name in sorted({p for _, _, _, (p, _, _), _, _, _ in slides}):
        save(arrow(name[len("arrow_"):-len(".png")]), out, name)


def game():
    # Texts keep to the open space above the lanes' middle run and clear of the SKIP
    # button at the bottom left; each arrow's tip touches what its slide names.
    fx, fy, fw, fh = FIELD
    tx, ty, tw, th = FIRST_TOWER
    write_layout("game", "The tutorial over the first mission", [
        (FIELD, (400, 96, 580, 140), "TUTORIAL_GAME_1", ("arrow_up.png", 444, 318), -1, None, ""),
        (FIRST_TOWER, (560, 150, 400, 90), "TUTORIAL_GAME_2", ("arrow_right.png", tx - ARROW - 8, ty - 8),
         1, FIRST_TOWER, "TUTORIAL_GAME_CONTINUE_TOWER"),
        (FIELD, (400, 96, 580, 80), "TUTORIAL_GAME_3", ("arrow_down.png", 600, 330),
         2, FIELD, "TUTORIAL_GAME_CONTINUE_PLACE"),
        (BRIDGE, (300, 260, 640, 130), "TUTORIAL_GAME_4", ("arrow_right.png", BRIDGE[0] - ARROW - 12, 300),
         -1, None, ""),
        (NEXT_WAVE, (440, 170, 580, 110), "TUTORIAL_GAME_5",
         ("arrow_up.png", NEXT_WAVE[0] + (NEXT_WAVE[2] - ARROW) // 2, NEXT_WAVE[1] + NEXT_WAVE[3] + 4),
         -1, None, "TUTORIAL_GAME_CONTINUE_START"),
    ], title_x=280)  # clear of the music banner, 256 wide, at the field's top left


def mission_control():
    # Highlights follow mission control's panels: the station map, the three mission
    # slots, the mode list (not the mode's text beside it), and back and launch.
    write_layout("missioncontrol", "The tutorial over mission control", [
        ((80, 102, 401, 171), (100, 330, 420, 140), "TUTORIAL_MC_1", ("arrow_up.png", 245, 272), -1, None, ""),
        ((492, 135, 784, 171), (500, 400, 560, 110), "TUTORIAL_MC_2", ("arrow_up.png", 600, 308), -1, None, ""),
        ((852, 462, 190, 206), (330, 500, 410, 110), "TUTORIAL_MC_3", ("arrow_right.png", 772, 520), -1, None, ""),
        ((856, 688, 494, 62), (330, 470, 640, 72), "TUTORIAL_MC_4", ("arrow_down.png", 1000, 612), -1, None, ""),
    ])


def main():
    game()
    mission_control()
    write_label_block("  <!-- tutorials: tools/gen_tutorial.py -->", "  <!-- end of tutorials -->", LABELS)


if __name__ == "__main__":
    main()
