#!/usr/bin/python3
"""Writes the level's command bridge: its panel strips, bridge buttons, the auto-wave
check box, the tower command buttons, one build button per tower kind,
the layout content/images/game/userinterface/CommandBridgeUI.xml that places them, and the
bridge's labels in content/strings/english.xml.

The ids of the strips, buttons and commands and the places the game draws on as well
come from the game's header Code/Game/BridgeIds.h (tools/bridge_ids.py reads it), so
the layout and the game cannot disagree on them.

Everything is drawn at 4x and downsampled. Output is deterministic and committed.
Run from the repository root: /usr/bin/python3 tools/gen_bridge.py
"""
import math
import os

from PIL import Image, ImageDraw, ImageFilter

from bridge_ids import read_ids
from label_block import write_label_block
from gen_ui_images import CYAN, PALE, PANEL, SS, canvas, finish, rounded_panel, s, save

GAME = os.path.join("content", "images", "game")
UI = os.path.join(GAME, "userinterface")
LAYOUT = os.path.join(UI, "CommandBridgeUI.xml")

AMBER = (255, 190, 70)
IDS = read_ids()

# The bridge fills the strip right of the 1024-pixel field; its images all sit at its x
# (the boot animation puts them there) and slide in from below one after the other.
BRIDGE_X = IDS["kBridgeX"]
BRIDGE_W = 1366 - BRIDGE_X
# (id, file, y, height, corner brackets). The ids name the panels the level writes on:
# statistics, towers, info, tower commands. Ids above 2 get a boot delay that grows with
# the id and shrinks with the position in the file.
# The tower buttons come in rows a pitch apart: three rows hold every kind of the game,
# so the bay ends just below them. The info strip's texts step by the panel font's line
# height (23): a name, three rows of figures and a description of up to three lines fit
# below its title band. The command strip's title band ends above its first section
# caption.
BAY_TOP = 150
BAY_END = IDS["kTowerGridY"] + 3 * IDS["kTowerPitch"] - 2
INFO_H = 192
STRIPS = [
    (IDS["kStatsStrip"], "bridge_top.png", 0, BAY_TOP, False),
    (IDS["kTowerBay"], "bridge_bay.png", BAY_TOP, BAY_END - BAY_TOP, True),
    (IDS["kInfoStrip"], "bridge_info.png", BAY_END, INFO_H, False),
    (IDS["kCommandStrip"], "bridge_command.png", BAY_END + INFO_H, 768 - BAY_END - INFO_H, False),
]
# The title band of each strip, in pixels from its top.
TITLE_TOP = 3
TITLE_BOTTOM = 21

ICON = 40           # bridge buttons
ROW_Y = 108         # their row in the top strip
# The command panel's buttons: four targeting buttons to a row across its width, the trade
# page's two at its ends.
CMD_X = IDS["kCommandX"]
CMD_W = 75
CMD_PITCH = (IDS["kCommandWidth"] - CMD_W) // 3
CMD_ROW = 28
TRADE_W = 150
UPGRADE_W = 200
CMD_FONT = "FONT_NOTOSANS16"
CAPTION = "Color(200, 240, 255, 255)"
CAPTION_OVER = "Color(255, 255, 255, 255)"

# Tower kinds in the order of the level's tower descriptions: ten attack towers, five support
# towers, the drone station and the navigation beacon.

LABELS = [
    ("LABEL_STRATEGYTOWER", "Targeting"),
    ("LABEL_UPGRADETOWER", "Upgrade"),
    ("LABEL_TRADETOWER", "Trade"),
    ("LABEL_STRATEGY_DISTANT", "Farthest"),
    ("LABEL_STRATEGY_CLOSEST", "Closest"),
    ("LABEL_STRATEGY_WEAKEST", "Weakest"),
    ("LABEL_STRATEGY_STRONGEST", "Strongest"),
    ("LABEL_STRATEGY_FIRST", "First"),
    ("LABEL_STRATEGY_LAST", "Last"),
    ("LABEL_STRATEGY_SLOWEST", "Slowest"),
    ("LABEL_STRATEGY_FASTEST", "Fastest"),
    ("LABEL_TRADE", "Sell..."),
    ("LABEL_KEEP", "Keep"),
    ("SELL", "Sell"),
    ("UPGRADE_FOR", "Upgrade for"),
]


