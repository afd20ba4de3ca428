#!/usr/bin/env python3
"""Draws the wizard's artwork and writes it as Windows resource files, by hand:

  banner.bmp, banner-125.bmp, banner-150.bmp, banner-200.bmp
               the page banner for 100, 125, 150 and 200 % scale, 24-bit colour, each the size
               of the banner's frame at that scale (see BANNER_SIZES)
  wizard.ico   the program icon, 16, 20, 24, 32, 48 and 256 pixels, 32-bit colour with alpha
               (the 256-pixel image as PNG, as Windows stores it)

The motif is a USB trident above a cable that runs down into a driver chip. Shapes are
described in a 0..1 square (icon) or in the pixels of a 57 x 306 design (banner) and rendered
with 4 x 4 supersampling. Run from anywhere; the files land beside this script. Output is
deterministic.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4


# --- shapes: each answers whether a point lies inside -------------------------------------

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def box(x0, y0, x1, y1, radius=0.0):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        dx = max(x0 + radius - x, 0, x - (x1 - radius))
        dy = max(y0 + radius - y, 0, y - (y1 - radius))
        return dx * dx + dy * dy <= radius * radius
    return inside


def segment(ax, ay, bx, by, width):
    """A line with round ends."""
    def inside(x, y):
        vx, vy = bx - ax, by - ay
        t = ((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy)
        t = min(1.0, max(0.0, t))
        return math.hypot(x - (ax + t * vx), y - (ay + t * vy)) <= width / 2
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        n = len(points)
        for i in range(n):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                hit = not hit
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def usb_trident(cx, top, height, stroke):
    """The USB symbol: a stem with an arrow head, a round branch to the left, a square branch to
    the right, and a round foot. All sizes scale with `height`."""
    h = height
    stem = segment(cx, top + 0.20 * h, cx, top + 0.86 * h, stroke)
    head = polygon([(cx, top), (cx - 0.13 * h, top + 0.22 * h), (cx + 0.13 * h, top + 0.22 * h)])
    foot = circle(cx, top + 0.90 * h, 0.10 * h)
    left = union(segment(cx, top + 0.66 * h, cx - 0.27 * h, top + 0.48 * h, stroke),
                 segment(cx - 0.27 * h, top + 0.48 * h, cx - 0.27 * h, top + 0.36 * h, stroke),
                 circle(cx - 0.27 * h, top + 0.32 * h, 0.075 * h))
    right = union(segment(cx, top + 0.58 * h, cx + 0.25 * h, top + 0.42 * h, stroke),
                  segment(cx + 0.25 * h, top + 0.42 * h, cx + 0.25 * h, top + 0.30 * h, stroke),
                  box(cx + 0.18 * h, top + 0.18 * h, cx + 0.32 * h, top + 0.32 * h))
    return union(stem, head, foot, left, right)


# --- rendering ------------------------------------------------------------------------------

def coverage(shape, px, py, scale=1.0, left=0.0):
    """The part of pixel (px, py) the shape covers; shape coordinates are (pixel - left) / scale."""
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES - left) / scale
            y = (py + (sy + 0.5) / SAMPLES) / scale
            hits += shape(x, y)
    return hits / (SAMPLES * SAMPLES)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    """Pixels of a design drawn at `scale`, its left edge at pixel `left`."""

    def __init__(self, width, height, fill, scale=1.0, left=0.0):
        self.width, self.height = width, height
        self.scale, self.left = scale, left
        self.rgb = [[fill((x + 0.5 - left) / scale - 0.5, (y + 0.5) / scale - 0.5)
                     for x in range(width)] for y in range(height)]

    def paint(self, shape, colour, opacity=1.0, bounds=None):
        """`bounds` (x0, y0, x1, y1 in design units) holds the whole shape: only the pixels
        there are sampled."""
        xs, ys = range(self.width), range(self.height)
        if bounds is not None:
            x0, y0, x1, y1 = bounds
            xs = range(max(0, math.floor(x0 * self.scale + self.left) - 1),
                       min(self.width, math.ceil(x1 * self.scale + self.left) + 1))
            ys = range(max(0, math.floor(y0 * self.scale) - 1),
                       min(self.height, math.ceil(y1 * self.scale) + 1))
        for y in ys:
            for x in xs:
                c = coverage(shape, x, y, self.scale, self.left) * opacity
                if c > 0:
                    self.rgb[y][x] = mix(self.rgb[y][x], colour, c)


# --- the banner -----------------------------------------------------------------------------

BANNER_W, BANNER_H = 57, 306  # the design
# The client area of the banner's frame (39 x 190 dialog units, less its sunken edge) on the
# pages at 96, 120 and 144 DPI with the pages' font, MS Sans Serif 8 point, as Windows and Wine
# measure it; 200 % doubles the 100 % size. The wizard scales the nearest one to any other frame.
BANNER_SIZES = [('banner.bmp', 56, 307), ('banner-125.bmp', 76, 378),
                ('banner-150.bmp', 86, 473), ('banner-200.bmp', 112, 614)]
NAVY = (12, 36, 74)
TEAL = (22, 110, 140)
WHITE = (250, 252, 255)
PALE = (170, 214, 232)
AMBER = (245, 184, 64)


def banner_background(x, y):
    t = y / (BANNER_H - 1)
    base = mix(NAVY, TEAL, t * t * (3 - 2 * t))
    # A faint light from the upper left keeps the strip from looking flat.
    glow = max(0.0, 1.0 - math.hypot(x - 10, y - 40) / 120) * 0.18
    return mix(base, WHITE, glow)


def draw_banner(width, height):
    """The design scaled to the banner's height and centred across its width; the background
    runs on where the design ends, so any frame is filled."""
    scale = height / BANNER_H
    canvas = Canvas(width, height, banner_background, scale, (width - BANNER_W * scale) / 2)
    cx = BANNER_W / 2

    # Fine circuit traces along the edges.
    traces = union(
        segment(6, 120, 6, 196, 1.0), segment(6, 196, 14, 204, 1.0), circle(14, 204, 1.6),
        segment(51, 140, 51, 226, 1.0), segment(51, 226, 44, 233, 1.0), circle(44, 233, 1.6),
        segment(10, 262, 10, 290, 1.0), circle(10, 290, 1.6),
    )
    canvas.paint(traces, PALE, 0.35, (4, 118, 54, 293))

    canvas.paint(usb_trident(cx, 26, 62, 3.2), WHITE, bounds=(0, 24, BANNER_W, 96))

    # The cable: a dotted line from the trident's foot down to the chip.
    for i in range(9):
        y = 104 + i * 12
        canvas.paint(circle(cx, y, 1.9 - i * 0.08), PALE, 0.9 - i * 0.05,
                     (cx - 2, y - 2, cx + 2, y + 2))

    # The driver chip: a rounded body with pins and a marker dot.
    chip = (cx - 21, 213, cx + 21, 253)
    body = box(cx - 15, 214, cx + 15, 252, 3)
    pins = union(*[box(cx - 20, 218 + i * 8, cx - 15, 221 + i * 8) for i in range(5)],
                 *[box(cx + 15, 218 + i * 8, cx + 20, 221 + i * 8) for i in range(5)])
    canvas.paint(pins, PALE, bounds=chip)
    canvas.paint(body, (18, 44, 70), bounds=chip)
    canvas.paint(box(cx - 13, 216, cx + 13, 250, 2), (30, 66, 98), bounds=chip)
    canvas.paint(circle(cx - 8, 222, 1.8), PALE, bounds=chip)

    # A check mark on the chip: the installation succeeds.
    check = union(segment(cx - 7, 235, cx - 2, 241, 2.8), segment(cx - 2, 241, cx + 8, 227, 2.8))
    canvas.paint(check, AMBER, bounds=chip)
    return canvas


def write_bmp(path, canvas):
    row_size = (canvas.width * 3 + 3) & ~3
    image_size = row_size * canvas.height
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + image_size, 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 24, 0, image_size,
                       2835, 2835, 0, 0)
    rows = []
    for y in reversed(range(canvas.height)):  # bottom-up
        row = bytearray()
        for r, g, b in canvas.rgb[y]:
            row += bytes((round(b), round(g), round(r)))
        row += b'\0' * (row_size - len(row))
        rows.append(bytes(row))
    with open(path, 'wb') as f:
        f.write(header + info + b''.join(rows))


# --- the icon -------------------------------------------------------------------------------

ICON_SIZES = (16, 20, 24, 32, 48, 256)
TILE_TOP = (40, 96, 235)
TILE_BOTTOM = (8, 30, 120)

# At 16 pixels a drawn trident blurs into a blob; this one is placed pixel by pixel.
SMALL_TRIDENT = [
    "................",
    ".......#........",
    "......###.......",
    ".....#####......",
    ".......#....##..",
    "..##...#....##..",
    ".####..#.....#..",
    ".####..#.....#..",
    "..##...#....#...",
    "...#...#...#....",
    "....#..#..#.....",
    ".....#.#.#......",
    "......###.......",
    ".....#####......",
    "......###.......",
    "................",
]


def draw_icon(size):
    """Colour and opacity per pixel: a blue tile, lighter towards the top, with a white trident;
    outside the tile's rounded corners the icon is transparent."""
    scale = float(size)
    inset = 0.5 / size
    tile = box(inset, inset, 1 - inset, 1 - inset, 0.2)
    trident = usb_trident(0.5, 0.08, 0.84, 0.085)

    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            alpha = coverage(tile, x, y, scale)
            colour = mix(TILE_TOP, TILE_BOTTOM, (y + 0.5) / size)
            if size == len(SMALL_TRIDENT):
                ink = 1.0 if SMALL_TRIDENT[y][x] == '#' else 0.0
            else:
                ink = coverage(trident, x, y, scale)
            row.append((mix(colour, WHITE, ink), alpha))
        pixels.append(row)
    return pixels


