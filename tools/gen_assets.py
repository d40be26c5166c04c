#!/usr/bin/python3
"""Certivex asset generator.

Draws every picture that Certivex embeds or ships, from Pillow primitives
only, and checks the results.  Run from the repository root:

    /usr/bin/python3 tools/gen_assets.py

Output (overwritten on every run, byte-for-byte the same each time):

  assets/skin_atlas.gif          frame, caption and caption-button sprites of
                                 the skin (GIF89a 218 x 342, 256-colour global
                                 table, entry 0 = magenta key, no transparency
                                 extension)
  assets/default_template.jpg    built-in certificate template (500 x 316)
  assets/default_photo.bmp       built-in head photo (24-bit BMP, 60 x 70)
  assets/certivex.ico            program icon (16, 32, 48 px)
  templates/*.jpg                sample templates for the template folder,
                                 same layout as the built-in one
  assets/samples/photo.{jpg,gif,png}
                                 head photos for demos and tests (the GIF is
                                 animated)

Atlas rules: every pixel outside the sprite rectangles is magenta (index 0);
inside the sprites magenta appears only at the rounded-corner key pixels
(caption top corners, bottom-border lower corners, minimize lower-left,
close lower-right).  The stretched parts are drawn so that stretching does
not smear them: caption and bottom-border middles are a pure vertical
gradient, the side borders repeat one row.

Template layout: CertificateView shows the template stretched to 464 x 296;
the overlay labels are placed in those view coordinates, so every printed
caption is placed in view coordinates and mapped to the 500 x 316 picture.
The area under each overlay label is kept plain white and the script checks
the decoded JPEG for it.

Needs: Debian python3-pil, fonts-wqy-zenhei, fonts-arphic-uming,
fonts-arphic-ukai.
"""

import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "assets")
SAMPLES = os.path.join(ASSETS, "samples")
TEMPLATES = os.path.join(ROOT, "templates")

FONT_DIR = "/usr/share/fonts/truetype"
FONT_HEI = os.path.join(FONT_DIR, "wqy", "wqy-zenhei.ttc")       # index 0: Zen Hei
FONT_MING = os.path.join(FONT_DIR, "arphic", "uming.ttc")         # index 0: UMing TW MBE
FONT_KAI = os.path.join(FONT_DIR, "arphic", "ukai.ttc")
FONT_SERIF = os.path.join(FONT_DIR, "dejavu", "DejaVuSerif.ttf")

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)


def fail(msg):
    sys.stderr.write("gen_assets: CHECK FAILED: %s\n" % msg)
    sys.exit(1)


def check(cond, msg):
    if not cond:
        fail(msg)


def lerp(a, b, t):
    """Colour between a and b, t in 0..1, rounded to the nearest integer."""
    return tuple(int(math.floor(a[i] + (b[i] - a[i]) * t + 0.5)) for i in range(3))


def font(path, size, index=None):
    if index is None:
        index = 0
    return ImageFont.truetype(path, size, index=index)


def find_ttc_index(path, family_part):
    """Index of the face in a .ttc whose family name contains family_part."""
    for i in range(8):
        try:
            f = ImageFont.truetype(path, 12, index=i)
        except OSError:
            break
        if family_part in f.getname()[0]:
            return i
    return 0


# ---------------------------------------------------------------------------
# Skin atlas
# ---------------------------------------------------------------------------

ATLAS_W, ATLAS_H = 218, 342

# name -> (x, y, w, h)
SPRITES = {
    "caption.active": (0, 31, 169, 31),
    "caption.inactive": (0, 0, 169, 31),
    "leftBorder.active": (41, 217, 3, 14),
    "leftBorder.inactive": (213, 0, 3, 15),
    "rightBorder.active": (215, 81, 3, 14),
    "rightBorder.inactive": (213, 62, 3, 14),
    "bottomBorder.active": (193, 26, 24, 5),
    "bottomBorder.inactive": (169, 26, 24, 5),
    "minimizeButton.0": (75, 137, 25, 18),
    "minimizeButton.1": (50, 137, 25, 18),
    "minimizeButton.2": (25, 137, 25, 18),
    "minimizeButton.3": (0, 137, 25, 18),
    "maximizeButton.0": (170, 102, 26, 18),
    "maximizeButton.1": (144, 102, 26, 18),
    "maximizeButton.2": (118, 102, 26, 18),
    "maximizeButton.3": (92, 102, 26, 18),
    "closeButton.0": (137, 81, 42, 18),
    "closeButton.1": (95, 81, 42, 18),
    "closeButton.2": (53, 81, 42, 18),
    "closeButton.3": (169, 31, 42, 18),
    "restoreButton.0": (66, 102, 26, 18),
    "restoreButton.1": (40, 102, 26, 18),
    "restoreButton.2": (14, 102, 26, 18),
    "restoreButton.3": (179, 81, 26, 18),
    "backgroundCell": (37, 155, 20, 20),
}

# Stretch margins (left, right) of the caption and the bottom border.
CAPTION_MARGINS = {"caption.active": (46, 53), "caption.inactive": (42, 46)}
BOTTOM_MARGINS = (6, 6)

BLUE = {
    "outline": (1, 82, 150),
    "topLight": (148, 233, 253),
    "sideLight": (158, 245, 254),
    "gradTop": (84, 216, 247),
    "gradBottom": (46, 189, 235),
    "row29": (14, 158, 215),
    "row30": (239, 240, 241),
    "borderInner": (184, 213, 237),
    "bottomRow0": (180, 211, 237),
    "bottomRow1": (173, 212, 238),
    "side1": (20, 95, 157),
    "side2": (57, 121, 164),
}
GREY = {
    "outline": (77, 77, 77),
    "topLight": (196, 196, 196),
    "sideLight": (207, 207, 207),
    "gradTop": (165, 165, 165),
    "gradBottom": (140, 140, 140),
    "row29": (115, 115, 115),
    "row30": (238, 238, 238),
    "borderInner": (214, 214, 214),
    "bottomRow0": (214, 214, 214),
    "bottomRow1": (207, 207, 207),
    "side1": (115, 115, 115),
    "side2": (132, 132, 132),
}


def caption_key_pixels(w, h):
    keys = set()
    for row, n in ((0, 3), (1, 2), (2, 1)):
        for i in range(n):
            keys.add((i, row))
            keys.add((w - 1 - i, row))
    return keys


def bottom_key_pixels(w, h):
    keys = set()
    for row, n in ((2, 1), (3, 2), (4, 3)):
        for i in range(n):
            keys.add((i, row))
            keys.add((w - 1 - i, row))
    return keys


def minimize_key_pixels(w, h):
    return {(0, h - 1), (1, h - 1), (0, h - 2)}


def close_key_pixels(w, h):
    return {(w - 1, h - 1), (w - 2, h - 1), (w - 1, h - 2)}


