#!/usr/bin/env python3
"""Draws Brontel's icons and cursors and writes them as .ico and .cur files.

    python3 lang/art/make_art.py lang/art

Everything is drawn here from simple shapes, so the files can be re-made at
any time; the output is committed next to this script.
"""
import math
import struct
import sys
from pathlib import Path

SUPERSAMPLE = 4


def coverage(size, inside):
    """Anti-aliased coverage of a shape given as inside(x, y) on a unit square."""
    n = SUPERSAMPLE
    grid = []
    for y in range(size):
        row = []
        for x in range(size):
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    if inside((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size):
                        hits += 1
            row.append(hits / (n * n))
        grid.append(row)
    return grid


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(self, inside, colour):
        """colour: (r, g, b) or a function (x, y) -> (r, g, b) on the unit square."""
        cov = coverage(self.size, inside)
        for y in range(self.size):
            for x in range(self.size):
                a = cov[y][x]
                if a <= 0:
                    continue
                c = colour((x + 0.5) / self.size, (y + 0.5) / self.size) if callable(colour) else colour
                r0, g0, b0, a0 = self.px[y][x]
                a0 /= 255.0
                out_a = a + a0 * (1 - a)
                mix = lambda s, d: (s * a + d * a0 * (1 - a)) / out_a
                self.px[y][x] = (round(mix(c[0], r0)), round(mix(c[1], g0)),
                                 round(mix(c[2], b0)), round(out_a * 255))


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def segment(ax, ay, bx, by, width):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def screen_gradient(x, y):
    # A deep blue picture tube lit from the top left.
    t = min(1.0, max(0.0, (x + y) / 2))
    return (round(60 - 40 * t), round(140 - 80 * t), round(230 - 90 * t))


def draw_tv(size, small):
    c = Canvas(size)
    # Antenna.
    c.fill(segment(0.50, 0.24, 0.30, 0.04, 0.07 if small else 0.05), (70, 70, 78))
    c.fill(segment(0.50, 0.24, 0.72, 0.06, 0.07 if small else 0.05), (70, 70, 78))
    c.fill(circle(0.50, 0.25, 0.06), (70, 70, 78))
    # Cabinet and screen.
    c.fill(rounded_rect(0.04, 0.24, 0.96, 0.90, 0.10), (58, 58, 66))
    c.fill(rounded_rect(0.07, 0.27, 0.93, 0.87, 0.08), (96, 98, 110))
    c.fill(rounded_rect(0.12, 0.32, 0.72 if not small else 0.88, 0.82, 0.07), screen_gradient)
    # A soft highlight across the glass.
    c.fill(polygon([(0.14, 0.34), (0.44, 0.34), (0.22, 0.62), (0.14, 0.62)]), (150, 190, 245))
    if not small:
        # Control knobs beside the screen.
        c.fill(circle(0.825, 0.44, 0.055), (220, 220, 228))
        c.fill(circle(0.825, 0.62, 0.045), (220, 220, 228))
        c.fill(rounded_rect(0.78, 0.72, 0.87, 0.78, 0.02), (230, 80, 60))
    # Feet.
    c.fill(rounded_rect(0.16, 0.89, 0.30, 0.96, 0.02), (58, 58, 66))
    c.fill(rounded_rect(0.70, 0.89, 0.84, 0.96, 0.02), (58, 58, 66))
    return c


def draw_tray(size):
    c = draw_tv(size, True)
    # A red recording-ready dot, so the tray icon reads as "tuner" at 16 px.
    c.fill(circle(0.80, 0.78, 0.17), (255, 255, 255))
    c.fill(circle(0.80, 0.78, 0.13), (220, 40, 40))
    return c


def draw_diagonal_arrow(size, falling):
    """A double-headed sizing arrow, white with a black outline.

    falling: from top left to bottom right (north-west / south-east)."""
    def mirror(points):
        return points if falling else [(1 - x, y) for x, y in points]

    head = 0.24
    a = (0.20, 0.20)
    b = (0.80, 0.80)
    shaft = mirror([(a[0] + 0.08, a[1] + 0.08), (b[0] - 0.08, b[1] - 0.08)])
    shapes = [
        segment(*shaft[0], *shaft[1], 0.09),
        polygon(mirror([a, (a[0] + head, a[1]), (a[0], a[1] + head)])),
        polygon(mirror([b, (b[0] - head, b[1]), (b[0], b[1] - head)])),
    ]
    c = Canvas(size)
    grow = 1.6 / size
    for shape in shapes:
        # Outline: the shape sampled slightly enlarged in every direction.
        def outline(x, y, shape=shape):
            return any(shape(x + dx * grow, y + dy * grow)
                       for dx in (-1, 0, 1) for dy in (-1, 0, 1))
        c.fill(outline, (0, 0, 0))
    for shape in shapes:
        c.fill(shape, (255, 255, 255))
    return c


def dib(canvas):
    """32-bit BGRA image with an AND mask, as stored inside .ico and .cur."""
    size = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = canvas.px[y][x]
            pixels += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        row = bytearray(mask_row)
        for x in range(size):
            if canvas.px[y][x][3] < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(pixels) + bytes(mask)


def icon_file(images, cursor_hotspot=None):
    kind = 2 if cursor_hotspot else 1
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for canvas in images:
        blob = dib(canvas)
        size = canvas.size
        if cursor_hotspot:
            hx, hy = round(cursor_hotspot[0] * size), round(cursor_hotspot[1] * size)
            out += struct.pack('<BBBBHHII', size, size, 0, 0, hx, hy, len(blob), offset)
        else:
            out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b''.join(blobs)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else '.')
    out.mkdir(parents=True, exist_ok=True)
    (out / 'brontel.ico').write_bytes(icon_file([draw_tv(32, False), draw_tv(16, True)]))
    (out / 'tray.ico').write_bytes(icon_file([draw_tray(16), draw_tray(32)]))
    (out / 'size_nwse.cur').write_bytes(icon_file([draw_diagonal_arrow(32, True)], (0.5, 0.5)))
    (out / 'size_nesw.cur').write_bytes(icon_file([draw_diagonal_arrow(32, False)], (0.5, 0.5)))


if __name__ == '__main__':
    main()
