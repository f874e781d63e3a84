"""The stored skins: generated again they equal the checked-in folders, each
keeps the rules of the format and of readable text, and the rules bite."""
import os
import re
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, '..', '..'))
sys.path.insert(0, os.path.join(REPO, 'tools', 'skingen'))
sys.dont_write_bytecode = True

import checks  # noqa: E402
import container  # noqa: E402
import reader  # noqa: E402
from generator import generate  # noqa: E402

SKINS = os.path.join(REPO, 'resources', 'skins')
NAMES = ['Aluminium', 'BlueGlass', 'DarkGlass', 'GrayPlastic', 'Neutral2', 'Pulsar', 'Wood']


def checked_in(name):
    folder = os.path.join(SKINS, name)
    out = {}
    for f in sorted(os.listdir(folder)):
        with open(os.path.join(folder, f), 'rb') as h:
            out[f] = h.read()
    return out


class GeneratorTest(unittest.TestCase):
    def test_generator_reproduces_the_checked_in_folders(self):
        generated = generate()
        self.assertEqual(sorted(generated), NAMES)
        for name in NAMES:
            on_disk = checked_in(name)
            self.assertEqual(sorted(generated[name]), sorted(on_disk), name)
            for fname, data in generated[name].items():
                self.assertTrue(data == on_disk[fname], '%s/%s differs from the generator' % (name, fname))


class RulesTest(unittest.TestCase):
    def test_every_stored_skin_keeps_the_rules_and_unpacks(self):
        for name in NAMES:
            files = checked_in(name)
            size = checks.check_skin(name, files)
            self.assertLess(size, checks.PACKED_LIMIT, name)
            packed = container.pack(files)
            self.assertEqual(dict(container.unpack(packed)), files, name)
            self.assertEqual(container.unpack(packed)[0][0], 'Options.dat', name)

    def test_the_rules_find_broken_skins(self):
        good = checked_in('GrayPlastic')
        text = good['Options.dat'].decode('cp1251')
        cases = [
            ('VERSION=8.00', 'VERSION=7.90', 'VERSION'),
            ('MASTERBITMAP=MASTER.BMP', 'MASTERBITMAP=master.bmp', 'MASTERBITMAP'),
            ('[SELECTION]', '[SELECTIONX]', 'no section SELECTION'),
            ('[BUTTON]\r\nSTATES=4', '[BUTTON]\r\nSTATES=3', 'BUTTON does not have 4 states'),
            ('[EDIT]\r\nSTATES=2', '[EDIT]\r\nSTATES=1', 'EDIT has a hot look'),
            ('[MENUCAPTION]\r\nSTATES=1\r\nCOLOR=', '[MENUCAPTION]\r\nSTATES=1\r\nPATTERN=BACK.JPG\r\nCOLOR=',
             'names a JPEG'),
        ]
        for old, new, expected in cases:
            with self.subTest(expected):
                self.assertIn(old, text)
                broken = dict(good, **{'Options.dat': text.replace(old, new, 1).encode('cp1251')})
                if expected == 'MASTERBITMAP':
                    broken['master.bmp'] = broken.pop('MASTER.BMP')
                with self.assertRaises(checks.SkinError) as e:
                    checks.check_skin('GrayPlastic', broken)
                self.assertIn(expected, str(e.exception))

    def test_text_that_does_not_stand_out_is_refused(self):
        good = checked_in('GrayPlastic')
        edit_bg = reader.LoadedSkin(good).sections['EDIT']['COLOR']
        text = good['Options.dat'].decode('cp1251')
        broken, n = re.subn(r'(\[EDIT\]\r\n(?:[A-Z]+=[^\r]*\r\n)*?)FONTCOLOR=\d+', r'\g<1>FONTCOLOR=' + edit_bg, text)
        self.assertEqual(n, 1)
        with self.assertRaises(checks.SkinError) as e:
            checks.check_skin('GrayPlastic', dict(good, **{'Options.dat': broken.encode('cp1251')}))
        self.assertIn('EDIT FONTCOLOR', str(e.exception))


class ImageValueTest(unittest.TestCase):
    def test_values_are_read_at_their_character_positions(self):
        cases = [
            ('@0257@0137@0299@0171@3@1', 'glyph', (257, 137, 299, 171), 3, 1, (0, 0, 0, 0), 0, 14, 17),
            ('^0152^0044^0168^0059^0001^0001^0001^0001^1^0^1^1', 'border', (152, 44, 168, 59), 1, 0,
             (1, 1, 1, 1), 1, 16, 15),
            ('~0188~0031~0241~0054~00~0', 'texture', (188, 31, 241, 54), 1, 0, (0, 0, 0, 0), 0, 53, 23),
            ('~0188~0031~0241~0054~03', 'texture', (188, 31, 241, 54), 1, 0, (0, 0, 0, 0), 3, 53, 23),
        ]
        for value, kind, rect, columns, maskkind, margins, fill, w, h in cases:
            with self.subTest(value):
                img = reader.parse_image(value)
                self.assertEqual((img.kind, img.rect, img.columns, img.maskkind, img.margins, img.fill),
                                 (kind, rect, columns, maskkind, margins, fill))
                self.assertEqual((img.width, img.height), (w, h))


if __name__ == '__main__':
    unittest.main()
