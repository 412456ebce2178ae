#!/usr/bin/env python3
"""Draw the side picture of the printer driver setup: DRVCONFIG/Left.bmp.

The wizard paints this picture down its left side, stretched to the picture
area. It is an uncompressed 24-bit Windows bitmap (BITMAPFILEHEADER +
BITMAPINFOHEADER + bottom-up BGR rows padded to 4 bytes) showing a calm
blue vertical gradient with a receipt printer issuing a receipt.

Standard library only; the output is deterministic.

Usage:  python3 make_left_bmp.py [output-file]
"""

import os
import struct
import sys

WIDTH = 164
HEIGHT = 314
SUB = 4  # supersampling per axis for smooth edges


class Canvas:
    """RGB float canvas with top-down coordinates."""

    def __init__(self, width, height):
        self.w = width
        self.h = height
        self.px = [[(0.0, 0.0, 0.0)] * width for _ in range(height)]

    def put(self, x, y, color, alpha):
        if alpha <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        r0, g0, b0 = self.px[y][x]
        r1, g1, b1 = color
        a = min(alpha, 1.0)
        self.px[y][x] = (r0 + (r1 - r0) * a, g0 + (g1 - g0) * a, b0 + (b1 - b0) * a)

    def shape(self, inside, box, color, alpha=1.0):
        """Blend color over every pixel of box by the covered fraction.

        inside(x, y) tells whether the point (pixel units, top-down) is in
        the shape; box = (x0, y0, x1, y1) bounds the pixels to look at.
        """
        x0, y0, x1, y1 = (int(v) for v in box)
        n = SUB * SUB
        for y in range(max(y0, 0), min(y1 + 1, self.h)):
            for x in range(max(x0, 0), min(x1 + 1, self.w)):
                hits = 0
                for sy in range(SUB):
                    py = y + (sy + 0.5) / SUB
                    for sx in range(SUB):
                        if inside(x + (sx + 0.5) / SUB, py):
                            hits += 1
                if hits:
                    self.put(x, y, color, alpha * hits / n)

    # Shapes -----------------------------------------------------------------

    def rounded_rect(self, x0, y0, x1, y1, radius, color, alpha=1.0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
        self.shape(inside, (x0 - 1, y0 - 1, x1 + 1, y1 + 1), color, alpha)

    def rect(self, x0, y0, x1, y1, color, alpha=1.0):
        self.rounded_rect(x0, y0, x1, y1, 0.0, color, alpha)

    def ellipse(self, cx, cy, rx, ry, color, alpha=1.0):
        def inside(x, y):
            return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
        self.shape(inside, (cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1), color, alpha)

    def polygon(self, points, color, alpha=1.0):
        def inside(x, y):
            # even-odd ray casting
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y):
                    xc = xi + (y - yi) * (xj - xi) / (yj - yi)
                    if x < xc:
                        result = not result
                j = i
            return result
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.shape(inside, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1), color, alpha)

    # Output -----------------------------------------------------------------

    def bmp_bytes(self):
        row_size = (self.w * 3 + 3) // 4 * 4
        pad = b"\0" * (row_size - self.w * 3)
        pixels = bytearray()
        for y in range(self.h - 1, -1, -1):  # bottom-up
            for r, g, b in self.px[y]:
                pixels += bytes((clamp(b), clamp(g), clamp(r)))
            pixels += pad
        info = struct.pack(
            "<IiiHHIIiiII",
            40,            # biSize
            self.w,        # biWidth
            self.h,        # biHeight (positive: bottom-up)
            1,             # biPlanes
            24,            # biBitCount
            0,             # biCompression = BI_RGB
            len(pixels),   # biSizeImage
            3780, 3780,    # 96 dpi in pixels per metre
            0, 0,          # biClrUsed, biClrImportant
        )
        offset = 14 + len(info)
        head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
        return head + info + bytes(pixels)


