#!/usr/bin/python3
"""Writes mission control: its background with the station map and the panel
frames, the station buttons (made from the station icons), the mission-slot
hover, the mode and difficulty radio buttons, the back and launch buttons,
the arm, the layout content/images/menus/missioncontrol/Screen.xml and the
screen's labels in content/strings/english.xml.

Everything is drawn at 4x and downsampled. Output is deterministic and committed.
Run from the repository root: /usr/bin/python3 tools/gen_mission.py
"""
import os
import xml.etree.ElementTree as ET

from PIL import Image, ImageDraw, ImageFilter

from gen_ui_images import CYAN, PALE, PANEL, SS, background, canvas, finish, rounded_panel, s, save
from label_block import write_label_block

OUT = os.path.join("content", "images", "menus", "missioncontrol")
LAYOUT = os.path.join(OUT, "Screen.xml")
STATION_ICONS = os.path.join("content", "images", "mission", "stations")
STATIONS_DIR = os.path.join("content", "config", "stations")

AMBER = (255, 190, 70)

# The station map: 15 stations in three rows of five, joined in reading order
# along a snaking route (the campaign's order).
STATION_SIZE = 56
MAP_X, MAP_Y, MAP_DX, MAP_DY = 100, 108, 74, 52


def station_pos(i):
    row, col = divmod(i, 5)
    if row % 2 == 1:
        col = 4 - col
    return MAP_X + MAP_DX * col, MAP_Y + MAP_DY * row


# Mission slots sit on the map shots (drawn by the screen at 498 + 270 j, 141,
# 232 x 160). The slot's hit box leaves the shot's right strip for the badges
# and its bottom strip for the difficulty buttons.
SHOT_X, SHOT_DX, SHOT_Y, SHOT_W, SHOT_H = 498, 270, 141, 232, 160
SLOT_W, SLOT_H = 184, 124
RADIO = 26
# The arm hangs from a rail along the top; its claw tip is this far right of
# the image's left edge, which the screen puts 70 left of the chosen slot.
ARM_W, ARM_H, ARM_TIP = 260, 127, 70 + SHOT_W // 2

PANELS = [  # x, y, w, h
    (80, 102, 400, 170),    # station map
    (80, 276, 400, 368),    # station panel
    (498, 308, 246, 378),   # leaderboard
    (850, 308, 496, 378),   # mission and modes
]
MODES = ["MODE_CLASSIC", "MODE_ALLTOWERS", "MODE_REVERSAL", "MODE_MAXCREDITS", "MODE_LIMITEDTOWERS",
         "MODE_ENDLESS"]
MODE_LIST_X, MODE_LIST_Y, MODE_ROW = 860, 470, 32


def map_background():
    """Space and the arm's rail."""
    img = background(1366, 768).convert("RGBA")
    over = canvas(1366, 768)
    d = ImageDraw.Draw(over)
    d.rectangle([s(420), s(18), s(1346), s(26)], fill=(30, 60, 90, 255), outline=CYAN + (220,), width=s(1))
    for x in range(430, 1346, 40):
        d.line([s(x), s(20), s(x + 20), s(24)], fill=CYAN + (90,), width=s(1))
    over = finish(over, 1366, 768)
    out = Image.alpha_composite(img, over).convert("RGB")
    return out.quantize(colors=160, method=Image.MEDIANCUT, dither=Image.FLOYDSTEINBERG)


def panels():
    """The panel frames, drawn over the drifting stars, and on the map the
    route with a dim berth at every station, so locked stations still show
    where they lie."""
    img = canvas(1366, 768)
    d = ImageDraw.Draw(img)
    for x, y, w, h in PANELS:
        d.rounded_rectangle([s(x), s(y), s(x + w) - 1, s(y + h) - 1], radius=s(10), fill=PANEL + (235,),
                            outline=CYAN + (200,), width=s(1.5))
    for j in range(3):
        x = SHOT_X + SHOT_DX * j
        d.rounded_rectangle([s(x - 4), s(SHOT_Y - 4), s(x + SHOT_W + 4), s(SHOT_Y + SHOT_H + 4)], radius=s(6),
                            fill=PANEL + (245,), outline=CYAN + (230,), width=s(1.5))
    pts = [station_pos(i) for i in range(15)]
    half = STATION_SIZE / 2
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        ax, ay, bx, by = x0 + half, y0 + half, x1 + half, y1 + half
        steps = 10
        for k in range(0, steps, 2):
            t0, t1 = k / steps, (k + 1) / steps
            d.line([s(ax + (bx - ax) * t0), s(ay + (by - ay) * t0), s(ax + (bx - ax) * t1),
                    s(ay + (by - ay) * t1)], fill=PALE + (140,), width=s(1.5))
    for x, y in pts:
        d.ellipse([s(x + 8), s(y + 8), s(x + STATION_SIZE - 8), s(y + STATION_SIZE - 8)], fill=PANEL + (255,),
                  outline=CYAN + (110,), width=s(1.2))
    return finish(img, 1366, 768)