# --- drawing helpers -------------------------------------------------------------------

def strip(w, h, brackets):
    """A dark glass strip with a thin cyan rim and a pale title band: the level writes
    each panel's caption in dark grey on the band (rows y + 6 .. y + 20)."""
    img = rounded_panel(w, h, 6, PANEL + (200,), CYAN, 1.2)
    band = canvas(w, h)
    bd = ImageDraw.Draw(band)
    bd.rounded_rectangle([s(3), s(TITLE_TOP), s(w - 3) - 1, s(TITLE_BOTTOM) - 1], radius=s(4),
                         fill=PALE + (225,))
    img = Image.alpha_composite(img, finish(band, w, h))
    if brackets:
        # Corner brackets mark the tower bay.
        d = ImageDraw.Draw(img)
        y = TITLE_BOTTOM + 4
        for x0, sx in ((8, 1), (w - 9, -1)):
            d.line([(x0, y), (x0 + 10 * sx, y)], fill=CYAN + (200,), width=1)
            d.line([(x0, y), (x0, y + 10)], fill=CYAN + (200,), width=1)
    return img


def icon_base(w, h, hover):
    if hover:
        return rounded_panel(w, h, 6, (40, 150, 200, 80), PALE, 1.6, glow=2)
    return rounded_panel(w, h, 6, (12, 30, 52, 215), CYAN, 1.2)


def glyph(w, h, draw_fn, hover=False):
    """A button image: the base panel, then the glyph drawn at 4x in unit coordinates."""
    base = icon_base(w, h, hover)
    if hover:
        return base
    layer = canvas(w, h)
    d = ImageDraw.Draw(layer)

    def P(x, y):  # unit square (0..1) to the 4x canvas, inset from the rim
        return (s(w * 0.18 + x * w * 0.64), s(h * 0.18 + y * h * 0.64))

    draw_fn(d, P, s)
    return Image.alpha_composite(base, finish(layer, w, h))


def g_pause(d, P, s_):
    d.rectangle([P(0.18, 0.1), P(0.4, 0.9)], fill=PALE + (255,))
    d.rectangle([P(0.6, 0.1), P(0.82, 0.9)], fill=PALE + (255,))


def g_help(d, P, s_):
    d.arc([P(0.22, 0.02), P(0.78, 0.52)], 190, 90, fill=PALE + (255,), width=s_(3))
    d.line([P(0.5, 0.5), P(0.5, 0.68)], fill=PALE + (255,), width=s_(3))
    d.ellipse([P(0.43, 0.8), P(0.57, 0.96)], fill=PALE + (255,))


def path_curve(d, P, s_, alpha):
    pts = [P(0.0, 0.8), P(0.25, 0.3), P(0.5, 0.6), P(0.75, 0.15), P(1.0, 0.4)]
    d.line(pts, fill=AMBER + (alpha,), width=s_(2.5), joint="curve")


def g_paths_show(d, P, s_):
    path_curve(d, P, s_, 110)


def g_paths_hide(d, P, s_):
    path_curve(d, P, s_, 255)


def chevrons(d, P, s_, n):
    step = 0.32
    x0 = 0.5 - step * (n - 1) / 2 - 0.18
    for i in range(n):
        x = x0 + i * step
        d.line([P(x, 0.15), P(x + 0.36, 0.5), P(x, 0.85)], fill=PALE + (255,), width=s_(3), joint="curve")


def g_speed_fast(d, P, s_):
    chevrons(d, P, s_, 2)


def g_speed_normal(d, P, s_):
    chevrons(d, P, s_, 1)


def g_next_wave(d, P, s_):
    d.polygon([P(0.05, 0.15), P(0.6, 0.5), P(0.05, 0.85)], fill=PALE + (255,))
    d.rectangle([P(0.7, 0.15), P(0.85, 0.85)], fill=PALE + (255,))


