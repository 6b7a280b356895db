#!/usr/bin/env python3
"""Draws the attendance screens' resource images at 1x and 2x into resources/images/.

- "kq_no_new" (120 x 130 points): the attendance list's empty state, a grey clipboard (shown centred in views
  the size of the screen).
- "kq_list" (320 x 55): the background of an attendance row, white with a light line along its bottom.
- "kq_in", "kq_out" (30 x 30): a normal arrival (a green disc with an arrow pointing in) and a normal
  departure (a blue disc with an arrow pointing out).
- "kq_warn" (30 x 30): a late arrival or an early departure, an orange disc with an exclamation mark.
- "kq_setting" (22 x 22): the attendance screen's right-hand bar button, a white gear.
- "xdt3_an_fx" (10 x 8): the white triangle on a day's green header.
- "setting_alock" (24 x 24): the alarm-clock row of the attendance settings, a grey alarm clock.

The shapes are those of draw_shell_images.py; run from anywhere, the output does not depend on the machine.
"""
import raster
from draw_shell_images import (GREEN, GREY, WHITE, coverage, difference, disc, gear, polygon, polyline,
                               rect_outline, rounded_rect, ring, segment, union)

BLUE = (52, 120, 214)
ORANGE = (240, 140, 30)
LINE = (222, 226, 230)
PALE = (200, 204, 208)


def draw(width, height, layers, scale):
    rows = raster.paint_layers(width * scale, height * scale, layers,
                               lambda shape, px, py: coverage(shape, px, py, scale))
    return raster.png(width * scale, height * scale, rows)


def empty_state():
    cx, cy = 60, 67
    board = rect_outline(cx - 36, cy - 44, cx + 36, cy + 48, 6, 4)
    clip = rounded_rect(cx - 16, cy - 52, cx + 16, cy - 36, 4)
    lines = union(*(segment(cx - 20, y, cx + 20, y, 4) for y in (cy - 14, cy + 4, cy + 22)))
    return [(union(board, clip, lines), PALE)]


def row_background():
    return [(rounded_rect(0, 0, 320, 55, 0), WHITE), (rounded_rect(0, 54, 320, 55, 0), LINE)]


def arrow_in():
    return [(disc(15, 15, 14), GREEN),
            (union(segment(7, 15, 19, 15, 3), polyline([(14, 10), (19, 15), (14, 20)], 3), segment(22, 8, 22, 22, 3)),
             WHITE)]


def arrow_out():
    return [(disc(15, 15, 14), BLUE),
            (union(segment(11, 15, 23, 15, 3), polyline([(18, 10), (23, 15), (18, 20)], 3), segment(7, 8, 7, 22, 3)),
             WHITE)]


def warning():
    return [(disc(15, 15, 14), ORANGE), (union(segment(15, 7, 15, 17, 3.4), disc(15, 22.5, 2)), WHITE)]


def alarm_clock():
    body = ring(12, 13, 8, 2.2)
    hands = polyline([(12, 8.5), (12, 13), (15.5, 15)], 2)
    bells = union(disc(5, 5, 3), disc(19, 5, 3))
    legs = union(segment(7, 20, 5, 22.5, 2), segment(17, 20, 19, 22.5, 2))
    return [(union(difference(bells, disc(12, 13, 9.5)), body, hands, legs), GREY)]


IMAGES = {
    "kq_no_new": (120, 130, empty_state),
    "kq_list": (320, 55, row_background),
    "kq_in": (30, 30, arrow_in),
    "kq_out": (30, 30, arrow_out),
    "kq_warn": (30, 30, warning),
    "kq_setting": (22, 22, lambda: [(gear(11, 11), WHITE)]),
    "xdt3_an_fx": (10, 8, lambda: [(polygon([(0, 0), (10, 0), (5, 8)]), WHITE)]),
    "setting_alock": (24, 24, alarm_clock),
}


def main():
    for name, (width, height, layers) in IMAGES.items():
        raster.write_scaled(name, lambda scale: draw(width, height, layers(), scale))


if __name__ == "__main__":
    main()