def station_button(i, hover):
    icon = Image.open(os.path.join(STATION_ICONS, "station_%02d.png" % i)).convert("RGBA")
    size = STATION_SIZE
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.ellipse([s(2), s(2), s(size - 2) - 1, s(size - 2) - 1], fill=PANEL + (220,),
              outline=(PALE if hover else CYAN) + (255,), width=s(2.0 if hover else 1.2))
    inner = int(size * 0.78) * SS
    icon = icon.resize((inner, inner), Image.LANCZOS)
    off = (size * SS - inner) // 2
    img.alpha_composite(icon, (off, off))
    if hover:
        halo = canvas(size, size)
        ImageDraw.Draw(halo).ellipse([s(1), s(1), s(size - 1) - 1, s(size - 1) - 1], outline=PALE + (200,),
                                     width=s(3))
        img = Image.alpha_composite(img, halo.filter(ImageFilter.GaussianBlur(s(1.5))))
    return finish(img, size, size)


def slot_image():
    """The slot button itself is a clear hit box; its hover frame is drawn by the screen."""
    return finish(canvas(SLOT_W, SLOT_H), SLOT_W, SLOT_H)


def slot_hover_image():
    """The frame a hovered mission shows: on its whole map shot, not on the smaller hit box."""
    img = canvas(SHOT_W, SHOT_H)
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([s(1), s(1), s(SHOT_W - 1) - 1, s(SHOT_H - 1) - 1], radius=s(6),
                        fill=CYAN + (36,), outline=PALE + (255,), width=s(2))
    return finish(img, SHOT_W, SHOT_H)


def radio(size, on):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    d.ellipse([s(3), s(3), s(size - 3) - 1, s(size - 3) - 1], fill=PANEL + (230,), outline=CYAN + (255,),
              width=s(1.5))
    if on:
        r = size * 0.2
        c = size / 2
        d.ellipse([s(c - r), s(c - r), s(c + r), s(c + r)], fill=PALE + (255,))
    return finish(img, size, size)


def arm():
    img = canvas(ARM_W, ARM_H)
    d = ImageDraw.Draw(img)
    steel, dark = (150, 200, 225, 255), (30, 60, 90, 255)
    # Carriage on the rail.
    d.rounded_rectangle([s(20), s(0), s(96), s(16)], radius=s(4), fill=dark, outline=CYAN + (255,), width=s(1.5))
    joint_a, joint_b, tip = (58, 14), (150, 56), (ARM_TIP, 104)
    for a, b, w in ((joint_a, joint_b, 12), (joint_b, tip, 9)):
        d.line([s(a[0]), s(a[1]), s(b[0]), s(b[1])], fill=steel, width=s(w))
        d.line([s(a[0]), s(a[1]), s(b[0]), s(b[1])], fill=dark, width=s(w * 0.35))
    for x, y, r in ((joint_a[0], joint_a[1], 9), (joint_b[0], joint_b[1], 8)):
        d.ellipse([s(x - r), s(y - r), s(x + r), s(y + r)], fill=dark, outline=CYAN + (255,), width=s(2))
    # The claw, open downwards over the slot.
    tx, ty = tip
    d.ellipse([s(tx - 7), s(ty - 7), s(tx + 7), s(ty + 7)], fill=dark, outline=CYAN + (255,), width=s(2))
    for side in (-1, 1):
        d.line([s(tx), s(ty), s(tx + side * 14), s(ty + 12), s(tx + side * 8), s(ty + 22)], fill=steel,
               width=s(4), joint="curve")
    glow = canvas(ARM_W, ARM_H)
    ImageDraw.Draw(glow).ellipse([s(tx - 6), s(ty + 12), s(tx + 6), s(ty + 24)], fill=PALE + (220,))
    img = Image.alpha_composite(img, glow.filter(ImageFilter.GaussianBlur(s(2))))
    return finish(img, ARM_W, ARM_H)


