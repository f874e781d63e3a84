"""A skin as the generator builds it: sections of keys in order, images
kept as pictures until the master is packed, and the files it makes."""
from atlas import Atlas
from colors import tcolor
from imagefiles import bmp24

MASTER = 'MASTER.BMP'
OPTIONS = 'Options.dat'


class Image:
    """An image value of the skin text; its form is chosen by its kind."""

    def __init__(self, kind, picture, columns, maskkind, margins=(0, 0, 0, 0), fill=0, uniform=0):
        self.kind, self.picture, self.columns, self.maskkind = kind, picture, columns, maskkind
        self.margins, self.fill, self.uniform = margins, fill, uniform
        if not 1 <= columns <= 9 or maskkind not in (0, 1):
            raise ValueError('an image has 1 to 9 columns and a mask kind of 0 or 1')

    def value(self):
        l, t, r, b = self.picture.rect
        c = '%04d' % l, '%04d' % t, '%04d' % r, '%04d' % b
        if self.kind == 'glyph':
            return '@%s@%s@%s@%s@%d@%d' % (c + (self.columns, self.maskkind))
        if self.kind == 'border':
            m = tuple('%04d' % v for v in self.margins)
            return '^%s^%s^%s^%s^%s^%s^%s^%s^%d^%d^%d^%d' % (
                c + m + (self.columns, self.maskkind, self.fill, self.uniform))
        return '~%s~%s~%s~%s~%02d~%d' % (c + (self.fill, self.maskkind))


class Section:
    def __init__(self, skin, name):
        self.skin, self.name, self.keys = skin, name, {}

    def set(self, **keys):
        for k, v in keys.items():
            self.keys[k] = v
        return self

    def border(self, key, frames, margins, fill=1, masked=True):
        """A nine-part border image; fill bits: 1 stretch, 2 nothing in
        state 0, 4 paint the centre."""
        p = self.skin.atlas.add(frames, masked)
        self.keys[key] = Image('border', p, len(frames), 1 if masked else 0, margins, fill)
        return self

    def glyph(self, key, frames, masked=True):
        p = self.skin.atlas.add(frames, masked)
        self.keys[key] = Image('glyph', p, len(frames), 1 if masked else 0)
        return self

    def texture(self, key, canvas, fill=0):
        p = self.skin.atlas.add([canvas], False)
        self.keys[key] = Image('texture', p, 1, 0, fill=fill)
        return self

    def text_lines(self):
        lines = ['[%s]' % self.name]
        for k, v in self.keys.items():
            if isinstance(v, Image):
                v = v.value()
            elif isinstance(v, tuple):
                v = tcolor(v)
            elif isinstance(v, bool):
                v = 'TRUE' if v else 'FALSE'
            lines.append('%s=%s' % (k, v))
        return lines


class Skin:
    def __init__(self, name):
        self.name = name
        self.atlas = Atlas()
        self.sections = {}

    def section(self, name, **keys):
        s = self.sections.get(name)
        if s is None:
            s = self.sections[name] = Section(self, name)
        return s.set(**keys)

    def files(self):
        """{file name: bytes} of the skin folder."""
        w, h, rgb = self.atlas.pack()
        lines = []
        for s in self.sections.values():
            lines += s.text_lines() + ['']
        text = '\r\n'.join(lines).encode('cp1251')
        return {OPTIONS: text, MASTER: bmp24(w, h, rgb)}
