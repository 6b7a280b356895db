#!/usr/bin/env python3
"""Draws the application shell's resource images at 1x and 2x into resources/images/.

- "login_logo" (90 x 90 points): the sign-in screen's mark, a green map pin on a white disc.
- "menu_avatar" (56 x 56): the drawer menu's account picture, a light figure on a grey disc.
- "menu_setting" (24 x 24): the drawer menu's settings button, a white gear.
- "menu_<function>" (24 x 24): white line icons of the drawer menu's rows: home_page (a house), attendance
  (a clock), phone_book (a book), family_protect (a shield with a tick), class_schedule (a timetable grid),
  interaction (a flag), logout (a power sign), sound_command (a loudspeaker with sound waves),
  upload_interval (an upward arrow in an open circle), listen_number (headphones), center_number (a target's
  rings round a centre dot), family_number (two people).
- "home_attendance" (22 x 22): the home screen's right-hand bar button, a white calendar with a tick.
- "home_voice", "home_interaction" (28 x 28): the home screen's bottom-bar buttons in green, a microphone and
  a flag.
- "center" (70 x 70): the family-number button in the middle of the bottom bar, a green disc in a white rim
  (the turning plus over it is "center_add", drawn by draw_popup_images.py).
- "device_watch", "device_tracker" (96 x 96): the home screen's picture of the current device.

Each image is a stack of shapes painted in order; shapes are sampled 6 x 6 times per pixel so that their edges
are smooth. Run from anywhere; the output does not depend on the machine.
"""
import math
import sys

import raster

SAMPLES = 6

WHITE = (255, 255, 255)
GREEN = (133, 204, 13)
DEEP_GREEN = (59, 125, 10)
GREY = (96, 104, 112)
DARK = (40, 44, 48)
LIGHT = (225, 229, 232)


class Shape:
    """An inside test in point coordinates and the box (x0, y0, x1, y1) outside which it is never inside."""

    def __init__(self, inside, box):
        self.inside = inside
        self.box = box


def disc(cx, cy, r):
    return Shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, (cx - r, cy - r, cx + r, cy + r))


def ring(cx, cy, r, width):
    """A circle's outline of the given width, centred on radius r."""
    half = width / 2
    return Shape(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= half,
                 (cx - r - half, cy - r - half, cx + r + half, cy + r + half))


def arc(cx, cy, r, width, start, end):
    """Part of a ring from angle `start` to `end` (degrees, clockwise from the top), with round ends."""
    half = width / 2
    ends = []
    for angle in (start, end):
        radians = math.radians(angle)
        ends.append(disc(cx + r * math.sin(radians), cy - r * math.cos(radians), half))

    def inside(x, y):
        if any(e.inside(x, y) for e in ends):
            return True
        if abs(math.hypot(x - cx, y - cy) - r) > half:
            return False
        angle = math.degrees(math.atan2(x - cx, cy - y)) % 360
        return (angle - start) % 360 <= (end - start) % 360

    return Shape(inside, (cx - r - half, cy - r - half, cx + r + half, cy + r + half))


def segment(x1, y1, x2, y2, width):
    """A stroke with round ends from (x1, y1) to (x2, y2)."""
    half = width / 2
    dx, dy = x2 - x1, y2 - y1
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        return (x - x1 - t * dx) ** 2 + (y - y1 - t * dy) ** 2 <= half * half

    return Shape(inside, (min(x1, x2) - half, min(y1, y2) - half, max(x1, x2) + half, max(y1, y2) + half))


def polyline(points, width):
    return union(*(segment(*a, *b, width) for a, b in zip(points, points[1:])))


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        nx = min(max(x, x0 + r), x1 - r)
        ny = min(max(y, y0 + r), y1 - r)
        return (x - nx) ** 2 + (y - ny) ** 2 <= r * r

    return Shape(inside, (x0, y0, x1, y1))


def rect_outline(x0, y0, x1, y1, r, width):
    return difference(rounded_rect(x0, y0, x1, y1, r),
                      rounded_rect(x0 + width, y0 + width, x1 - width, y1 - width, max(r - width, 0)))


