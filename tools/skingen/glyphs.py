"""Small symbols as shapes: title-button icons, check marks, radio dots,
arrows and grips. Each function answers shapes around a centre (cx, cy);
s is the size of the symbol's box, w the width of its lines."""
from raster import Circle, Polygon, Rect, RRect, Ring, Stroke


def close(cx, cy, s, w):
    h = s / 2.0
    return [Stroke([(cx - h, cy - h), (cx + h, cy + h)], w),
            Stroke([(cx + h, cy - h), (cx - h, cy + h)], w)]


def _window(x0, y0, x1, y1, w):
    return [Ring(RRect(x0, y0, x1, y1, 0.0), 1.0), Rect(x0, y0, x1, y0 + max(2, round(w)))]


def maximize(cx, cy, s, w):
    h = s / 2.0
    return _window(cx - h, cy - h, cx + h, cy + h, w)


def restore(cx, cy, s, w):
    h = s / 2.0
    d = max(2.0, round(s / 4.0))
    back = [Rect(cx - h + d, cy - h, cx + h, cy - h + w), Rect(cx + h - 1, cy - h, cx + h, cy + h - d),
            Rect(cx + h - d, cy + h - d - 1, cx + h, cy + h - d)]
    return back + _window(cx - h, cy - h + d, cx + h - d, cy + h, w)


def minimize(cx, cy, s, w):
    h = s / 2.0
    return [Rect(cx - h, cy + h - w, cx + h, cy + h)]


def help_mark(cx, cy, s, w):
    k = s / 9.0
    hook = [(-2.6, -1.4), (-2.0, -3.2), (-0.4, -4.0), (1.6, -3.6), (2.6, -2.2),
            (2.0, -0.6), (0.4, 0.4), (0.0, 1.4), (0.0, 2.0)]
    pts = [(cx + x * k, cy + y * k) for x, y in hook]
    return [Stroke(pts, w), Circle(cx, cy + 3.9 * k, 0.95 * k + w * 0.2)]


def check(cx, cy, s, w):
    k = s / 9.0
    pts = [(-3.6, 0.2), (-1.0, 2.8), (3.8, -2.6)]
    return [Stroke([(cx + x * k, cy + y * k) for x, y in pts], w)]


def dot(cx, cy, r):
    return [Circle(cx, cy, r)]


def dash(cx, cy, s, w):
    h = s / 2.0
    return [RRect(cx - h, cy - w / 2.0, cx + h, cy + w / 2.0, w / 2.0)]


def triangle(cx, cy, s, side):
    """A filled arrow head pointing to side 'left', 'up', 'right' or 'down'."""
    h, d = s / 2.0, s / 4.0
    pts = {'down': [(-h, -d), (h, -d), (0, d + 0.5)],
           'up': [(-h, d), (h, d), (0, -d - 0.5)],
           'right': [(-d, -h), (-d, h), (d + 0.5, 0)],
           'left': [(d, -h), (d, h), (-d - 0.5, 0)]}[side]
    return [Polygon([(cx + x, cy + y) for x, y in pts])]


def chevron(cx, cy, s, w, side):
    h, d = s / 2.0, s / 4.0
    pts = {'down': [(-h, -d), (0, d), (h, -d)],
           'up': [(-h, d), (0, -d), (h, d)],
           'right': [(-d, -h), (d, 0), (-d, h)],
           'left': [(d, -h), (-d, 0), (d, h)]}[side]
    return [Stroke([(cx + x, cy + y) for x, y in pts], w)]


def grip_lines(cx, cy, n, length, vertical):
    """n short parallel lines across the length of a slider."""
    out = []
    for i in range(n):
        o = (i - (n - 1) / 2.0) * 3.0
        if vertical:
            out.append(Rect(cx - length / 2.0, cy + o - 0.5, cx + length / 2.0, cy + o + 0.5))
        else:
            out.append(Rect(cx + o - 0.5, cy - length / 2.0, cx + o + 0.5, cy + length / 2.0))
    return out


def grip_dots(size):
    """The size grip: six dots in a triangle toward the bottom-right corner."""
    out = []
    for i in range(3):
        for j in range(3 - i):
            x, y = size - 3 - 4 * i, size - 3 - 4 * j
            out.append(Rect(x - 1, y - 1, x + 1, y + 1))
    return out


def draw(canvas, shapes, colour, opacity=1.0):
    for s in shapes:
        canvas.fill(s, colour, opacity)