def key_pixels_of(name, w, h):
    if name.startswith("caption."):
        return caption_key_pixels(w, h)
    if name.startswith("bottomBorder."):
        return bottom_key_pixels(w, h)
    if name.startswith("minimizeButton."):
        return minimize_key_pixels(w, h)
    if name.startswith("closeButton."):
        return close_key_pixels(w, h)
    return set()


def caption_gradient(c, row):
    """Caption face colour of rows 2..28: a two-band glass gradient."""
    t = (row - 2) / 26.0
    if row <= 13:          # upper, glossier band
        return lerp(c["gradTop"], c["gradBottom"], t * 0.62)
    return lerp(c["gradTop"], c["gradBottom"], 0.55 + (t - 0.44) / 0.56 * 0.45)


def draw_caption(c, w, h):
    im = Image.new("RGB", (w, h), MAGENTA)
    px = im.load()
    for y in range(h):
        if y == 0:
            row = c["outline"]
        elif y == 1:
            row = c["topLight"]
        elif y <= 28:
            row = caption_gradient(c, y)
        elif y == 29:
            row = c["row29"]
        else:
            row = c["row30"]
        for x in range(w):
            px[x, y] = row
        # side outlines and their inner light line
        if y >= 1:
            for x in (0, w - 1):
                px[x, y] = c["outline"]
            if y >= 2:
                for x in (1, w - 2):
                    px[x, y] = c["sideLight"]
    # rounded top corners: outline steps in, light line follows it
    for x0, s in ((0, 1), (w - 1, -1)):
        px[x0 + s * 2, 1] = c["outline"]
        px[x0 + s * 1, 2] = c["outline"]
        px[x0 + s * 3, 1] = lerp(c["outline"], c["topLight"], 0.55)
        px[x0 + s * 2, 2] = c["sideLight"]
        px[x0 + s * 3, 2] = lerp(c["sideLight"], caption_gradient(c, 2), 0.5)
    for (x, y) in caption_key_pixels(w, h):
        px[x, y] = MAGENTA
    return im


def draw_side_border(c, w, h, mirror):
    cols = [c["outline"], c["sideLight"], c["borderInner"]]
    if mirror:
        cols.reverse()
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = cols[x]
    return im


def draw_bottom_border(c, w, h):
    im = Image.new("RGB", (w, h), MAGENTA)
    px = im.load()
    rows = [c["bottomRow0"], c["bottomRow1"], c["bottomRow1"], c["sideLight"], c["outline"]]
    for y in range(h):
        for x in range(w):
            px[x, y] = rows[y]
    for x0, s in ((0, 1), (w - 1, -1)):
        # rows 0, 1 continue the side border: outline, light, inner
        for y in (0, 1):
            px[x0, y] = c["outline"]
            px[x0 + s, y] = c["sideLight"]
        # row 2: the curve begins
        px[x0 + s, 2] = c["side2"]
        px[x0 + 2 * s, 2] = c["sideLight"]
        # row 3
        px[x0 + 2 * s, 3] = c["side1"]
        # row 4
        px[x0 + 3 * s, 4] = c["side2"]
    for (x, y) in bottom_key_pixels(w, h):
        px[x, y] = MAGENTA
    return im


# Caption button faces: (outline, light line, gradient top, gradient bottom,
# bottom row, glyph, glyph outline)
FACE_NORMAL = dict(outline=(1, 82, 150), light=(158, 245, 254), top=(120, 225, 251),
                   bottom=(57, 197, 238), base=(22, 161, 226), glyph=WHITE,
                   rim=(16, 84, 140))
FACE_HOVER = dict(outline=(1, 82, 150), light=(214, 253, 255), top=(170, 248, 253),
                  bottom=(72, 203, 241), base=(30, 170, 230), glyph=WHITE,
                  rim=(16, 84, 140))
FACE_PRESSED = dict(outline=(1, 70, 130), light=(96, 200, 232), top=(53, 190, 225),
                    bottom=(120, 225, 251), base=(22, 161, 226), glyph=WHITE,
                    rim=(10, 70, 122), pressed=True)
FACE_GREY = dict(outline=(77, 77, 77), light=(214, 214, 214), top=(183, 183, 183),
                 bottom=(153, 153, 153), base=(132, 132, 132), glyph=(112, 112, 112),
                 rim=(206, 206, 206), flat_rim=True)
FACE_RED_HOVER = dict(outline=(96, 20, 8), light=(244, 170, 150), top=(197, 43, 13),
                      bottom=(158, 35, 12), base=(128, 26, 8), glyph=WHITE,
                      rim=(92, 16, 6), gloss_top=(232, 122, 98))
FACE_RED_PRESSED = dict(outline=(86, 16, 6), light=(176, 60, 36), top=(158, 35, 12),
                        bottom=(197, 43, 13), base=(128, 26, 8), glyph=WHITE,
                        rim=(86, 14, 4), pressed=True)


def face_row(face, y, h):
    """Colour of face row y (2..h-3)."""
    first, last = 2, h - 3
    t = (y - first) / float(last - first)
    if face.get("pressed"):
        return lerp(face["top"], face["bottom"], t)
    if "gloss_top" in face:
        if t < 0.45:
            return lerp(face["gloss_top"], face["top"], t / 0.45 * 0.8)
        return lerp(face["top"], face["bottom"], (t - 0.45) / 0.55)
    if t < 0.45:                       # glossy upper half
        return lerp(face["top"], face["bottom"], t * 0.55)
    return lerp(face["top"], face["bottom"], 0.5 + (t - 0.45) / 0.55 * 0.5)


def glyph_pixels(kind, w, h):
    """Set of (x, y) pixels of the white glyph of a caption button."""
    pts = set()
    cx = w // 2
    if kind == "minimize":
        for y in range(10, 13):
            for x in range(cx - 5, cx + 4):
                pts.add((x, y))
    elif kind == "maximize":
        x0, x1, y0, y1 = cx - 5, cx + 4, 4, 12
        for x in range(x0, x1 + 1):
            for y in (y0, y0 + 1, y1):
                pts.add((x, y))
        for y in range(y0, y1 + 1):
            pts.add((x0, y))
            pts.add((x1, y))
    elif kind == "restore":
        # back square (upper right), then the front square (lower left)
        bx0, bx1, by0, by1 = cx - 2, cx + 5, 3, 9
        fx0, fx1, fy0, fy1 = cx - 5, cx + 2, 6, 13
        front_area = {(x, y) for x in range(fx0, fx1 + 1) for y in range(fy0, fy1 + 1)}
        for x in range(bx0, bx1 + 1):
            for y in (by0, by0 + 1, by1):
                pts.add((x, y))
        for y in range(by0, by1 + 1):
            pts.add((bx0, y))
            pts.add((bx1, y))
        pts -= front_area
        for x in range(fx0, fx1 + 1):
            for y in (fy0, fy0 + 1, fy1):
                pts.add((x, y))
        for y in range(fy0, fy1 + 1):
            pts.add((fx0, y))
            pts.add((fx1, y))
    elif kind == "close":
        n = 9                                  # 9 rows, lines 2 px thick
        x0 = (w - (n + 1)) // 2
        y0 = 4
        for i in range(n):
            pts.add((x0 + i, y0 + i))
            pts.add((x0 + i + 1, y0 + i))
            pts.add((x0 + n - i, y0 + i))
            pts.add((x0 + n - i - 1, y0 + i))
    return pts