def polygon(points):
    def inside(x, y):
        crossings = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                crossings = not crossings
        return crossings

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(inside, (min(xs), min(ys), max(xs), max(ys)))


def scaled(points, cx, cy, factor):
    return [(cx + (x - cx) * factor, cy + (y - cy) * factor) for x, y in points]


def union(*shapes):
    box = (min(s.box[0] for s in shapes), min(s.box[1] for s in shapes),
           max(s.box[2] for s in shapes), max(s.box[3] for s in shapes))
    return Shape(lambda x, y: any(s.inside(x, y) for s in shapes), box)


def difference(shape, cut):
    return Shape(lambda x, y: shape.inside(x, y) and not cut.inside(x, y), shape.box)


def intersection(shape, other):
    return Shape(lambda x, y: shape.inside(x, y) and other.inside(x, y), shape.box)


def coverage(shape, px, py, scale):
    x0, y0, x1, y1 = shape.box
    if (px + 1) / scale < x0 or px / scale > x1 or (py + 1) / scale < y0 or py / scale > y1:
        return 0.0
    return raster.coverage(shape.inside, px, py, scale, SAMPLES)


def draw(point_size, layers, scale):
    """layers: (shape, (r, g, b)) painted back to front over transparency."""
    size = point_size * scale
    rows = raster.paint_layers(size, size, layers, lambda shape, px, py: coverage(shape, px, py, scale))
    return raster.png(size, size, rows)


def gear(cx, cy):
    teeth = [segment(cx + 7 * math.cos(math.radians(a)), cy + 7 * math.sin(math.radians(a)),
                     cx + 10 * math.cos(math.radians(a)), cy + 10 * math.sin(math.radians(a)), 3.6)
             for a in range(0, 360, 45)]
    return difference(union(disc(cx, cy, 7.8), *teeth), disc(cx, cy, 3.4))


def flag(x, y, size):
    """A flag on a pole, in a square of `size` points at (x, y)."""
    k = size / 24
    pole = segment(x + 6 * k, y + 3 * k, x + 6 * k, y + 21 * k, 2 * k)
    cloth = polygon([(x + 6 * k, y + 3.5 * k), (x + 19.5 * k, y + 3.5 * k), (x + 16 * k, y + 8.25 * k),
                     (x + 19.5 * k, y + 13 * k), (x + 6 * k, y + 13 * k)])
    return union(pole, cloth)


SHIELD = [(12, 2.5), (19.5, 5.5), (19.5, 11.5), (17.5, 16.5), (12, 21.5), (6.5, 16.5), (4.5, 11.5), (4.5, 5.5)]

