#!/usr/bin/env python3
"""Draws the program's two icons and writes them as .ico files (32-bit colour with an
AND mask, 16x16 and 32x32 each):
  chart.ico - a measurement chart with an arrow across it (the dialog's icon, 104)
  disk.ico  - a diskette (109)
Run from this folder: python3 make_icons.py"""
import struct

SIZES = (16, 32)

PAPER = (250, 250, 245, 255)
EDGE = (90, 90, 90, 255)
RULE = (120, 150, 200, 255)
ARROW = (200, 60, 40, 255)
DISK = (40, 70, 140, 255)
SHUTTER = (190, 195, 205, 255)
LABEL = (245, 245, 235, 255)


def blank(size):
    return [[None] * size for _ in range(size)]


def fill(img, x0, y0, x1, y1, colour):
    """Fills the box of fractions (0..1) of the icon's size."""
    size = len(img)
    for y in range(int(y0 * size), max(int(y1 * size), int(y0 * size) + 1)):
        for x in range(int(x0 * size), max(int(x1 * size), int(x0 * size) + 1)):
            if 0 <= x < size and 0 <= y < size:
                img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    size = len(img)
    left, top = int(x0 * size), int(y0 * size)
    right, bottom = int(x1 * size) - 1, int(y1 * size) - 1
    for x in range(left, right + 1):
        img[top][x] = img[bottom][x] = colour
    for y in range(top, bottom + 1):
        img[y][left] = img[y][right] = colour


def chart(size):
    img = blank(size)
    fill(img, 0.16, 0.06, 0.78, 0.94, PAPER)
    frame(img, 0.16, 0.06, 0.78, 0.94, EDGE)
    for row in (0.22, 0.34, 0.46, 0.58, 0.70, 0.82):
        fill(img, 0.25, row, 0.69, row + 1.0 / size, RULE)
    # The arrow: a shaft and a head pointing right, over the lower right corner.
    fill(img, 0.44, 0.60, 0.80, 0.72, ARROW)
    for step in range(size // 4 + 1):
        f = step / size
        fill(img, 0.78 + f, 0.50 + f, 0.80 + f, 0.82 - f, ARROW)
    return img


def disk(size):
    img = blank(size)
    fill(img, 0.09, 0.09, 0.91, 0.91, DISK)
    fill(img, 0.28, 0.09, 0.72, 0.38, SHUTTER)
    fill(img, 0.56, 0.13, 0.66, 0.33, DISK)
    fill(img, 0.22, 0.53, 0.78, 0.91, LABEL)
    for row in (0.66, 0.78):
        fill(img, 0.28, row, 0.72, row + 1.0 / size, RULE)
    return img


def image_data(img):
    size = len(img)
    pixels = b""
    mask = b""
    row_bytes = ((size + 31) // 32) * 4
    for y in reversed(range(size)):  # bottom-up
        bits = 0
        for x in range(size):
            colour = img[y][x]
            if colour is None:
                pixels += bytes((0, 0, 0, 0))
                bits |= 1 << (size - 1 - x)
            else:
                r, g, b, a = colour
                pixels += bytes((b, g, r, a))
        mask += bits.to_bytes(row_bytes, "big") if size >= 32 else \
            (bits << (row_bytes * 8 - size)).to_bytes(row_bytes, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def write_icon(path, draw):
    images = [image_data(draw(size)) for size in SIZES]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    write_icon("chart.ico", chart)
    write_icon("disk.ico", disk)