def g_grid(d, P, s_):
    for i in range(4):
        t = i / 3
        d.line([P(t, 0), P(t, 1)], fill=CYAN + (255,), width=s_(1.5))
        d.line([P(0, t), P(1, t)], fill=CYAN + (255,), width=s_(1.5))


def check_box(size, checked):
    img = canvas(size, size)
    d = ImageDraw.Draw(img)
    if not checked:
        d.rounded_rectangle([s(2), s(2), s(size - 2) - 1, s(size - 2) - 1], radius=s(5),
                            fill=PANEL + (215,), outline=CYAN + (255,), width=s(1.2))
        # A looping arrow: waves follow each other by themselves.
        c = size / 2
        r = size * 0.26
        d.arc([s(c - r), s(c - r), s(c + r), s(c + r)], 40, 320, fill=CYAN + (170,), width=s(1.6))
        a = math.radians(40)
        tip = (c + r * math.cos(a), c + r * math.sin(a))
        d.polygon([(s(tip[0] + 2.6), s(tip[1] - 0.6)), (s(tip[0] - 2.2), s(tip[1] - 1.2)),
                   (s(tip[0] + 0.4), s(tip[1] + 3.0))], fill=CYAN + (170,))
    else:
        pts = [(s(size * 0.24), s(size * 0.52)), (s(size * 0.43), s(size * 0.72)), (s(size * 0.78), s(size * 0.28))]
        d.line(pts, fill=PALE + (255,), width=s(2.6), joint="curve")
    return finish(img, size, size)


def text_button(w, h, hover):
    if hover:
        return rounded_panel(w, h, 5, (40, 150, 200, 90), PALE, 1.4, glow=2)
    return rounded_panel(w, h, 5, (12, 30, 52, 220), CYAN, 1.0)


# --- layout -------------------------------------------------------------------------------

def button_xml(bid, x, y, normal, over, label=None, rect=None, halign=2):
    lines = ['  <Button id="%d" x="%d" y="%d" entryFadeDuration="200" overTextureFadeDuration="120">' % (bid, x, y),
             '    <Texture normal="%s" over="%s"/>' % (normal, over)]
    if label:
        extra = ' rect="Rect(%d, %d, %d, %d)"' % rect if rect else ""
        lines.append('    <Label name="%s" fontName="%s" color="%s" colorOver="%s" horizontalAlign="%d"%s/>'
                     % (label, CMD_FONT, CAPTION, CAPTION_OVER, halign, extra))
    lines.append("  </Button>")
    return lines


