#!/usr/bin/python3
"""Draws every skin image of the client as res/skin/<id>.png.

    make_skin.py                 write res/skin/*.png
    make_skin.py --out DIR       write into DIR instead
    make_skin.py --check         regenerate into a temporary folder, verify every
                                 image against TABLE and compare with res/skin
    make_skin.py --sheet FILE    write a contact sheet: every image on a
                                 checkerboard plus mock-ups of the windows

The loader turns alpha 0 into the key colour magenta and composes any other
alpha below 255 over white, and image lists, TransparentBlt and the dialog
region all treat magenta as "not there".  So apart from 129 (a layered
window with real per-pixel alpha) every image is written with alpha 0 or 255
only: anti-aliased edges are composed here, over the surface the control is
known to sit on, instead of over white at load time.  Transparent pixels are
stored as (255, 0, 255, 0) so that a loader that ignores alpha still keys them.

Everything is drawn from code (no fonts, no source pictures), so the output is
the same bytes on every run with the same Pillow.  Needs Pillow (Debian:
python3-pil); run it with the interpreter that has it, e.g. /usr/bin/python3.
"""
import argparse
import math
import os
import sys
import tempfile

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter
except ImportError:  # pragma: no cover - environment problem, not a code path
    sys.exit('make_skin.py needs Pillow: apt-get install python3-pil, then run it with /usr/bin/python3')

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, '..', '..'))
SKIN_DIR = os.path.join(ROOT, 'res', 'skin')

KEY = (255, 0, 255)
CLEAR = KEY + (0,)

# ---------------------------------------------------------------------------
# Palette.  The caption gradient is shared by 131, 134, 162 and the notice
# headers; caption buttons are composed over the very same rows.

OUTLINE = (24, 74, 150)
CAP_STOPS = [(0.0, (104, 176, 246)), (0.45, (74, 150, 234)), (1.0, (40, 112, 206))]
CAP_HILITE = (156, 206, 252)
CAP_BASE = (34, 100, 192)          # last caption row: crisp edge above the body
BORDER = (44, 116, 208)
BORDER_INNER = (32, 96, 184)
BODY = (246, 248, 251)             # light dialog centre (131, 162)
FOOTER = (234, 240, 247)
RULE = (214, 224, 236)
WHITE = (255, 255, 255)
RED_TOP, RED_BOT = (240, 96, 80), (214, 52, 40)
RED_DARK_TOP, RED_DARK_BOT = (170, 36, 28), (196, 50, 40)
GOLD_TOP, GOLD_BOT = (255, 222, 120), (236, 164, 34)
GOLD_EDGE = (176, 110, 16)
BROWN = (110, 62, 6)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def ramp(stops, t):
    t = min(max(t, 0.0), 1.0)
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return lerp(c0, c1, 0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]


def caption_row(y, rows=30):
    """Colour of caption row y (0 = top) of a band `rows` high, as drawn in the dialogs."""
    if y == 1:
        return CAP_HILITE
    if y == rows - 1:
        return CAP_BASE
    return ramp(CAP_STOPS, y / (rows - 1))


# ---------------------------------------------------------------------------
# Drawing primitives.  Shapes are drawn into a supersampled coverage mask and
# reduced; colour is applied by compositing a paint layer through the mask.

