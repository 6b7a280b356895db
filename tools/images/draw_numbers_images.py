#!/usr/bin/env python3
"""Draws the number screens' resource images at 1x and 2x into resources/images/.

- "dad", "mum", "sos", "listen" (40 x 40 points): the family-number fan's round buttons, also the pictures
  of the family-protection screen's four slot buttons: a white figure on a blue disc (father), a white
  figure with a skirt on a pink disc (mother), a white exclamation mark on a red disc (SOS) and a white
  headset on a green disc (listen).

The shapes are those of draw_shell_images.py, sampled 6 x 6 times per pixel. Run from anywhere; the output
does not depend on the machine.
"""
import sys

import raster
from draw_shell_images import arc, disc, draw, polygon, rounded_rect, segment, union

WHITE = (255, 255, 255)
BLUE = (52, 120, 214)
PINK = (226, 92, 150)
RED = (214, 48, 40)
GREEN = (96, 170, 20)


def figure(skirt):
    head = disc(20, 12.5, 5)
    if skirt:
        body = polygon([(20, 19), (28, 32), (12, 32)])
    else:
        body = rounded_rect(13, 19, 27, 32, 5)
    return union(head, body)


IMAGES = {
    "dad": (40, [(disc(20, 20, 20), BLUE), (figure(False), WHITE)]),
    "mum": (40, [(disc(20, 20, 20), PINK), (figure(True), WHITE)]),
    "sos": (40, [(disc(20, 20, 20), RED), (segment(20, 9, 20, 24, 4.5), WHITE), (disc(20, 30.5, 2.6), WHITE)]),
    "listen": (40, [
        (disc(20, 20, 20), GREEN),
        (union(arc(20, 21, 9, 2.6, 270, 90), rounded_rect(9, 20, 14, 29, 2), rounded_rect(26, 20, 31, 29, 2)), WHITE),
    ]),
}


def main():
    names = sys.argv[1:] or list(IMAGES)
    for name in names:
        point_size, layers = IMAGES[name]
        raster.write_scaled(name, lambda scale: draw(point_size, layers, scale))


if __name__ == "__main__":
    main()
