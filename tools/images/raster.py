"""What the image generators share: how much of a pixel a shape covers, painting coloured layers one over the
other, PNG encoding, and writing an image at 1x and 2x into resources/images/.

Shapes are inside tests in point coordinates, inside(x, y) -> bool; a pixel's coverage is the share of
samples x samples points spread evenly over it that fall inside.
"""
import os
import struct
import sys
import zlib


def coverage(inside, px, py, scale, samples):
    hits = 0
    for sy in range(samples):
        for sx in range(samples):
            hits += inside((px + (sx + 0.5) / samples) / scale, (py + (sy + 0.5) / samples) / scale)
    return hits / (samples * samples)


def paint_layers(width, height, layers, cover):
    """Rows of RGBA pixels: layers (shape, (r, g, b)) painted back to front over transparency, where
    cover(shape, px, py) is the share of the pixel the shape covers."""
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            # Premultiplied colour and alpha, accumulated with "over".
            red = green = blue = alpha = 0.0
            for shape, colour in layers:
                amount = cover(shape, px, py)
                if amount == 0:
                    continue
                red = colour[0] * amount + red * (1 - amount)
                green = colour[1] * amount + green * (1 - amount)
                blue = colour[2] * amount + blue * (1 - amount)
                alpha = amount + alpha * (1 - amount)
            if alpha > 0:
                row += [round(red / alpha), round(green / alpha), round(blue / alpha), round(255 * alpha)]
            else:
                row += [0, 0, 0, 0]
        rows.append(row)
    return rows


def png(width, height, rows):
    """An 8-bit RGBA PNG file of rows of [r, g, b, a, r, g, b, a, ...] values."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def write_scaled(name, draw):
    """Writes resources/images/<name>.png and <name>@2x.png from draw(scale), which returns the PNG bytes."""
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    folder = os.path.join(root, "resources", "images")
    for scale, suffix in ((1, ""), (2, "@2x")):
        path = os.path.join(folder, name + suffix + ".png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(draw(scale))
        print(path, file=sys.stderr)