class Mask:
    """Coverage mask in pixel coordinates (floats; x1/y1 are exclusive edges)."""

    def __init__(self, w, h, ss=8):
        self.w, self.h, self.ss = w, h, ss
        self.im = Image.new('L', (w * ss, h * ss), 0)
        self.d = ImageDraw.Draw(self.im)

    def _p(self, x, y):
        # PIL fills the sample points inside a polygon; sample j stands for the
        # sub-pixel [j, j + 1), so edges are moved half a sample to hit no point.
        return (x * self.ss - 0.5, y * self.ss - 0.5)

    def rect(self, x0, y0, x1, y1, v=255):
        s = self.ss
        self.d.rectangle([round(x0 * s), round(y0 * s), round(x1 * s) - 1, round(y1 * s) - 1], fill=v)
        return self

    def poly(self, pts, v=255):
        self.d.polygon([self._p(x, y) for x, y in pts], fill=v)
        return self

    def ellipse(self, cx, cy, rx, ry=None, v=255):
        ry = rx if ry is None else ry
        s = self.ss
        self.d.ellipse([(cx - rx) * s, (cy - ry) * s, (cx + rx) * s - 1, (cy + ry) * s - 1], fill=v)
        return self

    def rrect(self, x0, y0, x1, y1, r, v=255):
        """Rounded rectangle; r is one radius or (top-left, top-right, bottom-right, bottom-left)."""
        self.poly(rrect_points(x0, y0, x1, y1, r), v)
        return self

    def line(self, p, q, width, v=255, caps='butt'):
        (x0, y0), (x1, y1) = p, q
        dx, dy = x1 - x0, y1 - y0
        n = math.hypot(dx, dy) or 1.0
        ux, uy = dx / n, dy / n
        hx, hy = -uy * width / 2, ux * width / 2
        if caps == 'square':
            x0, y0, x1, y1 = x0 - ux * width / 2, y0 - uy * width / 2, x1 + ux * width / 2, y1 + uy * width / 2
        self.poly([(x0 + hx, y0 + hy), (x1 + hx, y1 + hy), (x1 - hx, y1 - hy), (x0 - hx, y0 - hy)], v)
        if caps == 'round':
            self.ellipse(x0, y0, width / 2, v=v)
            self.ellipse(x1, y1, width / 2, v=v)
        return self

    def arc(self, cx, cy, r, a0, a1, width, v=255):
        """Stroke of a circle arc; angles in degrees, 0 = +x, growing clockwise (screen y down)."""
        pts_out, pts_in = [], []
        steps = max(8, int(abs(a1 - a0) / 3))
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            pts_out.append((cx + (r + width / 2) * math.cos(a), cy + (r + width / 2) * math.sin(a)))
            pts_in.append((cx + (r - width / 2) * math.cos(a), cy + (r - width / 2) * math.sin(a)))
        self.poly(pts_out + pts_in[::-1], v)
        return self

    def bits(self, x, y, rows, v=255):
        """Pixel-exact glyph from strings ('#' = on), top-left at integer (x, y)."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == '#':
                    self.rect(x + i, y + j, x + i + 1, y + j + 1, v)
        return self

    def get(self):
        return self.im.reduce(self.ss)


def rrect_points(x0, y0, x1, y1, r):
    rs = r if isinstance(r, (tuple, list)) else (r, r, r, r)
    tl, tr, br, bl = rs
    pts = []

    def corner(cx, cy, rad, a0):
        if rad <= 0:
            pts.append((cx, cy))
            return
        for i in range(13):
            a = math.radians(a0 + 90 * i / 12)
            pts.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))

    corner(x0 + tl, y0 + tl, tl, 180) if tl else pts.append((x0, y0))
    corner(x1 - tr, y0 + tr, tr, 270) if tr else pts.append((x1, y0))
    corner(x1 - br, y1 - br, br, 0) if br else pts.append((x1, y1))
    corner(x0 + bl, y1 - bl, bl, 90) if bl else pts.append((x0, y1))
    return pts


def m_and(a, b):
    return ImageChops.multiply(a, b)


def m_sub(a, b):
    return ImageChops.subtract(a, b)


def m_or(a, b):
    return ImageChops.lighter(a, b)


def m_scale(m, f):
    return m.point(lambda v: round(v * f))


def m_shift(m, dx, dy):
    out = Image.new('L', m.size, 0)
    out.paste(m, (dx, dy))
    return out


def vgrad(w, h, stops, y0=0, y1=None):
    """Vertical gradient image (RGBA); stops over rows y0..y1 and clamped outside."""
    y1 = h - 1 if y1 is None else y1
    img = Image.new('RGBA', (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = 0.0 if y1 == y0 else (y - y0) / (y1 - y0)
        c = ramp(stops, t)
        d.line([(0, y), (w - 1, y)], fill=c + (255,) if len(c) == 3 else c)
    return img


def hgrad(w, h, stops, x0=0, x1=None):
    x1 = w - 1 if x1 is None else x1
    img = Image.new('RGBA', (w, h))
    d = ImageDraw.Draw(img)
    for x in range(w):
        t = 0.0 if x1 == x0 else (x - x0) / (x1 - x0)
        c = ramp(stops, t)
        d.line([(x, 0), (x, h - 1)], fill=c + (255,) if len(c) == 3 else c)
    return img


def paint(img, mask, colour):
    """Composite `colour` (RGB/RGBA tuple or RGBA image) onto img through mask."""
    if isinstance(colour, Image.Image):
        layer = colour.copy()
        alpha = m_and(layer.getchannel('A'), mask)
    else:
        c = tuple(colour)
        a = c[3] / 255 if len(c) == 4 else 1.0
        layer = Image.new('RGBA', img.size, c[:3] + (255,))
        alpha = m_scale(mask, a) if a < 1 else mask
    layer.putalpha(alpha)
    return Image.alpha_composite(img, layer)


def full(w, h):
    return Image.new('L', (w, h), 255)


# ---------------------------------------------------------------------------
# Finishing: turn a soft RGBA drawing into a keyed-safe image.

def flatten(img, backdrop, threshold=24):
    """Compose soft pixels over the known backdrop; pixels below threshold become transparent."""
    if isinstance(backdrop, Image.Image):
        base = backdrop.convert('RGBA')
    else:
        base = Image.new('RGBA', img.size, tuple(backdrop) + (255,))
    comp = Image.alpha_composite(base, img)
    keep = img.getchannel('A').point(lambda v: 255 if v >= threshold else 0)
    out = Image.composite(comp, Image.new('RGBA', img.size, CLEAR), keep)
    return unkey(out)


def harden(img, threshold=128):
    """For an unknown backdrop: opaque where coverage reaches threshold, colour un-blended."""
    keep = img.getchannel('A').point(lambda v: 255 if v >= threshold else 0)
    solid = img.copy()
    solid.putalpha(255)
    return unkey(Image.composite(solid, Image.new('RGBA', img.size, CLEAR), keep))


def unkey(img):
    """No visible pixel may be exactly the key colour: nudge any that are."""
    px = img.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            if a and (r, g, b) == KEY:
                px[x, y] = (254, 0, 254, a)
    return img


def clear_rgb(img):
    """True-alpha image: store fully transparent pixels as (0, 0, 0, 0)."""
    keep = img.getchannel('A').point(lambda v: 255 if v else 0)
    return unkey(Image.composite(img, Image.new('RGBA', img.size, (0, 0, 0, 0)), keep))


def strip(frames):
    w, h = frames[0].size
    out = Image.new('RGBA', (w * len(frames), h), CLEAR)
    for i, f in enumerate(frames):
        out.paste(f, (i * w, 0))
    return out


def row_backdrop(w, h, colour_of_row, top=0):
    img = Image.new('RGB', (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w - 1, y)], fill=colour_of_row(y + top))
    return img


def caption_backdrop(w, h, top=0):
    return row_backdrop(w, h, lambda y: caption_row(min(y, 29)), top)


# ---------------------------------------------------------------------------
# Frames with a caption band: 131, 134, 162, 143, 147 (pixel-exact, no AA).

def framed_dialog(w, h, border, centre, corner_steps, caption=30, footer=None):
    """Blue caption band, outline, border and a flat centre; top corners keyed."""
    img = Image.new('RGBA', (w, h), BORDER + (255,))
    d = ImageDraw.Draw(img)
    for y in range(caption):
        d.line([(0, y), (w - 1, y)], fill=caption_row(y, caption) + (255,))
    # Centre and the inner edge line that separates it from the border.
    d.rectangle([border, caption, w - 1 - border, h - 1 - border], fill=centre + (255,))
    if border >= 3:
        d.line([(border - 1, caption), (border - 1, h - border)], fill=BORDER_INNER + (255,))
        d.line([(w - border, caption), (w - border, h - border)], fill=BORDER_INNER + (255,))
        d.line([(border - 1, h - border), (w - border, h - border)], fill=BORDER_INNER + (255,))
    if footer:
        fy, fcol = footer
        d.rectangle([border, fy, w - 1 - border, h - 1 - border], fill=fcol + (255,))
        d.line([(border, fy - 1), (w - 1 - border, fy - 1)], fill=RULE + (255,))
    # Outline on all four sides.
    d.rectangle([0, 0, w - 1, h - 1], outline=OUTLINE + (255,))
    key_corners(img, corner_steps)
    return img


def key_corners(img, steps):
    """Round the top corners: row i loses steps[i] pixels at each end, the outline follows."""
    w, _ = img.size
    px = img.load()
    for i, n in enumerate(steps):
        for j in range(n):
            px[j, i] = CLEAR
            px[w - 1 - j, i] = CLEAR
        px[n, i] = OUTLINE + (255,)
        px[w - 1 - n, i] = OUTLINE + (255,)
        # The highlight row must not reach into the outline of the curve.
        if i == 1 and n + 1 < w:
            px[n + 1, i] = lerp(OUTLINE, CAP_HILITE, 0.5) + (255,)
            px[w - 2 - n, i] = lerp(OUTLINE, CAP_HILITE, 0.5) + (255,)
    return img


def draw_131():
    return framed_dialog(30, 51, 4, BODY, (3, 2, 1))


def draw_134():
    return framed_dialog(30, 51, 4, (0, 0, 0), (3, 2, 1))


# Where CAddAccDlg's controls land on 162 (template 161 mapped with 6x13
# dialog base units, MulDiv rounding): question text from (21, 50), 240 wide,
# three lines with 5 pixel spacing; buttons 是 at (143, 115) and 否 at
# (212, 115), 57 x 23, on the footer band.
PROMPT_TEXT = (21, 50, 261, 110)
PROMPT_FOOTER_Y = 110
PROMPT_BUTTONS = ((143, 115), (212, 115))


def draw_162():
    img = framed_dialog(284, 150, 3, BODY, (3, 2, 1), footer=(PROMPT_FOOTER_Y, FOOTER))
    # A faint question mark badge in the top right of the body, clear of the text.
    m = Mask(284, 150)
    m.ellipse(268, 42, 7)
    img = paint(img, m.get(), (210, 226, 244))
    g = Mask(284, 150)
    g.arc(268, 40.2, 2.6, 180, 395, 1.6)
    g.line((268.6, 42.2), (268, 44.2), 1.6)
    g.rect(267.2, 45.6, 268.8, 47.2)
    img = paint(img, g.get(), (64, 128, 204))
    # Drawn over an opaque base, so only the keyed corner pixels are clear.
    return unkey(img)


# ---------------------------------------------------------------------------
# Caption glyphs.  Frame-local coordinates; (cx, cy) is the glyph centre.

def glyph_close(m, cx, cy, s=4.5, width=1.7):
    m.line((cx - s, cy - s), (cx + s, cy + s), width, caps='square')
    m.line((cx - s, cy + s), (cx + s, cy - s), width, caps='square')


def glyph_min(m, cx, cy):
    m.rect(cx - 5, cy + 2, cx + 5, cy + 4)


def glyph_max(m, cx, cy):
    x0, y0, x1, y1 = cx - 5, cy - 5, cx + 5, cy + 4
    m.rect(x0, y0, x1, y1)
    m.rect(x0 + 1, y0 + 2, x1 - 1, y1 - 1, v=0)


def glyph_restore(m, cx, cy):
    # Back window (top and right edges only) and front window.
    bx0, by0, bx1, by1 = cx - 2, cy - 5, cx + 5, cy + 2
    m.rect(bx0, by0, bx1, by1)
    m.rect(bx0 + 1, by0 + 2, bx1 - 1, by1 - 1, v=0)
    fx0, fy0, fx1, fy1 = cx - 5, cy - 2, cx + 2, cy + 5
    m.rect(fx0, fy0, fx1, fy1, v=0)
    m.rect(fx0, fy0, fx1, fy1)
    m.rect(fx0 + 1, fy0 + 2, fx1 - 1, fy1 - 1, v=0)


def glyph_arrow_bar(m, cx, cy):
    m.rect(cx - 5, cy + 3, cx + 5, cy + 5)                      # the bar
    m.rect(cx - 1, cy - 6, cx + 1, cy - 1)                      # shaft
    m.poly([(cx - 4.5, cy - 2), (cx + 4.5, cy - 2), (cx, cy + 2.5)])  # head


def glyph_speaker(m, cx, cy, muted):
    x = cx - 6
    m.rect(x, cy - 2.5, x + 3, cy + 2.5)
    m.poly([(x + 2.5, cy - 2.5), (x + 7, cy - 6), (x + 7, cy + 6), (x + 2.5, cy + 2.5)])
    if muted:
        glyph_close(m, cx + 4.5, cy, s=2.6, width=1.5)
    else:
        m.arc(x + 7, cy, 3.2, -50, 50, 1.4)
        m.arc(x + 7, cy, 6.2, -52, 52, 1.4)


def glyph_gamepad(m, cx, cy):
    body = Mask(m.w, m.h, m.ss)
    body.rrect(cx - 10, cy - 5, cx + 10, cy + 3, 4)
    body.ellipse(cx - 6.5, cy + 2.2, 3.6)
    body.ellipse(cx + 6.5, cy + 2.2, 3.6)
    holes = Mask(m.w, m.h, m.ss)
    holes.rect(cx - 8.2, cy - 1.6, cx - 3.2, cy - 0.2)        # d-pad
    holes.rect(cx - 6.4, cy - 3.4, cx - 5.0, cy + 1.6)
    holes.ellipse(cx + 5.2, cy - 2.2, 1.2)                    # buttons
    holes.ellipse(cx + 7.6, cy + 0.2, 1.2)
    return m_sub(body.get(), holes.get())


def glyph_tiles(m, cx, cy):
    for i in (-1, 1):
        for j in (-1, 1):
            x, y = cx + i * 3.2, cy + j * 3.2
            m.rrect(x - 2.5, y - 2.5, x + 2.5, y + 2.5, 1)


# ---------------------------------------------------------------------------
# Caption buttons: normal = glyph on the caption, hover = lighter face (red for
# close), pressed = darker face and the glyph one pixel lower, disabled = grey
# glyph.  The faces float 2 pixels inside the frame.

STATES = ('normal', 'hover', 'pressed', 'disabled')


def caption_button(w, h, draw_glyph, close=False, ghost=False):
    backdrop = caption_backdrop(w, h)
    cx, cy = w / 2, 13.5
    frames = []
    for state in STATES:
        img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
        face = Mask(w, h).rrect(2, 2, w - 2, h - 2, 3).get()
        if state == 'hover':
            if close:
                img = paint(img, face, vgrad(w, h, [(0, RED_TOP), (1, RED_BOT)], 2, h - 3))
            else:
                img = paint(img, face, (255, 255, 255, 64))
                img = paint(img, ring(w, h, 2, 2, w - 2, h - 2, 3), (255, 255, 255, 70))
        elif state == 'pressed':
            if close:
                img = paint(img, face, vgrad(w, h, [(0, RED_DARK_TOP), (1, RED_DARK_BOT)], 2, h - 3))
            else:
                img = paint(img, face, (10, 44, 110, 110))
                img = paint(img, ring(w, h, 2, 2, w - 2, h - 2, 3), (10, 40, 100, 90))
        elif ghost and state == 'normal':
            img = paint(img, ring(w, h, 2, 2, w - 2, h - 2, 3), (255, 255, 255, 80))
        elif ghost and state == 'disabled':
            img = paint(img, ring(w, h, 2, 2, w - 2, h - 2, 3), (190, 200, 214, 70))
        if draw_glyph is not None:
            dy = 1 if state == 'pressed' else 0
            g = Mask(w, h)
            got = draw_glyph(g, cx, cy + dy)
            gm = got if isinstance(got, Image.Image) else g.get()
            if state != 'disabled':
                img = paint(img, m_shift(gm, 0, 1), (8, 40, 100, 90))
            colour = (176, 190, 208) if state == 'disabled' else WHITE
            img = paint(img, gm, colour)
        frames.append(flatten(img, backdrop))
    return strip(frames)


def ring(w, h, x0, y0, x1, y1, r, width=1):
    outer = Mask(w, h).rrect(x0, y0, x1, y1, r).get()
    inner = Mask(w, h).rrect(x0 + width, y0 + width, x1 - width, y1 - width, max(r - width, 0)).get()
    return m_sub(outer, inner)


def draw_132():
    return caption_button(33, 28, lambda m, cx, cy: glyph_close(m, cx, cy), close=True)


def draw_135():
    return caption_button(27, 28, lambda m, cx, cy: glyph_max(m, round(cx), round(cy)))


def draw_136():
    return caption_button(27, 28, lambda m, cx, cy: glyph_min(m, round(cx), round(cy)))


def draw_137():
    return caption_button(27, 28, lambda m, cx, cy: glyph_restore(m, round(cx), round(cy)))


def draw_138():
    return caption_button(27, 27, lambda m, cx, cy: glyph_arrow_bar(m, round(cx), round(cy)))


def draw_139():
    return caption_button(44, 28, None, ghost=True)


def draw_148():
    return caption_button(27, 27, lambda m, cx, cy: glyph_speaker(m, cx, cy, True))


def draw_149():
    return caption_button(27, 27, lambda m, cx, cy: glyph_speaker(m, cx, cy, False))


# ---------------------------------------------------------------------------
# Game-hall pill buttons 150 (blue) and 151 (gold).

def hall_button(gold):
    w, h = 79, 28
    backdrop = caption_backdrop(w, h)
    frames = []
    for state in STATES:
        img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
        x0, y0, x1, y1 = 3, 3, w - 3, h - 3
        pill = Mask(w, h).rrect(x0, y0, x1, y1, 5).get()
        inner = Mask(w, h).rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 4).get()
        if gold:
            top, bot, edge, glyph, shade = GOLD_TOP, GOLD_BOT, GOLD_EDGE, BROWN, (255, 246, 210)
        else:
            top, bot, edge, glyph, shade = (118, 200, 255), (30, 132, 236), (16, 70, 150), WHITE, (10, 60, 140)
        if state == 'hover':
            top, bot = lerp(top, WHITE, 0.25), lerp(bot, WHITE, 0.2)
        elif state == 'pressed':
            top, bot = lerp(bot, (0, 0, 0), 0.18), lerp(top, (0, 0, 0), 0.12)
        elif state == 'disabled':
            top, bot, edge, glyph, shade = (206, 210, 216), (170, 176, 186), (120, 128, 140), (236, 238, 242), (130, 136, 146)
        img = paint(img, pill, edge)
        img = paint(img, inner, vgrad(w, h, [(0, top), (1, bot)], y0 + 1, y1 - 2))
        gloss = m_and(inner, Mask(w, h).rect(0, 0, w, y0 + 1 + (y1 - y0 - 2) * 0.45).get())
        img = paint(img, gloss, (255, 255, 255, 46 if state != 'pressed' else 16))
        dy = 1 if state == 'pressed' else 0
        g = Mask(w, h)
        pad = glyph_gamepad(g, 31, 14 + dy)
        t = Mask(w, h)
        glyph_tiles(t, 53, 14 + dy)
        gm = m_or(pad, t.get())
        if state != 'disabled':
            img = paint(img, m_shift(gm, 0, 1), shade + (110,))
        img = paint(img, gm, glyph)
        frames.append(flatten(img, backdrop))
    return strip(frames)


def draw_150():
    return hall_button(False)


def draw_151():
    return hall_button(True)


# ---------------------------------------------------------------------------
# Push button face 133: neutral centre, text is drawn over it.

def draw_133():
    w, h = 57, 23
    styles = [
        ((255, 255, 255), (228, 235, 244), (132, 160, 196)),   # normal
        ((246, 251, 255), (206, 228, 252), (58, 138, 226)),    # hover
        ((198, 216, 238), (226, 236, 248), (40, 96, 172)),     # pressed
        ((238, 238, 238), (232, 232, 232), (192, 192, 192)),   # disabled
    ]
    frames = []
    for top, bot, edge in styles:
        img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
        img = paint(img, Mask(w, h).rrect(0, 0, w, h, 3).get(), edge)
        img = paint(img, Mask(w, h).rrect(1, 1, w - 1, h - 1, 2).get(), vgrad(w, h, [(0, top), (1, bot)], 1, h - 2))
        frames.append(flatten(img, BODY, threshold=80))
    return strip(frames)


# ---------------------------------------------------------------------------
# Game tabs 140 (normal, hot, current) and tab close 141 (normal, hot, pressed).

TAB_W, TAB_H, TAB_TOP = 189, 22, 3


def tab_face(state):
    w, h = TAB_W, TAB_H
    fills = {
        0: ((214, 231, 250), (184, 210, 240), (118, 160, 214), (64, 108, 168)),
        1: ((240, 247, 255), (210, 230, 252), (150, 190, 236), (40, 110, 200)),
        2: ((255, 255, 255), (240, 246, 253), (255, 255, 255), (30, 104, 200)),
    }
    top, bot, edge, icon = fills[state]
    img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
    shape = Mask(w, h).rrect(0, 0, w - 1, h + 4, (4, 4, 0, 0)).get()
    inner = Mask(w, h).rrect(1, 1, w - 2, h + 4, (3, 3, 0, 0)).get()
    img = paint(img, shape, edge)
    img = paint(img, inner, vgrad(w, h, [(0, top), (1, bot)], 1, h - 1))
    # Person icon in the 16 pixels left of the label text.
    p = Mask(w, h)
    p.ellipse(9, 8.2, 2.9)
    p.rrect(3.6, 12.4, 14.4, 19, (4.6, 4.6, 1, 1))
    img = paint(img, p.get(), icon)
    return flatten(img, caption_backdrop(w, h, TAB_TOP))


def draw_140():
    return strip([tab_face(s) for s in range(3)])


def draw_141(tab=None):
    w = h = 13
    tab = tab or draw_140()
    # Under the button: the hot tab's top-right corner, and the caption where the tab is clear.
    under = tab.crop((TAB_W + 176, 0, TAB_W + 189, 13))
    backdrop = Image.alpha_composite(caption_backdrop(w, h, TAB_TOP).convert('RGBA'), under).convert('RGB')
    frames = []
    for state in range(3):
        img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
        dy = 0.5 if state == 2 else 0
        if state == 0:
            g = Mask(w, h)
            glyph_close(g, 6.5, 6.5, s=2.6, width=1.5)
            img = paint(img, g.get(), (96, 118, 146))
        else:
            disc = Mask(w, h).ellipse(6.5, 6.5, 5.8).get()
            img = paint(img, disc, (228, 72, 58) if state == 1 else (168, 34, 26))
            g = Mask(w, h)
            glyph_close(g, 6.5, 6.5 + dy, s=2.4, width=1.5)
            img = paint(img, g.get(), WHITE)
        frames.append(flatten(img, backdrop))
    return strip(frames)


# ---------------------------------------------------------------------------
# Padlock 142 before the "log in another account" link (caption rows 7..22).

def draw_142():
    w, h = 14, 16
    img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
    shackle = Mask(w, h)
    shackle.arc(7, 6, 3.4, 180, 360, 1.7)
    shackle.rect(3.6 - 0.85, 6, 3.6 + 0.85, 8.5)
    shackle.rect(10.4 - 0.85, 6, 10.4 + 0.85, 8.5)
    img = paint(img, shackle.get(), (236, 242, 250))
    img = paint(img, Mask(w, h).rrect(1.5, 7.5, 12.5, 15.5, 2).get(), GOLD_EDGE)
    img = paint(img, Mask(w, h).rrect(2.5, 8.5, 11.5, 14.5, 1.2).get(), vgrad(w, h, [(0, GOLD_TOP), (1, GOLD_BOT)], 8, 14))
    hole = Mask(w, h)
    hole.ellipse(7, 10.8, 1.3)
    hole.rect(6.4, 11, 7.6, 13.4)
    img = paint(img, hole.get(), BROWN)
    return flatten(img, caption_backdrop(w, h, 7))


# ---------------------------------------------------------------------------
# Notice pop-up: backgrounds 143 (picture and text), 147 (text), 146
# (picture only, colour keyed) and the close buttons 144 and 145.

NOTICE_HEADER = 26
NOTICE_CLOSE = (211, 3)     # 144 sits at (W - 3 - 36, 3) on 143 and 147


def notice_row(y):
    if y == 0:
        return OUTLINE
    return caption_row(y, NOTICE_HEADER)


def notice_base(w, h):
    img = Image.new('RGBA', (w, h), (0, 0, 0, 255))
    img = paint(img, full(w, h), vgrad(w, h, [(0, (250, 252, 255)), (1, (236, 243, 251))], NOTICE_HEADER, h - 1))
    d = ImageDraw.Draw(img)
    for y in range(NOTICE_HEADER):
        d.line([(0, y), (w - 1, y)], fill=notice_row(y) + (255,))
    d.rectangle([0, 0, w - 1, h - 1], outline=OUTLINE + (255,))
    return img


def horn(img, cx, cy, colour):
    """Loudspeaker badge: the notice's emblem."""
    w, h = img.size
    disc = Mask(w, h).ellipse(cx, cy, 11).get()
    img = paint(img, disc, (220, 234, 250))
    img = paint(img, ring(w, h, cx - 11, cy - 11, cx + 11, cy + 11, 11), (168, 198, 234))
    m = Mask(w, h)
    m.rrect(cx - 6.5, cy - 2.5, cx - 3, cy + 2.5, 0.8)
    m.poly([(cx - 3.5, cy - 2.5), (cx + 3.5, cy - 6.5), (cx + 3.5, cy + 6.5), (cx - 3.5, cy + 2.5)])
    m.line((cx - 4.6, cy + 2), (cx - 3, cy + 6.4), 2, caps='round')
    m.arc(cx + 3.5, cy, 3.2, -48, 48, 1.4)
    m.arc(cx + 3.5, cy, 5.6, -48, 48, 1.4)
    return paint(img, m.get(), colour)


