"""Reads a skin folder's files back the way the program's loader does:
sections and keys in order, inheritance through PARENTCLASS, image values
at their fixed character positions, and the master bitmap."""
from colors import from_tcolor
from imagefiles import read_bmp24


class ImageValue:
    def __init__(self, kind, rect, columns, maskkind, margins=(0, 0, 0, 0), fill=0):
        self.kind, self.rect, self.columns, self.maskkind = kind, rect, columns, maskkind
        self.margins, self.fill = margins, fill

    @property
    def width(self):
        return (self.rect[2] - self.rect[0]) // self.columns

    @property
    def height(self):
        h = self.rect[3] - self.rect[1]
        return h // (self.maskkind + 1)


def parse_image(value):
    """The image a value describes, or None when it is not an image value
    of the master (a ValueError for a broken one)."""
    if value[:1] not in ('@', '^', '~'):
        return None

    def num(a, b):
        return int(value[a - 1:b])
    rect = (num(2, 5), num(7, 10), num(12, 15), num(17, 20))
    if value[:1] == '@':
        return ImageValue('glyph', rect, num(22, 22), num(24, 24))
    if value[:1] == '^':
        margins = (num(22, 25), num(27, 30), num(32, 35), num(37, 40))
        return ImageValue('border', rect, num(42, 42), num(44, 44), margins, num(46, 46))
    if value[:1] == '~':
        return ImageValue('texture', rect, 1, num(25, 25) if len(value) > 24 else 0, fill=num(22, 23))
    return None


def parse_options(text):
    sections, current = {}, None
    for line in text.replace('\r\n', '\n').split('\n'):
        line = line.strip()
        if line.startswith('[') and line.endswith(']'):
            current = sections.setdefault(line[1:-1], {})
        elif '=' in line and current is not None:
            k, v = line.split('=', 1)
            current[k] = v
    return sections


class LoadedSkin:
    def __init__(self, files):
        self.sections = parse_options(files['Options.dat'].decode('cp1251'))
        master = self.sections['GLOBALINFO']['MASTERBITMAP']
        self.master_w, self.master_h, self.master = read_bmp24(files[master])

    def raw(self, section, key, inherit=True):
        seen = set()
        while section in self.sections and section not in seen:
            seen.add(section)
            keys = self.sections[section]
            if key in keys:
                return keys[key]
            if not inherit:
                return None
            section = keys.get('PARENTCLASS', '')
        return None

    def int(self, section, key, default):
        v = self.raw(section, key)
        try:
            return int(v)
        except (TypeError, ValueError):
            return default

    def colour(self, section, key, default):
        return from_tcolor(self.int(section, key, default))

    def states(self, section):
        return min(255, self.int(section, 'STATES', 3))

    def image(self, section, key):
        v = self.raw(section, key)
        return parse_image(v) if v else None

    def pixel(self, x, y):
        i = (y * self.master_w + x) * 3
        return tuple(self.master[i:i + 3])

    def look(self, section, hot):
        """(colour, transparency, gradient percent, gradient data, image percent) of a state."""
        if hot and self.states(section) < 2:
            hot = False
        p = 'HOT' if hot else ''
        return {'color': self.colour(section, p + 'COLOR', 0xFFFFFF),
                'font': self.colour(section, p + 'FONTCOLOR', 0),
                'transparency': min(100, self.int(section, p + 'TRANSPARENCY', 0)),
                'gradient_percent': min(100, self.int(section, p + 'GRADIENTPERCENT', 0)),
                'gradient': self.raw(section, p + 'GRADIENTDATA') or '',
                'image_percent': min(100, self.int(section, p + 'IMAGEPERCENT', 0)),
                'pattern': self.image(section, 'HOTPATTERN' if hot else 'PATTERN')}
