#!/usr/bin/env python3
"""Draws the chat screens' resource images at 1x and 2x into resources/images/.

- "chat_bg" (320 x 504 points) and "chat_bg_4" (320 x 416): the chat list's background below the bar, a
  pale green-grey with faint dots.
- "chat_timeline_bg" (60 x 20): the time line's rounded grey plate.
- "chatfrom_bg_normal", "chatfrom_bg_focused" (40 x 40): the bubble of a message from the watch, white (grey
  while pressed) with its tail on the left; "chatto_bg_normal", "chatto_bg_focused": the user's own bubble,
  green (darker while pressed) with its tail on the right. They are stretched from their middle.
- "icon01" (40 x 40): the user's icon, a figure on a green disc; "icon02": the watch's, a watch on a blue disc.
- "sound1" to "sound3" (20 x 20): the voice symbol of a message from the watch, one to three arcs opening to
  the right; "sound4" to "sound6" the same for the user's own messages, opening to the left.
- "AppShareimage" (40 x 40): the placeholder of an image message, a framed landscape.
- "mic_0" to "mic_5" (154 x 180): the recording overlay's panel, a white microphone beside a level meter with
  that many of its five bars lit.
- "detail_back_pressed" (22 x 22): the white back chevron of the bar.
- "chat_bottom_voice_nor", "chat_bottom_voice_press", "chat_bottom_keyboard_nor", "chat_bottom_keyboard_press"
  (32 x 32): the input toggle, a microphone or a keyboard in a ring, grey (green while pressed).

Shapes are sampled several times per pixel so that their edges are smooth. Run from anywhere; the output
does not depend on the machine.
"""
import math

import raster