def draw_143():
    w, h = 250, 191
    img = notice_base(w, h)
    img = horn(img, 52, 46, (40, 110, 200))
    # Frame round the 75 x 80 picture label at (15, 67).
    img = paint(img, Mask(w, h).rrect(12, 64, 93, 150, 3).get(), (196, 210, 228))
    img = paint(img, Mask(w, h).rrect(13, 65, 92, 149, 2).get(), WHITE)
    img = paint(img, Mask(w, h).rect(100, 62, 236, 63).get(), RULE)      # under the title
    img = paint(img, Mask(w, h).rect(12, 162, 238, 163).get(), RULE)     # above "详细>>"
    img = flatten(img, BODY, threshold=1)
    key_notice_corners(img)
    return img


def draw_147():
    w, h = 250, 167
    img = notice_base(w, h)
    # Soft band under the header; the centred title sits at y 45..59.
    band = Mask(w, h).rect(1, NOTICE_HEADER, w - 1, 42).get()
    img = paint(img, band, vgrad(w, h, [(0, (222, 235, 251, 255)), (1, (222, 235, 251, 0))], NOTICE_HEADER, 42))
    img = paint(img, Mask(w, h).rect(40, 62, 210, 63).get(), RULE)
    img = paint(img, Mask(w, h).rect(12, 139, 238, 140).get(), RULE)
    img = flatten(img, BODY, threshold=1)
    key_notice_corners(img)
    return img


