#!/usr/bin/python3
"""Bakes Noto Sans into the game's bitmap fonts.

Usage: /usr/bin/python3 tools/fonts/bake_fonts.py [output-folder]
(default: content/fonts beside this repository's tools/ folder), or
       /usr/bin/python3 tools/fonts/bake_fonts.py --check
which bakes into a temporary folder and fails when the committed fonts differ.

For each size it writes NotoSans<size>.fnt (XML: font/info/common/pages/chars/
kernings) and its page images NotoSans<size>_<n>.png: white glyphs whose alpha is
the coverage, packed into power-of-two pages.

Debian's python3-pil only imports under /usr/bin/python3. Kerning comes from the
font's own pair adjustments, measured through the complex-layout engine (libraqm,
a dependency of python3-pil). Output is deterministic: same inputs, same bytes.

How the game's font reader places a glyph: it draws the glyph's cell with its left
edge at the pen and then moves the pen by xadvance - xoffset. So each cell here
starts at the pen origin (the left side bearing is part of the cell) and xoffset
stays 0; a glyph whose ink reaches left of the origin (a negative bearing, as in
"j") starts its cell at the ink instead and is drawn that many pixels to the right.
"""

import filecmp
import os
import sys
import tempfile

from PIL import Image, ImageDraw, ImageFont, features

FONT_PATH = "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"
FACE = "Noto Sans"
SIZES = (16, 20, 24, 46)
# Printable ASCII and the printable half of Latin-1; a text byte is its code point.
CODES = list(range(32, 127)) + list(range(160, 256))
# Shaping without ligatures so a pair measures as two glyphs plus their kerning.
PAIR_FEATURES = ["-liga", "-clig", "-dlig", "kern"]
SPACING = 1  # empty pixels between cells so linear filtering never bleeds
MAX_PAGE = 1024


def glyph_cell(font, code, ascent, descent):
    """Renders one character; returns (image or None, top, advance)."""
    ch = chr(code)
    advance = font.getlength(ch)
    pad = max(8, ascent)
    w = int(advance) + 2 * pad + ascent
    h = ascent + descent + 2 * pad
    canvas = Image.new("L", (w, h), 0)
    origin = (pad, pad + ascent)  # pen position on the baseline
    ImageDraw.Draw(canvas).text(origin, ch, fill=255, font=font, anchor="ls")
    box = canvas.getbbox()
    if box is None:
        return None, 0, advance
    left = min(box[0], origin[0])
    cell = canvas.crop((left, box[1], box[2], box[3]))
    top = box[1] - (origin[1] - ascent)  # from the top of the line
    return cell, top, advance


def pack(cells, width):
    """Shelf packing in a fixed width; returns positions and the used height."""
    x = y = shelf = 0
    spots = {}
    # Tallest first gives tight shelves; ties by code keep the order stable.
    order = sorted(cells, key=lambda c: (-cells[c].size[1], c))
    for code in order:
        cw, ch = cells[code].size
        if x + cw + SPACING > width:
            x = 0
            y += shelf + SPACING
            shelf = 0
        spots[code] = (x + SPACING, y + SPACING)
        x += cw + SPACING
        shelf = max(shelf, ch)
    return spots, y + shelf + 2 * SPACING


def pow2(n):
    p = 1
    while p < n:
        p *= 2
    return p


def choose_page(cells):
    """Smallest power-of-two page (width >= height/2) that holds every cell."""
    for width in (64, 128, 256, 512, 1024):
        spots, used = pack(cells, width)
        height = pow2(used)
        if height <= max(width, 64) and height <= MAX_PAGE:
            return spots, width, height
    raise SystemExit("glyphs do not fit one %dx%d page" % (MAX_PAGE, MAX_PAGE))


def kerning_pairs(font, codes):
    single = {c: font.getlength(chr(c), features=PAIR_FEATURES) for c in codes}
    pairs = []
    for a in codes:
        for b in codes:
            both = font.getlength(chr(a) + chr(b), features=PAIR_FEATURES)
            amount = int(round(both - single[a] - single[b]))
            if amount != 0:
                pairs.append((a, b, amount))
    return pairs


