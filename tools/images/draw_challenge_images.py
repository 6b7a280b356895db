#!/usr/bin/env python3
"""Draws the step challenge's resource images at 1x and 2x into resources/images/.

- The target buttons (88 x 88 points): a disc with a white rim and one, two or three white footprints for the
  easy, normal and hard target. "no_easy_tast1", "no_normal_test1", "no_hard_tast1" are the coloured ones
  (green, orange, red: the target is free or chosen); "h_easy_tast", "h_normal_nomal", "h_hard_tast" the
  grey ones (another target is chosen).
- "1gif" (40 x 40): the completion screen's falling image, a golden five-pointed star.
- "start_btn_back" (260 x 44): the completion screen's button background, an orange rounded bar.

Shapes are sampled 6 x 6 times per pixel so that their edges are smooth. Run from anywhere; the output does not
depend on the machine.
"""
import math

import raster

SAMPLES = 6

WHITE = (255, 255, 255)
GREEN = (133, 204, 13)
ORANGE = (245, 150, 30)
RED = (226, 72, 60)
GREY = (178, 182, 186)
GOLD = (250, 200, 40)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def polygon(points):
    """Even-odd inside test of a closed polygon."""
    def inside(x, y):
        result = False
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                result = not result
        return result
    return inside


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def footprint(cx, cy):
    """A sole and a heel, 10 points wide."""
    return union(ellipse(cx, cy - 4, 4.5, 7), ellipse(cx, cy + 7, 3.5, 3.5))


def footprints(count):
    places = {1: [44], 2: [36, 52], 3: [28, 44, 60]}[count]
    return union(*[footprint(x, 44 + (4 if i % 2 else -2)) for i, x in enumerate(places)])


def star(cx, cy, outer, inner):
    points = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = math.radians(-90 + 36 * i)
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return polygon(points)


def draw(width, height, layers, scale):
    rows = raster.paint_layers(width * scale, height * scale, layers,
                               lambda shape, px, py: raster.coverage(shape, px, py, scale, SAMPLES))
    return raster.png(width * scale, height * scale, rows)


def target(colour, count):
    return (88, 88, [
        (disc(44, 44, 43), colour),
        (ring(44, 44, 38, 3), WHITE),
        (footprints(count), WHITE),
    ])


IMAGES = {
    "no_easy_tast1": target(GREEN, 1),
    "no_normal_test1": target(ORANGE, 2),
    "no_hard_tast1": target(RED, 3),
    "h_easy_tast": target(GREY, 1),
    "h_normal_nomal": target(GREY, 2),
    "h_hard_tast": target(GREY, 3),
    "1gif": (40, 40, [(star(20, 21, 19, 8), GOLD)]),
    "start_btn_back": (260, 44, [(rounded_rect(0, 0, 260, 44, 8), ORANGE)]),
}


def main():
    for name, (width, height, layers) in IMAGES.items():
        raster.write_scaled(name, lambda scale, w=width, h=height, l=layers: draw(w, h, l, scale))


if __name__ == "__main__":
    main()
