#!/usr/bin/python3
"""Draws and lays out the settings and reference screens: options, resolution
choice, encyclopedia hub and pages, the new-game question, the escape pod of the
intro, and writes their texts (with the credits) into the strings file.

Shapes are drawn at 4x and downsampled (gen_ui_images helpers). Deterministic;
outputs are committed. Run from the repository root:
/usr/bin/python3 tools/gen_screens.py
"""
import os

from PIL import ImageDraw

from gen_ui_images import (CYAN, PALE, PANEL, canvas, checkbox, finish, rounded_panel, s,
                           slider_fill, slider_thumb, slider_track)
from label_block import write_label_block

MENUS = os.path.join("content", "images", "menus")
ENTITIES = os.path.join("content", "config", "Entities")
ORANGE = (255, 150, 40)

# Enemy classes in the order the encyclopedia pages through them.
ENEMIES = ["scout", "rower", "grasshopper", "spacedog", "bull", "catcher", "hellraiser", "destroyer"]
# The attack towers' entity files; kinds not yet in the game are left out by the page.
# Every tower a player can build: the attack towers, the support stations, the
# drone station and its beacon.
TOWERS = (["base-%03d" % k for k in range(1, 11)] + ["supportbase-101", "supportbase-104", "supportbase-105"] +
          ["deploymentbase-000", "wavepointbase-000"])

LABELS = [
    ("MENU_OPTIONS", "Options"),
    ("OPTIONS_MUSIC", "Music volume"),
    ("OPTIONS_SOUND", "Effects volume"),
    ("OPTIONS_FULLSCREEN", "Full screen"),
    ("OPTIONS_ASSISTANT", "Battle assistant voice"),
    ("OPTIONS_SPECTRUM", "Music spectrum"),
    ("OPTIONS_ALL_SHOTS", "Hear every tower's shots"),
    ("OPTIONS_CREDITS", "Credits"),
    ("OPTIONS_RESOLUTION", "Resolution"),
    ("SCREENS_BACK", "Back"),
    ("OK", "OK"),
    ("SCREENS_CLOSE", "Close"),
    ("SELECT_RESOLUTION", "Select a resolution"),
    ("ENCYCLOPEDIA", "Encyclopedia"),
    ("ENCYCLOPEDIA_ALIENS", "Enemy ships"),
    ("ENCYCLOPEDIA_TOWERS", "Towers"),
    ("ENCYCLOPEDIA_ASK", "Radio"),
    ("ENEMY_DESC", "Intelligence report"),
    ("SHIELD_TYPE", "Shield class"),
    ("ENCYCLOPEDIA_THREAT", "Threat"),
    ("ENCYCLOPEDIA_DAMAGE", "Damage"),
    ("ENCYCLOPEDIA_RANGE", "Range"),
    ("ENCYCLOPEDIA_FIRE_RATE", "Rate of fire"),
    ("ENCYCLOPEDIA_PRICE", "Price"),
    ("PROGRESS_TITLE", "Start a new game?"),
    ("PROGRESS_BODY", "Your campaign progress will be erased: every station and mission starts again "
                      "from the beginning. The badges you have earned are kept."),
    ("PROGRESS_YES", "Erase and start"),
    ("PROGRESS_NO", "Keep playing"),
    ("GAME_DESIGN", "Game design"),
    ("CODING", "Programming"),
    ("WEB_PROGRAMMING", "Content tools"),
    ("MUSIC_PRODUCTION", "Sound and music"),
    ("SPECIAL_THANKS", "Special thanks"),
    ("CREDITS_NAMES_DESIGN", "The Starmoor team"),
    ("CREDITS_NAMES_CODING", "The Starmoor team|Built with SDL2, OpenGL and GLEW"),
    ("CREDITS_NAMES_WEB", "The Starmoor team|Python and Pillow"),
    ("CREDITS_NAMES_MUSIC", "The Starmoor team|Synthesised with our own tools"),
    ("CREDITS_NAMES_THANKS", "The Debian project|Everyone who plays"),
    ("CREDITS_LEGAL_1", "Libraries"),
    ("CREDITS_LEGAL_1_TEXT", "SDL2, SDL2_image, SDL2_mixer|TinyXML|GLEW"),
    ("CREDITS_LEGAL_2", "Fonts"),
    ("CREDITS_LEGAL_2_TEXT", "Noto Sans|SIL Open Font License"),
    ("CREDITS_LEGAL_3", "Platform"),
    ("CREDITS_LEGAL_3_TEXT", "Packaged on Debian GNU/Linux"),
]


