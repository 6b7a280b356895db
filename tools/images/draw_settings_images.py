#!/usr/bin/env python3
"""Draws the settings centre's resource images at 1x and 2x into resources/images/.

- Row icons (28 x 28 points), white line drawings on a rounded green square: "user_image" (a watch),
  "user_keys" (a key), "remote_notification" (a circular arrow: factory reset), "sleep_timer" (a moon),
  "power_manage" (a power sign), "msg_send" (a padlock: key lock), "fire_wall" (a brick wall), "clear_data"
  (a bin), "user_mes" (a speech bubble), "back_opinion" (a pencil), "about_app" (an "i").
- "obd_down_an_2" (50 x 30): the background of the restart and switch-off buttons, a green rounded bar.

The shapes come from draw_shell_images.py; run from anywhere; the output does not depend on the machine.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import raster  # noqa: E402
from draw_shell_images import (WHITE, GREEN, DEEP_GREEN, arc, coverage, disc, difference, polygon,  # noqa: E402
                               polyline, rect_outline, ring, rounded_rect, segment, union)

ICON = 28


def tile():
    return rounded_rect(0.5, 0.5, ICON - 0.5, ICON - 0.5, 6)


def icon(shape):
    return [(tile(), GREEN), (shape, WHITE)]


ICONS = {
    "user_image": union(rect_outline(9, 8, 19, 20, 3, 1.8), segment(11, 4, 17, 4, 2), segment(11, 24, 17, 24, 2),
                        segment(14, 14, 14, 11, 1.6), segment(14, 14, 16.5, 15.5, 1.6)),
    "user_keys": union(ring(9.5, 14, 4.5, 2), segment(14, 14, 23, 14, 2), segment(20, 14, 20, 18, 2),
                       segment(23, 14, 23, 17, 2)),
    "remote_notification": union(arc(14, 14, 8, 2, 60, 360), polygon([(14, 3), (19, 6), (14, 9)])),
    "sleep_timer": difference(disc(14, 14, 9), disc(18.5, 10.5, 8)),
    "power_manage": union(arc(14, 15, 8, 2, 40, 320), segment(14, 5, 14, 14, 2)),
    "msg_send": union(rounded_rect(7.5, 13, 20.5, 23, 2), arc(14, 12, 4.5, 2, 270, 90),
                      segment(9.5, 12, 9.5, 13.5, 2), segment(18.5, 12, 18.5, 13.5, 2)),
    "fire_wall": union(rect_outline(5, 7, 23, 21, 1, 1.6), segment(5, 11.7, 23, 11.7, 1.4),
                       segment(5, 16.3, 23, 16.3, 1.4), segment(11, 7, 11, 11.7, 1.4), segment(17, 7, 17, 11.7, 1.4),
                       segment(14, 11.7, 14, 16.3, 1.4), segment(11, 16.3, 11, 21, 1.4),
                       segment(17, 16.3, 17, 21, 1.4)),
    "clear_data": union(segment(7, 8, 21, 8, 2), segment(12, 5.5, 16, 5.5, 2),
                        polyline([(8.5, 8), (10, 22), (18, 22), (19.5, 8)], 1.8), segment(14, 11, 14, 19, 1.4)),
    "user_mes": union(rect_outline(5, 6, 23, 19, 4, 1.8), polygon([(9, 18), (14, 18), (9, 23)])),
    "back_opinion": union(polygon([(7, 21), (8, 17), (18, 7), (21, 10), (11, 20)]), segment(7, 23, 21, 23, 1.5)),
    "about_app": union(ring(14, 14, 9, 1.8), disc(14, 9.5, 1.4), segment(14, 13, 14, 19, 2)),
}


def draw(width, height, layers, scale):
    rows = raster.paint_layers(width * scale, height * scale, layers,
                               lambda shape, px, py: coverage(shape, px, py, scale))
    return raster.png(width * scale, height * scale, rows)


IMAGES = {name: (ICON, ICON, icon(shape)) for name, shape in ICONS.items()}
IMAGES["obd_down_an_2"] = (50, 30, [(rounded_rect(0.5, 0.5, 49.5, 29.5, 6), DEEP_GREEN)])


def main():
    names = sys.argv[1:] or list(IMAGES)
    for name in names:
        width, height, layers = IMAGES[name]
        raster.write_scaled(name, lambda scale: draw(width, height, layers, scale))


if __name__ == "__main__":
    main()
