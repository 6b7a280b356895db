#!/usr/bin/env python3
"""Compares two folders of tour pictures (scripts/run's snapshots/tour) pixel by pixel.

For each picture in both folders it prints how many pixels differ, the box they lie in, and how many of them lie
below the status strip (the top STRIP points, at the pictures' scale). Pictures found in one folder only are
listed. The exit status is 1 when any picture differs below the strip or has another size, else 0.

    tools/compare_tour.py old/snapshots/tour snapshots/tour [--strip 20] [--scale 2]
"""
import argparse
import struct
import sys
import zlib
from pathlib import Path


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(kind, line, previous, stride):
    if kind == 1:
        for i in range(stride, len(line)):
            line[i] = (line[i] + line[i - stride]) & 0xFF
    elif kind == 2:
        for i in range(len(line)):
            line[i] = (line[i] + previous[i]) & 0xFF
    elif kind == 3:
        for i in range(len(line)):
            left = line[i - stride] if i >= stride else 0
            line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
    elif kind == 4:
        for i in range(len(line)):
            left = line[i - stride] if i >= stride else 0
            up_left = previous[i - stride] if i >= stride else 0
            line[i] = (line[i] + paeth(left, previous[i], up_left)) & 0xFF


def read_png(path):
    """(width, height, rows of bytes, bytes per pixel) of an 8-bit, non-interlaced RGB or RGBA PNG file."""
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    at, compressed, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: only 8-bit non-interlaced RGB or RGBA pictures are read")
    stride = 3 if colour == 2 else 4
    raw = zlib.decompress(compressed)
    rows, previous, size = [], bytearray(width * stride), width * stride
    for y in range(height):
        start = y * (size + 1)
        line = bytearray(raw[start + 1:start + 1 + size])
        unfilter(raw[start], line, previous, stride)
        rows.append(bytes(line))
        previous = line
    return width, height, rows, stride


def compare(old_path, new_path, strip_pixels):
    """A one-line report and whether the pictures differ outside the strip."""
    old_width, old_height, old_rows, old_stride = read_png(old_path)
    new_width, new_height, new_rows, new_stride = read_png(new_path)
    if (old_width, old_height, old_stride) != (new_width, new_height, new_stride):
        return f"size {old_width}x{old_height} -> {new_width}x{new_height}", True
    stride, changed, below, box = old_stride, 0, 0, None
    for y, (old_row, new_row) in enumerate(zip(old_rows, new_rows)):
        if old_row == new_row:
            continue
        for x in range(old_width):
            if old_row[x * stride:(x + 1) * stride] == new_row[x * stride:(x + 1) * stride]:
                continue
            changed += 1
            below += y >= strip_pixels
            box = (x, y, x, y) if box is None else (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
    if not changed:
        return "identical", False
    return f"{changed} pixels differ in x {box[0]}-{box[2]}, y {box[1]}-{box[3]}; {below} below the strip", below > 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("old", type=Path)
    parser.add_argument("new", type=Path)
    parser.add_argument("--strip", type=float, default=20, help="height of the status strip in points")
    parser.add_argument("--scale", type=float, default=2, help="pixels per point of the pictures")
    arguments = parser.parse_args()
    old_names = {path.name for path in arguments.old.glob("*.png")}
    new_names = {path.name for path in arguments.new.glob("*.png")}
    strip_pixels = round(arguments.strip * arguments.scale)
    failed = False
    for name in sorted(old_names & new_names):
        report, differs_below = compare(arguments.old / name, arguments.new / name, strip_pixels)
        failed = failed or differs_below
        print(f"{name}: {report}")
    for name in sorted(old_names - new_names):
        print(f"{name}: only in {arguments.old}")
    for name in sorted(new_names - old_names):
        print(f"{name}: only in {arguments.new}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
