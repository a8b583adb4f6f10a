#!/usr/bin/env python3
"""Draws the tray icon modules/img/logo.ico: a mouse seen from above.

Two images, 32x32 and 16x16, each a 32-bit BMP with alpha plus the 1-bit
AND mask that older readers expect. Edges are smoothed by supersampling.

Run from anywhere:  python3 tools/gen_logo.py [--out FILE]
"""

import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                   "modules", "img", "logo.ico")

BODY = (0x2b, 0x3a, 0x55)      # dark slate blue
OUTLINE = (0xe8, 0xec, 0xf2)   # near white
WHEEL = (0xcf, 0x3e, 0x00)     # orange accent


def shade(u, v):
    """Colour (r, g, b, a) at unit coordinates u, v in [0, 1)."""
    # Body: an ellipse a little taller than wide.
    cx, cy, rx, ry = 0.5, 0.5, 0.34, 0.45
    dx, dy = (u - cx) / rx, (v - cy) / ry
    d = dx * dx + dy * dy
    if d > 1.0:
        return (0, 0, 0, 0)
    inner = d < 0.72
    if not inner:
        return OUTLINE + (255,)
    # Scroll wheel: a short rounded bar on the centre line, upper half.
    if abs(u - cx) < 0.05 and 0.22 < v < 0.40:
        return WHEEL + (255,)
    # Seam between the two buttons, and the line below them.
    if abs(u - cx) < 0.025 and v < 0.46:
        return OUTLINE + (255,)
    if abs(v - 0.46) < 0.025:
        return OUTLINE + (255,)
    return BODY + (255,)


def render(size, ss=4):
    """Rows top to bottom of (r, g, b, a), averaged over ss x ss samples."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = shade((x + (sx + 0.5) / ss) / size,
                                       (y + (sy + 0.5) / ss) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = ss * ss
            a = acc[3] / n
            if acc[3]:
                px = (round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                      round(acc[2] / acc[3]), round(a))
            else:
                px = (0, 0, 0, 0)
            row.append(px)
        rows.append(row)
    return rows


def bmp_entry(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):               # bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:                       # transparent where set
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def main():
    out_path = OUT
    if len(sys.argv) == 3 and sys.argv[1] == "--out":
        out_path = sys.argv[2]
    elif len(sys.argv) != 1:
        sys.stderr.write("usage: gen_logo.py [--out FILE]\n")
        return 2
    sizes = [32, 16]
    images = [bmp_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    with open(out_path, "wb") as f:
        f.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
