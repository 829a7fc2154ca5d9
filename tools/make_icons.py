#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Kelsa's own pictures as pixel art and writes them without any imaging library:

  data/32761.CUR          the pointing-hand cursor of the look-up fields and the About links
  src/gui/icons/kelsa.png the 32 x 32, 16-colour program icon (a contact-line support)
  dist/icons/kelsa-N.png  the same icon at N x N for the desktop's icon theme (N = 16 ... 256)
  dist/icons/kelsa.svg    the same icon as a scalable picture

A file that already holds what would be written is left untouched.

Run by hand from the repository root:  /usr/bin/python3 tools/make_icons.py
"""
import math
import struct
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# '#' outline (black), '.' body (white), ' ' transparent. The hot spot is the fingertip.
HAND = [
    "     ##         ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..#        ",
    "    #..###      ",
    "    #..#..###   ",
    "    #..#..#..## ",
    " ## #..#..#..#.#",
    "#..##........#.#",
    "#...#..........#",
    " #.............#",
    "  #............#",
    "  #...........# ",
    "   #..........# ",
    "   #.........#  ",
    "    #........#  ",
    "    #.......#   ",
    "     #......#   ",
    "     ########   ",
]
HAND_HOTSPOT = (5, 0)


def cursor_bytes():
    size = 32
    rows = [row.ljust(size) for row in HAND] + [" " * size] * (size - len(HAND))
    colours = {"#": (0, 0, 0, 255), ".": (255, 255, 255, 255), " ": (0, 0, 0, 0)}
    # A 32-bit DIB stored bottom-up, followed by an all-zero AND mask (alpha carries it).
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows)
                   for (r, g, b, a) in (colours[c] for c in row))
    mask = bytes(size * size // 8)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, HAND_HOTSPOT[0], HAND_HOTSPOT[1],
                        len(image), 6 + 16)
    return directory + entry + image


# The 16 colours of the classic VGA palette; the icon uses a few of them.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREY, DARK_GREY, RED, BLUE, WHITE, TEAL = 0, 1, 7, 8, 9, 12, 15, 6

# The icon as shapes on a 32-unit grid, painted in this order. A rectangle names the first and
# last cell it covers, so at 32 px it is exactly those pixels. The slanted and curved strokes are
# lines of one unit's width; at 32 px they are drawn with the hand-placed pixels given with them
# (the "hint"), since a ruler-drawn line of one pixel looks ragged at that size.
STAY_PIXELS = [(10 + i, 13 - i * 6 // 14) for i in range(14)]
MOMENT_ARC_PIXELS = [(12, 25), (13, 24), (14, 23), (15, 23), (16, 23), (17, 24), (18, 25), (18, 26)]
MOMENT_HEAD_PIXELS = [(17, 26), (19, 26), (18, 27)]


def icon_shapes():
    def rect(x0, y0, x1, y1, colour):
        return ("rect", (x0, y0, x1, y1), colour, None)

    return [
        # Sky tile with a frame, so the icon reads on light and dark panels alike.
        rect(0, 0, 31, 31, WHITE),
        rect(0, 0, 31, 0, TEAL), rect(0, 31, 31, 31, TEAL),
        rect(0, 0, 0, 31, TEAL), rect(31, 0, 31, 31, TEAL),
        # Ground.
        rect(1, 28, 30, 30, DARK_GREY),
        # The support: a grey pole with a black outline.
        rect(5, 3, 8, 27, GREY),
        rect(4, 3, 4, 27, BLACK), rect(9, 3, 9, 27, BLACK), rect(4, 2, 9, 2, BLACK),
        rect(4, 27, 9, 27, BLACK),
        # Cantilever and its stay, which rises from the pole to just under the cantilever's end
        # at the slope of its hinted pixels (6 cells up over 14 across).
        rect(10, 7, 27, 7, BLACK),
        ("line", ((9.5, 13.5 + 6 / 14), (24.5, 7.5)), BLACK, STAY_PIXELS),
        # Messenger wire, droppers and the contact wire (red).
        rect(1, 5, 30, 5, BLUE),
        rect(14, 6, 14, 11, BLUE), rect(20, 6, 20, 11, BLUE), rect(26, 6, 26, 11, BLUE),
        rect(1, 12, 30, 12, RED),
        rect(1, 13, 30, 13, MAROON),
        # The bending moment at the base: a red arc over the top of a circle about (15.5, 26.5),
        # from the left to the right, ending in an arrow head that points down.
        ("arc", ((15.5, 26.5), 3.0, -160.5, 0.0), RED, MOMENT_ARC_PIXELS),
        ("polygon", ((17, 26), (20, 26), (18.5, 28)), RED, MOMENT_HEAD_PIXELS),
    ]


def _round(v):
    return int(math.floor(v + 0.5))


def _span(a, b, scale):
    """Pixels [first, last + 1) that the unit interval [a, b) covers at this scale (at least one):
    its edges go to the nearest pixel edge."""
    lo, hi = _round(a * scale), _round(b * scale)
    return lo, max(hi, lo + 1)


def _on_stroke(shape, u, v, half):
    """Whether the point (u, v) of the 32-unit grid lies on a stroke of the given half width."""
    kind, geometry = shape
    if kind == "line":
        (x0, y0), (x1, y1) = geometry
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        t = ((u - x0) * dx + (v - y0) * dy) / (length * length)
        return 0 <= t <= 1 and abs((u - x0) * dy - (v - y0) * dx) / length <= half
    if kind == "arc":
        (cx, cy), r, a0, a1 = geometry
        angle = math.degrees(math.atan2(v - cy, u - cx))
        return a0 <= angle <= a1 and abs(math.hypot(u - cx, v - cy) - r) <= half
    if kind == "polygon":
        # Inside when on the same side of every edge (the polygon is convex).
        sides = set()
        for (ax, ay), (bx, by) in zip(geometry, geometry[1:] + geometry[:1]):
            cross = (bx - ax) * (v - ay) - (by - ay) * (u - ax)
            if cross:
                sides.add(cross > 0)
        return len(sides) < 2
    raise ValueError(kind)


# At 16 px one unit is half a pixel and the scaled shapes run into each other, so the icon is
# drawn there by hand, cell by cell, with the same parts at half their places: frame, pole,
# messenger with droppers, cantilever, contact wire, moment arrow and ground. The stay has no
# free row between the cantilever and the contact wire here and is left out.
SMALL_ICON = [
    "TTTTTTTTTTTTTTTT",
    "TWKKKWWWWWWWWWWT",
    "TBBBBBBBBBBBBBBT",
    "TWKGKWWBWWBWWBWT",
    "TWKGKKKBKKBKKBWT",
    "TWKGKWWBWWBWWBWT",
    "TRRRRRRRRRRRRRRT",
    "TMMMMMMMMMMMMMMT",
    "TWKGKWWWWWWWWWWT",
    "TWKGKWWWWWWWWWWT",
    "TWKGKWRRRWWWWWWT",
    "TWKGKRWWWRWWWWWT",
    "TWKGKWWWRRRWWWWT",
    "TWKKKWWWWRWWWWWT",
    "TDDDDDDDDDDDDDDT",
    "TTTTTTTTTTTTTTTT",
]
SMALL_ICON_COLOURS = {"T": TEAL, "W": WHITE, "K": BLACK, "G": GREY, "D": DARK_GREY, "B": BLUE,
                      "R": RED, "M": MAROON}


def draw_icon(size=32):
    """The icon at size x size pixels, as rows of palette indexes."""
    if size == len(SMALL_ICON):
        return [[SMALL_ICON_COLOURS[c] for c in row] for row in SMALL_ICON]
    px = [[None] * size for _ in range(size)]
    scale = size / 32
    for kind, geometry, colour, hint in icon_shapes():
        if kind == "rect":
            x0, y0, x1, y1 = geometry
            xs, ys = _span(x0, x1 + 1, scale), _span(y0, y1 + 1, scale)
            for y in range(*ys):
                for x in range(*xs):
                    px[y][x] = colour
        elif size == 32 and hint is not None:
            for x, y in hint:
                px[y][x] = colour
        else:
            # A pixel belongs to the stroke when its centre does.
            for y in range(size):
                for x in range(size):
                    if _on_stroke((kind, geometry), (x + 0.5) / scale, (y + 0.5) / scale, 0.5):
                        px[y][x] = colour
    return px


def _hex(colour):
    return "#%02x%02x%02x" % PALETTE[colour]


def icon_svg():
    """The same shapes as a scalable picture in 32 units."""
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- SPDX-License-Identifier: GPL-3.0-or-later -->",
           "<!-- Kelsa's icon: an overhead contact-line support. Written by tools/make_icons.py. -->",
           '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">']
    num = lambda v: ("%.3f" % v).rstrip("0").rstrip(".")
    for kind, geometry, colour, _ in icon_shapes():
        if kind == "rect":
            x0, y0, x1, y1 = geometry
            out.append('  <rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
                       % (x0, y0, x1 - x0 + 1, y1 - y0 + 1, _hex(colour)))
        elif kind == "line":
            (x0, y0), (x1, y1) = geometry
            out.append('  <line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="1"/>'
                       % (num(x0), num(y0), num(x1), num(y1), _hex(colour)))
        elif kind == "arc":
            (cx, cy), r, a0, a1 = geometry
            ends = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
                    for a in (a0, a1)]
            large = 1 if a1 - a0 > 180 else 0
            out.append('  <path d="M %s %s A %s %s 0 %d 1 %s %s" fill="none" stroke="%s" '
                       'stroke-width="1"/>'
                       % (num(ends[0][0]), num(ends[0][1]), num(r), num(r), large,
                          num(ends[1][0]), num(ends[1][1]), _hex(colour)))
        elif kind == "polygon":
            points = " ".join("%s,%s" % (num(x), num(y)) for x, y in geometry)
            out.append('  <polygon points="%s" fill="%s"/>' % (points, _hex(colour)))
    out.append("</svg>")
    return "\n".join(out) + "\n"


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_bytes(px):
    # Indexed colour, 4 bits per pixel: a true 16-colour image (every size here is even).
    size = len(px)
    raw = b""
    for row in px:
        line = bytearray()
        for x in range(0, size, 2):
            line.append((row[x] << 4) | row[x + 1])
        raw += b"\x00" + bytes(line)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 4, 3, 0, 0, 0))
    data += png_chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    return data


def write_if_changed(path, data):
    """Leaves a file that already holds these bytes alone, so that a build depending on it
    (the program embeds the 32 px icon and the cursor) does not redo its work for nothing."""
    if path.exists() and path.read_bytes() == data:
        return
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    print("wrote", path.relative_to(ROOT))


# The sizes of the hicolor icon theme that the package installs, beside the scalable picture.
THEME_SIZES = (16, 32, 48, 64, 128, 256)

if __name__ == "__main__":
    write_if_changed(ROOT / "data" / "32761.CUR", cursor_bytes())
    write_if_changed(ROOT / "src" / "gui" / "icons" / "kelsa.png", png_bytes(draw_icon()))
    icons = ROOT / "dist" / "icons"
    for size in THEME_SIZES:
        write_if_changed(icons / ("kelsa-%d.png" % size), png_bytes(draw_icon(size)))
    write_if_changed(icons / "kelsa.svg", icon_svg().encode())
