#!/usr/bin/env python3
"""Draws Tollwick's icons and writes them as .ico files (32-bit colour with alpha).

    python3 tools/icons/make_icons.py [output directory]   (default: src/resources)
    python3 tools/icons/make_icons.py --preview <folder>   every image on a light and a dark
                                                           taskbar colour, 8 times enlarged (PNG)

Standard library only. Every picture is made of shapes given as signed distance functions in a
32-unit design space, and is drawn afresh for each size Windows asks for: the edges are
anti-aliased from the distance at each pixel, the outline stays one pixel wide (thicker only on the
large images), and details too small to read are left out of the small images (the dial's finger
holes, highlights, the outer signal arc and ringing mark). Shapes carry a dark outline and light or
saturated fills, so they stand out on a light and on a dark taskbar alike. The 256-pixel image is
stored as PNG, as Windows expects.
"""

import math
import os
import struct
import sys
import zlib

# The sizes of the notification-area icons: the small icon at 100, 125, 150, 200, 250 and 300 %.
TRAY_SIZES = (16, 20, 24, 32, 40, 48)
# The program's icon also serves as the large icon (32 at 100 %, 64 at 200 %) and in Explorer.
APP_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

OUTLINE = (0x1E, 0x1E, 0x1E)
WHITE = (0xFF, 0xFF, 0xFF)
RED = (0xE0, 0x22, 0x1B)
PALE_RED = (0xFF, 0x9A, 0x90)
GREY = (0x98, 0x9C, 0xA0)
LIGHT_GREY = (0xD4, 0xD7, 0xDA)
DARK_GREY = (0x5A, 0x5E, 0x62)
GREEN = (0x2E, 0xD0, 0x3A)
YELLOW = (0xFF, 0xD2, 0x1F)
PALE_YELLOW = (0xFF, 0xF4, 0xB8)
OCHRE = (0xB8, 0x86, 0x0B)


# --- Shapes: signed distance in design units, negative inside ------------------------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - radius
    return sdf