def write_layout():
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- The level's command bridge. Written by tools/gen_bridge.py. -->",
           '<Screen path="content/images/game/userinterface/">']
    out.append("  <!-- panel strips: they slide in from below while the bridge boots -->")
    for sid, name, y, h, _ in STRIPS:
        out.append('  <ImageWidget id="%d" textureFilename="%s" x="%d" y="%d" width="%d" height="%d"/>'
                   % (sid, name, BRIDGE_X, y, BRIDGE_W, h))
    out.append("  <!-- bridge buttons: pause, help, paths, game speed, grid, next wave -->")
    xs = [1046 + 44 * i for i in range(5)]
    out += button_xml(IDS["kPause"], xs[0], ROW_Y, "btn_pause.png", "icon_over.png")
    out += button_xml(IDS["kHelp"], xs[1], ROW_Y, "btn_help.png", "icon_over.png")
    out += button_xml(IDS["kPathsShow"], xs[2], ROW_Y, "btn_paths_show.png", "icon_over.png")
    out += button_xml(IDS["kPathsHide"], xs[2], ROW_Y, "btn_paths_hide.png", "icon_over.png")
    out += button_xml(IDS["kSpeedFast"], xs[3], ROW_Y, "btn_speed_fast.png", "icon_over.png")
    out += button_xml(IDS["kSpeedNormal"], xs[3], ROW_Y, "btn_speed_normal.png", "icon_over.png")
    out += button_xml(IDS["kGrid"], xs[4], ROW_Y, "btn_grid.png", "icon_over.png")
    out += button_xml(IDS["kSendWave"], 1266, ROW_Y, "btn_next_wave.png", "wide_over.png")
    out.append('  <Checkbox id="%d" x="1332" y="%d">' % (IDS["kAutoWaveBox"], ROW_Y + 6))
    out.append('    <Texture normal="check_auto.png" checked="check_auto_on.png"/>')
    out.append("  </Checkbox>")
    out.append("  <!-- tower commands: the targeting buttons four to a row, sell, keep, trade, upgrade;")
    out.append("       the command panel finds each by its id -->")
    strategies = [("kAimFarthest", "LABEL_STRATEGY_DISTANT"), ("kAimClosest", "LABEL_STRATEGY_CLOSEST"),
                  ("kAimWeakest", "LABEL_STRATEGY_WEAKEST"), ("kAimStrongest", "LABEL_STRATEGY_STRONGEST"),
                  ("kAimFirst", "LABEL_STRATEGY_FIRST"), ("kAimLast", "LABEL_STRATEGY_LAST"),
                  ("kAimSlowest", "LABEL_STRATEGY_SLOWEST"), ("kAimFastest", "LABEL_STRATEGY_FASTEST")]
    for i, (name, label) in enumerate(strategies):
        out += button_xml(IDS[name], CMD_X + CMD_PITCH * (i % 4), IDS["kTargetingY"] + CMD_ROW * (i // 4),
                          "cmd_small.png", "cmd_small_over.png", label)
    trade_y = IDS["kTradeY"]
    keep_x = CMD_X + IDS["kCommandWidth"] - TRADE_W
    out += button_xml(IDS["kSell"], CMD_X, trade_y, "cmd_trade.png", "cmd_trade_over.png", "SELL")
    out += button_xml(IDS["kShowStrategies"], keep_x, trade_y, "cmd_trade.png", "cmd_trade_over.png", "LABEL_KEEP")
    out += button_xml(IDS["kShowTrade"], CMD_X, trade_y, "cmd_trade.png", "cmd_trade_over.png", "LABEL_TRADE")
    out += button_xml(IDS["kUpgrade"], CMD_X, IDS["kUpgradeY"], "cmd_upgrade.png", "cmd_upgrade_over.png",
                      "UPGRADE_FOR")
    out.append("</Screen>")
    with open(LAYOUT, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(out) + "\n")


BLOCK_START = "  <!-- command bridge: tools/gen_bridge.py -->"
BLOCK_END = "  <!-- end of command bridge -->"




def main():
    for _, name, _, h, brackets in STRIPS:
        save(strip(BRIDGE_W, h, brackets), UI, name)
    for name, fn in (("btn_pause", g_pause), ("btn_help", g_help), ("btn_paths_show", g_paths_show),
                     ("btn_paths_hide", g_paths_hide), ("btn_speed_fast", g_speed_fast),
                     ("btn_speed_normal", g_speed_normal), ("btn_grid", g_grid)):
        save(glyph(ICON, ICON, fn), UI, name + ".png")
    save(icon_base(ICON, ICON, True), UI, "icon_over.png")
    save(glyph(62, ICON, g_next_wave), UI, "btn_next_wave.png")
    save(icon_base(62, ICON, True), UI, "wide_over.png")
    save(check_box(28, False), UI, "check_auto.png")
    save(check_box(28, True), UI, "check_auto_on.png")
    save(text_button(CMD_W, 24, False), UI, "cmd_small.png")
    save(text_button(CMD_W, 24, True), UI, "cmd_small_over.png")
    save(text_button(TRADE_W, 28, False), UI, "cmd_trade.png")
    save(text_button(TRADE_W, 28, True), UI, "cmd_trade_over.png")
    save(text_button(UPGRADE_W, 24, False), UI, "cmd_upgrade.png")
    save(text_button(UPGRADE_W, 24, True), UI, "cmd_upgrade_over.png")
    # The upgrade mark itself (UpgradeIcon.png) is one of the level textures,
    # made with the others by gen_game_images.py.
    write_layout()
    write_label_block(BLOCK_START, BLOCK_END, LABELS)


if __name__ == "__main__":
    main()