WHITE = (255, 255, 255)
GREEN = (133, 204, 13)
OWN = (158, 226, 84)
OWN_PRESSED = (120, 190, 60)
PRESSED = (214, 218, 222)
BLUE = (58, 140, 214)
GREY = (120, 126, 132)
DARK = (40, 44, 48)
PANEL = (30, 32, 36)
PALE = (236, 240, 232)
DOT = (226, 231, 221)
TIMELINE = (200, 204, 208)
LEVEL_OFF = (90, 94, 100)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def segment(x1, y1, x2, y2, width):
    half = width / 2
    dx, dy = x2 - x1, y2 - y1
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length2))
        return (x - x1 - t * dx) ** 2 + (y - y1 - t * dy) ** 2 <= half * half
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def arc(cx, cy, r, width, facing_right, spread=50):
    half = width / 2

    def inside(x, y):
        if abs(math.hypot(x - cx, y - cy) - r) > half:
            return False
        angle = math.degrees(math.atan2(y - cy, (x - cx) if facing_right else (cx - x)))
        return abs(angle) <= spread
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def difference(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


def draw(width, height, layers, scale, samples=5):
    w, h = round(width * scale), round(height * scale)
    rows = raster.paint_layers(
        w, h, layers, lambda shape, px, py: raster.coverage(shape, px, py, scale, samples))
    return raster.png(w, h, rows)


def background(width, height, scale):
    """A flat fill with a dot every 16 points, painted without sampling (the picture is large)."""
    w, h = round(width * scale), round(height * scale)
    rows = []
    for py in range(h):
        row = []
        for px in range(w):
            x, y = px / scale, py / scale
            dot = (x % 16 - 8) ** 2 + (y % 16 - 8) ** 2 <= 1.2
            row += list(DOT if dot else PALE) + [255]
        rows.append(row)
    return raster.png(w, h, rows)


def bubble(tail_left):
    body = rounded_rect(6, 0, 40, 40, 8) if tail_left else rounded_rect(0, 0, 34, 40, 8)
    tail = polygon([(0, 12), (8, 8), (8, 20)]) if tail_left else polygon([(40, 12), (32, 8), (32, 20)])
    return union(body, tail)


def sound(step, facing_right):
    cx = 5 if facing_right else 15
    dot = disc(cx, 10, 2)
    arcs = [arc(cx, 10, 4 + 4 * i, 2, facing_right) for i in range(step)]
    return union(dot, *arcs)


def microphone(cx, top, size):
    """A microphone of the given height whose head's top is at `top`."""
    head = rounded_rect(cx - size * 0.2, top, cx + size * 0.2, top + size * 0.6, size * 0.2)
    cradle = difference(
        arc(cx, top + size * 0.42, size * 0.3, size * 0.07, True, 180),
        lambda x, y: y < top + size * 0.42)
    stem = segment(cx, top + size * 0.72, cx, top + size * 0.9, size * 0.07)
    base = segment(cx - size * 0.16, top + size * 0.92, cx + size * 0.16, top + size * 0.92, size * 0.07)
    return union(head, cradle, stem, base)


def mic_panel(level):
    layers = [(rounded_rect(0, 0, 154, 180, 10), PANEL), (microphone(58, 40, 90), WHITE)]
    for i in range(5):
        y = 118 - i * 16
        bar = rounded_rect(100, y, 100 + 12 + i * 6, y + 8, 2)
        layers.append((bar, GREEN if i < level else LEVEL_OFF))
    return layers


def keyboard(cx, cy):
    body = difference(rounded_rect(cx - 9, cy - 6, cx + 9, cy + 6, 2), rounded_rect(cx - 8, cy - 5, cx + 8, cy + 5, 1))
    keys = [rounded_rect(cx - 6 + 4 * i, cy - 3, cx - 4 + 4 * i, cy - 1, 0.3) for i in range(4)]
    keys += [rounded_rect(cx - 6 + 4 * i, cy, cx - 4 + 4 * i, cy + 2, 0.3) for i in range(4)]
    return union(body, *keys)


def toggle(symbol, colour):
    ring = difference(disc(16, 16, 14), disc(16, 16, 12.5))
    return [(ring, colour), (symbol, colour)]


def main():
    raster.write_scaled("chat_bg", lambda s: background(320, 504, s))
    raster.write_scaled("chat_bg_4", lambda s: background(320, 416, s))
    raster.write_scaled("chat_timeline_bg", lambda s: draw(60, 20, [(rounded_rect(0, 0, 60, 20, 6), TIMELINE)], s))
    for name, tail_left, colour in (("chatfrom_bg_normal", True, WHITE), ("chatfrom_bg_focused", True, PRESSED),
                                    ("chatto_bg_normal", False, OWN), ("chatto_bg_focused", False, OWN_PRESSED)):
        raster.write_scaled(name, lambda s, t=tail_left, c=colour: draw(40, 40, [(bubble(t), c)], s))
    figure = union(disc(20, 15, 6), difference(disc(20, 34, 12), lambda x, y: y > 32))
    raster.write_scaled("icon01", lambda s: draw(40, 40, [(disc(20, 20, 20), GREEN), (figure, WHITE)], s))
    watch = union(rounded_rect(13, 11, 27, 29, 4), rounded_rect(16, 5, 24, 35, 2))
    face = disc(20, 20, 4.5)
    raster.write_scaled("icon02", lambda s: draw(40, 40, [(disc(20, 20, 20), BLUE), (watch, WHITE), (face, BLUE)], s))
    for step in range(1, 4):
        raster.write_scaled("sound%d" % step, lambda s, n=step: draw(20, 20, [(sound(n, True), DARK)], s))
        raster.write_scaled("sound%d" % (step + 3), lambda s, n=step: draw(20, 20, [(sound(n, False), DARK)], s))
    frame = difference(rounded_rect(4, 8, 36, 32, 3), rounded_rect(6, 10, 34, 30, 2))
    hills = polygon([(7, 29), (16, 18), (22, 24), (27, 19), (33, 29)])
    raster.write_scaled("AppShareimage", lambda s: draw(40, 40, [(frame, GREY), (hills, GREY), (disc(12, 15, 2.5), GREY)], s))
    for level in range(6):
        raster.write_scaled("mic_%d" % level, lambda s, n=level: draw(154, 180, mic_panel(n), s, samples=2))
    chevron = union(segment(14, 4, 7, 11, 2.5), segment(7, 11, 14, 18, 2.5))
    raster.write_scaled("detail_back_pressed", lambda s: draw(22, 22, [(chevron, WHITE)], s))
    for name, colour in (("nor", GREY), ("press", GREEN)):
        raster.write_scaled("chat_bottom_voice_" + name, lambda s, c=colour: draw(32, 32, toggle(microphone(16, 7, 18), c), s))
        raster.write_scaled("chat_bottom_keyboard_" + name, lambda s, c=colour: draw(32, 32, toggle(keyboard(16, 16), c), s))


if __name__ == "__main__":
    main()
