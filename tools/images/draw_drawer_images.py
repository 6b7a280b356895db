#!/usr/bin/env python3
"""Draws the drawer's resource images at 1x and 2x into resources/images/.

"home" is the navigation-bar button that toggles the drawer: three white bars with rounded ends on a
transparent 22 x 22 point square (the bar button item tints it). Shapes are sampled 8 x 8 times per pixel
so that their edges are smooth. Run from anywhere; the output does not depend on the machine.
"""
import os
import struct
import sys
import zlib

POINT_SIZE = 22
# Bars: x from 3 to 19 points, 2.5 points thick, centred at these y values.
BAR_LEFT, BAR_RIGHT, BAR_THICKNESS = 3.0, 19.0, 2.5
BAR_CENTRES = (6.0, 11.0, 16.0)
SAMPLES = 8


def inside_bar(x, y):
    radius = BAR_THICKNESS / 2
    for centre in BAR_CENTRES:
        if abs(y - centre) > radius:
            continue
        # A stadium: a rectangle with half-circle ends.
        nearest = min(max(x, BAR_LEFT + radius), BAR_RIGHT - radius)
        if (x - nearest) ** 2 + (y - centre) ** 2 <= radius * radius:
            return True
    return False


def coverage(px, py, scale):
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) / scale
            y = (py + (sy + 0.5) / SAMPLES) / scale
            hits += inside_bar(x, y)
    return hits / (SAMPLES * SAMPLES)


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def draw(scale):
    size = POINT_SIZE * scale
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            alpha = round(255 * coverage(px, py, scale))
            row += [255, 255, 255, alpha]
        rows.append(row)
    return png(size, size, rows)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    folder = os.path.join(root, "resources", "images")
    os.makedirs(folder, exist_ok=True)
    for scale, suffix in ((1, ""), (2, "@2x")):
        path = os.path.join(folder, "home" + suffix + ".png")
        with open(path, "wb") as out:
            out.write(draw(scale))
        print(path, file=sys.stderr)


if __name__ == "__main__":
    main()
