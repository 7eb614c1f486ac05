#!/usr/bin/env python3
"""Draws Tollwick's icons and writes them as .ico files (16 colours, 4 bits per pixel).

    python3 tools/icons/make_icons.py [output directory]   (default: src/resources)

Standard library only. Each 32 x 32 picture is built from simple filled shapes evaluated at pixel
centres in a 32-unit design space; the 16 x 16 application image is drawn pixel by pixel. Every shape gets a one-pixel outline where it borders anything outside itself, which keeps the
pictures readable at notification-area size.
"""

import math
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


# --- Encoding -------------------------------------------------------------------------------------

def _dib(pixels):
    """One icon image: BITMAPINFOHEADER, palette, XOR pixels (4 bpp), AND mask (1 bpp).

    pixels: rows from the top, each a list of palette indices or None for transparent.
    """
    height = len(pixels)
    width = len(pixels[0])
    xor_stride = ((width * 4 + 31) // 32) * 4
    and_stride = ((width + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 4, 0,
                         (xor_stride + and_stride) * height, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # DIB rows run from the bottom up
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            index = 0 if c is None else c
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """Writes an .ico holding the given images (each a list of rows, see _dib)."""
    blobs = [_dib(image) for image in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for image, blob in zip(images, blobs):
        width, height = len(image[0]), len(image)
        out += struct.pack('<BBBBHHII', width % 256, height % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


# --- Drawing --------------------------------------------------------------------------------------

class Canvas:
    def __init__(self, size):
        self.size = size
        self.scale = 32.0 / size  # design units per pixel
        self.pixels = [[None] * size for _ in range(size)]

    def _mask(self, inside):
        s = self.scale
        return [[inside((x + 0.5) * s, (y + 0.5) * s) for x in range(self.size)]
                for y in range(self.size)]

    def shape(self, inside, fill, outline=BLACK):
        """Fills a shape and outlines the pixels of it that touch the outside."""
        m = self._mask(inside)
        n = self.size
        for y in range(n):
            for x in range(n):
                if not m[y][x]:
                    continue
                edge = any(not (0 <= x + dx < n and 0 <= y + dy < n and m[y + dy][x + dx])
                           for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                self.pixels[y][x] = outline if (edge and outline is not None) else fill

    def paint(self, inside, colour):
        """Colours the pixels of a shape without an outline (highlights, details)."""
        m = self._mask(inside)
        for y in range(self.size):
            for x in range(self.size):
                if m[y][x]:
                    self.pixels[y][x] = colour


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def polygon(points):
    """Even-odd point-in-polygon test."""
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


# A desk telephone: the handset resting across the top, the body below with a round dial.
def handset():
    grip = union(rect(7, 4.2, 25, 9.4), ellipse(7, 6.8, 3, 2.6), ellipse(25, 6.8, 3, 2.6))
    ear = polygon([(3, 8.5), (11.5, 8.5), (12.5, 13.6), (1.6, 13.6)])
    mouth = polygon([(20.5, 8.5), (29, 8.5), (30.4, 13.6), (19.5, 13.6)])
    return union(grip, ear, mouth)


def body():
    return union(polygon([(9, 13), (23, 13), (29.6, 28.8), (2.4, 28.8)]),
                 rect(2.4, 25, 29.6, 29.6))


def draw_phone(c, body_colour, handset_colour, shine, dial_face=WHITE, holes=GREY):
    c.shape(body(), body_colour)
    c.paint(polygon([(10, 14.6), (13, 14.6), (7.6, 27.4), (4.6, 27.4)]), shine)
    c.shape(handset(), handset_colour)
    c.paint(rect(8, 5.4, 23.5, 6.4), shine)
    # The dial: a face with finger holes round a dark centre.
    c.shape(ellipse(16, 21, 6.4, 6.4), dial_face)
    for k in range(8):
        a = math.radians(-60 + k * 36)
        c.paint(ellipse(16 + 4.0 * math.cos(a), 21 + 4.0 * math.sin(a), 1.05, 1.05), holes)
    c.paint(ellipse(16, 21, 1.6, 1.6), BLACK)


# At 16 pixels shapes sampled from the large drawing blur; the small application image is drawn
# pixel by pixel instead. '#' black, 'R' red, 'W' white, '.' transparent.
APP_16 = [
    '................',
    '..############..',
    '.#RRRRRRRRRRRR#.',
    '#RRWWWWWWWWWWRR#',
    '#RRR########RRR#',
    '#RRR#......#RRR#',
    '.###..####..###.',
    '.....#RRRR#.....',
    '....#RRRRRR#....',
    '...#RRR##RRR#...',
    '..#RRR#WW#RRR#..',
    '..#RR#W##W#RR#..',
    '.#RRR#W##W#RRR#.',
    '.#RRRR#WW#RRRR#.',
    '.#RRRRR##RRRRR#.',
    '.##############.',
]


def from_text(rows):
    colours = {'#': BLACK, 'R': RED, 'W': WHITE, '.': None}
    return [[colours[ch] for ch in row] for row in rows]


def icon_app(size):
    if size < 32:
        return from_text(APP_16)
    c = Canvas(size)
    draw_phone(c, RED, RED, WHITE)
    return c.pixels


def icon_idle(size=32):
    c = Canvas(size)
    draw_phone(c, GREY, GREY, SILVER, dial_face=SILVER, holes=GREY)
    return c.pixels


def moved(shape, scale, ox, oy):
    """The shape scaled by scale about the origin, then moved by (ox, oy)."""
    return lambda x, y: shape((x - ox) / scale, (y - oy) / scale)


def arc(cx, cy, radius, width, from_deg, to_deg):
    """A band of the given width along a circle, between two angles (0 = right, clockwise)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - radius) > width / 2:
            return False
        a = math.degrees(math.atan2(y - cy, x - cx))
        return from_deg <= a <= to_deg
    return inside


def icon_online(size=32):
    c = Canvas(size)
    # The phone, a little smaller in the lower left, sending green signal arcs to the upper right.
    k, ox, oy = 0.75, 0.0, 8.0
    c.shape(moved(body(), k, ox, oy), RED)
    c.shape(moved(handset(), k, ox, oy), RED)
    c.paint(moved(rect(8, 5.4, 23.5, 6.4), k, ox, oy), WHITE)
    c.shape(moved(ellipse(16, 21, 6.4, 6.4), k, ox, oy), WHITE)
    c.paint(moved(ellipse(16, 21, 2.2, 2.2), k, ox, oy), BLACK)
    for r in (3.0, 7.0, 11.0):
        c.shape(arc(20.5, 12.5, r, 2.8, -90, 0), LIME, DARK_GREEN)
    return c.pixels


def icon_alarm(size=32):
    c = Canvas(size)
    # A yellow bell with its clapper, red ringing marks on both sides.
    dome = union(ellipse(16, 11.5, 7.2, 7.8), rect(8.8, 11.5, 23.2, 22))
    skirt = polygon([(8.8, 18), (23.2, 18), (27.6, 24.6), (4.4, 24.6)])
    c.shape(ellipse(16, 26, 3.2, 3.2), OLIVE)
    c.shape(union(dome, skirt, rect(4.4, 22, 27.6, 25.6)), YELLOW)
    c.shape(ellipse(16, 3.6, 2.2, 2.2), OLIVE)
    c.paint(polygon([(11.5, 8.5), (13.2, 7), (12.2, 21), (10.4, 21)]), WHITE)
    for r in (11.6, 15.0):
        c.paint(arc(16, 12, r, 2.0, -45, -12), RED)
        c.paint(arc(16, 12, r, 2.0, -168, -135), RED)
    return c.pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'src', 'resources')
    write_ico(os.path.join(out, 'app.ico'), [icon_app(32), icon_app(16)])
    write_ico(os.path.join(out, 'idle.ico'), [icon_idle()])
    write_ico(os.path.join(out, 'online.ico'), [icon_online()])
    write_ico(os.path.join(out, 'alarm.ico'), [icon_alarm()])


if __name__ == '__main__':
    main()
