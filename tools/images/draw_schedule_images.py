#!/usr/bin/env python3
"""Draws the class schedule's resource images at 1x and 2x into resources/images/.

- "class_bg" (320 x 504 points): the timetable's background, a soft vertical wash from pale blue to white.
- "nav_bg" (320 x 64): the navigation bar's background behind the schedule, a green band darkening downwards.
- "default_add" (20 x 20): a free lesson cell's mark, a thin light-grey plus.
- "add_class" (20 x 20): the marked cell's mark, a white plus on a blue disc.
- "alert_view" (214 x 240): the course entry's panel, a white rounded card with a grey rim.
- "close" (30 x 30): the course entry's close button, a grey cross in a light ring.
- "class_btn" (142 x 50): the fields and the Done button of the course entry, a rounded teal plate.

Small images are stacks of shapes sampled 6 x 6 times per pixel; the two large washes are plain gradients.
Run from anywhere; the output does not depend on the machine.
"""
import raster

SAMPLES = 6

WHITE = (255, 255, 255)
LIGHT_GREY = (200, 204, 210)
GREY = (120, 126, 134)
BLUE = (56, 150, 230)
TEAL = (46, 170, 190)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, half_width):
    return lambda x, y: abs(((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 - r) <= half_width


def segment(x1, y1, x2, y2, half_width):
    dx, dy = x2 - x1, y2 - y1
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width
    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def plus(cx, cy, arm, half_width):
    return union(segment(cx - arm, cy, cx + arm, cy, half_width), segment(cx, cy - arm, cx, cy + arm, half_width))


def shapes(width, height, layers):
    def draw(scale):
        rows = raster.paint_layers(int(width * scale), int(height * scale), layers,
                                   lambda shape, px, py: raster.coverage(shape, px, py, scale, SAMPLES))
        return raster.png(int(width * scale), int(height * scale), rows)
    return draw


def wash(width, height, top, bottom):
    def draw(scale):
        w, h = int(width * scale), int(height * scale)
        rows = []
        for py in range(h):
            t = py / max(h - 1, 1)
            colour = [round(a + (b - a) * t) for a, b in zip(top, bottom)] + [255]
            rows.append(colour * w)
        return raster.png(w, h, rows)
    return draw


IMAGES = {
    "class_bg": wash(320, 504, (226, 240, 250), (255, 255, 255)),
    "nav_bg": wash(320, 64, (150, 214, 40), (118, 186, 20)),
    "default_add": shapes(20, 20, [(plus(10, 10, 6, 0.75), LIGHT_GREY)]),
    "add_class": shapes(20, 20, [(disc(10, 10, 9.5), BLUE), (plus(10, 10, 5, 1.1), WHITE)]),
    "alert_view": shapes(214, 240, [(rounded_rect(0, 0, 214, 240, 14), LIGHT_GREY),
                                    (rounded_rect(1.5, 1.5, 212.5, 238.5, 12.5), WHITE)]),
    "close": shapes(30, 30, [(ring(15, 15, 12, 1), LIGHT_GREY),
                             (union(segment(10, 10, 20, 20, 1.2), segment(20, 10, 10, 20, 1.2)), GREY)]),
    "class_btn": shapes(142, 50, [(rounded_rect(0, 0, 142, 50, 10), TEAL)]),
}


def main():
    for name, draw in IMAGES.items():
        raster.write_scaled(name, draw)


if __name__ == "__main__":
    main()
