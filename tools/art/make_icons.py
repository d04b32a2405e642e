#!/usr/bin/env python3
"""Draws the two application icons (game and portal) as .ico files.

Plain code, no imaging library: each icon holds 16, 32 and 48 pixel images in
32-bit BGRA with a matching AND mask.
"""
import math
import os
import struct
import sys


def blend(dst, src, a):
    return tuple(round(d * (1 - a) + s * a) for d, s in zip(dst, src))


def rounded_square(size, x, y, radius):
    # Coverage of a rounded square filling the image, sampled 4x4 per pixel.
    hits = 0
    for sy in range(4):
        for sx in range(4):
            px = x + (sx + 0.5) / 4
            py = y + (sy + 0.5) / 4
            cx = min(max(px, radius), size - radius)
            cy = min(max(py, radius), size - radius)
            if math.hypot(px - cx, py - cy) <= radius:
                hits += 1
    return hits / 16


def game_glyph(u, v):
    # A stylised inkstone: a ring with a brush stroke through it.
    r = math.hypot(u - 0.5, v - 0.52)
    ring = 0.22 < r < 0.32
    stroke = abs((u - 0.5) + (v - 0.52) * 0.9) < 0.06 and r < 0.36
    return ring or stroke


def portal_glyph(u, v):
    # A globe: circle with a meridian and an equator.
    r = math.hypot(u - 0.5, v - 0.5)
    outline = 0.27 < r < 0.33
    meridian = abs(u - 0.5) < 0.035 and r < 0.3
    equator = abs(v - 0.5) < 0.035 and r < 0.3
    return outline or meridian or equator


def render(size, top, bottom, glyph):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            cover = rounded_square(size, x, y, size * 0.22)
            t = y / max(size - 1, 1)
            colour = blend(top, bottom, t)
            if glyph((x + 0.5) / size, (y + 0.5) / size):
                colour = (255, 255, 255)
            row.append(colour + (round(cover * 255),))
        rows.append(row)
    return rows


def bmp_entry(rows):
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + pixels + mask


def write_ico(path, top, bottom, glyph):
    images = [bmp_entry(render(s, top, bottom, glyph)) for s in (16, 32, 48)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip((16, 32, 48), images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'res')
    write_ico(os.path.join(out_dir, 'pelux.ico'), (64, 140, 230), (18, 70, 160), game_glyph)
    write_ico(os.path.join(out_dir, 'portal.ico'), (255, 160, 60), (210, 90, 20), portal_glyph)


if __name__ == '__main__':
    main()
