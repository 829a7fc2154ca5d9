#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Kelsa's own pictures as pixel art and writes them without any imaging library:

  data/32761.CUR          the pointing-hand cursor of the look-up fields and the About links
  src/gui/icons/kelsa.png the 32 x 32, 16-colour program icon (a contact-line support)

Run by hand from the repository root:  /usr/bin/python3 tools/make_icons.py
"""
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


def write_cursor(path):
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
    path.write_bytes(directory + entry + image)


# The 16 colours of the classic VGA palette; the icon uses a few of them.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREY, DARK_GREY, RED, BLUE, WHITE, TEAL = 0, 1, 7, 8, 9, 12, 15, 6


def draw_icon():
    px = [[None] * 32 for _ in range(32)]

    def put(x, y, c):
        if 0 <= x < 32 and 0 <= y < 32:
            px[y][x] = c

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                put(x, y, c)

    # Sky tile with a frame, so the icon reads on light and dark panels alike.
    rect(0, 0, 31, 31, WHITE)
    rect(0, 0, 31, 0, TEAL); rect(0, 31, 31, 31, TEAL); rect(0, 0, 0, 31, TEAL); rect(31, 0, 31, 31, TEAL)
    # Ground.
    rect(1, 28, 30, 30, DARK_GREY)
    # The support: a tapering grey pole with a black outline.
    rect(5, 3, 8, 27, GREY)
    rect(4, 3, 4, 27, BLACK); rect(9, 3, 9, 27, BLACK); rect(4, 2, 9, 2, BLACK)
    rect(4, 27, 9, 27, BLACK)
    # Cantilever and its stay.
    rect(10, 7, 27, 7, BLACK)
    for i in range(0, 14):
        put(10 + i, 13 - i * 6 // 14, BLACK)
    # Messenger wire, droppers and the contact wire (red).
    rect(1, 5, 30, 5, BLUE)
    for x in (14, 20, 26):
        rect(x, 6, x, 11, BLUE)
    rect(1, 12, 30, 12, RED)
    rect(1, 13, 30, 13, MAROON)
    # The bending moment at the base: a red arc with an arrow head.
    for x, y in ((12, 25), (13, 24), (14, 23), (15, 23), (16, 23), (17, 24), (18, 25), (18, 26)):
        put(x, y, RED)
    for x, y in ((17, 26), (19, 26), (18, 27)):
        put(x, y, RED)
    return px


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, px):
    # Indexed colour, 4 bits per pixel: a true 16-colour image.
    raw = b""
    for row in px:
        line = bytearray()
        for x in range(0, 32, 2):
            line.append((row[x] << 4) | row[x + 1])
        raw += b"\x00" + bytes(line)
    data = b"\x89PNG\r\n\x1a\n"
    data += png_chunk(b"IHDR", struct.pack(">IIBBBBB", 32, 32, 4, 3, 0, 0, 0))
    data += png_chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
    data += png_chunk(b"IDAT", zlib.compress(raw, 9))
    data += png_chunk(b"IEND", b"")
    path.write_bytes(data)


if __name__ == "__main__":
    write_cursor(ROOT / "data" / "32761.CUR")
    write_png(ROOT / "src" / "app" / "icons" / "kelsa.png", draw_icon())
    print("wrote data/32761.CUR and src/gui/icons/kelsa.png")
