#!/usr/bin/env python3
"""Draws the resource image of the purchase screen at 1x and 2x into resources/images/.

- "start_btn_back" (80 x 34 points): the background of the "buy" button, a green rounded rectangle with a
  lighter band along its upper half, so that the white title stands out.

Shapes are sampled 8 x 8 times per pixel so that their edges are smooth. Run from anywhere; the output does
not depend on the machine.
"""
import raster

SAMPLES = 8
WIDTH, HEIGHT, RADIUS = 80, 34, 6


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    return inside


def upper_band(shape):
    return lambda x, y: y < HEIGHT / 2 and shape(x, y)


def draw(scale):
    body = rounded_rect(0.5, 0.5, WIDTH - 0.5, HEIGHT - 0.5, RADIUS)
    layers = [(body, (107, 170, 10)), (upper_band(rounded_rect(1.5, 1.5, WIDTH - 1.5, HEIGHT - 1.5, RADIUS - 1)), (133, 204, 13))]
    width, height = WIDTH * scale, HEIGHT * scale
    rows = raster.paint_layers(width, height, layers, lambda shape, px, py: raster.coverage(shape, px, py, scale, SAMPLES))
    return raster.png(width, height, rows)


def main():
    raster.write_scaled("start_btn_back", draw)


if __name__ == "__main__":
    main()
