"""Colours of the generator: (r, g, b) tuples of 0..255 integers.

The skin text stores a colour as one decimal number with red in the low
byte; readable contrast is measured with the relative luminance of sRGB."""


def rgb(text):
    """'#rrggbb' to a tuple."""
    text = text.lstrip('#')
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def tcolor(c):
    """A tuple as the skin text's colour number."""
    r, g, b = c
    return r | (g << 8) | (b << 16)


def from_tcolor(n):
    return (n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF)


def clamp8(v):
    return 0 if v < 0 else 255 if v > 255 else int(v + 0.5)


def mix(a, b, t):
    """a at t = 0, b at t = 1."""
    return tuple(clamp8(x + (y - x) * t) for x, y in zip(a, b))


def lighter(c, t):
    return mix(c, (255, 255, 255), t)


def darker(c, t):
    return mix(c, (0, 0, 0), t)


def scale(c, f):
    return tuple(clamp8(x * f) for x in c)


def _linear(v):
    v /= 255.0
    return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4


def luminance(c):
    r, g, b = c
    return 0.2126 * _linear(r) + 0.7152 * _linear(g) + 0.0722 * _linear(b)


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    if la < lb:
        la, lb = lb, la
    return (la + 0.05) / (lb + 0.05)
