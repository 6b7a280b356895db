#!/usr/bin/env python3
"""Draws the watch phone book's images at 1x and 2x into resources/images/.

- "phonebook_head" (50 x 50 points): the head of an entry without a photo, a white figure (head and
  shoulders) on a square of soft blue; the list and the editor clip it to a circle.
- "phonebook_sample" (120 x 90 points): a landscape picture (sun, hills, sky) that the tests and the tour put
  in the picture folder, so that the photo pickers have something to offer.

Shapes are sampled 6 x 6 times per pixel so that their edges are smooth, painted one over the other. Run from
anywhere; the output does not depend on the machine.
"""
import sys

import raster

SAMPLES = 6

WHITE = (255, 255, 255)
SOFT_BLUE = (142, 178, 214)
SKY = (120, 190, 240)
SUN = (250, 200, 60)
HILL = (90, 170, 70)
FAR_HILL = (60, 130, 60)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def draw(width, height, layers, scale):
    """layers: (inside test in points, (r, g, b)) painted back to front over transparency."""
    w, h = width * scale, height * scale
    rows = raster.paint_layers(w, h, layers,
                               lambda inside, px, py: raster.coverage(inside, px, py, scale, SAMPLES))
    return raster.png(w, h, rows)


IMAGES = {
    "phonebook_head": (50, 50, [
        (rect(0, 0, 50, 50), SOFT_BLUE),
        (ellipse(25, 50, 17, 14), WHITE),
        (disc(25, 21, 9), WHITE),
    ]),
    "phonebook_sample": (120, 90, [
        (rect(0, 0, 120, 90), SKY),
        (disc(88, 24, 12), SUN),
        (ellipse(30, 95, 60, 40), FAR_HILL),
        (ellipse(95, 100, 55, 35), HILL),
    ]),
}


def main():
    names = sys.argv[1:] or list(IMAGES)
    for name in names:
        width, height, layers = IMAGES[name]
        raster.write_scaled(name, lambda scale: draw(width, height, layers, scale))


if __name__ == "__main__":
    main()