def bake(size, out_dir):
    font = ImageFont.truetype(FONT_PATH, size, layout_engine=ImageFont.Layout.RAQM)
    ascent, descent = font.getmetrics()
    line_height = ascent + descent
    cells, glyphs = {}, {}
    for code in CODES:
        cell, top, advance = glyph_cell(font, code, ascent, descent)
        if cell is not None:
            cells[code] = cell
        # A cell that starts left of the pen moves the ink right; keep the
        # advance so the following glyphs stay where the font puts them.
        glyphs[code] = dict(yoffset=top if cell is not None else 0,
                            xadvance=int(round(advance)))
    spots, width, height = choose_page(cells)
    page = Image.new("L", (width, height), 0)
    for code, (x, y) in spots.items():
        page.paste(cells[code], (x, y))
    white = Image.new("L", (width, height), 255)
    rgba = Image.merge("RGBA", (white, white, white, page))
    base = "NotoSans%d" % size
    page_name = base + "_0.png"
    rgba.save(os.path.join(out_dir, page_name), optimize=True)

    pairs = kerning_pairs(font, CODES)
    lines = ['<?xml version="1.0"?>', "<font>"]
    lines.append('  <info face="%s" size="%d" bold="0" italic="0" charset="ISO-8859-1" '
                 'unicode="0" stretchH="100" smooth="1" aa="1" padding="0,0,0,0" '
                 'spacing="%d,%d" outline="0"/>' % (FACE, size, SPACING, SPACING))
    lines.append('  <common lineHeight="%d" base="%d" scaleW="%d" scaleH="%d" pages="1" '
                 'packed="0" alphaChnl="0" redChnl="4" greenChnl="4" blueChnl="4"/>'
                 % (line_height, ascent, width, height))
    lines.append("  <pages>")
    lines.append('    <page id="0" file="%s"/>' % page_name)
    lines.append("  </pages>")
    lines.append('  <chars count="%d">' % len(CODES))
    for code in CODES:
        g = glyphs[code]
        if code in cells:
            x, y = spots[code]
            w, h = cells[code].size
        else:
            x = y = w = h = 0
        lines.append('    <char id="%d" x="%d" y="%d" width="%d" height="%d" xoffset="0" '
                     'yoffset="%d" xadvance="%d" page="0" chnl="15"/>'
                     % (code, x, y, w, h, g["yoffset"], g["xadvance"]))
    lines.append("  </chars>")
    lines.append('  <kernings count="%d">' % len(pairs))
    for a, b, amount in pairs:
        lines.append('    <kerning first="%d" second="%d" amount="%d"/>' % (a, b, amount))
    lines.append("  </kernings>")
    lines.append("</font>")
    with open(os.path.join(out_dir, base + ".fnt"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print("%s.fnt: %dx%d page, %d glyphs, %d kerning pairs"
          % (base, width, height, len(CODES), len(pairs)))


def check(committed):
    """Bakes afresh and compares with the committed files byte for byte."""
    with tempfile.TemporaryDirectory() as fresh:
        for size in SIZES:
            bake(size, fresh)
        names = sorted(os.listdir(fresh))
        _, mismatch, errors = filecmp.cmpfiles(committed, fresh, names, shallow=False)
        for name in mismatch + errors:
            print("differs from a fresh bake: %s" % os.path.join(committed, name))
        return 1 if mismatch or errors else 0


def main():
    if not features.check("raqm"):
        raise SystemExit("libraqm is missing: kerning cannot be measured (install libraqm0)")
    here = os.path.dirname(os.path.abspath(__file__))
    committed = os.path.join(here, "..", "..", "content", "fonts")
    if len(sys.argv) > 1 and sys.argv[1] == "--check":
        sys.exit(check(committed))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else committed
    os.makedirs(out_dir, exist_ok=True)
    for size in SIZES:
        bake(size, out_dir)


if __name__ == "__main__":
    main()