def key_notice_corners(img):
    w, _ = img.size
    px = img.load()
    for i, n in enumerate((2, 1)):
        for j in range(n):
            px[j, i] = CLEAR
            px[w - 1 - j, i] = CLEAR
        px[n, i] = OUTLINE + (255,)
        px[w - 1 - n, i] = OUTLINE + (255,)


def draw_144():
    w, h = 36, 14
    backdrop = row_backdrop(w, h, notice_row, NOTICE_CLOSE[1])
    frames = []
    for state in STATES:
        img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
        face = Mask(w, h).rrect(9, 0, 27, 14, 3).get()
        if state == 'hover':
            img = paint(img, face, vgrad(w, h, [(0, RED_TOP), (1, RED_BOT)]))
        elif state == 'pressed':
            img = paint(img, face, vgrad(w, h, [(0, RED_DARK_TOP), (1, RED_DARK_BOT)]))
        g = Mask(w, h)
        glyph_close(g, 18, 7 + (0.5 if state == 'pressed' else 0), s=3.2, width=1.6)
        img = paint(img, g.get(), (176, 190, 208) if state == 'disabled' else WHITE)
        frames.append(flatten(img, backdrop))
    return strip(frames)


TAB146 = (100, 0, 160, 24)          # dark tab behind the close button of 146
TAB146_COLOUR = ((70, 82, 100), (44, 54, 68))


def draw_146():
    w, h = 160, 212
    img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
    x0, y0, x1, y1 = TAB146
    tab = Mask(w, h).rrect(x0, y0, x1, y1, (5, 4, 0, 5)).get()
    img = paint(img, tab, vgrad(w, h, [(0, TAB146_COLOUR[0]), (1, TAB146_COLOUR[1])], y0, y1 - 1))
    return harden(img)


def tab146_row(y):
    return ramp([(0, TAB146_COLOUR[0]), (1, TAB146_COLOUR[1])], (y - TAB146[1]) / (TAB146[3] - 1 - TAB146[1]))


# "关闭" (close) as 11 x 11 bitmaps: the pop-up must not depend on fonts.
GLYPH_GUAN = [
    '..#.....#..',
    '...#...#...',
    '.#########.',
    '.....#.....',
    '.....#.....',
    '###########',
    '.....#.....',
    '....#.#....',
    '...#...#...',
    '.##.....##.',
    '#.........#',
]
GLYPH_BI = [
    '.#.........',
    '..#.######.',
    '.#.......#.',
    '.#....#..#.',
    '.#.#####.#.',
    '.#...##..#.',
    '.#..#.#..#.',
    '.#.#..#..#.',
    '.#....#..#.',
    '.#...##..#.',
    '.#......##.',
]


def draw_145():
    w, h = 54, 22
    backdrop = row_backdrop(w, h, tab146_row, 1)
    frames = []
    for state in STATES:
        img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
        face = Mask(w, h).rrect(1, 1, w - 1, h - 1, 3).get()
        if state == 'hover':
            img = paint(img, face, vgrad(w, h, [(0, RED_TOP), (1, RED_BOT)]))
        elif state == 'pressed':
            img = paint(img, face, vgrad(w, h, [(0, RED_DARK_TOP), (1, RED_DARK_BOT)]))
        elif state == 'normal':
            img = paint(img, ring(w, h, 1, 1, w - 1, h - 1, 3), (255, 255, 255, 60))
        dy = 1 if state == 'pressed' else 0
        g = Mask(w, h)
        glyph_close(g, 13.5, 11 + dy, s=3.5, width=1.6)
        g.bits(21, 5 + dy, GLYPH_GUAN)
        g.bits(33, 5 + dy, GLYPH_BI)
        img = paint(img, g.get(), (150, 158, 170) if state == 'disabled' else WHITE)
        frames.append(flatten(img, backdrop))
    return strip(frames)


# ---------------------------------------------------------------------------
# Progress bar: track 152 and fill 153, full-height pills.  Every column
# between the rounded ends is identical, because the bar cuts the fill's
# middle out and joins its two ends.