def polygon(points):
    def sdf(x, y):
        best = float('inf')
        inside = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            ex, ey = xj - xi, yj - yi
            t = max(0.0, min(1.0, ((x - xi) * ex + (y - yi) * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(x - xi - t * ex, y - yi - t * ey))
            if (yi > y) != (yj > y) and x < ex * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -best if inside else best
    return sdf


def arc(cx, cy, radius, width, from_deg, to_deg):
    """A band along a circle with round ends, between two angles (0 = right, clockwise)."""
    ends = [(cx + radius * math.cos(math.radians(a)), cy + radius * math.sin(math.radians(a)))
            for a in (from_deg, to_deg)]

    def sdf(x, y):
        a = math.degrees(math.atan2(y - cy, x - cx))
        if from_deg <= a <= to_deg:
            return abs(math.hypot(x - cx, y - cy) - radius) - width / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width / 2
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def moved(shape, scale, ox, oy):
    """The shape scaled by scale about the origin, then moved by (ox, oy)."""
    return lambda x, y: shape((x - ox) / scale, (y - oy) / scale) * scale


AROUND = [(math.cos(k * math.pi / 8), math.sin(k * math.pi / 8)) for k in range(16)]

# --- Drawing --------------------------------------------------------------------------------------

class Canvas:
    """Premultiplied RGBA in 0..1, composited shape over shape."""

    def __init__(self, size):
        self.size = size
        self.unit = 32.0 / size  # design units per pixel
        # A one-pixel outline up to 32 pixels, growing slowly beyond, so large images keep it crisp
        # without turning heavy.
        self.outline = self.unit * max(1.0, size / 36.0)
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def snap(self, v):
        """A design coordinate moved to the nearest pixel edge, so straight edges stay sharp."""
        return round(v / self.unit) * self.unit

    def px(self, pixels):
        """A length of so many pixels, in design units."""
        return pixels * self.unit

    def _cover(self, distance):
        return max(0.0, min(1.0, 0.5 - distance / self.unit))

    def _over(self, x, y, colour, alpha):
        if alpha <= 0.0:
            return
        r, g, b, a = self.pixels[y][x]
        keep = 1.0 - alpha
        self.pixels[y][x] = (colour[0] / 255 * alpha + r * keep, colour[1] / 255 * alpha + g * keep,
                             colour[2] / 255 * alpha + b * keep, alpha + a * keep)

    def shape(self, sdf, fill, outline=OUTLINE):
        """Fills a shape, with an outline inside its edge unless outline is None."""
        inset = self.outline if outline is not None else 0.0
        for y in range(self.size):
            for x in range(self.size):
                px, py = (x + 0.5) * self.unit, (y + 0.5) * self.unit
                d = sdf(px, py)
                if outline is None:
                    self._over(x, y, fill, self._cover(d))
                    continue
                self._over(x, y, outline, self._cover(d))
                if d > -(inset + 2 * self.unit):
                    # The shape shrunk by the outline: inside where every point around within the
                    # outline's width is inside. Unlike an offset of the distance, this leaves no
                    # outline where two shapes of a union meet.
                    d = max(sdf(px + inset * cx, py + inset * cy) for cx, cy in AROUND)
                else:
                    d += inset
                self._over(x, y, fill, self._cover(d))

    def paint(self, sdf, colour):
        """A shape without an outline (highlights, details)."""
        self.shape(sdf, colour, None)

    def straight(self):
        """Rows of (r, g, b, a) bytes with straight (not premultiplied) alpha."""
        rows = []
        for row in self.pixels:
            out = []
            for r, g, b, a in row:
                if a <= 0.0:
                    out.append((0, 0, 0, 0))
                else:
                    out.append(tuple(min(255, round(c / a * 255)) for c in (r, g, b)) +
                               (round(a * 255),))
            rows.append(out)
        return rows


# A desk telephone: the handset resting across the top, the body below with a round dial. Straight
# edges are moved onto pixel edges at each size.
def handset(c):
    s = c.snap
    top, bottom, grip = s(4.0), s(13.8), s(9.6)
    return union(box(s(4.5), top, s(27.5), grip, 2.8),
                 polygon([(s(2.6), s(8.0)), (s(11.8), s(8.0)), (12.8, bottom), (1.4, bottom)]),
                 polygon([(s(20.2), s(8.0)), (s(29.4), s(8.0)), (30.6, bottom), (19.2, bottom)]))


def body(c):
    s = c.snap
    return union(polygon([(9.0, s(12.6)), (23.0, s(12.6)), (29.8, 26.0), (2.2, 26.0)]),
                 box(s(2.2), s(24.0), s(29.8), s(29.8), 1.2))


def draw_phone(c, colour, shine, dial_face, holes):
    if c.size >= 24:
        c.shape(body(c), colour)
        c.shape(handset(c), colour)
    else:
        # One silhouette: outlines of their own would leave the handset a line of outline.
        c.shape(union(body(c), handset(c)), colour)
    if c.size >= 24:
        c.paint(polygon([(10.0, 14.6), (12.6, 14.6), (7.2, 26.6), (4.6, 26.6)]), shine)
        c.paint(box(8.0, 5.4, 23.0, 6.6, 0.6), shine)
    c.shape(circle(16, 21, 6.6), dial_face)
    if c.size >= 24:
        for k in range(8):
            a = math.radians(-60 + k * 36)
            c.paint(circle(16 + 4.1 * math.cos(a), 21 + 4.1 * math.sin(a), 1.05), holes)
    c.paint(circle(16, 21, 1.9 if c.size >= 24 else 2.4), OUTLINE)


def icon_app(size):
    c = Canvas(size)
    draw_phone(c, RED, PALE_RED, WHITE, DARK_GREY)
    return c


def icon_idle(size):
    c = Canvas(size)
    draw_phone(c, GREY, LIGHT_GREY, LIGHT_GREY, DARK_GREY)
    return c


def icon_online(size):
    c = Canvas(size)
    # The phone, smaller in the lower left, sending green signal arcs to the upper right: outlined
    # where there is room, and never thinner than a pixel and a half.
    k, ox, oy = 0.72, 0.0, 9.0
    c.shape(moved(body(c), k, ox, oy), RED)
    c.shape(moved(handset(c), k, ox, oy), RED)
    c.shape(moved(circle(16, 21, 6.6), k, ox, oy), WHITE)
    c.paint(moved(circle(16, 21, 2.4), k, ox, oy), OUTLINE)
    radii = (4.0, 9.0, 14.0) if size >= 24 else (5.0, 12.0)
    outline = OUTLINE if size >= 32 else None
    for r in radii:
        c.shape(arc(15.0, 16.0, r, max(3.6, c.px(1.6)), -90, 0), GREEN, outline)
    return c


def icon_alarm(size):
    c = Canvas(size)
    # A yellow bell with its clapper, red ringing marks on both sides, too thin for an outline.
    s = c.snap
    dome = union(circle(16, 11.8, 7.6), box(8.4, 11.8, 23.6, 21.0))
    skirt = polygon([(8.4, 17.0), (23.6, 17.0), (28.4, s(24.4)), (3.6, s(24.4))])
    c.shape(circle(16, 26.4, 3.4), OCHRE)
    c.shape(union(dome, skirt, box(s(3.6), s(22.0), s(28.4), s(25.8), 1.0)), YELLOW)
    c.shape(circle(16, 3.6, 2.3), OCHRE)
    if size >= 24:
        c.paint(polygon([(11.4, 8.4), (13.2, 6.8), (12.2, 20.6), (10.2, 20.6)]), PALE_YELLOW)
    radii = (12.6, 16.2) if size >= 24 else (13.6,)
    for r in radii:
        width = max(2.4, c.px(1.5))
        c.paint(arc(16, 12, r, width, -52, -14), RED)
        c.paint(arc(16, 12, r, width, -166, -128), RED)
    return c


# --- Encoding -------------------------------------------------------------------------------------

def _png(rows):
    """Rows of RGBA bytes as a PNG file."""
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b''.join(b'\0' + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) +
            chunk(b'IEND', b''))


def _dib(rows):
    """BITMAPINFOHEADER, BGRA pixels and the AND mask (set where the image is fully transparent)."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # DIB rows run from the bottom up
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def write_ico(path, images):
    """An .ico of the given images (rows of straight RGBA), largest first."""
    images = sorted(images, key=len, reverse=True)
    blobs = [_png(rows) if len(rows) >= 256 else _dib(rows) for rows in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, blobs):
        out += struct.pack('<BBBBHHII', len(rows) % 256, len(rows) % 256, 0, 0, 1, 32, len(blob),
                           offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


ICONS = {
    'app.ico': (icon_app, APP_SIZES),
    'idle.ico': (icon_idle, TRAY_SIZES),
    'online.ico': (icon_online, TRAY_SIZES),
    'alarm.ico': (icon_alarm, TRAY_SIZES),
}

# Windows 11's light and dark taskbars.
TASKBARS = ((0xF3, 0xF3, 0xF3), (0x20, 0x20, 0x20))


def write_preview(folder):
    """Each icon's images side by side on both taskbar colours, 8 times enlarged, as PNG."""
    zoom = 8
    for name, (draw, sizes) in ICONS.items():
        images = [draw(size).straight() for size in sizes if size <= 64]
        width = sum(len(rows) + 4 for rows in images) * zoom
        height = (max(len(rows) for rows in images) + 4) * zoom
        canvas = []
        for background in TASKBARS:
            band = [[background] * width for _ in range(height)]
            left = 2 * zoom
            for rows in images:
                for y, row in enumerate(rows):
                    for x, (r, g, b, a) in enumerate(row):
                        blend = tuple(round(c * a / 255 + bg * (255 - a) / 255)
                                      for c, bg in zip((r, g, b), background))
                        for dy in range(zoom):
                            band[2 * zoom + y * zoom + dy][left + x * zoom:
                                                          left + (x + 1) * zoom] = [blend] * zoom
                left += (len(rows) + 4) * zoom
            canvas += band
        opaque = [[pixel + (255,) for pixel in row] for row in canvas]
        with open(os.path.join(folder, name.replace('.ico', '.png')), 'wb') as f:
            f.write(_png(opaque))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--preview':
        write_preview(sys.argv[2])
        return
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'src', 'resources')
    for name, (draw, sizes) in ICONS.items():
        write_ico(os.path.join(out, name), [draw(size).straight() for size in sizes])


if __name__ == '__main__':
    main()
