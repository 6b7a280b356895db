#!/usr/bin/env python3
"""Draws the images of the refresh views and the folder table at 1x and 2x into resources/images/.

All arrows point down at rest; the views turn them by half a turn when a pull can be released.
- "big_arrow": the white arrow on the grey backdrops of the pull-to-refresh component, 20 x 26 points.
- "blueArrow": the blue-grey arrow of the table refresh header, 30 x 55 points (its layer's frame).
- "Refresh.bundle/arrow": the grey arrow of the scroll-view refresh views, 15 x 40 points.
- "tip": the small downward notch that the folder table's top cover points at its content with, 20 x 10
  points: a white triangle with a grey rim.
Shapes are polygons sampled 8 x 8 times per pixel so that their edges are smooth, painted one over the other.
Run from anywhere; the output does not depend on the machine.
"""
import os

import raster

SAMPLES = 8


def down_arrow(width, height, shaft_width, head_height, margin=0.0):
    """A shaft from the top and a triangular head at the bottom, centred in width x height points."""
    mid = width / 2
    half_shaft = shaft_width / 2
    head_top = height - margin - head_height
    return [
        (mid - half_shaft, margin),
        (mid + half_shaft, margin),
        (mid + half_shaft, head_top),
        (width - margin, head_top),
        (mid, height - margin),
        (margin, head_top),
        (mid - half_shaft, head_top),
    ]


def inside(polygon, x, y):
    hit = False
    count = len(polygon)
    for i in range(count):
        x1, y1 = polygon[i]
        x2, y2 = polygon[(i + 1) % count]
        if (y1 > y) != (y2 > y):
            crossing = x1 + (y - y1) * (x2 - x1) / (y2 - y1)
            if x < crossing:
                hit = not hit
    return hit


def over(dst, colour, amount):
    """Paints an RGBA colour (0-255, straight alpha) with coverage `amount` over a straight-alpha pixel."""
    r, g, b, a = colour
    src_alpha = a / 255 * amount
    dst_alpha = dst[3] / 255
    out_alpha = src_alpha + dst_alpha * (1 - src_alpha)
    if out_alpha == 0:
        return [0, 0, 0, 0]
    channels = []
    for s, d in zip((r, g, b), dst[:3]):
        channels.append((s * src_alpha + d * dst_alpha * (1 - src_alpha)) / out_alpha)
    return channels + [out_alpha * 255]


def draw(size, layers, scale):
    width, height = size[0] * scale, size[1] * scale
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            pixel = [0, 0, 0, 0]
            for polygon, colour in layers:
                amount = raster.coverage(lambda x, y: inside(polygon, x, y), px, py, scale, SAMPLES)
                if amount > 0:
                    pixel = over(pixel, colour, amount)
            row += [min(255, max(0, round(c))) for c in pixel]
        rows.append(row)
    return raster.png(width, height, rows)


WHITE = (255, 255, 255, 255)
BLUE_GREY = (87, 108, 137, 255)
GREY = (150, 150, 150, 255)
RIM = (190, 190, 190, 255)

IMAGES = {
    "big_arrow": ((20, 26), [(down_arrow(20, 26, 6, 11), WHITE)]),
    "blueArrow": ((30, 55), [(down_arrow(30, 55, 8, 17, 1), BLUE_GREY)]),
    os.path.join("Refresh.bundle", "arrow"): ((15, 40), [(down_arrow(15, 40, 3, 9), GREY)]),
    "tip": (
        (20, 10),
        [
            ([(0, 0), (20, 0), (10, 10)], RIM),
            ([(2.4, 0), (17.6, 0), (10, 7.6)], WHITE),
        ],
    ),
}


def main():
    for name, (size, layers) in IMAGES.items():
        raster.write_scaled(name, lambda scale: draw(size, layers, scale))


if __name__ == "__main__":
    main()