def out(folder, name, img):
    os.makedirs(folder, exist_ok=True)
    img.save(os.path.join(folder, name), optimize=True)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def small_button(w, h, hover):
    if hover:
        return rounded_panel(w, h, 10, (40, 150, 200, 90), PALE, 2.0, glow=3)
    return rounded_panel(w, h, 10, PANEL + (210,), CYAN, 1.5)


def arrow_button(size, left, hover):
    img = small_button(size, size, hover)
    d = ImageDraw.Draw(img)
    c = size / 2
    k = -1 if left else 1
    d.polygon([(c - k * size * 0.16, c - size * 0.22), (c + k * size * 0.2, c), (c - k * size * 0.16, c + size * 0.22)],
              fill=PALE + (255,))
    return img


def panel(w, h, alpha=215, rule=True):
    img = rounded_panel(w, h, 18, (6, 16, 30, alpha), CYAN, 2.0, glow=4)
    if rule:
        d = ImageDraw.Draw(img)
        d.line([(28, 78), (w - 28, 78)], fill=CYAN + (110,), width=1)
    return img


def escape_pod(size):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    c = size / 2
    d.ellipse([s(c - 9), s(c - 13), s(c + 9), s(c + 13)], fill=(210, 235, 250, 255), outline=CYAN + (255,),
              width=s(1.5))
    d.ellipse([s(c - 4), s(c - 8), s(c + 4), s(c - 1)], fill=(40, 120, 170, 255))
    d.polygon([(s(c - 5), s(c + 12)), (s(c + 5), s(c + 12)), (s(c), s(c + 16))], fill=ORANGE + (230,))
    return finish(img, size, size)


def button_xml(bid, x, y, normal, over, label, extra=""):
    return ('  <Button id="%d" x="%d" y="%d" entryFadeDuration="250" overTextureFadeDuration="150"%s>\n'
            '    <Texture normal="%s" over="%s" pressEffect="true"/>\n'
            '    <Label name="%s" fontName="FONT_NOTOSANS24" color="Color(200, 240, 255, 255)"'
            ' colorOver="Color(255, 255, 255, 255)"/>\n'
            '  </Button>\n') % (bid, x, y, extra, normal, over, label)


def label_xml(x, y, w, h, key, font="FONT_NOTOSANS20", align="LEFT", colour="190, 235, 250, 255"):
    return ('  <Label x="%d" y="%d" text="%s" font="%s" rect="Rect(0, 0, %d, %d)" horizontalAlignment="%s"'
            ' color="Color(%s)"/>\n') % (x, y, key, font, w, h, align, colour)


def options():
    folder = os.path.join(MENUS, "options")
    # The rule under the title is drawn by the screen with the title: both step back
    # while the credits fill the panel.
    out(folder, "panel.png", panel(760, 470, rule=False))
    out(folder, "slider_track.png", slider_track(252, 28))
    out(folder, "slider_fill.png", slider_fill(252, 28))
    out(folder, "slider_thumb.png", slider_thumb(28, 28))
    out(folder, "check_normal.png", checkbox(36, False))
    out(folder, "check_checked.png", checkbox(36, True))
    out(folder, "button_normal.png", small_button(220, 50, False))
    out(folder, "button_over.png", small_button(220, 50, True))
    xml = ['<?xml version="1.0" encoding="UTF-8"?>\n',
           '<!-- Options: the title and the volume figures are drawn by the screen. -->\n',
           '<Screen path="content/images/menus/options/">\n',
           '  <ImageWidget textureFilename="panel.png" x="303" y="262" width="760" height="470" layer="1"/>\n',
           label_xml(389, 367, 200, 23, "OPTIONS_MUSIC"),
           '  <Slider id="6" x="389" y="398" thumbPosition="112" thumbMaxPosition="224">\n'
           '    <Texture normal="slider_track.png" fill="slider_fill.png" thumb="slider_thumb.png"/>\n'
           '  </Slider>\n',
           label_xml(389, 457, 220, 23, "OPTIONS_SOUND"),
           '  <Slider id="7" x="389" y="488" thumbPosition="112" thumbMaxPosition="224">\n'
           '    <Texture normal="slider_track.png" fill="slider_fill.png" thumb="slider_thumb.png"/>\n'
           '  </Slider>\n']
    for i, key in enumerate(["OPTIONS_FULLSCREEN", "OPTIONS_ASSISTANT", "OPTIONS_SPECTRUM", "OPTIONS_ALL_SHOTS"]):
        y = 360 + i * 46
        xml.append('  <Checkbox id="%d" x="700" y="%d">\n'
                   '    <Texture normal="check_normal.png" checked="check_checked.png"/>\n'
                   '  </Checkbox>\n' % (i, y))
        xml.append(label_xml(746, y + 5, 300, 26, key))
    for bid, x, key in ((0, 343, "OPTIONS_CREDITS"), (1, 573, "OPTIONS_RESOLUTION"), (2, 803, "SCREENS_BACK")):
        xml.append(button_xml(bid, x, 640, "button_normal.png", "button_over.png", key))
    xml.append('</Screen>\n')
    write(os.path.join(folder, "Screen.xml"), "".join(xml))