def draw_button(kind, face, w, h):
    im = Image.new("RGB", (w, h))
    px = im.load()
    for y in range(h):
        if y == 0:
            row = face["outline"]
        elif y == 1:
            row = face["light"]
        elif y == h - 2:
            row = face["base"]
        elif y == h - 1:
            row = face["outline"]
        else:
            row = face_row(face, y, h)
        for x in range(w):
            px[x, y] = row
    # sides: the outer buttons of the group (minimize, close) carry a dark
    # outline on both sides; the middle ones only a soft inner highlight.
    outer = kind in ("minimize", "close")
    for y in range(1, h - 1):
        if outer:
            for x in (0, w - 1):
                px[x, y] = face["outline"]
            inner = (1, w - 2)
        else:
            inner = (0, w - 1)
        if 2 <= y <= h - 3:
            # a lighter rim: the face colour of a few rows higher up (keeps
            # the number of colours of the atlas low)
            lit = face["light"] if y < 5 else face_row(face, y - 3, h)
            for x in inner:
                px[x, y] = lit
    # rounded outer bottom corner
    if kind == "minimize":
        px[0, h - 3] = face["outline"]
        px[1, h - 2] = face["outline"]
        px[1, h - 3] = lerp(face["outline"], face["base"], 0.5)
    if kind == "close":
        px[w - 1, h - 3] = face["outline"]
        px[w - 2, h - 2] = face["outline"]
        px[w - 2, h - 3] = lerp(face["outline"], face["base"], 0.5)
    # glyph with a one-pixel rim for contrast
    glyph = glyph_pixels(kind, w, h)
    rim = set()
    for (x, y) in glyph:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x + dx, y + dy)
                if q not in glyph:
                    rim.add(q)
    if face.get("flat_rim"):
        # grey state: a light emboss below/right of the grey glyph only
        rim = {(x + 1, y + 1) for (x, y) in glyph} - glyph
    rim_colour = lerp(face_row(face, h // 2, h), face["rim"], 0.6)
    for (x, y) in rim:
        px[x, y] = rim_colour
    for (x, y) in glyph:
        px[x, y] = face["glyph"]
    for (x, y) in key_pixels_of(kind + "Button.", w, h):
        px[x, y] = MAGENTA
    return im


def button_face(kind, state):
    if state == 0:
        return FACE_NORMAL
    if state == 3:
        return FACE_GREY
    if kind == "close":
        return FACE_RED_HOVER if state == 1 else FACE_RED_PRESSED
    return FACE_HOVER if state == 1 else FACE_PRESSED


def check_atlas_layout():
    rects = list(SPRITES.items())
    for name, (x, y, w, h) in rects:
        check(w > 0 and h > 0 and x >= 0 and y >= 0 and x + w <= ATLAS_W and y + h <= ATLAS_H,
              "sprite %s lies outside the atlas" % name)
    for i in range(len(rects)):
        for j in range(i + 1, len(rects)):
            (n1, (x1, y1, w1, h1)), (n2, (x2, y2, w2, h2)) = rects[i], rects[j]
            overlap = x1 < x2 + w2 and x2 < x1 + w1 and y1 < y2 + h2 and y2 < y1 + h1
            check(not overlap, "sprites %s and %s overlap" % (n1, n2))


def render_atlas():
    check_atlas_layout()
    atlas = Image.new("RGB", (ATLAS_W, ATLAS_H), MAGENTA)

    def put(name, im):
        x, y, w, h = SPRITES[name]
        check(im.size == (w, h), "sprite %s drawn at the wrong size" % name)
        atlas.paste(im, (x, y))

    for look, c in (("active", BLUE), ("inactive", GREY)):
        _, _, w, h = SPRITES["caption." + look]
        put("caption." + look, draw_caption(c, w, h))
        _, _, w, h = SPRITES["leftBorder." + look]
        put("leftBorder." + look, draw_side_border(c, w, h, mirror=False))
        _, _, w, h = SPRITES["rightBorder." + look]
        put("rightBorder." + look, draw_side_border(c, w, h, mirror=True))
        _, _, w, h = SPRITES["bottomBorder." + look]
        put("bottomBorder." + look, draw_bottom_border(c, w, h))
    for kind in ("minimize", "maximize", "close", "restore"):
        for state in range(4):
            name = "%sButton.%d" % (kind, state)
            _, _, w, h = SPRITES[name]
            put(name, draw_button(kind, button_face(kind, state), w, h))
    _, _, w, h = SPRITES["backgroundCell"]
    put("backgroundCell", Image.new("RGB", (w, h), (202, 225, 243)))
    return atlas


def verify_atlas_pixels(atlas):
    """Key pixels exactly where intended, stretchable parts uniform."""
    px = atlas.load()
    inside = set()
    for name, (sx, sy, w, h) in SPRITES.items():
        keys = key_pixels_of(name, w, h)
        for y in range(h):
            for x in range(w):
                inside.add((sx + x, sy + y))
                is_key = px[sx + x, sy + y] == MAGENTA
                check(is_key == ((x, y) in keys),
                      "%s pixel (%d,%d): magenta=%s, key expected=%s"
                      % (name, x, y, is_key, (x, y) in keys))
    for y in range(ATLAS_H):
        for x in range(ATLAS_W):
            if (x, y) not in inside:
                check(px[x, y] == MAGENTA, "atlas pixel (%d,%d) outside sprites is not magenta" % (x, y))

    def col(sx, sy, x, h):
        return [px[sx + x, sy + y] for y in range(h)]

    def row(sx, sy, y, w):
        return [px[sx + x, sy + y] for x in range(w)]

    for name, (ml, mr) in CAPTION_MARGINS.items():
        sx, sy, w, h = SPRITES[name]
        ref = col(sx, sy, ml, h)
        for x in range(ml, w - mr):
            check(col(sx, sy, x, h) == ref, "%s column %d differs from the stretched middle" % (name, x))
        # the margin columns next to the middle look the same too (no seam)
        check(col(sx, sy, ml - 1, h) == ref and col(sx, sy, w - mr, h) == ref,
              "%s middle meets its margins with a seam" % name)
    for look in ("active", "inactive"):
        sx, sy, w, h = SPRITES["bottomBorder." + look]
        ref = col(sx, sy, BOTTOM_MARGINS[0], h)
        for x in range(BOTTOM_MARGINS[0], w - BOTTOM_MARGINS[1]):
            check(col(sx, sy, x, h) == ref, "bottomBorder.%s column %d not uniform" % (look, x))
        for side in ("leftBorder.", "rightBorder."):
            sx, sy, w, h = SPRITES[side + look]
            ref = row(sx, sy, 0, w)
            for y in range(h):
                check(row(sx, sy, y, w) == ref, "%s%s row %d differs" % (side, look, y))
    # a few colours the skin's look is defined by
    sx, sy, w, h = SPRITES["caption.active"]
    check(px[sx + 60, sy + 0] == (1, 82, 150), "active caption outline colour")
    check(px[sx + 60, sy + 2] == (84, 216, 247), "active caption gradient start")
    check(px[sx + 60, sy + 28] == (46, 189, 235), "active caption gradient end")
    check(px[sx + 60, sy + 29] == (14, 158, 215), "active caption row 29")
    check(px[sx + 60, sy + 30] == (239, 240, 241), "active caption row 30")
    sx, sy, w, h = SPRITES["caption.inactive"]
    check(px[sx + 60, sy + 0] == (77, 77, 77), "inactive caption outline colour")
    sx, sy, w, h = SPRITES["bottomBorder.active"]
    check(px[sx + 10, sy + 4] == (1, 82, 150), "active bottom edge colour")
    sx, sy, w, h = SPRITES["backgroundCell"]
    cells = {px[sx + x, sy + y] for x in range(w) for y in range(h)}
    check(cells == {(202, 225, 243)}, "backgroundCell is not uniform (202,225,243)")
    # glyph colours: white on every blue/red face, grey on state 3
    for kind in ("minimize", "maximize", "close", "restore"):
        for state in range(4):
            sx, sy, w, h = SPRITES["%sButton.%d" % (kind, state)]
            gx, gy = sorted(glyph_pixels(kind, w, h))[0]
            want = (112, 112, 112) if state == 3 else WHITE
            check(px[sx + gx, sy + gy] == want, "%s state %d glyph colour" % (kind, state))
    sx, sy, w, h = SPRITES["closeButton.1"]
    r, g, b = px[sx + 3, sy + 9]
    check(r > 140 and g < 80 and b < 40, "hovered close button is not red")


def save_atlas(atlas, path):
    colours = sorted({c for c in atlas.getdata() if c != MAGENTA})
    check(len(colours) <= 255, "atlas uses %d colours besides magenta" % len(colours))
    palette = [MAGENTA] + colours
    index = {c: i for i, c in enumerate(palette)}
    while len(palette) < 256:
        palette.append((0, 0, 0))
    pim = Image.new("P", atlas.size, 0)
    pim.putpalette([v for c in palette for v in c])
    pim.putdata([index[c] for c in atlas.getdata()])
    pim.info["version"] = b"89a"
    buf = io.BytesIO()
    pim.save(buf, format="GIF", optimize=False, background=0)
    data = buf.getvalue()
    with open(path, "wb") as f:
        f.write(data)
    return data, len(colours)


def verify_atlas_file(path, atlas):
    with open(path, "rb") as f:
        data = f.read()
    check(data[:6] == b"GIF89a", "atlas header is %r, not GIF89a" % data[:6])
    w, h, flags, bg = struct.unpack("<HHBB", data[6:12])
    check((w, h) == (ATLAS_W, ATLAS_H), "atlas logical screen is %dx%d" % (w, h))
    check(flags & 0x80, "atlas has no global colour table")
    check((flags & 0x07) == 7, "global colour table is not 256 entries")
    check(bg == 0, "background colour index is %d" % bg)
    table = data[13:13 + 768]
    check(table[0:3] == b"\xff\x00\xff", "colour table entry 0 is not FF00FF")
    for i in range(1, 256):
        check(table[3 * i:3 * i + 3] != b"\xff\x00\xff", "colour table entry %d duplicates magenta" % i)
    # walk the blocks: exactly one image, no graphic control extension
    pos = 13 + 768
    images = 0
    while True:
        check(pos < len(data), "atlas file ends without a trailer")
        tag = data[pos]
        if tag == 0x3B:
            break
        if tag == 0x21:
            label = data[pos + 1]
            check(label != 0xF9, "atlas has a graphic control extension")
            pos += 2
            while data[pos]:
                pos += data[pos] + 1
            pos += 1
        elif tag == 0x2C:
            images += 1
            ix, iy, iw, ih, iflags = struct.unpack("<HHHHB", data[pos + 1:pos + 10])
            check((ix, iy, iw, ih) == (0, 0, ATLAS_W, ATLAS_H), "atlas image does not cover the screen")
            check(not iflags & 0x80, "atlas image has a local colour table")
            pos += 10 + 1          # descriptor, LZW minimum code size
            while data[pos]:
                pos += data[pos] + 1
            pos += 1
        else:
            fail("unexpected GIF block 0x%02x" % tag)
    check(images == 1, "atlas holds %d images" % images)
    check(b"\x21\xf9" not in data[:13 + 768], "graphic control extension bytes in the header")
    back = Image.open(path)
    check(back.mode == "P" and "transparency" not in back.info, "atlas decodes with transparency")
    check(ImageChops.difference(back.convert("RGB"), atlas).getbbox() is None,
          "atlas pixels change when read back")


# ---------------------------------------------------------------------------
# Certificate templates
# ---------------------------------------------------------------------------

TPL_W, TPL_H = 500, 316
VIEW_W, VIEW_H = 464, 296
SX, SY = TPL_W / float(VIEW_W), TPL_H / float(VIEW_H)

# Overlay labels and the photo box in view coordinates (x, y, w, h).
LABELS = {
    "NameLabel": (292, 42, 48, 16),
    "SexLabel": (293, 60, 48, 16),
    "AgeLabel": (288, 80, 56, 16),
    "HolderNameLabel": (313, 127, 64, 16),
    "IssueDateLabel": (336, 240, 112, 24),
    "SerialLabel": (368, 264, 48, 8),
}
PHOTO_BOX = (352, 32, 80, 80)


def vx(x):
    return x * SX


def vy(y):
    return y * SY


def view_rect_px(r):
    """Pixel box (left, top, right, bottom; right/bottom exclusive) of the
    template that a view rectangle covers once stretched."""
    x, y, w, h = r
    return (int(math.floor(vx(x))), int(math.floor(vy(y))),
            int(math.ceil(vx(x + w))), int(math.ceil(vy(y + h))))


def boxes_touch(a, b, gap=0):
    return (a[0] < b[2] + gap and b[0] < a[2] + gap and
            a[1] < b[3] + gap and b[1] < a[3] + gap)


SCHEMES = {
    "blue": dict(
        title="荣誉证书", motto="以 资 鼓 励 · 再 创 佳 绩", latin="CERTIFICATE OF HONOR",
        body=("在本年度工作中表现突出，成绩优异，", "特发此证，以资鼓励。"), seal="荣誉证书专用章",
        dark=(10, 34, 86), light=(30, 78, 150), gold=(226, 186, 78), gold_dark=(168, 124, 34),
        ink=(20, 36, 70), accent=(24, 64, 132), frame=(196, 160, 70), gap_line=(196, 206, 224)),
    "red": dict(
        title="荣誉证书", motto="德 才 兼 备 · 业 绩 卓 著", latin="CERTIFICATE OF HONOR",
        body=("在本年度工作中业绩卓著，贡献突出，", "被评为先进个人，特发此证。"), seal="荣誉证书专用章",
        dark=(96, 8, 14), light=(170, 30, 36), gold=(236, 196, 90), gold_dark=(176, 128, 40),
        ink=(60, 20, 20), accent=(150, 24, 30), frame=(204, 160, 72), gap_line=(226, 200, 200)),
    "green": dict(
        title="结业证书", motto="学 有 所 成 · 前 程 似 锦", latin="CERTIFICATE OF COMPLETION",
        body=("已修完本期全部培训课程，考核合格，", "准予结业，特发此证。"), seal="培训结业专用章",
        dark=(10, 72, 52), light=(36, 138, 96), gold=(236, 206, 110), gold_dark=(170, 136, 48),
        ink=(18, 52, 40), accent=(22, 110, 76), frame=(120, 176, 140), gap_line=(196, 220, 206)),
    "purple": dict(
        title="优秀证书", motto="品 学 兼 优 · 追 求 卓 越", latin="CERTIFICATE OF EXCELLENCE",
        body=("在本年度学习中品学兼优，表现突出，", "被评为优秀学员，特发此证。"), seal="优秀证书专用章",
        dark=(44, 14, 80), light=(100, 46, 150), gold=(232, 194, 96), gold_dark=(170, 126, 46),
        ink=(40, 24, 60), accent=(86, 40, 132), frame=(190, 156, 84), gap_line=(214, 204, 228)),
}

CAPTION_PX = 13            # printed caption size in template pixels (~12 in view)


class Printer:
    """Draws text on the template and remembers where ink went."""

    def __init__(self, im):
        self.im = im
        self.draw = ImageDraw.Draw(im)
        self.captions = []       # (text, ink box)

    def text(self, xy, text, fnt, fill, anchor="ls", record=True):
        self.draw.text(xy, text, font=fnt, fill=fill, anchor=anchor)
        box = self.draw.textbbox(xy, text, font=fnt, anchor=anchor)
        # tight ink box from the glyph mask
        mask = Image.new("L", self.im.size, 0)
        ImageDraw.Draw(mask).text(xy, text, font=fnt, fill=255, anchor=anchor)
        ink = mask.getbbox()
        if record and ink:
            self.captions.append((text, ink))
        return ink or box


def supersampled(size, scale, painter):
    """Run painter(draw, s) on an RGBA canvas scale times larger, return it
    reduced to size (antialiased shapes)."""
    big = Image.new("RGBA", (size[0] * scale, size[1] * scale), (0, 0, 0, 0))
    painter(ImageDraw.Draw(big), scale)
    small = big.resize(size, Image.BOX)
    # drop the faint fringe that averaging leaves around shapes
    alpha = small.getchannel("A").point(lambda v: 0 if v < 8 else v)
    small.putalpha(alpha)
    return Image.composite(small, Image.new("RGBA", size, (0, 0, 0, 0)), alpha)


def draw_crown(size, gold, gold_dark):
    w, h = size
    shade = lerp(gold, gold_dark, 0.45)

    def paint(d, s):
        W, H = w * s, h * s
        base_top, base_bot = H * 0.70, H * 0.90
        # crown body: five points
        pts = [(W * 0.10, base_top), (W * 0.04, H * 0.28), (W * 0.30, H * 0.52),
               (W * 0.50, H * 0.10), (W * 0.70, H * 0.52), (W * 0.96, H * 0.28),
               (W * 0.90, base_top)]
        d.polygon(pts, fill=gold + (255,))
        # inner shading on the right half of each point
        d.polygon([(W * 0.50, H * 0.10), (W * 0.70, H * 0.52), (W * 0.60, base_top),
                   (W * 0.50, base_top)], fill=shade + (255,))
        d.polygon([(W * 0.96, H * 0.28), (W * 0.90, base_top), (W * 0.80, base_top)],
                  fill=shade + (255,))
        d.polygon([(W * 0.30, H * 0.52), (W * 0.36, base_top), (W * 0.20, base_top)],
                  fill=shade + (255,))
        # band
        d.rounded_rectangle([W * 0.08, base_top, W * 0.92, base_bot], radius=H * 0.04,
                            fill=gold_dark + (255,))
        d.rounded_rectangle([W * 0.10, base_top + H * 0.02, W * 0.90, base_bot - H * 0.03],
                            radius=H * 0.03, fill=gold + (255,))
        # jewels on the band
        for fx, col in ((0.28, (200, 30, 40)), (0.50, (40, 110, 210)), (0.72, (200, 30, 40))):
            cx, cy, r = W * fx, (base_top + base_bot) / 2, H * 0.055
            d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=col + (255,))
            d.ellipse([cx - r * 0.45, cy - r * 0.55, cx - r * 0.05, cy - r * 0.15],
                      fill=(255, 255, 255, 255))
        # pearls on the tips
        for (px_, py_) in ((W * 0.04, H * 0.28), (W * 0.50, H * 0.10), (W * 0.96, H * 0.28)):
            r = H * 0.065
            d.ellipse([px_ - r, py_ - r, px_ + r, py_ + r], fill=(255, 244, 200, 255))
        for (px_, py_) in ((W * 0.30, H * 0.52), (W * 0.70, H * 0.52)):
            r = H * 0.045
            d.ellipse([px_ - r, py_ - r, px_ + r, py_ + r], fill=(255, 244, 200, 255))
    return supersampled(size, 4, paint)


def draw_seal(diameter, text):
    red = (214, 30, 36)

    def paint(d, s):
        D = diameter * s
        c = D / 2.0
        ring = 2.4 * s
        d.ellipse([0, 0, D - 1, D - 1], fill=red + (255,))
        d.ellipse([ring, ring, D - 1 - ring, D - 1 - ring], fill=(0, 0, 0, 0))
        inner = ring + 1.2 * s
        d.ellipse([inner, inner, D - 1 - inner, D - 1 - inner], outline=red + (255,), width=int(0.8 * s))
        # five-pointed star in the middle
        R, r = D * 0.17, D * 0.17 * 0.382
        pts = []
        for i in range(10):
            a = -math.pi / 2 + i * math.pi / 5
            rad = R if i % 2 == 0 else r
            pts.append((c + rad * math.cos(a), c + D * 0.04 + rad * math.sin(a)))
        d.polygon(pts, fill=red + (255,))
    seal = supersampled((diameter, diameter), 4, paint)
    # text along the upper arc, each character turned to face the centre
    fnt = font(FONT_HEI, int(round(diameter * 0.155)))
    n = len(text)
    span = math.radians(220)
    radius = diameter * 0.325
    c = diameter / 2.0
    for i, ch in enumerate(text):
        a = -math.pi / 2 - span / 2 + span * (i + 0.5) / n
        glyph = Image.new("RGBA", (40, 40), (0, 0, 0, 0))
        ImageDraw.Draw(glyph).text((20, 20), ch, font=fnt, fill=red + (255,), anchor="mm")
        glyph = glyph.rotate(-math.degrees(a) - 90, resample=Image.BICUBIC)
        gx = int(round(c + radius * math.cos(a) - 20))
        gy = int(round(c + radius * math.sin(a) - 20))
        seal.alpha_composite(glyph, (gx, gy))
    # a stamp is never perfectly inked
    a = seal.getchannel("A")
    rnd = random.Random(diameter * 7919 + len(text))
    noise = Image.frombytes("L", (diameter, diameter),
                            bytes(255 if rnd.random() > 0.22 else 150 for _ in range(diameter * diameter)))
    seal.putalpha(ImageChops.multiply(a, noise))
    return seal


def vertical_gradient(size, top, bottom):
    w, h = size
    im = Image.new("RGB", size)
    d = ImageDraw.Draw(im)
    for y in range(h):
        d.line([(0, y), (w - 1, y)], fill=lerp(top, bottom, y / float(max(1, h - 1))))
    return im


def render_template(scheme):
    s = SCHEMES[scheme]
    im = Image.new("RGB", (TPL_W, TPL_H), WHITE)
    half = int(round(vx(232)))                # 250: the dark half ends here

    # --- dark left half: vertical gradient with a soft glow behind the crown
    left = vertical_gradient((half, TPL_H), s["dark"], s["dark"])
    glow = Image.new("L", (half, TPL_H), 0)
    gd = ImageDraw.Draw(glow)
    for r in range(150, 0, -3):
        v = int(255 * (1 - r / 150.0) ** 1.6)
        gd.ellipse([half / 2 - r * 1.3, 118 - r, half / 2 + r * 1.3, 118 + r], fill=v)
    left = Image.composite(Image.new("RGB", left.size, s["light"]), left, glow)
    im.paste(left, (0, 0))
    d = ImageDraw.Draw(im)
    # gold frame lines inside the dark half
    d.rectangle([8, 8, half - 9, TPL_H - 9], outline=s["gold_dark"], width=1)
    d.rectangle([11, 11, half - 12, TPL_H - 12], outline=s["gold"], width=1)
    # small corner ornaments
    for (cx, cy) in ((11, 11), (half - 12, 11), (11, TPL_H - 12), (half - 12, TPL_H - 12)):
        d.polygon([(cx, cy - 4), (cx + 4, cy), (cx, cy + 4), (cx - 4, cy)], fill=s["gold"])
    # gold edge where the halves meet
    d.rectangle([half, 0, half + 2, TPL_H - 1], fill=s["gold_dark"])
    d.line([(half + 1, 0), (half + 1, TPL_H - 1)], fill=s["gold"])

    crown = draw_crown((96, 64), s["gold"], s["gold_dark"])
    im.paste(crown, (half // 2 - 48, 44), crown)

    title_font = font(FONT_KAI, 46, find_ttc_index(FONT_KAI, "CN"))
    # soft drop shadow under the title
    shadow = Image.new("L", im.size, 0)
    ImageDraw.Draw(shadow).text((half / 2.0 + 1, 167), s["title"], font=title_font, fill=150, anchor="ms")
    shadow = shadow.filter(ImageFilter.GaussianBlur(2))
    im.paste(Image.new("RGB", im.size, lerp(s["dark"], (0, 0, 0), 0.6)), (0, 0), shadow)
    p = Printer(im)
    p.text((half / 2.0, 165), s["title"], title_font, WHITE, anchor="ms", record=False)
    d = ImageDraw.Draw(im)
    # ornamental rule under the title
    y = 184
    d.line([(half / 2 - 80, y), (half / 2 - 8, y)], fill=s["gold"], width=1)
    d.line([(half / 2 + 8, y), (half / 2 + 80, y)], fill=s["gold"], width=1)
    d.polygon([(half / 2, y - 4), (half / 2 + 4, y), (half / 2, y + 4), (half / 2 - 4, y)], fill=s["gold"])
    motto_font = font(FONT_HEI, 12)
    p.text((half / 2.0, 210), s["motto"], motto_font, WHITE, anchor="ms", record=False)
    latin_font = font(FONT_SERIF, 9)
    p.text((half / 2.0, 262), s["latin"], latin_font, s["gold"], anchor="ms", record=False)
    p.text((half / 2.0, 276), "CERTIVEX", font(FONT_SERIF, 7), s["gold_dark"], anchor="ms", record=False)

    # --- white right half: thin double frame with corner marks
    fx0, fy0, fx1, fy1 = half + 8, 7, TPL_W - 8, TPL_H - 8
    d.rectangle([fx0, fy0, fx1, fy1], outline=s["frame"], width=1)
    d.rectangle([fx0 + 3, fy0 + 3, fx1 - 3, fy1 - 3], outline=lerp(s["frame"], WHITE, 0.55), width=1)
    for (cx, cy, sxn, syn) in ((fx0, fy0, 1, 1), (fx1, fy0, -1, 1), (fx0, fy1, 1, -1), (fx1, fy1, -1, -1)):
        d.line([(cx, cy), (cx + sxn * 12, cy)], fill=s["accent"], width=2)
        d.line([(cx, cy), (cx, cy + syn * 12)], fill=s["accent"], width=2)

    # photo frame around PhotoBox
    pb = view_rect_px(PHOTO_BOX)
    d.rectangle([pb[0] - 3, pb[1] - 3, pb[2] + 2, pb[3] + 2], outline=s["accent"], width=1)
    d.rectangle([pb[0] - 1, pb[1] - 1, pb[2], pb[3]], outline=s["frame"], width=1)
    hint_font = font(FONT_HEI, 11)
    p = Printer(im)
    p.text(((pb[0] + pb[2]) / 2.0, (pb[1] + pb[3]) / 2.0), "照  片", hint_font, (214, 214, 214),
           anchor="mm", record=False)

    cap_font = font(FONT_MING, CAPTION_PX, find_ttc_index(FONT_MING, "CN"))
    ink = s["ink"]

    def caption_before(label, text, gap_view=1.0):
        """Print text so that its cells end just left of the label."""
        x, y, w, h = LABELS[label]
        right = vx(x - gap_view)
        return p.text((right, vy(y + h / 2.0)), text, cap_font, ink, anchor="rm")

    caption_before("NameLabel", "姓名：")
    caption_before("SexLabel", "性别：")
    caption_before("AgeLabel", "年龄：")

    # sentence with the holder's name gap
    hx, hy, hw, hh = LABELS["HolderNameLabel"]
    mid = vy(hy + hh / 2.0)
    p.text((vx(hx - 3), mid), "兹授予", cap_font, ink, anchor="rm")
    p.text((vx(hx + hw + 3), mid), "同志：", cap_font, ink, anchor="lm")
    gb = view_rect_px(LABELS["HolderNameLabel"])
    d.line([(gb[0], gb[3] + 1), (gb[2] - 1, gb[3] + 1)], fill=s["gap_line"], width=1)

    body_left = vx(248)
    p.text((body_left, vy(157)), s["body"][0], cap_font, ink, anchor="lm")
    p.text((body_left, vy(176)), s["body"][1], cap_font, ink, anchor="lm")
    small = font(FONT_MING, 12, find_ttc_index(FONT_MING, "CN"))
    p.text((body_left, vy(200)), "有效期：自颁发之日起三年", small, lerp(ink, WHITE, 0.3), anchor="lm")

    ix, iy, iw, ih = LABELS["IssueDateLabel"]
    p.text((vx(ix - 1), vy(iy + ih / 2.0)), "颁发日期：", cap_font, ink, anchor="rm")
    sx_, sy_, sw_, sh_ = LABELS["SerialLabel"]
    smid = vy(sy_ + sh_ / 2.0) + 2      # clear of the issue-date label above
    # the words stay left of the issue-date label; only the bracket sits
    # under its lower edge
    p.text((vx(ix - 1), smid), "证书编号：", cap_font, ink, anchor="rm")
    p.text((vx(sx_ - 1), smid), "（", cap_font, ink, anchor="rm")
    p.text((vx(sx_ + sw_), smid), "）", cap_font, ink, anchor="lm")

    # red seal above the issue date, clear of every label
    seal_d = 64
    seal = draw_seal(seal_d, s["seal"])
    seal_xy = (int(round(vx(391))), int(round(vy(172))))
    im.paste(seal, seal_xy, seal)
    seal_box = (seal_xy[0], seal_xy[1], seal_xy[0] + seal_d, seal_xy[1] + seal_d)

    # every label area must stay clear of printed ink and of the seal
    blanks = {name: view_rect_px(r) for name, r in LABELS.items()}
    for name, box in blanks.items():
        for text, inkbox in p.captions:
            check(not boxes_touch(box, inkbox), "caption %r reaches into %s" % (text, name))
        check(not boxes_touch(box, seal_box), "seal covers %s" % name)
    return im, blanks, p.captions, seal_box


def save_template(im, path, blanks):
    im.save(path, format="JPEG", quality=92, subsampling=0, optimize=False, progressive=False)
    back = Image.open(path)
    check(back.format == "JPEG" and back.size == (TPL_W, TPL_H), "%s has the wrong size" % path)
    back = back.convert("RGB")
    worst = 255
    for name, box in blanks.items():
        region = back.crop(box)
        lo = min(ch_min for ch_min, _ in region.getextrema())
        worst = min(worst, lo)
        check(lo >= 236, "%s: area under %s is not plain white (darkest channel %d)" % (path, name, lo))
        src_lo = min(ch_min for ch_min, _ in im.crop(box).getextrema())
        check(src_lo == 255, "%s: something is drawn under %s" % (path, name))
    return worst


# ---------------------------------------------------------------------------
# Photos and icon
# ---------------------------------------------------------------------------

def render_default_photo():
    w, h, s = 60, 70, 8
    bg, fg = (235, 235, 235), (153, 153, 153)

    def paint(d, k):
        d.rectangle([0, 0, w * k, h * k], fill=bg + (255,))
        # shoulders
        d.ellipse([4 * k, 48 * k, 56 * k, 96 * k], fill=fg + (255,))
        # neck
        d.rectangle([24 * k, 38 * k, 36 * k, 52 * k], fill=fg + (255,))
        # head
        d.ellipse([16 * k, 10 * k, 44 * k, 42 * k], fill=fg + (255,))
    im = supersampled((w, h), s, paint).convert("RGB")
    d = ImageDraw.Draw(im)
    qf = font(FONT_HEI, 22)
    d.text((30, 26), "?", font=qf, fill=bg, anchor="mm")
    return im


def draw_cartoon(size, k, look):
    """A friendly round cartoon head on a coloured background (RGB)."""
    W, H = size

    def paint(d, s):
        X = lambda v: v * W * s
        Y = lambda v: v * H * s
        for i in range(H * s):
            c = lerp(look["bg_top"], look["bg_bottom"], i / float(H * s))
            d.line([(0, i), (W * s, i)], fill=c + (255,))
        # shirt and neck
        d.ellipse([X(0.08), Y(0.74), X(0.92), Y(1.35)], fill=look["shirt"] + (255,))
        d.polygon([(X(0.40), Y(0.74)), (X(0.50), Y(0.86)), (X(0.60), Y(0.74))], fill=(255, 255, 255, 255))
        d.rectangle([X(0.42), Y(0.62), X(0.58), Y(0.77)], fill=look["skin_dark"] + (255,))
        # ears
        for ex in (0.20, 0.80):
            d.ellipse([X(ex - 0.06), Y(0.40), X(ex + 0.06), Y(0.54)], fill=look["skin"] + (255,))
        # face
        d.ellipse([X(0.22), Y(0.18), X(0.78), Y(0.72)], fill=look["skin"] + (255,))
        # hair
        d.chord([X(0.20), Y(0.10), X(0.80), Y(0.62)], 180, 360, fill=look["hair"] + (255,))
        d.ellipse([X(0.36), Y(0.20), X(0.62), Y(0.40)], fill=look["skin"] + (255,))
        d.pieslice([X(0.20), Y(0.14), X(0.50), Y(0.46)], 180, 300, fill=look["hair"] + (255,))
        # eyes
        for ex in (0.40, 0.60):
            if look.get("blink") and ex == 0.60 or look.get("closed"):
                d.arc([X(ex - 0.05), Y(0.40), X(ex + 0.05), Y(0.48)], 200, 340,
                      fill=(40, 30, 30, 255), width=max(1, int(0.015 * W * s)))
            else:
                d.ellipse([X(ex - 0.045), Y(0.40), X(ex + 0.045), Y(0.49)], fill=(40, 30, 30, 255))
                d.ellipse([X(ex - 0.015), Y(0.415), X(ex + 0.012), Y(0.44)], fill=(255, 255, 255, 255))
        # cheeks
        for ex in (0.33, 0.67):
            d.ellipse([X(ex - 0.05), Y(0.51), X(ex + 0.05), Y(0.56)], fill=look["cheek"] + (150,))
        # mouth
        if look.get("mouth") == "open":
            d.chord([X(0.42), Y(0.52), X(0.58), Y(0.64)], 0, 180, fill=(150, 40, 50, 255))
        elif look.get("mouth") == "o":
            d.ellipse([X(0.47), Y(0.56), X(0.53), Y(0.63)], fill=(150, 40, 50, 255))
        else:
            d.arc([X(0.41), Y(0.48), X(0.59), Y(0.62)], 20, 160, fill=(150, 40, 50, 255),
                  width=max(1, int(0.02 * W * s)))
    return supersampled(size, k, paint).convert("RGB")


LOOK_A = dict(bg_top=(190, 226, 250), bg_bottom=(120, 180, 235), shirt=(40, 90, 170),
              skin=(255, 220, 190), skin_dark=(236, 196, 166), hair=(60, 40, 30),
              cheek=(250, 150, 150), mouth="open")
LOOK_B = dict(bg_top=(255, 236, 180), bg_bottom=(250, 200, 120), shirt=(200, 60, 60),
              skin=(250, 214, 180), skin_dark=(230, 190, 156), hair=(30, 30, 40),
              cheek=(250, 140, 140))


def render_icon(size):
    navy, gold, gold_dark = (20, 58, 130), (232, 188, 64), (170, 120, 30)

    def paint(d, s):
        S = size * s
        u = S / 48.0
        # certificate sheet with a blue band on the left
        d.rounded_rectangle([2 * u, 6 * u, 46 * u, 38 * u], radius=3 * u,
                            fill=(250, 250, 246, 255), outline=(90, 100, 120, 255), width=max(1, int(1.2 * u)))
        d.rounded_rectangle([2 * u, 6 * u, 20 * u, 38 * u], radius=3 * u, fill=navy + (255,))
        d.rectangle([14 * u, 6 * u, 20 * u, 38 * u], fill=navy + (255,))
        if size >= 32:
            for yy in (14, 20, 26):
                d.rectangle([24 * u, yy * u, 41 * u, (yy + 1.6) * u], fill=(150, 160, 180, 255))
            d.rectangle([6 * u, 14 * u, 16 * u, 15.5 * u], fill=gold + (255,))
        # ribbon tails
        d.polygon([(27 * u, 34 * u), (23 * u, 47 * u), (28 * u, 44 * u), (31 * u, 47 * u), (32 * u, 35 * u)],
                  fill=(200, 40, 40, 255))
        d.polygon([(35 * u, 34 * u), (33 * u, 47 * u), (37 * u, 44 * u), (41 * u, 47 * u), (39 * u, 34 * u)],
                  fill=(170, 28, 28, 255))
        # gold rosette
        r = 9 * u
        cx, cy = 33 * u, 30 * u
        pts = []
        for i in range(24):
            a = i * math.pi / 12
            rad = r if i % 2 == 0 else r * 0.82
            pts.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
        d.polygon(pts, fill=gold_dark + (255,))
        d.ellipse([cx - r * 0.74, cy - r * 0.74, cx + r * 0.74, cy + r * 0.74], fill=gold + (255,))
        d.ellipse([cx - r * 0.42, cy - r * 0.42, cx + r * 0.42, cy + r * 0.42], fill=(250, 220, 120, 255))
    return supersampled((size, size), 8, paint)


# ---------------------------------------------------------------------------

def main():
    os.makedirs(ASSETS, exist_ok=True)
    os.makedirs(SAMPLES, exist_ok=True)
    os.makedirs(TEMPLATES, exist_ok=True)

    # skin atlas
    atlas = render_atlas()
    verify_atlas_pixels(atlas)
    atlas_path = os.path.join(ASSETS, "skin_atlas.gif")
    data, ncolours = save_atlas(atlas, atlas_path)
    verify_atlas_file(atlas_path, atlas)
    print("assets/skin_atlas.gif: %d bytes, %d colours + magenta" % (len(data), ncolours))

    # templates
    outputs = [("blue", os.path.join(ASSETS, "default_template.jpg")),
               ("blue", os.path.join(TEMPLATES, "蓝色经典.jpg")),
               ("red", os.path.join(TEMPLATES, "红色典雅.jpg")),
               ("green", os.path.join(TEMPLATES, "绿色清新.jpg")),
               ("purple", os.path.join(TEMPLATES, "紫色尊贵.jpg"))]
    for scheme, path in outputs:
        im, blanks, captions, seal_box = render_template(scheme)
        worst = save_template(im, path, blanks)
        print("%s: darkest channel under labels %d" % (os.path.relpath(path, ROOT), worst))
    if "-v" in sys.argv:
        for name, box in sorted(blanks.items()):
            print("  blank %-16s %s" % (name, box))
        print("  photo box        %s" % (view_rect_px(PHOTO_BOX),))
        for text, box in captions:
            print("  caption %-20s %s" % (text, box))
        print("  seal             %s" % (seal_box,))

    # default photo: 24-bit BMP
    photo = render_default_photo()
    bmp_path = os.path.join(ASSETS, "default_photo.bmp")
    photo.save(bmp_path, format="BMP")
    with open(bmp_path, "rb") as f:
        hdr = f.read(54)
    check(hdr[:2] == b"BM", "default photo is not a BMP")
    bw, bh, planes, bpp, comp = struct.unpack("<iiHHI", hdr[18:34])
    check((bw, abs(bh), bpp, comp) == (60, 70, 24, 0), "default photo is not 60x70 24-bit uncompressed")
    check(photo.getpixel((2, 2)) == (235, 235, 235) and photo.getpixel((30, 60)) == (153, 153, 153),
          "default photo colours")

    # icon
    icon_path = os.path.join(ASSETS, "certivex.ico")
    icons = [render_icon(n) for n in (48, 32, 16)]
    icons[0].save(icon_path, format="ICO", sizes=[(48, 48), (32, 32), (16, 16)],
                  append_images=icons[1:], bitmap_format="bmp")
    ico = Image.open(icon_path)
    check(set(ico.info.get("sizes", set())) == {(16, 16), (32, 32), (48, 48)}, "icon sizes")

    # sample photos
    jpg = draw_cartoon((120, 140), 4, LOOK_A)
    jpg.save(os.path.join(SAMPLES, "photo.jpg"), format="JPEG", quality=92, optimize=False)
    png = draw_cartoon((60, 70), 8, LOOK_B)
    png.save(os.path.join(SAMPLES, "photo.png"), format="PNG", optimize=False)
    frames = []
    looks = [dict(LOOK_A, mouth="open"),
             dict(LOOK_A, blink=True, mouth="smile", bg_top=(200, 240, 200), bg_bottom=(120, 200, 130)),
             dict(LOOK_A, mouth="o", bg_top=(255, 230, 190), bg_bottom=(250, 180, 110)),
             dict(LOOK_A, closed=True, mouth="smile", bg_top=(230, 210, 250), bg_bottom=(180, 150, 230))]
    for lk in looks:
        fr = draw_cartoon((60, 70), 8, lk)
        frames.append(fr.quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE))
    gif_path = os.path.join(SAMPLES, "photo.gif")
    frames[0].save(gif_path, format="GIF", save_all=True, append_images=frames[1:],
                   duration=200, loop=0, optimize=False, disposal=1)
    g = Image.open(gif_path)
    check(g.n_frames == len(frames), "animated photo has %d frames" % g.n_frames)
    seen = []
    for i in range(g.n_frames):
        g.seek(i)
        check(g.info.get("duration") == 200, "frame %d delay is not 200 ms" % i)
        seen.append(g.convert("RGB"))
    for i in range(1, len(seen)):
        check(ImageChops.difference(seen[i], seen[i - 1]).getbbox() is not None,
              "frames %d and %d look the same" % (i - 1, i))
    print("all assets written and checked")


if __name__ == "__main__":
    main()
