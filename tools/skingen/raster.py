"""A small raster library: a canvas of straight (not premultiplied) colour
with alpha, shapes given by their coverage of a pixel, and paints.

Everything is plain float arithmetic (+, -, *, /, sqrt), so the same
program writes the same bytes on every machine."""
import math


class Canvas:
    def __init__(self, w, h, color=(0, 0, 0), alpha=0.0):
        self.w, self.h = w, h
        n = w * h
        self.r = [float(color[0])] * n
        self.g = [float(color[1])] * n
        self.b = [float(color[2])] * n
        self.a = [float(alpha)] * n

    def copy(self):
        c = Canvas(0, 0)
        c.w, c.h = self.w, self.h
        c.r, c.g, c.b, c.a = self.r[:], self.g[:], self.b[:], self.a[:]
        return c

    def pixel(self, x, y):
        i = y * self.w + x
        return self.r[i], self.g[i], self.b[i], self.a[i]

    def put(self, x, y, c, a=1.0):
        i = y * self.w + x
        self.r[i], self.g[i], self.b[i] = float(c[0]), float(c[1]), float(c[2])
        self.a[i] = a

    def over(self, i, c, sa):
        """Composites colour c with alpha sa over pixel i."""
        if sa <= 0.0:
            return
        da = self.a[i]
        if sa >= 1.0 or da <= 0.0:
            self.r[i], self.g[i], self.b[i] = c[0], c[1], c[2]
            self.a[i] = sa if da <= 0.0 else 1.0 if sa >= 1.0 else sa + da * (1.0 - sa)
            return
        oa = sa + da * (1.0 - sa)
        k = da * (1.0 - sa)
        self.r[i] = (c[0] * sa + self.r[i] * k) / oa
        self.g[i] = (c[1] * sa + self.g[i] * k) / oa
        self.b[i] = (c[2] * sa + self.b[i] * k) / oa
        self.a[i] = oa

    def fill(self, shape, paint, opacity=1.0):
        x0, y0, x1, y1 = shape.bbox()
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.w, x1), min(self.h, y1)
        solid = isinstance(paint, tuple)
        for y in range(y0, y1):
            for x in range(x0, x1):
                cov = shape.coverage(x + 0.5, y + 0.5)
                if cov > 0.0:
                    c = paint if solid else paint(x, y)
                    # A paint may answer (r, g, b, alpha) to fade itself.
                    a = cov * opacity * (c[3] if len(c) > 3 else 1.0)
                    self.over(y * self.w + x, c, a)

    def fill_rect(self, x0, y0, x1, y1, paint, opacity=1.0):
        self.fill(Rect(x0, y0, x1, y1), paint, opacity)

    def cut(self, shape):
        """Keeps only what the shape covers (alpha times coverage)."""
        for y in range(self.h):
            for x in range(self.w):
                i = y * self.w + x
                if self.a[i] > 0.0:
                    self.a[i] *= shape.coverage(x + 0.5, y + 0.5)

    def blit(self, src, dx, dy, opacity=1.0):
        for y in range(src.h):
            ty = y + dy
            if not 0 <= ty < self.h:
                continue
            for x in range(src.w):
                tx = x + dx
                if 0 <= tx < self.w:
                    i = y * src.w + x
                    self.over(ty * self.w + tx, (src.r[i], src.g[i], src.b[i]), src.a[i] * opacity)

    def crop(self, x0, y0, w, h):
        c = Canvas(w, h)
        for y in range(h):
            for x in range(w):
                si, di = (y0 + y) * self.w + x0 + x, y * w + x
                c.r[di], c.g[di], c.b[di], c.a[di] = self.r[si], self.g[si], self.b[si], self.a[si]
        return c

    def flipped(self, horizontal=True):
        c = Canvas(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                sx, sy = (self.w - 1 - x, y) if horizontal else (x, self.h - 1 - y)
                si, di = sy * self.w + sx, y * self.w + x
                c.r[di], c.g[di], c.b[di], c.a[di] = self.r[si], self.g[si], self.b[si], self.a[si]
        return c

    def transposed(self):
        c = Canvas(self.h, self.w)
        for y in range(self.h):
            for x in range(self.w):
                si, di = y * self.w + x, x * self.h + y
                c.r[di], c.g[di], c.b[di], c.a[di] = self.r[si], self.g[si], self.b[si], self.a[si]
        return c


def _clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


class Rect:
    def __init__(self, x0, y0, x1, y1):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1

    def bbox(self):
        return (int(math.floor(self.x0)), int(math.floor(self.y0)),
                int(math.ceil(self.x1)), int(math.ceil(self.y1)))

    def coverage(self, px, py):
        cx = _clamp01(min(px + 0.5, self.x1) - max(px - 0.5, self.x0))
        cy = _clamp01(min(py + 0.5, self.y1) - max(py - 0.5, self.y0))
        return cx * cy


class RRect:
    """A rectangle with its own radius at each corner (top-left, top-right,
    bottom-right, bottom-left), anti-aliased by its signed distance."""

    def __init__(self, x0, y0, x1, y1, radii=0.0):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.radii = radii if isinstance(radii, tuple) else (radii,) * 4

    def bbox(self):
        return (int(math.floor(self.x0)), int(math.floor(self.y0)),
                int(math.ceil(self.x1)), int(math.ceil(self.y1)))

    def distance(self, px, py):
        cx, cy = (self.x0 + self.x1) * 0.5, (self.y0 + self.y1) * 0.5
        hx, hy = (self.x1 - self.x0) * 0.5, (self.y1 - self.y0) * 0.5
        if px < cx:
            r = self.radii[0] if py < cy else self.radii[3]
        else:
            r = self.radii[1] if py < cy else self.radii[2]
        qx = abs(px - cx) - (hx - r)
        qy = abs(py - cy) - (hy - r)
        outside = math.sqrt(max(qx, 0.0) ** 2 + max(qy, 0.0) ** 2)
        return outside + min(max(qx, qy), 0.0) - r

    def coverage(self, px, py):
        if self.radii == (0.0, 0.0, 0.0, 0.0) or self.radii == (0, 0, 0, 0):
            return Rect.coverage(self, px, py)
        return _clamp01(0.5 - self.distance(px, py))

    def inset(self, d):
        return RRect(self.x0 + d, self.y0 + d, self.x1 - d, self.y1 - d,
                     tuple(max(0.0, r - d) for r in self.radii))


class Ring:
    """The band between a shape and the same shape inset by a width."""

    def __init__(self, outer, width):
        self.outer, self.inner = outer, outer.inset(width)

    def bbox(self):
        return self.outer.bbox()

    def coverage(self, px, py):
        return self.outer.coverage(px, py) * (1.0 - self.inner.coverage(px, py))


class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.x0, self.y0, self.x1, self.y1 = cx - r, cy - r, cx + r, cy + r

    def inset(self, d):
        return Circle(self.cx, self.cy, max(0.0, self.r - d))

    def bbox(self):
        return (int(math.floor(self.cx - self.r - 1)), int(math.floor(self.cy - self.r - 1)),
                int(math.ceil(self.cx + self.r + 1)), int(math.ceil(self.cy + self.r + 1)))

    def coverage(self, px, py):
        return _clamp01(0.5 - (math.sqrt((px - self.cx) ** 2 + (py - self.cy) ** 2) - self.r))


class Stroke:
    """A line of some width with round ends through a list of points."""

    def __init__(self, points, width):
        self.points, self.half = points, width * 0.5

    def bbox(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        e = self.half + 1
        return (int(math.floor(min(xs) - e)), int(math.floor(min(ys) - e)),
                int(math.ceil(max(xs) + e)), int(math.ceil(max(ys) + e)))

    def coverage(self, px, py):
        best = 1e9
        for (ax, ay), (bx, by) in zip(self.points, self.points[1:]):
            dx, dy = bx - ax, by - ay
            t = ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)
            t = _clamp01(t)
            d = math.sqrt((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2)
            best = min(best, d)
        return _clamp01(0.5 - (best - self.half))


class Polygon:
    """A closed polygon, anti-aliased by 4 x 4 samples a pixel."""

    def __init__(self, points):
        self.points = points

    def bbox(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return (int(math.floor(min(xs))), int(math.floor(min(ys))),
                int(math.ceil(max(xs))), int(math.ceil(max(ys))))

    def _inside(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside

    def coverage(self, px, py):
        hits = 0
        for sy in range(4):
            for sx in range(4):
                if self._inside(px - 0.5 + (sx + 0.5) / 4, py - 0.5 + (sy + 0.5) / 4):
                    hits += 1
        return hits / 16.0


def ramp(stops, t):
    """The colour at t of a ramp given as [(position, colour), ...]."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            k = 0.0 if p1 == p0 else (t - p0) / (p1 - p0)
            return tuple(a + (b - a) * k for a, b in zip(c0, c1))
    return stops[-1][1]


def _gradient(stops, start, end, along_x):
    span = float(max(1, end - start - 1))
    cache = {}

    def paint(x, y):
        t = x if along_x else y
        c = cache.get(t)
        if c is None:
            c = cache[t] = ramp(stops, (t - start) / span)
        return c
    return paint


def vgrad(stops, y0, y1):
    """A paint that runs through the stops from row y0 to row y1."""
    return _gradient(stops, y0, y1, False)


def hgrad(stops, x0, x1):
    """A paint that runs through the stops from column x0 to column x1."""
    return _gradient(stops, x0, x1, True)


def from_canvas(src, dx=0, dy=0):
    """A paint that repeats a canvas (a texture) from (dx, dy)."""
    def paint(x, y):
        i = ((y - dy) % src.h) * src.w + (x - dx) % src.w
        return (src.r[i], src.g[i], src.b[i])
    return paint
