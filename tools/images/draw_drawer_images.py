#!/usr/bin/env python3
"""Draws the drawer's resource images at 1x and 2x into resources/images/.

"home" is the navigation-bar button that toggles the drawer: three white bars with rounded ends on a
transparent 22 x 22 point square (the bar button item tints it). Shapes are sampled 8 x 8 times per pixel
so that their edges are smooth. Run from anywhere; the output does not depend on the machine.
"""
import raster

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


def draw(scale):
    size = POINT_SIZE * scale
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            alpha = round(255 * raster.coverage(inside_bar, px, py, scale, SAMPLES))
            row += [255, 255, 255, alpha]
        rows.append(row)
    return raster.png(size, size, rows)


def main():
    raster.write_scaled("home", draw)


if __name__ == "__main__":
    main()
