#!/usr/bin/env python3
"""Draws the wizard's artwork and writes it as Windows resource files, by hand:

  banner.bmp   the page banner, 57 x 306 pixels, 24-bit colour
  wizard.ico   the program icon, 32 x 32 and 16 x 16 pixels, 16 colours

The motif is a USB trident above a cable that runs down into a driver chip. Shapes are
described in a 0..1 square (icon) or in pixels (banner) and rendered with 4 x 4 supersampling.
Run from anywhere; the files land beside this script. Output is deterministic.
"""

import math
import os
import struct

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

def coverage(shape, px, py, scale=1.0):
    """The part of pixel (px, py) the shape covers; shape coordinates are pixel / scale."""
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / scale
            y = (py + (sy + 0.5) / SAMPLES) / scale
            hits += shape(x, y)
    return hits / (SAMPLES * SAMPLES)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.rgb = [[fill(x, y) for x in range(width)] for y in range(height)]
        self.alpha = [[1.0] * width for _ in range(height)]

    def paint(self, shape, colour, opacity=1.0, scale=1.0):
        for y in range(self.height):
            for x in range(self.width):
                c = coverage(shape, x, y, scale) * opacity
                if c > 0:
                    self.rgb[y][x] = mix(self.rgb[y][x], colour, c)


# --- the banner -----------------------------------------------------------------------------

BANNER_W, BANNER_H = 57, 306
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


def draw_banner():
    canvas = Canvas(BANNER_W, BANNER_H, banner_background)
    cx = BANNER_W / 2

    # Fine circuit traces along the edges.
    traces = union(
        segment(6, 120, 6, 196, 1.0), segment(6, 196, 14, 204, 1.0), circle(14, 204, 1.6),
        segment(51, 140, 51, 226, 1.0), segment(51, 226, 44, 233, 1.0), circle(44, 233, 1.6),
        segment(10, 262, 10, 290, 1.0), circle(10, 290, 1.6),
    )
    canvas.paint(traces, PALE, 0.35)

    canvas.paint(usb_trident(cx, 26, 62, 3.2), WHITE)

    # The cable: a dotted line from the trident's foot down to the chip.
    for i in range(9):
        y = 104 + i * 12
        canvas.paint(circle(cx, y, 1.9 - i * 0.08), PALE, 0.9 - i * 0.05)

    # The driver chip: a rounded body with pins and a marker dot.
    body = box(cx - 15, 214, cx + 15, 252, 3)
    pins = union(*[box(cx - 20, 218 + i * 8, cx - 15, 221 + i * 8) for i in range(5)],
                 *[box(cx + 15, 218 + i * 8, cx + 20, 221 + i * 8) for i in range(5)])
    canvas.paint(pins, PALE)
    canvas.paint(body, (18, 44, 70))
    canvas.paint(box(cx - 13, 216, cx + 13, 250, 2), (30, 66, 98))
    canvas.paint(circle(cx - 8, 222, 1.8), PALE)

    # A check mark on the chip: the installation succeeds.
    check = union(segment(cx - 7, 235, cx - 2, 241, 2.8), segment(cx - 2, 241, cx + 8, 227, 2.8))
    canvas.paint(check, AMBER)
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

# The standard 16-colour palette, in index order.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def nearest_index(colour):
    return min(range(16), key=lambda i: sum((colour[k] - PALETTE16[i][k]) ** 2 for k in range(3)))


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
    """Index and transparency per pixel: a blue tile, brighter in its upper half, with a white
    trident."""
    scale = float(size)
    inset = 0.5 / size
    tile = box(inset, inset, 1 - inset, 1 - inset, 0.2)
    trident = usb_trident(0.5, 0.08, 0.84, 0.085)

    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            if coverage(tile, x, y, scale) < 0.5:
                row.append(None)
                continue
            colour = (0, 0, 255) if y < size * 0.45 else (0, 0, 128)
            if size == len(SMALL_TRIDENT):
                ink = 1.0 if SMALL_TRIDENT[y][x] == '#' else 0.0
            else:
                ink = coverage(trident, x, y, scale)
            row.append(nearest_index(mix(colour, (255, 255, 255), ink)))
        pixels.append(row)
    return pixels


def icon_image(pixels):
    size = len(pixels)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE16)
    xor_row = (size * 4 // 8 + 3) & ~3
    and_row = ((size + 7) // 8 + 3) & ~3
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # bottom-up
        packed = bytearray(xor_row)
        bits = bytearray(and_row)
        for x, index in enumerate(row):
            if index is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                index = 0
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        xor += packed
        mask += bits
    return info + palette + bytes(xor) + bytes(mask)


def write_ico(path, images):
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b''
    for size, data in images:
        entries += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(header + entries + b''.join(data for _, data in images))


def main():
    write_bmp(os.path.join(HERE, 'banner.bmp'), draw_banner())
    write_ico(os.path.join(HERE, 'wizard.ico'),
              [(size, icon_image(draw_icon(size))) for size in (32, 16)])


if __name__ == '__main__':
    main()