def big_button(w, h, hover):
    if hover:
        return rounded_panel(w, h, 12, (40, 150, 200, 90), PALE, 2.0, glow=3)
    return rounded_panel(w, h, 12, PANEL + (215,), CYAN, 1.5)


def layout():
    root = ET.Element("Screen", path="content/images/menus/missioncontrol/")
    ET.SubElement(root, "ImageWidget", id="2", textureFilename="arm.png", x="800", y="14", width=str(ARM_W),
                  height=str(ARM_H), layer="2")
    for i in range(15):
        x, y = station_pos(i)
        b = ET.SubElement(root, "Button", id=str(i), x=str(x), y=str(y), entryFadeDuration="300",
                          overTextureFadeDuration="120")
        ET.SubElement(b, "Texture", normal="stations/station_%02d.png" % i, over="stations/station_%02d_over.png" % i)
    for j in range(3):
        b = ET.SubElement(root, "Button", id=str(200 + j), x=str(SHOT_X + SHOT_DX * j), y=str(SHOT_Y),
                          entryFadeDuration="2", overTextureFadeDuration="120")
        ET.SubElement(b, "Texture", normal="slot.png", over="slot.png")
    # The tutorial and the encyclopedia share the strip left of back and launch.
    for bid, x, w, label in ((300, 330, 170, "LABEL_TUTORIAL"), (102, 510, 170, "ENCYCLOPEDIA"),
                             (100, 860, 220, "LABEL_BACK"),
                             (101, 1116, 230, "LABEL_LAUNCH")):
        b = ET.SubElement(root, "Button", id=str(bid), x=str(x), y="694", entryFadeDuration="300",
                          overTextureFadeDuration="150")
        ET.SubElement(b, "Texture", normal="button_%d.png" % w, over="button_%d_over.png" % w, pressEffect="true")
        # "Encyclopedia" in the 24-point font runs into the edges of a 170 button.
        font = "FONT_NOTOSANS20" if w == 170 else "FONT_NOTOSANS24"
        ET.SubElement(b, "Label", name=label, fontName=font, color="Color(200, 240, 255, 255)",
                      colorOver="Color(255, 255, 255, 255)")
    # Game modes: one row per mode, the row id is the mode.
    modes = ET.SubElement(root, "RadioButtonList", id="0", x=str(MODE_LIST_X), y=str(MODE_LIST_Y), width="186",
                          height=str(MODE_ROW * 6), selectedRowId="0")
    for m, key in enumerate(MODES):
        y = m * MODE_ROW
        row = ET.SubElement(modes, "Row", id=str(m), x="0", y=str(y), width="186", height=str(MODE_ROW - 2))
        cb = ET.SubElement(row, "Checkbox", x="0", y=str(y + 2))
        ET.SubElement(cb, "Texture", normal="radio.png", checked="radio_on.png")
        ET.SubElement(row, "Label", x="32", y=str(y + 2), text=key, font="FONT_NOTOSANS16",
                      rect="Rect(0, 0, 150, 26)", horizontalAlignment="LEFT", color="Color(200, 240, 255, 255)")
    # Difficulty of each slot: three buttons under the slot's hit box, on the shot.
    for j in range(3):
        lst = ET.SubElement(root, "RadioButtonList", id=str(j + 1), x=str(SHOT_X + SHOT_DX * j + 6),
                            y=str(SHOT_Y + SLOT_H + 8), width=str(RADIO * 3 + 12), height=str(RADIO),
                            selectedRowId="0")
        for d in range(3):
            x = d * (RADIO + 6)
            row = ET.SubElement(lst, "Row", id=str(d), x=str(x), y="0", width=str(RADIO), height=str(RADIO))
            cb = ET.SubElement(row, "Checkbox", x=str(x), y="0")
            ET.SubElement(cb, "Texture", normal="radio.png", checked="radio_on.png")
    ET.indent(root, space="  ")
    body = ET.tostring(root, encoding="unicode")
    with open(LAYOUT, "w", encoding="utf-8", newline="\n") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        f.write("<!-- Mission control; generated by tools/gen_mission.py. -->\n")
        f.write(body + "\n")