def calibration():
    folder = os.path.join(MENUS, "calibration")
    # Opaque: it lies over the options screen.
    out(folder, "panel.png", panel(760, 620, alpha=250, rule=False))
    write(os.path.join(folder, "Screen.xml"),
          '<?xml version="1.0" encoding="UTF-8"?>\n'
          '<!-- Resolution choice: the mode buttons and "OK" are made by the screen from the display list. -->\n'
          '<Screen path="content/images/menus/">\n'
          '  <ImageWidget textureFilename="calibration/panel.png" x="303" y="136" width="760" height="620" layer="1"/>\n'
          + button_xml(10, 573, 680, "options/button_normal.png", "options/button_over.png", "SCREENS_BACK") +
          '</Screen>\n')


def encyclopedia():
    folder = os.path.join(MENUS, "encyclopedia")
    out(folder, "button_normal.png", small_button(300, 56, False))
    out(folder, "button_over.png", small_button(300, 56, True))
    out(folder, "arrow_left.png", arrow_button(56, True, False))
    out(folder, "arrow_left_over.png", arrow_button(56, True, True))
    out(folder, "arrow_right.png", arrow_button(56, False, False))
    out(folder, "arrow_right_over.png", arrow_button(56, False, True))
    # Opaque: the pages lie over the hub.
    out(folder, "page.png", panel(1000, 560, alpha=250))
    hub = ['<?xml version="1.0" encoding="UTF-8"?>\n',
           '<!-- Encyclopedia hub: towers (0), enemies (1), the radio (2) and back (3). -->\n',
           '<Screen path="content/images/menus/encyclopedia/">\n']
    for bid, y, key in ((0, 280, "ENCYCLOPEDIA_TOWERS"), (1, 350, "ENCYCLOPEDIA_ALIENS"),
                        (2, 420, "ENCYCLOPEDIA_ASK"), (3, 520, "SCREENS_BACK")):
        hub.append(button_xml(bid, 533, y, "button_normal.png", "button_over.png", key))
    hub.append('</Screen>\n')
    write(os.path.join(folder, "Screen.xml"), "".join(hub))

    def page(kind, list_element, child, files):
        xml = ['<?xml version="1.0" encoding="UTF-8"?>\n',
               '<!-- Encyclopedia page: previous (0), next (1), close (2) and the entity files in order. -->\n',
               '<Screen path="content/images/menus/encyclopedia/">\n',
               '  <ImageWidget textureFilename="page.png" x="183" y="40" width="1000" height="560" layer="1"/>\n',
               '  <Button id="0" x="400" y="640" entryFadeDuration="250" overTextureFadeDuration="150">\n'
               '    <Texture normal="arrow_left.png" over="arrow_left_over.png" pressEffect="true"/>\n'
               '  </Button>\n',
               '  <Button id="1" x="910" y="640" entryFadeDuration="250" overTextureFadeDuration="150">\n'
               '    <Texture normal="arrow_right.png" over="arrow_right_over.png" pressEffect="true"/>\n'
               '  </Button>\n',
               button_xml(2, 533, 640, "button_normal.png", "button_over.png", "SCREENS_CLOSE"),
               '  <%s>\n' % list_element]
        for f in files:
            xml.append('    <%s file="%s"/>\n' % (child, f))
        xml.append('  </%s>\n</Screen>\n' % list_element)
        write(os.path.join(folder, kind, "Screen.xml"), "".join(xml))

    page("aliens", "Aliens", "Enemy", ["content/config/Entities/enemies/%s.xml" % e for e in ENEMIES])
    page("towers", "Towers", "Tower", ["content/config/Entities/towers/%s.xml" % t for t in TOWERS])