BAR_W, BAR_H = 390, 21


def draw_152():
    w, h = BAR_W, BAR_H
    img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
    r = h / 2
    img = paint(img, Mask(w, h).rrect(0, 0, w, h, r).get(), (170, 178, 190))
    img = paint(img, Mask(w, h).rrect(1, 1, w - 1, h - 1, r - 1).get(),
                vgrad(w, h, [(0, (206, 212, 220)), (0.35, (224, 228, 234)), (1, (240, 242, 246))], 1, h - 2))
    return flatten(img, BODY, threshold=64)


def draw_153(track=None):
    w, h = BAR_W, BAR_H
    track = track or draw_152()
    backdrop = Image.alpha_composite(Image.new('RGBA', (w, h), BODY + (255,)), track).convert('RGB')
    img = Image.new('RGBA', (w, h), (0, 0, 0, 0))
    r = (h - 2) / 2
    img = paint(img, Mask(w, h).rrect(1, 1, w - 1, h - 1, r).get(), (22, 92, 186))
    img = paint(img, Mask(w, h).rrect(2, 2, w - 2, h - 2, r - 1).get(),
                vgrad(w, h, [(0, (122, 196, 255)), (0.5, (56, 148, 240)), (1, (30, 114, 218))], 2, h - 3))
    img = paint(img, Mask(w, h).rrect(4, 3, w - 4, 9, 3).get(), (255, 255, 255, 60))
    return flatten(img, backdrop, threshold=64)


# ---------------------------------------------------------------------------
# Login background 129 (true alpha).  Geometry the login window relies on:
# the page's no-drag zone for the drawn minimise and close buttons is
# x 833..881, y 87..117 (inclusive); the buttons below sit inside it.

LOGIN_W, LOGIN_H = 888, 518
LOGIN_CARD = (4, 76, 884, 512)               # rounded card, radius 10
LOGIN_HEADER = (76, 128)                     # header band rows
LOGIN_MIN = (834, 91, 857, 114)              # drawn minimise button (exclusive right/bottom)
LOGIN_CLOSE = (858, 91, 881, 114)            # drawn close button
LOGIN_PANEL = (560, 146, 827, 494)           # white panel the login form is laid on
LOGIN_RIBBON = (827, 289, 845, 460)          # side ribbon = the second no-drag zone (827..844, 289..459)
LOGIN_ART = (4, 128, 548, 512)               # landscape
LOGIN_EMBLEM = (70, 88, 44)                  # centre x, y and radius


def emblem(img, cx, cy, r, ss):
    w, h = img.size
    shadow = Mask(w, h, ss).ellipse(cx, cy + 3, r + 1).get().filter(ImageFilter.GaussianBlur(4))
    img = paint(img, shadow, (0, 20, 50, 110))
    img = paint(img, Mask(w, h, ss).ellipse(cx, cy, r).get(), WHITE)
    img = paint(img, Mask(w, h, ss).ellipse(cx, cy, r - 4).get(),
                vgrad(w, h, [(0, (104, 180, 248)), (1, (24, 92, 186))], cy - r, cy + r))
    img = paint(img, ring(w, h, cx - r + 7, cy - r + 7, cx + r - 7, cy + r - 7, r - 7, 1.5), (255, 255, 255, 90))
    return paint(img, glyph_inkstone(Mask(w, h, ss), cx, cy, r * 0.62), WHITE)


def glyph_inkstone(m, cx, cy, s, solid=False):
    """The game's emblem (also in pelux.ico): an ink drop over a round inkstone.

    Returns the coverage mask; s is about the glyph's half height.  solid draws
    the stone without its well, for sizes where the rim would blur away.
    """
    r, d = s * 0.34, s * 0.74                 # drop radius; apex distance from the drop centre
    dcx, dcy = cx, cy - s * 0.12
    phi = math.acos(r / d)
    drop = Mask(m.w, m.h, m.ss)
    drop.ellipse(dcx, dcy, r)
    drop.poly([(dcx, dcy - d), (dcx - r * math.sin(phi), dcy - r * math.cos(phi)),
               (dcx + r * math.sin(phi), dcy - r * math.cos(phi))])
    halo = Mask(m.w, m.h, m.ss)
    halo.ellipse(dcx, dcy, r + s * 0.12)
    ey = cy + s * 0.56
    stone = Mask(m.w, m.h, m.ss)
    stone.ellipse(cx, ey, s * 0.86, s * 0.32)
    well = Mask(m.w, m.h, m.ss)
    well.ellipse(cx, ey - s * 0.02, s * 0.62, s * 0.17)
    ink = Mask(m.w, m.h, m.ss)
    ink.ellipse(cx + s * 0.1, ey + s * 0.03, s * 0.34, s * 0.08)
    if solid:
        return m_or(m_sub(stone.get(), halo.get()), drop.get())
    rim = m_sub(m_sub(stone.get(), well.get()), halo.get())
    return m_or(m_or(rim, drop.get()), ink.get())


def mountains(w, h, ss, base, amp, seed, x0, x1):
    """Ridge polygon of one mountain layer (deterministic sine sums)."""
    pts = []
    for x in range(x0, x1 + 1, 2):
        t = x / 60.0
        y = base
        y -= amp * (0.55 * math.sin(t * 0.9 + seed) + 0.3 * math.sin(t * 2.3 + seed * 1.7)
                    + 0.15 * math.sin(t * 5.1 + seed * 2.9))
        y -= amp * 0.9 * max(0.0, math.sin(t * 0.45 + seed * 0.6)) ** 3
        pts.append((x, y))
    pts += [(x1, h), (x0, h)]
    return Mask(w, h, ss).poly(pts).get()


def draw_129():
    W, H, ss = LOGIN_W, LOGIN_H, 4
    img = Image.new('RGBA', (W, H), (0, 0, 0, 0))
    cx0, cy0, cx1, cy1 = LOGIN_CARD
    card = Mask(W, H, ss).rrect(cx0, cy0, cx1, cy1, 10).get()
    shadow = m_shift(card, 0, 2).filter(ImageFilter.GaussianBlur(3))
    img = paint(img, shadow, (0, 16, 40, 120))
    img = paint(img, card, (243, 246, 250))

    # Header band with a soft cloud pattern.
    hy0, hy1 = LOGIN_HEADER
    header = m_and(card, Mask(W, H, ss).rect(0, hy0, W, hy1).get())
    img = paint(img, header, vgrad(W, H, [(0, (98, 170, 244)), (0.5, (66, 142, 230)), (1, (36, 106, 200))], hy0, hy1 - 1))
    clouds = Mask(W, H, ss)
    for i, (x, y, s) in enumerate([(170, 112, 1.0), (300, 96, 0.8), (470, 116, 1.1), (640, 100, 0.9), (760, 118, 0.7)]):
        cloud(clouds, x, y, 14 * s)
    img = paint(img, m_and(clouds.get(), header), (255, 255, 255, 34))
    img = paint(img, Mask(W, H, ss).rect(cx0 + 10, hy0 + 1, cx1 - 10, hy0 + 2).get(), (170, 214, 252, 150))
    img = paint(img, Mask(W, H, ss).rect(cx0, hy1 - 1, cx1, hy1).get(), (30, 92, 182))

    # Landscape on the left: sky, sun, four ridges, mist.
    ax0, ay0, ax1, ay1 = LOGIN_ART
    art = m_and(card, Mask(W, H, ss).rect(ax0, ay0, ax1, ay1).get())
    img = paint(img, art, vgrad(W, H, [(0, (206, 226, 238)), (0.6, (238, 244, 246)), (1, (246, 248, 246))], ay0, ay1))
    glow = Mask(W, H, ss).ellipse(408, 214, 40).get().filter(ImageFilter.GaussianBlur(12))
    img = paint(img, m_and(art, glow), (244, 170, 130, 110))
    img = paint(img, m_and(art, Mask(W, H, ss).ellipse(408, 214, 28).get()), (234, 122, 92, 215))
    layers = [
        (330, 70, 0.3, (178, 206, 214)),
        (380, 60, 2.1, (128, 170, 184)),
        (430, 52, 4.0, (74, 124, 142)),
        (476, 36, 5.5, (38, 80, 98)),
    ]
    for k, (base, amp, seed, colour) in enumerate(layers):
        ridge = m_and(art, mountains(W, H, ss, base, amp, seed, ax0, ax1))
        img = paint(img, ridge, colour)
        # Valley fog over the foot of each ridge, with a smooth (cosine) profile.
        fog = [(t / 8, (246, 249, 250, round(105 * (0.5 - 0.5 * math.cos(2 * math.pi * t / 8))))) for t in range(9)]
        mist = m_and(art, Mask(W, H, ss).rect(ax0, base - 20, ax1, base + 50).get())
        img = paint(img, mist, vgrad(W, H, fog, base - 20, base + 50))
    birds = Mask(W, H, ss)
    for bx, by, s in [(300, 190, 6), (320, 181, 4.5), (334, 197, 4)]:
        for side in (-1, 1):                  # gull wings: body, raised elbow, drooping tip
            birds.line((bx, by), (bx + side * s * 0.45, by - s * 0.45), 1.1, caps='round')
            birds.line((bx + side * s * 0.45, by - s * 0.45), (bx + side * s, by - s * 0.1), 1.1, caps='round')
    img = paint(img, birds.get(), (60, 84, 100, 200))
    img = paint(img, Mask(W, H, ss).rect(ax1, ay0, ax1 + 1, ay1 - 10).get(), (214, 224, 236))

    # Login panel and its side ribbon.
    px0, py0, px1, py1 = LOGIN_PANEL
    pshadow = Mask(W, H, ss).rrect(px0, py0 + 2, px1, py1 + 2, 8).get().filter(ImageFilter.GaussianBlur(3))
    img = paint(img, pshadow, (20, 50, 90, 50))
    img = paint(img, Mask(W, H, ss).rrect(px0, py0, px1, py1, 8).get(), (208, 220, 234))
    img = paint(img, Mask(W, H, ss).rrect(px0 + 1, py0 + 1, px1 - 1, py1 - 1, 7).get(), WHITE)
    img = paint(img, Mask(W, H, ss).rrect(px0 + 1, py0 + 1, px1 - 1, py0 + 6, (7, 7, 0, 0)).get(), (56, 136, 228))
    rx0, ry0, rx1, ry1 = LOGIN_RIBBON
    ribbon = Mask(W, H, ss).rrect(rx0 - 4, ry0, rx1, ry1, (0, 6, 6, 0)).get()
    ribbon = m_sub(ribbon, Mask(W, H, ss).rect(0, 0, rx0, H).get())
    img = paint(img, ribbon, hgrad(W, H, [(0, (36, 106, 200)), (1, (76, 152, 236))], rx0, rx1 - 1))
    marks = Mask(W, H, ss)
    mx, my = (rx0 + rx1) / 2, (ry0 + ry1) / 2
    for y in (ry0 + 14, ry1 - 14):
        marks.ellipse(mx, y, 2)
    marks.line((mx - 2, my - 4), (mx + 2, my), 1.6, caps='round')      # chevron: the strip opens something
    marks.line((mx + 2, my), (mx - 2, my + 4), 1.6, caps='round')
    img = paint(img, marks.get(), (255, 255, 255, 220))

    # Minimise and close buttons, inside the page's no-drag zone.
    for rect, glyph in ((LOGIN_MIN, 'min'), (LOGIN_CLOSE, 'close')):
        x0, y0, x1, y1 = rect
        img = paint(img, Mask(W, H, ss).rrect(x0, y0, x1, y1, 4).get(), (255, 255, 255, 40))
        img = paint(img, ring(W, H, x0, y0, x1, y1, 4), (255, 255, 255, 90))
        g = Mask(W, H, ss)
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        if glyph == 'min':
            g.rect(cx - 5, cy + 1.5, cx + 5, cy + 3.5)
        else:
            glyph_close(g, cx, cy, s=4.5, width=2)
        img = paint(img, g.get(), WHITE)

    img = emblem(img, *LOGIN_EMBLEM, ss=ss)
    return clear_rgb(img)