IMAGES = {
    "login_logo": (90, [
        (disc(45, 45, 42), WHITE),
        (union(disc(45, 38, 17), polygon([(30.5, 45), (59.5, 45), (45, 73)])), GREEN),
        (disc(45, 38, 7), WHITE),
    ]),
    "menu_avatar": (56, [
        (disc(28, 28, 27), GREY),
        (disc(28, 22, 9), LIGHT),
        (intersection(disc(28, 53, 17), disc(28, 28, 27)), LIGHT),
    ]),
    "menu_setting": (24, [(gear(12, 12), WHITE)]),
    "menu_home_page": (24, [
        (union(polyline([(3, 12), (12, 4), (21, 12)], 2),
               polyline([(6, 11), (6, 20), (18, 20), (18, 11)], 2),
               rounded_rect(10.5, 14, 13.5, 20, 0.5)), WHITE),
    ]),
    "menu_attendance": (24, [
        (union(ring(12, 12, 9, 2), segment(12, 12, 12, 7, 2), segment(12, 12, 15.5, 14, 2)), WHITE),
    ]),
    "menu_phone_book": (24, [
        (union(rect_outline(5, 3, 19, 21, 2, 1.8), segment(8.5, 3, 8.5, 21, 1.8),
               segment(11.5, 9, 16, 9, 1.6), segment(11.5, 13, 16, 13, 1.6)), WHITE),
    ]),
    "menu_family_protect": (24, [
        (union(difference(polygon(SHIELD), polygon(scaled(SHIELD, 12, 12, 0.78))),
               polyline([(8.5, 12), (11, 14.5), (15.5, 9.5)], 1.8)), WHITE),
    ]),
    "menu_class_schedule": (24, [
        (union(rect_outline(3, 4, 21, 20, 2, 1.8), segment(3, 9, 21, 9, 1.6), segment(3, 14.5, 21, 14.5, 1.4),
               segment(9, 9, 9, 20, 1.4), segment(15, 9, 15, 20, 1.4)), WHITE),
    ]),
    "menu_interaction": (24, [(flag(0, 0, 24), WHITE)]),
    "menu_sound_command": (24, [
        (union(polygon([(3, 9), (7, 9), (12, 4.5), (12, 19.5), (7, 15), (3, 15)]), arc(13, 12, 4, 1.8, 50, 130),
               arc(13, 12, 8, 1.8, 45, 135)), WHITE),
    ]),
    "menu_upload_interval": (24, [
        (union(arc(12, 12, 9, 2, 45, 315), segment(12, 17, 12, 7, 2), polyline([(8, 10.5), (12, 6.5), (16, 10.5)], 2)),
         WHITE),
    ]),
    "menu_listen_number": (24, [
        (union(arc(12, 13, 8, 2, 270, 90), rounded_rect(3, 13, 7.5, 20, 1.5), rounded_rect(16.5, 13, 21, 20, 1.5)),
         WHITE),
    ]),
    "menu_center_number": (24, [
        (union(ring(12, 12, 9, 2), ring(12, 12, 5, 1.8), disc(12, 12, 2)), WHITE),
    ]),
    "menu_family_number": (24, [
        (union(disc(8.5, 8, 3), intersection(disc(8.5, 20, 6), rounded_rect(2, 13.5, 15, 20, 0)),
               disc(16, 9.5, 2.5), intersection(disc(16, 20, 5), rounded_rect(11, 15, 22, 20, 0))), WHITE),
    ]),
    "menu_logout": (24, [
        (union(arc(12, 13, 8, 2, 40, 320), segment(12, 3, 12, 12, 2)), WHITE),
    ]),
    "home_attendance": (22, [
        (union(rect_outline(3, 5, 19, 19, 2, 1.6), rounded_rect(3, 5, 19, 9, 2), segment(7, 3, 7, 6, 1.6),
               segment(15, 3, 15, 6, 1.6), polyline([(7.5, 13.5), (10, 16), (14.5, 11.5)], 1.6)), WHITE),
    ]),
    "home_voice": (28, [
        (union(segment(14, 6.5, 14, 12.5, 8), arc(14, 12.5, 7.5, 1.8, 90, 270), segment(14, 20, 14, 24, 1.8),
               segment(10, 24, 18, 24, 1.8)), DEEP_GREEN),
    ]),
    "home_interaction": (28, [(flag(2, 2, 24), DEEP_GREEN)]),
    "center": (70, [
        (disc(35, 35, 34), WHITE),
        (disc(35, 35, 30), GREEN),
    ]),
    "device_watch": (96, [
        (rounded_rect(34, 4, 62, 92, 6), GREY),
        (rounded_rect(78, 41, 83, 55, 1.5), GREY),
        (rounded_rect(16, 20, 80, 76, 16), GREEN),
        (rounded_rect(24, 28, 72, 68, 9), DARK),
        (union(segment(48, 48, 48, 36, 2.5), segment(48, 48, 57, 53, 2.5), disc(48, 48, 2.5)), WHITE),
    ]),
    "device_tracker": (96, [
        (union(segment(62, 30, 68, 10, 3), disc(68, 10, 3.5)), GREY),
        (union(arc(68, 10, 9, 2.5, 20, 100), arc(68, 10, 15, 2.5, 25, 95)), GREEN),
        (rounded_rect(20, 30, 76, 86, 12), GREEN),
        (ring(48, 58, 14, 3), WHITE),
        (disc(48, 58, 7), WHITE),
    ]),
}


def main():
    names = sys.argv[1:] or list(IMAGES)
    for name in names:
        point_size, layers = IMAGES[name]
        raster.write_scaled(name, lambda scale: draw(point_size, layers, scale))


if __name__ == "__main__":
    main()