def progress_dialog():
    folder = os.path.join(MENUS, "progress")
    out(folder, "dialog_panel.png", panel(560, 300))
    out(folder, "button_normal.png", small_button(240, 52, False))
    out(folder, "button_over.png", small_button(240, 52, True))
    for name, length, frames in (
            ("dialog_open.xml", 260, ((0, 24, 92, 0), (260, 0, 100, 255))),
            ("dialog_close.xml", 220, ((0, 0, 100, 255), (220, 24, 94, 0)))):
        keys = "".join(
            '    <KeyFrame TimeStamp="%d" TypeInterpolator="0" Type="0" x="0" y="%d" z="0" ScaleX="%d" ScaleY="%d"'
            ' Angle="0" Red="255" Green="255" Blue="255" Alpha="%d"/>\n' % (t, y, sc, sc, a) for t, y, sc, a in frames)
        write(os.path.join(folder, name),
              '<?xml version="1.0" encoding="UTF-8"?>\n'
              '<Scene name="%s" loop="0" length="%d">\n  <Screen Width="560" Height="300"/>\n'
              '  <Object file="dialog_panel.png" type="0">\n%s  </Object>\n</Scene>\n'
              % (name[:-4].replace("_", " "), length, keys))
    write(os.path.join("content", "config", "GameProgressDialog.xml"),
          '<?xml version="1.0" encoding="UTF-8"?>\n'
          '<!-- Asked before a new game erases the campaign: 102 erases, 103 keeps. -->\n'
          '<Dialog id="1" rect="Rect(403, 234, 560, 300)">\n'
          '  <Animation open="content/images/menus/progress/dialog_open.xml"\n'
          '             close="content/images/menus/progress/dialog_close.xml"/>\n'
          '  <Label id="1" x="0" y="0" text="PROGRESS_TITLE" font="FONT_NOTOSANS24" rect="Rect(28, 22, 504, 40)"\n'
          '         color="Color(190, 240, 255, 255)" horizontalAlignment="LEFT"/>\n'
          '  <Label id="2" x="0" y="0" text="PROGRESS_BODY" font="FONT_NOTOSANS20" rect="Rect(28, 90, 504, 110)"\n'
          '         horizontalAlignment="LEFT" verticalAlignment="TOP"/>\n'
          '  <Button id="102" x="24" y="226" layer="2" entryFadeDuration="200" overTextureFadeDuration="150">\n'
          '    <Texture normal="content/images/menus/progress/button_normal.png"\n'
          '             over="content/images/menus/progress/button_over.png" pressEffect="true"/>\n'
          '    <Label name="PROGRESS_YES" fontName="FONT_NOTOSANS24" color="Color(255, 190, 120, 255)"/>\n'
          '  </Button>\n'
          '  <Button id="103" x="296" y="226" layer="2" entryFadeDuration="200" overTextureFadeDuration="150">\n'
          '    <Texture normal="content/images/menus/progress/button_normal.png"\n'
          '             over="content/images/menus/progress/button_over.png" pressEffect="true"/>\n'
          '    <Label name="PROGRESS_NO" fontName="FONT_NOTOSANS24" color="Color(200, 240, 255, 255)"/>\n'
          '  </Button>\n'
          '</Dialog>\n')


def intro():
    out(os.path.join("content", "images", "intro"), "escapepod.png", escape_pod(40))
    write(os.path.join(ENTITIES, "escapepod.xml"),
          '<?xml version="1.0" encoding="UTF-8"?>\n'
          '<!-- The intro\'s escape pod. Made by tools/gen_screens.py. -->\n'
          '<Entity\n'
          '  descriptionName="xPhysicsPrimitiveEntityDesc"\n'
          '  dynamic="1"\n'
          '  bodyType="3DOF"\n'
          '  primitiveType="circle"\n'
          '  bodyMass="50"\n'
          '  shapeFeaturesX="12"\n'
          '  texturePath="content/images/intro/escapepod.png"\n'
          '  collisionCategory="actor"\n'
          '  material="hull"\n'
          '  debugRender="0"\n'
          '  renderingPriority="200" />\n')


def main():
    options()
    calibration()
    encyclopedia()
    progress_dialog()
    intro()
    write_label_block("  <!-- settings and reference screens: tools/gen_screens.py -->",
                      "  <!-- end of settings and reference screens -->", LABELS)


if __name__ == "__main__":
    main()
