#!/usr/bin/env python3
"""Draw the program icon of the printer driver setup: res/DriverSetup.ico.

The icon file holds two images, 16 x 16 and 32 x 32, each a 32-bit BGRA
bitmap with an alpha channel and a 1-bit AND mask (ICONDIR, ICONDIRENTRY,
BITMAPINFOHEADER with the doubled height, bottom-up rows), showing a simple
printer with a sheet of paper. Standard library only; deterministic output.

Usage:  python3 make_icon.py [output-file]
"""

import os
import struct
import sys

SUB = 4  # supersampling per axis


class RGBACanvas:
    """Straight (non-premultiplied) RGBA float canvas, top-down."""

    def __init__(self, size):
        self.n = size
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def over(self, x, y, color, alpha):
        if alpha <= 0.0:
            return
        r0, g0, b0, a0 = self.px[y][x]
        r1, g1, b1 = color
        a1 = min(alpha, 1.0)
        a = a1 + a0 * (1.0 - a1)
        if a <= 0.0:
            return
        def ch(c1, c0):
            return (c1 * a1 + c0 * a0 * (1.0 - a1)) / a
        self.px[y][x] = (ch(r1, r0), ch(g1, g0), ch(b1, b0), a)

    def shape(self, inside, color, alpha=1.0):
        total = SUB * SUB
        for y in range(self.n):
            for x in range(self.n):
                hits = 0
                for sy in range(SUB):
                    py = y + (sy + 0.5) / SUB
                    for sx in range(SUB):
                        if inside(x + (sx + 0.5) / SUB, py):
                            hits += 1
                if hits:
                    self.over(x, y, color, alpha * hits / total)


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def draw_small(c):
    """16 x 16 printer glyph on whole pixels, so that its edges stay sharp."""
    outline = (34, 48, 66)
    paper = (255, 255, 255)
    body = (214, 221, 230)
    lid = (64, 90, 122)
    # sheet going in at the top
    c.shape(rounded(4, 1, 12, 7, 0), outline)
    c.shape(rounded(5, 2, 11, 7, 0), paper)
    c.shape(rounded(6, 3, 10, 4, 0), (150, 162, 178))
    # body
    c.shape(rounded(1, 6, 15, 13, 1), outline)
    c.shape(rounded(2, 7, 14, 12, 0), body)
    c.shape(rounded(2, 7, 14, 9, 0), lid)
    c.shape(rounded(4, 8, 12, 9, 0), (20, 28, 38))
    # status light
    c.shape(rounded(11, 10, 13, 11, 0), (36, 178, 82))
    # printed page at the front
    c.shape(rounded(4, 11, 12, 15, 0), outline)
    c.shape(rounded(5, 11, 11, 14, 0), paper)


def draw(c):
    """Printer glyph designed on a 32-unit grid and scaled to the image."""
    if c.n <= 16:
        draw_small(c)
        return
    k = c.n / 32.0
    small = c.n < 24

    def R(x0, y0, x1, y1, r):
        return rounded(x0 * k, y0 * k, x1 * k, y1 * k, r * k)

    outline = (34, 48, 66)
    paper = (255, 255, 255)
    body = (214, 221, 230)
    lid = (64, 90, 122)
    ink = (110, 124, 142)

    # Sheet going into the printer from the top.
    c.shape(R(8, 2, 24, 16, 1), outline)
    c.shape(R(9, 3, 23, 16, 0.5), paper)
    if not small:
        for i in range(3):
            y = 6 + i * 3
            c.shape(R(11, y, 21 - (i % 2) * 4, y + 1, 0), ink)

    # Printer body with an outline.
    c.shape(R(2, 12, 30, 26, 3), outline)
    c.shape(R(3, 13, 29, 25, 2.2), body)
    # Darker upper band (lid) and the paper slot.
    c.shape(R(3, 13, 29, 17.5, 2.2), lid)
    c.shape(R(7, 14.5, 25, 16, 0.6), (20, 28, 38))
    # Status light.
    c.shape(circle(24.5, 21, 1.6), (36, 178, 82))
    if not small:
        c.shape(R(6, 20.2, 14, 21.8, 0.8), (160, 170, 182))

    # Printed page coming out at the front.
    c.shape(R(8, 23, 24, 30, 0.8), outline)
    c.shape(R(9, 23, 23, 29, 0.5), paper)
    if not small:
        c.shape(R(11, 25.5, 21, 26.5, 0), ink)


def image_bytes(size):
    c = RGBACanvas(size)
    draw(c)
    xor = bytearray()
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up
        bits = bytearray(mask_row)
        for x in range(size):
            r, g, b, a = c.px[y][x]
            alpha = max(0, min(255, int(round(a * 255))))
            if alpha == 0:
                xor += b"\0\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)  # transparent in the AND mask
            else:
                xor += bytes((q(b), q(g), q(r), alpha))
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def q(v):
    return max(0, min(255, int(round(v))))


def icon_bytes(sizes):
    images = [image_bytes(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(here, os.pardir, "DriverSetup.ico")
    out = os.path.normpath(out)
    with open(out, "wb") as f:
        f.write(icon_bytes([16, 32]))
    print(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