def mission_names():
    names = []
    for name in sorted(os.listdir(STATIONS_DIR)):
        if not name.endswith(".xml"):
            continue
        for m in ET.parse(os.path.join(STATIONS_DIR, name)).getroot().iter("Mission"):
            names.append((int(m.get("id")), m.get("label")))
    return [("MISSION_NAME_%03d" % i, label) for i, label in sorted(names)]


LABELS = [
    ("LABEL_COMMANDBRIDGE", "Mission control"),
    ("STATION_NAME", "Station "),
    ("STATION_COMMANDER", "Chief"),
    ("STATION_TYPE", "Type"),
    ("STATION_CREW", "Crew"),
    ("STATION_WEAPONRY", "Weaponry"),
    ("STATION_COMM", "Comms"),
    ("STATION_POWER", "Power"),
    ("MISSION_SCORES", "Mission scores"),
    ("MISSION_LOCKED", "LOCKED"),
    ("MISSION_REFUSED", "CANNOT OPEN"),
    ("MISSION_REFUSED_BRIEF", "This mission could not be opened"),
    ("MODE_CLASSIC", "Classic"),
    ("MODE_ALLTOWERS", "All towers"),
    ("MODE_REVERSAL", "Reversal"),
    ("MODE_MAXCREDITS", "Max credits"),
    ("MODE_LIMITEDTOWERS", "Limited towers"),
    ("MODE_ENDLESS", "Endless"),
    ("MODE_CLASSIC_DESC", "The mission as briefed: the level's towers, credits and waves."),
    ("MODE_ALLTOWERS_DESC", "Every tower kind can be built, whatever the level offers."),
    ("MODE_REVERSAL_DESC", "The enemy comes the other way: every path runs backwards."),
    ("MODE_MAXCREDITS_DESC", "40 000 credits that never run out. Place wisely all the same."),
    ("MODE_LIMITEDTOWERS_DESC", "No more than ten towers may stand at once."),
    ("MODE_ENDLESS_DESC", "Waves never stop coming and no checkpoints are kept. Played on normal."),
    ("DIFF_EASY", "Easy"),
    ("DIFF_NORMAL", "Normal"),
    ("DIFF_HARD", "Hard"),
    ("LABEL_LOADING_SCORES", "Loading scores..."),
    ("CANT_LOAD_SCORES", "Scores could not be loaded"),
    ("NO_SCORES_YET", "No scores yet: be the first"),
    ("LABEL_YOUR_RANK", "Your rank"),
    ("LABEL_YOUR_NEW_RANK", "Your new rank"),
    ("LABEL_YOUR_OLD_RANK", "Your old rank"),
    ("LABEL_IMPROVED_RANK", "You climbed the board!"),
    ("LABEL_BACK", "Back"),
    ("LABEL_LAUNCH", "Launch"),
]


def main():
    save(map_background(), OUT, "BG.png")
    save(panels(), OUT, "panels.png")
    for i in range(15):
        save(station_button(i, False), os.path.join(OUT, "stations"), "station_%02d.png" % i)
        save(station_button(i, True), os.path.join(OUT, "stations"), "station_%02d_over.png" % i)
    save(slot_image(), OUT, "slot.png")
    save(slot_hover_image(), OUT, "slot_over.png")
    save(radio(RADIO, False), OUT, "radio.png")
    save(radio(RADIO, True), OUT, "radio_on.png")
    save(arm(), OUT, "arm.png")
    for w in (170, 220, 230):
        save(big_button(w, 52, False), OUT, "button_%d.png" % w)
        save(big_button(w, 52, True), OUT, "button_%d_over.png" % w)
    layout()
    write_label_block("  <!-- mission control: tools/gen_mission.py -->", "  <!-- end of mission control -->",
                      LABELS + mission_names())


if __name__ == "__main__":
    main()
