#!/usr/bin/env python3
"""Draws the Setup tab's discount pictures and writes them as one bitmap strip.

    python3 tools/icons/make_discount_images.py [output directory]   (default: src/resources)

Writes discount_images.bmp: three 16 x 16 pictures side by side (48 x 16, 16 colours), one per
discount mode in the order of its number: percentage, time free, free call. Teal is the image
list's mask colour, so it is the background of every picture.
"""

import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
from make_tab_images import strip, write_bmp  # noqa: E402

# A per cent sign: part of the price taken off.
PERCENTAGE = [
    '................',
    '..###.......##..',
    '.#RRR#.....#R#..',
    '.#R.R#....#R#...',
    '.#RRR#...#R#....',
    '..###...#R#.....',
    '.......#R#......',
    '......#R#.......',
    '.....#R#........',
    '....#R#...###...',
    '...#R#...#RRR#..',
    '..#R#....#R.R#..',
    '.#R#.....#RRR#..',
    '.##.......###...',
    '................',
    '................',
]

# A clock face: minutes free.
TIME_FREE = [
    '................',
    '.....######.....',
    '...##WWWWWW##...',
    '..#WWWW#WWWWW#..',
    '.#WWWWW#WWWWWW#.',
    '.#WWWWW#WWWWWW#.',
    '#WWWWWW#WWWWWWW#',
    '#WWWWWW#WWWWWWW#',
    '#WWWWWWW####WWW#',
    '#WWWWWWWWWWWWWW#',
    '.#WWWWWWWWWWWW#.',
    '.#WWWWWWWWWWWW#.',
    '..#WWWWWWWWWW#..',
    '...##WWWWWW##...',
    '.....######.....',
    '................',
]

# A handset with a tick: the whole call free.
FREE_CALL = [
    '................',
    '.............G..',
    '............GG..',
    '...........GG...',
    '.####.....GG....',
    '#NNNN#.G.GG.....',
    '#N##N#.GGG......',
    '.#NN#...G.......',
    '.#NN#...........',
    '..#N#...........',
    '..#NN#....####..',
    '...#NN####NNNN#.',
    '....##NNNNN##N#.',
    '......######.#..',
    '................',
    '................',
]

PICTURES = [PERCENTAGE, TIME_FREE, FREE_CALL]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'src', 'resources')
    write_bmp(os.path.join(out, 'discount_images.bmp'), strip(PICTURES))


if __name__ == '__main__':
    main()
