#!/usr/bin/env python3
"""Draws the Options dialog's tab pictures and writes them as one bitmap strip.

    python3 tools/icons/make_tab_images.py [output directory]   (default: src/resources)

Writes tab_images.bmp: six 16 x 16 pictures side by side (96 x 16, 16 colours), in the order of the
tabs: Statistics, Bill, Graphs, Alarms, Setup, Misc. Teal, RGB(0, 128, 128), is the image list's mask
colour, so it is the background of every picture. Standard library only; drawn pixel by pixel.
"""

import os
import struct
import sys

# The standard VGA / Windows 16-colour palette, in index order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_RED, DARK_GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)

COLOURS = {'.': TEAL, '#': BLACK, 'W': WHITE, 'R': RED, 'r': DARK_RED, 'B': BLUE, 'N': NAVY,
           'Y': YELLOW, 'G': DARK_GREEN, 'S': SILVER, 'g': GREY}

# A bar chart: totals side by side.
STATISTICS = [
    '................',
    '................',
    '..........###...',
    '..........#R#...',
    '..........#R#...',
    '......###.#R#...',
    '......#B#.#R#...',
    '......#B#.#R#...',
    '..###.#B#.#R#...',
    '..#Y#.#B#.#R#...',
    '..#Y#.#B#.#R#...',
    '..#Y#.#B#.#R#...',
    '..#Y#.#B#.#R#...',
    '.#############..',
    '................',
    '................',
]

# A bill: a sheet with lines and a total.
BILL = [
    '...#########....',
    '...#WWWWWWW##...',
    '...#WWWWWWW#W#..',
    '...#W##W##W####.',
    '...#WWWWWWWWWW#.',
    '...#W###W####W#.',
    '...#WWWWWWWWWW#.',
    '...#W##W#####W#.',
    '...#WWWWWWWWWW#.',
    '...#W###W##W#W#.',
    '...#WWWWWWWWWW#.',
    '...#WWWWWW####W#',
    '...#WWWWWWRRRRW#',
    '...#WWWWWW####W#',
    '...#WWWWWWWWWW#.',
    '...############.',
]

# A line graph over axes.
GRAPHS = [
    '................',
    '.#..............',
    '.#...........R..',
    '.#..........R...',
    '.#.....R...R....',
    '.#....R.R.R.....',
    '.#...R...R......',
    '.#..R...........',
    '.#.R............',
    '.#R.....B.......',
    '.#.....B.B...B..',
    '.#BB..B...B.B...',
    '.#..BB.....B....',
    '.#..............',
    '.##############.',
    '................',
]

# A bell.
ALARMS = [
    '.......##.......',
    '......#YY#......',
    '.....#YYYY#.....',
    '....#YWYYYY#....',
    '....#YWYYYY#....',
    '....#YWYYYY#....',
    '....#YYYYYY#....',
    '...#YWYYYYYY#...',
    '...#YWYYYYYY#...',
    '..#YYYYYYYYYY#..',
    '..#YYYYYYYYYY#..',
    '.#YYYYYYYYYYYY#.',
    '.##############.',
    '.......##.......',
    '......#rr#......',
    '.......##.......',
]

# A telephone: the accounts and their rates.
SETUP = [
    '................',
    '..###########...',
    '.#RRRRRRRRRRR#..',
    '#RR###RRR###RR#.',
    '#R#...#R#...#R#.',
    '.#.....#.....#..',
    '.....#####......',
    '....#RRRRR#.....',
    '...#RR###RR#....',
    '..#RR#WWW#RR#...',
    '..#RR#W#W#RR#...',
    '.#RRR#WWW#RRR#..',
    '.#RRRR###RRRR#..',
    '.#RRRRRRRRRRR#..',
    '.#############..',
    '................',
]

# Switches: two check boxes, one ticked.
MISC = [
    '................',
    '.#######........',
    '.#WWWWW#.....G..',
    '.#WWWWW#....GG..',
    '.#WWWWW#...GG...',
    '.#WWWWW#G.GG....',
    '.#WWWWW#GGG.....',
    '.#######.G......',
    '................',
    '.#######........',
    '.#WWWWW#.gggggg.',
    '.#WWWWW#........',
    '.#WWWWW#.gggg...',
    '.#WWWWW#........',
    '.#WWWWW#........',
    '.#######........',
]

PICTURES = [STATISTICS, BILL, GRAPHS, ALARMS, SETUP, MISC]


def strip(pictures):
    """The pictures side by side: rows from the top, each a list of palette indices."""
    for picture in pictures:
        assert len(picture) == 16 and all(len(row) == 16 for row in picture), picture
    return [[COLOURS[ch] for picture in pictures for ch in picture[y]] for y in range(16)]


def write_bmp(path, pixels):
    """A 4-bit-per-pixel bottom-up BMP with the 16-colour palette."""
    height = len(pixels)
    width = len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, index in enumerate(row):
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        data += line
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    with open(path, 'wb') as f:
        f.write(header + info + palette + bytes(data))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'src', 'resources')
    write_bmp(os.path.join(out, 'tab_images.bmp'), strip(PICTURES))


if __name__ == '__main__':
    main()
