#!/usr/bin/python3
"""Draws the two application icons as .ico files: res/pelux.ico (game) and
res/portal.ico (web portal).

    make_icons.py [OUT_DIR]      default: res/

Each icon holds 16, 32 and 48 pixel images, 32-bit BGRA with a matching AND
mask, stored as classic DIB entries (no PNG entries) so every Windows version
and resource compiler reads them.  The artwork shares its drawing code and
palette with make_skin.py: a rounded square in the caption blue with the
game's emblem (ink drop over an inkstone) for the game, the same shape in
orange with a globe for the portal.  Needs Pillow, like make_skin.py.
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_skin as skin  # noqa: E402  (shared primitives and palette)
from make_skin import Image, Mask, m_shift, m_sub, paint, vgrad  # noqa: E402

SIZES = (16, 32, 48)
SS = 16

GAME = ((104, 176, 246), (30, 98, 196), (18, 66, 140))
PORTAL = ((255, 176, 84), (222, 104, 28), (150, 64, 10))


def game_glyph(n):
    m = Mask(n, n, SS)
    # Small sizes get a larger emblem: thin strokes vanish at 16 pixels.
    s = n * (0.40 if n <= 16 else 0.34)
    return skin.glyph_inkstone(m, n / 2, n / 2 + n * 0.01, s, solid=n <= 16)


def portal_glyph(n):
    c, r = n / 2, n * (0.34 if n <= 16 else 0.30)
    w = max(n * 0.065, 1.15)
    m = Mask(n, n, SS)
    m.ellipse(c, c, r)
    hole = Mask(n, n, SS).ellipse(c, c, r - w).get()
    disc = m_sub(m.get(), hole)
    lines = Mask(n, n, SS)
    lines.rect(c - w / 2, c - r, c + w / 2, c + r)                   # meridian
    lines.rect(c - r, c - w / 2, c + r, c + w / 2)                   # equator
    if n <= 16:                                                      # too small for more lines
        lon = lines.get()
    else:
        for dy in (-r * 0.5, r * 0.5):                               # parallels
            half = (r * r - dy * dy) ** 0.5
            lines.rect(c - half, c + dy - w * 0.4, c + half, c + dy + w * 0.4)
        arc = Mask(n, n, SS).ellipse(c, c, r * 0.5, r).get()        # a second meridian as an ellipse
        inner = Mask(n, n, SS).ellipse(c, c, r * 0.5 - w, r - w).get()
        lon = skin.m_or(lines.get(), m_sub(arc, inner))
    clip = Mask(n, n, SS).ellipse(c, c, r).get()
    return skin.m_or(disc, skin.m_and(lon, clip))


def render(n, colours, glyph):
    top, bottom, edge = colours
    inset = 0 if n <= 16 else n * 0.03
    radius = n * 0.22
    img = Image.new('RGBA', (n, n), (0, 0, 0, 0))
    shape = Mask(n, n, SS).rrect(inset, inset, n - inset, n - inset, radius).get()
    img = paint(img, shape, edge)
    w = 1 if n <= 32 else 1.5
    inner = Mask(n, n, SS).rrect(inset + w, inset + w, n - inset - w, n - inset - w, radius - w).get()
    img = paint(img, inner, vgrad(n, n, [(0, top), (1, bottom)]))
    gloss = skin.m_and(inner, Mask(n, n, SS).rect(0, 0, n, n * 0.45).get())
    img = paint(img, gloss, (255, 255, 255, 34))
    g = glyph(n)
    if n > 16:
        img = paint(img, skin.m_and(m_shift(g, 0, 1), inner), edge + (110,))
    img = paint(img, g, (255, 255, 255))
    return img


def bmp_entry(img):
    size = img.size[0]
    rows = [[img.getpixel((x, y)) for x in range(size)] for y in range(size)]
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


def write_ico(path, colours, glyph):
    images = [bmp_entry(render(s, colours, glyph)) for s in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(skin.ROOT, 'res')
    write_ico(os.path.join(out_dir, 'pelux.ico'), GAME, game_glyph)
    write_ico(os.path.join(out_dir, 'portal.ico'), PORTAL, portal_glyph)


if __name__ == '__main__':
    main()