def cloud(m, x, y, s):
    """Auspicious cloud: three lobes and a curl."""
    m.ellipse(x, y, s)
    m.ellipse(x + s * 1.2, y + s * 0.3, s * 0.75)
    m.ellipse(x - s * 1.1, y + s * 0.35, s * 0.7)
    m.rrect(x - s * 1.8, y + s * 0.3, x + s * 1.95, y + s * 1.05, s * 0.37)


# ---------------------------------------------------------------------------
# The table every image is checked against.  frames: number of equal frames
# side by side; alpha: 'binary' (0/255 only) or 'true'; corners: transparent
# pixels in rows 0, 1, 2... of each top corner (None: not a framed image);
# grid: (caption height, border) for nine-grid sources.

TABLE = [
    # id, w, h, frames, alpha, corners, grid, what it shows
    (129, 888, 518, 1, 'true', None, None, 'login background: shadowed card, blue header with cloud pattern, emblem, landscape, white login panel with side ribbon, drawn minimise and close buttons'),
    (131, 30, 51, 1, 'binary', (3, 2, 1), (30, 4), 'dialog nine-grid: blue gradient caption, 4-pixel blue border, light centre, rounded top corners'),
    (132, 132, 28, 4, 'binary', None, None, 'caption close: white cross; hover red, pressed dark red, disabled grey'),
    (133, 228, 23, 4, 'binary', None, None, 'push button face: white-to-grey centre for text; hover light blue, pressed inset blue, disabled grey'),
    (134, 30, 51, 1, 'binary', (3, 2, 1), (30, 4), 'game window nine-grid: as 131 with a black centre'),
    (135, 108, 28, 4, 'binary', None, None, 'caption maximise: square'),
    (136, 108, 28, 4, 'binary', None, None, 'caption minimise: bar'),
    (137, 108, 28, 4, 'binary', None, None, 'caption restore: two windows'),
    (138, 108, 27, 4, 'binary', None, None, 'caption tool button: arrow down onto a bar (hide)'),
    (139, 176, 28, 4, 'binary', None, None, 'blank caption button face for the "系统" text button: outline, lighter, darker, grey outline'),
    (140, 567, 22, 3, 'binary', None, None, 'game tab face with a person icon at the left: normal, hot, current'),
    (141, 39, 13, 3, 'binary', None, None, 'tab close: grey cross, red disc, dark red disc'),
    (142, 14, 16, 1, 'binary', None, None, 'padlock: gold body, light shackle'),
    (143, 250, 191, 1, 'binary', (2, 1), None, 'notice, picture and text: blue header, loudspeaker badge, picture frame, rules'),
    (144, 144, 14, 4, 'binary', None, None, 'notice close: white cross; hover red, pressed dark red, disabled grey'),
    (145, 216, 22, 4, 'binary', None, None, 'picture-notice close: cross and "关闭"; outline, red, dark red, grey'),
    (146, 160, 212, 1, 'binary', None, None, 'picture notice: transparent except a dark tab behind the close button at the top right'),
    (147, 250, 167, 1, 'binary', (2, 1), None, 'notice, text only: blue header, soft band, rules'),
    (148, 108, 27, 4, 'binary', None, None, 'sound off: speaker with a cross'),
    (149, 108, 27, 4, 'binary', None, None, 'sound on: speaker with two waves'),
    (150, 316, 28, 4, 'binary', None, None, 'game hall, hall hidden: blue pill with gamepad and tiles'),
    (151, 316, 28, 4, 'binary', None, None, 'game hall, hall shown: gold pill with gamepad and tiles'),
    (152, 390, 21, 1, 'binary', None, None, 'progress track: grey pill'),
    (153, 390, 21, 1, 'binary', None, None, 'progress fill: blue pill, 1 pixel inside the track'),
    (162, 284, 150, 1, 'binary', (3, 2, 1), None, 'log-in-another-account prompt: caption, light body, question badge, footer band for the buttons'),
]

IDS = [row[0] for row in TABLE]


def render_all():
    """All images by id.  Some are drawn over others, so the order matters."""
    out = {}
    for i in (129, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140):
        out[i] = globals()['draw_%d' % i]()
    out[141] = draw_141(out[140])
    for i in (142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152):
        out[i] = globals()['draw_%d' % i]()
    out[153] = draw_153(out[152])
    out[162] = draw_162()
    return out


