#!/usr/bin/python3
"""Tests for make_skin.py: the fresh render passes its own table, the render is
byte-stable, and each kind of broken image is caught by the verifier.

    /usr/bin/python3 -m unittest discover -s tools/art -p 'test_*.py'
"""
import io
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_skin as M  # noqa: E402

IMAGES = M.render_all()
ROWS = {row[0]: row for row in M.TABLE}


def put(x, y, value):
    def f(im):
        im.putpixel((x, y), value)
        return im
    return f


def copy_frame(src, dst, frames):
    def f(im):
        fw = im.size[0] // frames
        im.paste(im.crop((src * fw, 0, (src + 1) * fw, im.size[1])), (dst * fw, 0))
        return im
    return f


def clear_frame(k, frames):
    def f(im):
        fw = im.size[0] // frames
        im.paste(M.Image.new('RGBA', (fw, im.size[1]), M.CLEAR), (k * fw, 0))
        return im
    return f


def fill_all(value):
    def f(im):
        return M.Image.new('RGBA', im.size, value)
    return f


def opaque_everywhere(im):
    im.putalpha(255)
    return im


def column(x, value):
    def f(im):
        for y in range(im.size[1]):
            if im.getpixel((x, y))[3]:
                im.putpixel((x, y), value)
        return im
    return f


# name, image id, corruption, text the verifier's message must contain
BROKEN = [
    ('size off by one', 132, lambda im: im.crop((0, 0, 131, 28)), 'size 131x28'),
    ('no alpha channel', 133, lambda im: im.convert('RGB'), 'mode RGB'),
    ('width not a frame multiple', 141, lambda im: im.crop((0, 0, 38, 13)), 'size 38x13'),
    ('soft alpha in a keyed image', 136, put(13, 16, (255, 255, 255, 128)), 'soft alpha'),
    ('visible key pixel', 152, put(195, 10, (255, 0, 255, 255)), 'exactly the key colour'),
    ('corner pixel filled', 131, put(2, 0, (24, 74, 150, 255)), 'corner rule'),
    ('right corner row 2 filled', 134, put(29, 2, (24, 74, 150, 255)), 'corner rule'),
    ('extra corner pixel cut', 131, put(3, 0, M.CLEAR), 'corner rule'),
    ('notice corner too deep', 143, put(2, 0, M.CLEAR), 'corner rule'),
    ('hole in the prompt body', 162, put(100, 80, M.CLEAR), 'corner rule'),
    ('caption row not uniform', 131, put(10, 15, (0, 0, 0, 255)), 'row 15 is not uniform'),
    ('bottom border not uniform', 134, put(12, 49, (0, 0, 0, 255)), 'row 49 is not uniform'),
    ('left edge not uniform', 134, put(1, 35, (0, 0, 0, 255)), 'column 1 is not uniform'),
    ('centre not uniform', 131, put(15, 40, (200, 200, 200, 255)), 'column 15 is not uniform'),
    ('light centre turned dark', 131, lambda im: M.framed_dialog(30, 51, 4, (0, 0, 0), (3, 2, 1)), 'centre is not light'),
    ('hover frame equals normal', 135, copy_frame(0, 1, 4), 'frames 0 and 1 look the same'),
    ('disabled frame equals pressed', 150, copy_frame(2, 3, 4), 'frames 2 and 3 look the same'),
    ('empty tab close frame', 141, clear_frame(2, 3), 'frame 2 is (nearly) empty'),
    ('seam in the bar fill', 153, column(200, (0, 0, 0, 255)), 'not the same in every column'),
    ('square bar end', 152, put(0, 0, (170, 178, 190, 255)), 'bar corner (0, 0)'),
    ('login picture flattened', 129, opaque_everywhere, 'expected real alpha'),
    ('login close button missing', 129, put(869, 102, (0, 0, 0, 0)), 'close centre is not opaque'),
    ('login panel not white', 129, put(693, 320, (200, 200, 200, 255)), 'login panel centre is not white'),
    ('picture notice filled', 146, fill_all((40, 40, 40, 255)), 'mostly transparent'),
    ('hole under the picture notice close', 146, put(120, 10, M.CLEAR), 'hole under the close button'),
    ('prompt footer missing under a button', 162, put(143, 115, (246, 248, 251, 255)), 'off the footer band'),
]


class FreshRender(unittest.TestCase):
    def test_every_image_passes_the_table(self):
        for row in M.TABLE:
            with self.subTest(id=row[0]):
                self.assertEqual(M.verify_image(row[0], IMAGES[row[0]], row), [])

    def test_every_table_id_is_drawn_and_nothing_else(self):
        self.assertEqual(sorted(IMAGES), sorted(M.IDS))
        self.assertEqual(sorted(M.IDS), [129] + list(range(131, 154)) + [162])

    def test_render_is_byte_stable(self):
        again = M.render_all()
        for i in M.IDS:
            a, b = io.BytesIO(), io.BytesIO()
            IMAGES[i].save(a, 'PNG', compress_level=9)
            again[i].save(b, 'PNG', compress_level=9)
            with self.subTest(id=i):
                self.assertEqual(a.getvalue(), b.getvalue())


class BrokenImages(unittest.TestCase):
    def test_each_fault_is_reported(self):
        for name, i, corrupt, expected in BROKEN:
            with self.subTest(name):
                im = corrupt(IMAGES[i].copy())
                errs = M.verify_image(i, im, ROWS[i])
                self.assertTrue(any(expected in e for e in errs), '%s: got %r' % (name, errs))


class KeyedConversion(unittest.TestCase):
    # alpha, colour in, colour the loader produces
    CASES = [
        (255, (12, 34, 56), (12, 34, 56)),
        (0, (12, 34, 56), M.KEY),
        (128, (0, 0, 0), (127, 127, 127)),
        (1, (0, 0, 0), (254, 254, 254)),
        (254, (255, 0, 255), (255, 1, 255)),   # a soft pixel never lands on the key colour
    ]

    def test_matches_the_loader(self):
        for a, rgb, want in self.CASES:
            with self.subTest(alpha=a, rgb=rgb):
                im = M.Image.new('RGBA', (1, 1), rgb + (a,))
                self.assertEqual(M.keyed(im).getpixel((0, 0)), want)


if __name__ == '__main__':
    unittest.main()