def bgra(colour, alpha):
    if round(alpha * 255) == 0:
        return bytes(4)
    r, g, b = colour
    return bytes((round(b), round(g), round(r), round(alpha * 255)))


def icon_bitmap(pixels):
    """A 32-bit image with its AND mask, as an icon directory entry holds it."""
    size = len(pixels)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    and_row = ((size + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        bits = bytearray(and_row)
        for x, (rgb, alpha) in enumerate(row):
            colour += bgra(rgb, alpha)
            if round(alpha * 255) == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return info + bytes(colour) + bytes(mask)


def icon_png(pixels):
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    size = len(pixels)
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for rgb, alpha in row:
            b, g, r, a = bgra(rgb, alpha)
            raw += bytes((r, g, b, a))
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def write_ico(path, images):
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for size, data in images:
        side = size % 256  # 0 stands for 256
        entries += struct.pack('<BBBBHHII', side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(header + entries + b''.join(data for _, data in images))


def main():
    for name, width, height in BANNER_SIZES:
        write_bmp(os.path.join(HERE, name), draw_banner(width, height))
    images = []
    for size in ICON_SIZES:
        pixels = draw_icon(size)
        images.append((size, icon_png(pixels) if size == 256 else icon_bitmap(pixels)))
    write_ico(os.path.join(HERE, 'wizard.ico'), images)


if __name__ == '__main__':
    main()
