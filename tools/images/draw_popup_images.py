#!/usr/bin/env python3
"""Draws the resource images of the popover and the fan-out button at 1x and 2x into resources/images/.

- "error" and "success" (40 x 40 points): the popover's failure and success marks, a white cross on a red disc
  and a white tick on a green disc.
- "center_add" (15 x 15 points): the fan-out button's turning mark, a white plus with rounded ends.

The drop-down box shows the pull-to-refresh arrow "big_arrow" (see draw_refresh_images.py).

Each image is a stack of shapes painted in order; shapes are sampled 8 x 8 times per pixel so that their
edges are smooth. Run from anywhere; the output does not depend on the machine.
"""
import raster

SAMPLES = 8


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def segment(x1, y1, x2, y2, half_width):
    """A stroke with round ends from (x1, y1) to (x2, y2)."""
    dx, dy = x2 - x1, y2 - y1
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width

    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def draw(point_size, layers, scale):
    """layers: (shape, (r, g, b)) painted back to front over transparency."""
    size = point_size * scale
    rows = raster.paint_layers(size, size, layers, lambda shape, px, py: raster.coverage(shape, px, py, scale, SAMPLES))
    return raster.png(size, size, rows)


WHITE = (255, 255, 255)

IMAGES = {
    "error": (40, [
        (disc(20, 20, 18), (214, 69, 65)),
        (union(segment(13, 13, 27, 27, 2.2), segment(27, 13, 13, 27, 2.2)), WHITE),
    ]),
    "success": (40, [
        (disc(20, 20, 18), (76, 175, 80)),
        (union(segment(11.5, 20.5, 17.5, 26.5, 2.2), segment(17.5, 26.5, 28.5, 14, 2.2)), WHITE),
    ]),
    "center_add": (15, [
        (union(segment(7.5, 2.5, 7.5, 12.5, 1.25), segment(2.5, 7.5, 12.5, 7.5, 1.25)), WHITE),
    ]),
}


def main():
    for name, (point_size, layers) in IMAGES.items():
        raster.write_scaled(name, lambda scale: draw(point_size, layers, scale))


if __name__ == "__main__":
    main()