def clamp(v):
    return max(0, min(255, int(round(v))))


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def draw(canvas):
    w, h = canvas.w, canvas.h

    # Background: deep blue at the top fading to a light sky blue.
    top, bottom = (16, 52, 92), (150, 196, 228)
    for y in range(h):
        t = y / (h - 1)
        t = t * t * (3 - 2 * t)  # smooth step
        row = mix(top, bottom, t)
        for x in range(w):
            # a faint horizontal shading, lighter towards the right edge
            canvas.px[y][x] = mix(row, (255, 255, 255), 0.06 * x / (w - 1))

    # Two soft light arcs behind the printer.
    canvas.ellipse(w * 0.5, 150, 120, 120, (255, 255, 255), 0.05)
    canvas.ellipse(w * 0.5, 150, 84, 84, (255, 255, 255), 0.05)

    # Printer geometry (top-down pixel units).
    cx = w / 2.0
    body_w, body_h = 104, 56
    bx0, bx1 = cx - body_w / 2, cx + body_w / 2
    by0 = 160
    by1 = by0 + body_h

    # Shadow on the "floor".
    canvas.ellipse(cx, by1 + 6, 62, 7, (8, 30, 55), 0.35)

    # Receipt coming out of the paper slot, with a torn (zig-zag) top edge.
    px0, px1 = cx - 32, cx + 32
    py_top = 96
    teeth = 8
    pts = [(px0, by0 + 6)]
    step = (px1 - px0) / teeth
    for i in range(teeth + 1):
        x = px0 + i * step
        pts.append((x, py_top + (0 if i % 2 == 0 else 5)))
    pts.append((px1, by0 + 6))
    canvas.polygon(pts, (150, 170, 190), 0.5)          # soft edge shadow
    pts_paper = [(x - 1.5, y + 1.5) for x, y in pts]
    canvas.polygon(pts_paper, (252, 252, 248))
    # printed lines on the receipt
    ink = (120, 132, 148)
    canvas.rect(cx - 22, 112, cx + 22, 114, ink, 0.9)    # heading
    for i, (a, b) in enumerate([(-26, 14), (-26, 20), (-26, 8), (-26, 18)]):
        y = 121 + i * 7
        canvas.rect(cx + a, y, cx + b, y + 1.5, ink, 0.55)
        canvas.rect(cx + 20, y, cx + 26, y + 1.5, ink, 0.55)
    canvas.rect(cx - 26, 150, cx + 26, 151, ink, 0.35)   # total rule

    # Printer body: light grey case with a darker lid.
    canvas.rounded_rect(bx0 - 1.5, by0 - 1.5, bx1 + 1.5, by1 + 1.5, 11, (36, 52, 70))
    canvas.rounded_rect(bx0, by0, bx1, by1, 10, (228, 232, 237))
    # lid
    lid_y1 = by0 + 20
    def lid(x, y):
        if not (bx0 <= x <= bx1 and by0 <= y <= lid_y1):
            return False
        r = 10
        ccx = min(max(x, bx0 + r), bx1 - r)
        ccy = max(y, by0 + r)
        return (x - ccx) ** 2 + (y - ccy) ** 2 <= r * r
    canvas.shape(lid, (bx0, by0, bx1, lid_y1), (70, 84, 102))
    # highlight on the lid
    canvas.rect(bx0 + 8, by0 + 3, bx1 - 8, by0 + 4.5, (255, 255, 255), 0.18)
    # paper slot
    canvas.rounded_rect(cx - 36, by0 + 4, cx + 36, by0 + 9, 2.5, (22, 30, 40))
    # front panel line
    canvas.rect(bx0 + 6, lid_y1 + 1, bx1 - 6, lid_y1 + 2, (190, 197, 206))
    # status lights and a feed button
    canvas.ellipse(bx0 + 16, by1 - 16, 3.2, 3.2, (40, 190, 90))
    canvas.ellipse(bx0 + 16, by1 - 16, 1.3, 1.3, (200, 255, 210), 0.8)
    canvas.ellipse(bx0 + 27, by1 - 16, 3.2, 3.2, (230, 160, 40), 0.5)
    canvas.rounded_rect(bx1 - 34, by1 - 20, bx1 - 14, by1 - 12, 3.5, (150, 160, 172))
    canvas.rounded_rect(bx1 - 33, by1 - 19, bx1 - 15, by1 - 14, 2.5, (205, 211, 219))
    # base shading
    canvas.rect(bx0 + 4, by1 - 5, bx1 - 4, by1 - 3, (170, 178, 190), 0.6)

    # Thin decorative lines near the bottom.
    for i, a in enumerate((0.30, 0.20, 0.12)):
        y = h - 46 + i * 8
        canvas.rect(18, y, w - 18, y + 0.8, (255, 255, 255), a)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(here, os.pardir, "DRVCONFIG", "Left.bmp")
    out = os.path.normpath(out)
    canvas = Canvas(WIDTH, HEIGHT)
    draw(canvas)
    os.makedirs(os.path.dirname(out), exist_ok=True)
    with open(out, "wb") as f:
        f.write(canvas.bmp_bytes())
    print(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