def write_all(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    images = render_all()
    for i in IDS:
        images[i].save(os.path.join(out_dir, '%d.png' % i), 'PNG', compress_level=9)
    return images


# ---------------------------------------------------------------------------
# Verification.

def transparent_set(img):
    w, h = img.size
    a = img.getchannel('A').load()
    return {(x, y) for y in range(h) for x in range(w) if a[x, y] == 0}


def corner_set(w, steps):
    s = set()
    for i, n in enumerate(steps):
        for j in range(n):
            s.add((j, i))
            s.add((w - 1 - j, i))
    return s


def frame_diff(a, b):
    """Mean absolute channel difference of two frames as the loader sees them (key for clear)."""
    pa, pb = keyed(a).getdata(), keyed(b).getdata()
    total = sum(abs(x - y) for p, q in zip(pa, pb) for x, y in zip(p, q))
    return total / (3 * a.size[0] * a.size[1])


def keyed(img):
    """The loader's conversion: alpha 255 keeps the colour, 0 gives the key, others go over white."""
    out = Image.new('RGB', img.size)
    src = img.load()
    dst = out.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            r, g, b, a = src[x, y]
            if a == 255:
                dst[x, y] = (r, g, b)
            elif a == 0:
                dst[x, y] = KEY
            else:
                dst[x, y] = tuple((a * (c - 255) + 65025) // 255 for c in (r, g, b))
    return out


def verify_image(i, img, row):
    _, w, h, frames, alpha, corners, grid, _ = row
    errs = []
    err = errs.append
    if img.mode != 'RGBA':
        return ['%d: mode %s, want RGBA' % (i, img.mode)]
    if img.size != (w, h):
        return ['%d: size %dx%d, want %dx%d' % (i, img.size[0], img.size[1], w, h)]
    if w % frames:
        err('%d: width %d does not split into %d frames' % (i, w, frames))
    alphas = set(img.getchannel('A').getdata())
    if alpha == 'binary' and not alphas <= {0, 255}:
        err('%d: soft alpha values %s in a keyed image' % (i, sorted(alphas - {0, 255})[:5]))
    if alpha == 'true' and not (0 in alphas and any(0 < a < 255 for a in alphas)):
        err('%d: expected real alpha (clear and soft pixels)' % i)
    visible_key = sum(1 for p in img.getdata() if p[3] and p[:3] == KEY)
    if visible_key:
        err('%d: %d visible pixels are exactly the key colour' % (i, visible_key))
    clear = transparent_set(img)
    if corners is not None:
        want = corner_set(w, corners)
        if clear != want:
            extra = sorted(clear - want)[:4]
            missing = sorted(want - clear)[:4]
            err('%d: transparent pixels differ from the corner rule (extra %s, missing %s)' % (i, extra, missing))
    if grid is not None:
        errs += verify_grid(i, img, *grid)
    fw = w // frames
    parts = [img.crop((k * fw, 0, (k + 1) * fw, h)) for k in range(frames)]
    for k, part in enumerate(parts):
        opaque = sum(1 for a in part.getchannel('A').getdata() if a)
        if opaque < 0.01 * fw * h:
            err('%d: frame %d is (nearly) empty' % (i, k))
    for a in range(frames):
        for b in range(a + 1, frames):
            if frame_diff(parts[a], parts[b]) < 1.0:
                err('%d: frames %d and %d look the same' % (i, a, b))
    errs += EXTRA_CHECKS.get(i, lambda img: [])(img)
    return errs


def verify_grid(i, img, caption, border):
    """Stretched pieces must be uniform along the stretch, or stretching distorts them."""
    w, h = img.size
    px = img.load()
    errs = []
    for y in list(range(caption)) + list(range(h - border, h)):
        if len({px[x, y] for x in range(border, w - border)}) != 1:
            errs.append('%d: row %d is not uniform between the borders' % (i, y))
    for x in range(w):
        if len({px[x, y] for y in range(caption, h - border)}) != 1:
            errs.append('%d: column %d is not uniform between caption and bottom border' % (i, x))
    return errs


def check_progress(img):
    w, h = img.size
    px = img.load()
    errs = []
    r = h // 2 + 1
    col = [px[r, y] for y in range(h)]
    if any([px[x, y] for y in range(h)] != col for x in range(r, w - r)):
        errs.append('%d: the middle of the bar is not the same in every column' % w)
    for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        if px[x, y][3]:
            errs.append('bar corner (%d, %d) should be clear (rounded ends)' % (x, y))
    if not all(px[x, h // 2][3] for x in range(2, w - 2)):
        errs.append('bar centre row has holes')
    return errs


def check_light_centre(img):
    r, g, b, _ = img.getpixel((15, 40))
    return [] if min(r, g, b) > 200 else ['131: centre is not light']


def check_dark_centre(img):
    r, g, b, _ = img.getpixel((15, 40))
    return [] if max(r, g, b) < 40 else ['134: centre is not black']


def check_login(img):
    errs = []
    a = img.getchannel('A')
    for name, (x0, y0, x1, y1) in (('minimise', LOGIN_MIN), ('close', LOGIN_CLOSE), ('ribbon', LOGIN_RIBBON)):
        if x0 < 827 or x1 - 1 > 881:
            errs.append('129: %s button leaves the no-drag columns' % name)
        if a.getpixel(((x0 + x1) // 2, (y0 + y1) // 2)) != 255:
            errs.append('129: %s centre is not opaque' % name)
    for rect in (LOGIN_MIN, LOGIN_CLOSE):
        if not (833 <= rect[0] and rect[2] - 1 <= 881 and 87 <= rect[1] and rect[3] - 1 <= 117):
            errs.append('129: button %s outside the no-drag zone 833..881 x 87..117' % (rect,))
    if LOGIN_RIBBON != (827, 289, 845, 460):
        errs.append('129: ribbon is not the page\'s second no-drag zone')
    if a.getpixel((0, 0)) or a.getpixel((887, 0)):
        errs.append('129: outer corners must be clear')
    px0, py0, px1, py1 = LOGIN_PANEL
    if img.getpixel(((px0 + px1) // 2, (py0 + py1) // 2))[:3] != WHITE:
        errs.append('129: login panel centre is not white')
    return errs


def check_146(img):
    w, h = img.size
    clear = len(transparent_set(img))
    errs = []
    if clear < 0.8 * w * h:
        errs.append('146: should be mostly transparent')
    x0, y0 = 160 - 54, 1        # close button 145 at (W - 0 - 54, 1)
    for x in range(x0, 160):
        for y in range(y0, y0 + 22):
            if img.getpixel((x, y))[3] == 0 and not (x > 155 and y < 4):
                errs.append('146: hole under the close button at (%d, %d)' % (x, y))
                return errs
    return errs


def check_162(img):
    errs = []
    x0, y0, x1, y1 = PROMPT_TEXT
    for x, y in ((x0, y0), (x1 - 1, y1 - 1)):
        if min(img.getpixel((x, y))[:3]) < 200:
            errs.append('162: text area corner (%d, %d) is not light' % (x, y))
    for bx, by in PROMPT_BUTTONS:
        for x, y in ((bx, by), (bx + 56, by + 22)):
            if img.getpixel((x, y))[:3] != FOOTER:
                errs.append('162: button corner (%d, %d) is off the footer band' % (x, y))
    return errs


EXTRA_CHECKS = {
    129: check_login,
    131: check_light_centre,
    134: check_dark_centre,
    146: check_146,
    152: check_progress,
    153: check_progress,
    162: check_162,
}


def verify_dir(path):
    errs = []
    for row in TABLE:
        i = row[0]
        f = os.path.join(path, '%d.png' % i)
        if not os.path.exists(f):
            errs.append('%d: missing' % i)
            continue
        with Image.open(f) as im:
            if im.format != 'PNG':
                errs.append('%d: not a PNG' % i)
                continue
            im.load()
            errs += verify_image(i, im, row)
    return errs


def check(committed_dir):
    """Verify a fresh render and the committed files, and that the two are the same bytes."""
    with tempfile.TemporaryDirectory() as tmp:
        write_all(tmp)
        errs = verify_dir(tmp)
        errs += ['%s: %s' % (committed_dir, e) for e in verify_dir(committed_dir) if not e.endswith(': missing')]
        for i in IDS:
            mine = os.path.join(tmp, '%d.png' % i)
            theirs = os.path.join(committed_dir, '%d.png' % i)
            if not os.path.exists(theirs):
                errs.append('%d: %s is missing' % (i, theirs))
            else:
                with open(mine, 'rb') as a, open(theirs, 'rb') as b:
                    if a.read() != b.read():
                        errs.append('%d: %s differs from a fresh render (stale or hand-edited)' % (i, theirs))
    return errs


# ---------------------------------------------------------------------------
# Contact sheet: every image raw on a checkerboard, then as the client shows
# them (keyed conversion, nine-grid, strips) in mock-ups.

def checker(w, h, s=6):
    img = Image.new('RGB', (w, h), (255, 255, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, h, s):
        for x in range(0, w, s):
            if (x // s + y // s) % 2:
                d.rectangle([x, y, x + s - 1, y + s - 1], fill=(214, 214, 214))
    return img


def blit_keyed(dst, src_rgba, pos, size=None):
    """Draw like ImageList_Draw/TransparentBlt: keyed conversion, key pixels skipped."""
    k = keyed(src_rgba)
    if size and size != k.size:
        k = k.resize(size, Image.NEAREST)
    m = Image.new('L', k.size, 255)
    kp, mp = k.load(), m.load()
    for y in range(k.size[1]):
        for x in range(k.size[0]):
            if kp[x, y] == KEY:
                mp[x, y] = 0
    dst.paste(k, pos, m)


def nine_grid(src, W, H, cap, b):
    """Stretch-mode background as the dialog base draws it."""
    k = keyed(src)
    w, h = k.size
    out = Image.new('RGB', (W, H))

    def piece(dx, dy, dw, dh, sx, sy, sw, sh):
        if dw > 0 and dh > 0 and sw > 0 and sh > 0:
            out.paste(k.crop((sx, sy, sx + sw, sy + sh)).resize((dw, dh), Image.NEAREST), (dx, dy))
    piece(0, 0, b, cap, 0, 0, b, cap)
    piece(b, 0, W - 2 * b, cap, b, 0, w - 2 * b, cap)
    piece(W - b, 0, b, cap, w - b, 0, b, cap)
    piece(0, cap, b, H - cap - b, 0, cap, b, h - cap - b)
    piece(W - b, cap, b, H - cap - b, w - b, cap, b, h - cap - b)
    piece(b, cap, W - 2 * b, H - cap - b, b, cap, w - 2 * b, h - cap - b)
    piece(0, H - b, b, b, 0, h - b, b, b)
    piece(b, H - b, W - 2 * b, b, b, h - b, w - 2 * b, b)
    piece(W - b, H - b, b, b, w - b, h - b, b, b)
    return out


def region_cut(win, src, desk):
    """Apply the window region: key pixels of the 9x9 top corners show the desktop."""
    k = keyed(src)
    w, h = k.size
    W, H = win.size
    for i in range(min(h, 9)):
        for j in range(min(w, 9)):
            if k.getpixel((j, i)) == KEY:
                win.putpixel((j, i), desk)
            if k.getpixel((w - 1 - j, i)) == KEY:
                win.putpixel((W - 1 - j, i), desk)
    return win


def frame_of(strip_img, n, k):
    fw = strip_img.size[0] // n
    return strip_img.crop((k * fw, 0, (k + 1) * fw, strip_img.size[1]))


def sheet(images, path):
    desk = (58, 66, 80)
    W = 1400
    # 1. Raw images on a checkerboard, small ones magnified.
    raw = []
    for i in IDS:
        if i == 129:
            continue
        im = images[i]
        scale = 3 if im.size[0] <= 60 else 2 if im.size[0] <= 320 else 1
        big = im.resize((im.size[0] * scale, im.size[1] * scale), Image.NEAREST)
        tile = checker(*big.size)
        tile.paste(big, (0, 0), big)
        raw.append((i, tile))
    canvas = Image.new("RGB", (W, 4200), desk)
    d = ImageDraw.Draw(canvas)
    x, y, line_h = 10, 10, 0
    for i, tile in raw:
        if x + tile.size[0] > W - 10:
            x, y = 10, y + line_h + 24
            line_h = 0
        d.text((x, y), str(i), fill=(255, 255, 255))
        canvas.paste(tile, (x, y + 12))
        x += tile.size[0] + 16
        line_h = max(line_h, tile.size[1] + 12)
    y += line_h + 30

    # 2. Main game window mock-up, 1000 x 170, one row per state of the buttons.
    for state in range(4):
        cx = 1100
        win = nine_grid(images[134], cx, 100, 30, 4)
        win = region_cut(win, images[134], desk)
        dd = ImageDraw.Draw(win)
        dd.text((25, 9), '8266 title', fill=(255, 255, 255))
        for t in range(3):
            face = 2 if t == 0 else (1 if t == 1 else 0)
            blit_keyed(win, frame_of(images[140], 3, face), (120 + 189 * t, 3))
            dd.text((136 + 189 * t, 8), 'S12-account%d' % t, fill=(0, 0, 0))
        blit_keyed(win, frame_of(images[141], 3, min(state, 2)), (296 + 189, 3))
        for sid, xoff, wd in ((150 if state % 2 == 0 else 151, 264, 79), (139, 185, 44), (149 if state < 2 else 148, 141, 27), (138, 114, 27)):
            blit_keyed(win, frame_of(images[sid], 4, state), (cx - xoff, 0))
        dd.text((cx - 185 + 10, 8), 'SYS', fill=(255, 255, 255))
        blit_keyed(win, images[142], (cx - 360 + 3, 7))
        dd.text((cx - 360 + 20, 9), 'add account', fill=(255, 255, 255))
        for sid, xoff in ((136, 87), (135 if state != 1 else 137, 60), (132, 33)):
            blit_keyed(win, frame_of(images[sid], 4, state), (cx - xoff, 0))
        canvas.paste(win, (10, y))
        d.text((1120, y + 10), 'state %d' % state, fill=(255, 255, 255))
        y += 128
    y += 10

    # 3. Message box, prompt, progress, notices.
    x = 10
    mb = nine_grid(images[131], 320, 170, 30, 4)
    mb = region_cut(mb, images[131], desk)
    md = ImageDraw.Draw(mb)
    md.text((9, 9), 'message box', fill=(255, 255, 255))
    md.text((30, 60), 'text over the light centre', fill=(0, 0, 0))
    blit_keyed(mb, frame_of(images[132], 4, 1), (320 - 33, 0))
    for k, bx in enumerate((60, 140, 220)):
        blit_keyed(mb, frame_of(images[133], 4, k), (bx, 120))
        md.text((bx + 16, 125), 'OK', fill=(0, 0, 0) if k < 3 else (128, 128, 128))
    blit_keyed(mb, frame_of(images[133], 4, 3), (10, 90), (70, 30))
    canvas.paste(mb, (x, y))
    x += 330

    pr = Image.new('RGB', (284, 150), desk)
    pr.paste(keyed(images[162]), (0, 0))
    pr = region_cut(pr, images[162], desk)
    pd = ImageDraw.Draw(pr)
    pd.text((8, 9), 'log in another account', fill=(255, 255, 255))
    tx0, ty0, tx1, ty1 = PROMPT_TEXT
    pd.rectangle([tx0, ty0, tx1 - 1, ty1 - 1], outline=(255, 180, 0))
    for k, (bx, by) in enumerate(PROMPT_BUTTONS):
        blit_keyed(pr, frame_of(images[133], 4, k), (bx, by))
        pd.text((bx + 22, by + 5), 'YN'[k], fill=(0, 0, 0))
    canvas.paste(pr, (x, y))
    x += 294

    for pos in (0, 1, 3, 50, 100):
        bar = Image.new('RGB', (390, 21), BODY)
        blit_keyed(bar, images[152], (0, 0))
        a = int(390 / 100 * pos)
        half = a // 2
        if a:
            fill = images[153]
            if half:
                blit_keyed(bar, fill.crop((0, 0, half, 21)), (0, 0))
            blit_keyed(bar, fill.crop((390 - (a - half), 0, 390, 21)), (half, 0))
        canvas.paste(bar, (x, y))
        y += 26
    y -= 5 * 26
    x += 400
    y2 = y + 180

    notices = []
    for bg, close, layered in ((143, 144, False), (147, 144, False), (146, 145, True)):
        im = images[bg]
        nw, nh = im.size
        win = Image.new('RGB', (nw, nh), desk)
        k = keyed(im)
        if layered:
            blit_keyed(win, im, (0, 0))
            win.paste(checker(150, 190).resize((160, 190)), (0, 22))
        else:
            win.paste(k, (0, 0))
            win = region_cut(win, im, desk)
        dw = ImageDraw.Draw(win)
        if not layered:
            dw.text((8, 6), 'notice', fill=(255, 255, 255))
            blit_keyed(win, frame_of(images[close], 4, 0), (nw - 3 - 36, 3))
        else:
            blit_keyed(win, frame_of(images[close], 4, 1), (nw - 54, 1))
        notices.append(win)
    nx = 10
    for win in notices:
        canvas.paste(win, (nx, y2))
        nx += win.size[0] + 12
    y = y2 + 220

    # 4. Login background over two desktop colours.
    lg = images[129]
    for k, col in enumerate(((58, 66, 80), (235, 235, 235))):
        back = Image.new('RGBA', lg.size, col + (255,))
        comp = Image.alpha_composite(back, lg).convert('RGB')
        dd = ImageDraw.Draw(comp)
        if k == 1:
            dd.rectangle([833, 87, 881, 117], outline=(255, 0, 0))
            dd.rectangle([827, 289, 844, 459], outline=(255, 0, 0))
        canvas.paste(comp.resize((lg.size[0] * 3 // 4, lg.size[1] * 3 // 4), Image.LANCZOS) if k == 0 else comp, (10 if k == 0 else 0, y))
        y += (lg.size[1] * 3 // 4 if k == 0 else lg.size[1]) + 10
    canvas = canvas.crop((0, 0, W, min(y, canvas.size[1])))
    canvas.save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--out', default=SKIN_DIR, help='output folder (default res/skin)')
    ap.add_argument('--check', action='store_true', help='verify a fresh render and compare it with --out')
    ap.add_argument('--sheet', metavar='PNG', help='also write a contact sheet')
    args = ap.parse_args()
    if args.check:
        errs = check(args.out)
        for e in errs:
            print('make_skin: ' + e, file=sys.stderr)
        print('make_skin: %s (%d images)' % ('FAILED' if errs else 'ok', len(IDS)))
        return 1 if errs else 0
    images = write_all(args.out)
    errs = []
    for row in TABLE:
        errs += verify_image(row[0], images[row[0]], row)
    for e in errs:
        print('make_skin: ' + e, file=sys.stderr)
    if args.sheet:
        sheet(images, args.sheet)
    return 1 if errs else 0


if __name__ == '__main__':
    sys.exit(main())
