"""Enough of a TrueType reader to draw preview captions: the character map,
the glyph outlines (simple and composite) and a scanline rasteriser with
four sub-rows a pixel and exact coverage along each sub-row."""
import struct

FONT_DIRS = ('/usr/share/fonts/truetype/liberation', '/usr/share/fonts/truetype/dejavu')


class Font:
    def __init__(self, path):
        with open(path, 'rb') as f:
            self.data = f.read()
        n = struct.unpack_from('>H', self.data, 4)[0]
        self.tables = {}
        for i in range(n):
            tag, _, off, length = struct.unpack_from('>4sIII', self.data, 12 + 16 * i)
            self.tables[tag.decode('latin-1')] = off
        head = self.tables['head']
        self.units = struct.unpack_from('>H', self.data, head + 18)[0]
        self.long_loca = struct.unpack_from('>h', self.data, head + 50)[0] == 1
        hhea = self.tables['hhea']
        self.ascent, self.descent = struct.unpack_from('>hh', self.data, hhea + 4)
        self.n_metrics = struct.unpack_from('>H', self.data, hhea + 34)[0]
        self.cmap = self._cmap()
        self.cache = {}

    def _cmap(self):
        base = self.tables['cmap']
        n = struct.unpack_from('>H', self.data, base + 2)[0]
        for i in range(n):
            pid, eid, off = struct.unpack_from('>HHI', self.data, base + 4 + 8 * i)
            if pid == 3 and eid == 1:
                return self._format4(base + off)
        raise ValueError('no Unicode character map')

    def _format4(self, at):
        segs = struct.unpack_from('>H', self.data, at + 6)[0] // 2
        ends = struct.unpack_from('>%dH' % segs, self.data, at + 14)
        starts = struct.unpack_from('>%dH' % segs, self.data, at + 16 + 2 * segs)
        deltas = struct.unpack_from('>%dh' % segs, self.data, at + 16 + 4 * segs)
        ro_at = at + 16 + 6 * segs
        ranges = struct.unpack_from('>%dH' % segs, self.data, ro_at)
        out = {}
        for i in range(segs):
            for code in range(starts[i], min(ends[i], 0x4FF) + 1):
                if ranges[i] == 0:
                    out[code] = (code + deltas[i]) & 0xFFFF
                else:
                    p = ro_at + 2 * i + ranges[i] + 2 * (code - starts[i])
                    g = struct.unpack_from('>H', self.data, p)[0]
                    out[code] = (g + deltas[i]) & 0xFFFF if g else 0
        return out

    def advance(self, glyph):
        hmtx = self.tables['hmtx']
        i = min(glyph, self.n_metrics - 1)
        return struct.unpack_from('>H', self.data, hmtx + 4 * i)[0]

    def _glyph_range(self, glyph):
        loca = self.tables['loca']
        if self.long_loca:
            a, b = struct.unpack_from('>II', self.data, loca + 4 * glyph)
        else:
            a, b = (2 * v for v in struct.unpack_from('>HH', self.data, loca + 2 * glyph))
        return self.tables['glyf'] + a, b - a

    def contours(self, glyph):
        """Closed polylines of a glyph in font units."""
        at, length = self._glyph_range(glyph)
        if length == 0:
            return []
        n = struct.unpack_from('>h', self.data, at)[0]
        if n < 0:
            return self._composite(at + 10)
        ends = struct.unpack_from('>%dH' % n, self.data, at + 10)
        count = ends[-1] + 1 if n else 0
        p = at + 10 + 2 * n
        p += 2 + struct.unpack_from('>H', self.data, p)[0]
        flags = []
        while len(flags) < count:
            f = self.data[p]
            p += 1
            flags.append(f)
            if f & 8:
                flags += [f] * self.data[p]
                p += 1
        xs, p = self._coords(flags, p, 2, 16)
        ys, p = self._coords(flags, p, 4, 32)
        out, start = [], 0
        for e in ends:
            pts = [(xs[i], ys[i], flags[i] & 1) for i in range(start, e + 1)]
            out.append(_flatten(pts))
            start = e + 1
        return out

    def _coords(self, flags, p, short, same):
        v, out = 0, []
        for f in flags:
            if f & short:
                d = self.data[p]
                p += 1
                v += d if f & same else -d
            elif not f & same:
                v += struct.unpack_from('>h', self.data, p)[0]
                p += 2
            out.append(v)
        return out, p

    def _composite(self, p):
        out = []
        while True:
            flags, glyph = struct.unpack_from('>HH', self.data, p)
            p += 4
            if flags & 1:
                dx, dy = struct.unpack_from('>hh', self.data, p)
                p += 4
            else:
                dx, dy = struct.unpack_from('>bb', self.data, p)
                p += 2
            p += 2 if flags & 8 else 4 if flags & 0x40 else 8 if flags & 0x80 else 0
            for c in self.contours(glyph):
                out.append([(x + dx, y + dy) for x, y in c])
            if not flags & 0x20:
                return out

    def bitmap(self, ch, px):
        """(coverage rows, width, left, top from the baseline, advance)."""
        key = (ch, px)
        if key not in self.cache:
            self.cache[key] = self._render(self.cmap.get(ord(ch), 0), px)
        return self.cache[key]

    def _render(self, glyph, px):
        k = px / float(self.units)
        polys = [[(x * k, -y * k) for x, y in c] for c in self.contours(glyph)]
        adv = self.advance(glyph) * k
        if not polys:
            return [], 0, 0, 0, adv
        xs = [x for c in polys for x, _ in c]
        ys = [y for c in polys for _, y in c]
        left, top = int(min(xs) // 1), int(min(ys) // 1)
        w, h = int(max(xs) // 1) - left + 1, int(max(ys) // 1) - top + 1
        rows = [[0.0] * w for _ in range(h)]
        edges = [(c[i], c[(i + 1) % len(c)]) for c in polys for i in range(len(c))]
        for row in range(h):
            for sub in range(4):
                y = top + row + (sub + 0.5) / 4.0
                xs_ = []
                for (x0, y0), (x1, y1) in edges:
                    if (y0 <= y < y1) or (y1 <= y < y0):
                        xs_.append((x0 + (y - y0) * (x1 - x0) / (y1 - y0), 1 if y1 > y0 else -1))
                xs_.sort()
                wind = 0
                for i, (x, d) in enumerate(xs_[:-1]):
                    wind += d
                    if wind:
                        _span(rows[row], x - left, xs_[i + 1][0] - left)
        return rows, w, left, top, adv


def _span(row, a, b):
    i = int(a // 1)
    while i < b and i < len(row):
        if i >= 0:
            row[i] += (min(b, i + 1) - max(a, i)) / 4.0
        i += 1


def _flatten(pts):
    """Line points of a contour of on- and off-curve points."""
    # Start at an on-curve point (or the middle of two off-curve ones).
    start = next((i for i, p in enumerate(pts) if p[2]), None)
    if start is None:
        x0, y0 = (pts[0][0] + pts[1][0]) / 2.0, (pts[0][1] + pts[1][1]) / 2.0
        pts = [(x0, y0, 1)] + pts[1:] + [pts[0]]
        start = 0
    pts = pts[start:] + pts[:start]
    out = [(pts[0][0], pts[0][1])]
    ctrl = None
    for x, y, on in pts[1:] + [pts[0]]:
        if on:
            if ctrl:
                _quad(out, ctrl, (x, y))
                ctrl = None
            else:
                out.append((x, y))
        else:
            if ctrl:
                m = ((ctrl[0] + x) / 2.0, (ctrl[1] + y) / 2.0)
                _quad(out, ctrl, m)
            ctrl = (x, y)
    return out


def _quad(out, c, e):
    s = out[-1]
    for i in range(1, 5):
        t = i / 4.0
        u = 1 - t
        out.append((u * u * s[0] + 2 * u * t * c[0] + t * t * e[0], u * u * s[1] + 2 * u * t * c[1] + t * t * e[1]))


def load(bold=False):
    import os
    name = 'LiberationSans-Bold.ttf' if bold else 'LiberationSans-Regular.ttf'
    for d in FONT_DIRS:
        path = os.path.join(d, name)
        if os.path.exists(path):
            return Font(path)
    raise FileNotFoundError('the previews need fonts-liberation (%s)' % name)
