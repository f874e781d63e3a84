#!/usr/bin/env python3
"""Draws the lamp pictures of the port lamp (TComLed) as 24-bit BMP files.

Each picture is 17 x 17 pixels: a round lamp (or a light bulb) on a
background of the transparent colour, which is the bottom left pixel. Run it
in this folder after changing a colour; the BMP files are kept in the tree and
embedded by leds.rc.

    python3 make_leds.py
"""
import math
import os
import struct

SIZE = 17
KEY = (255, 0, 255)  # the transparent colour: no lamp pixel may equal it

# Lamp colours (red, green, blue) when on and when off.
LAMPS = {
    "RED": ((240, 30, 24), (100, 16, 12)),
    "GREEN": ((36, 220, 48), (16, 90, 22)),
    "BLUE": ((40, 100, 250), (16, 36, 110)),
    "YELLOW": ((250, 220, 30), (110, 96, 14)),
    "PURPLE": ((190, 50, 230), (80, 22, 100)),
}


def clamp(v):
    return max(0, min(255, int(v)))


def mix(a, b, w):
    """a blended toward b by w (0..1)."""
    return tuple(clamp(x + (y - x) * w) for x, y in zip(a, b))


def scale(c, f):
    return tuple(clamp(x * f) for x in c)


def glass(base, x, y, cx, cy, r, spot, lit):
    """A shaded ball: darker toward the rim, a highlight near the top left."""
    d = math.hypot(x - cx, y - cy)
    c = scale(base, 1.0 - 0.35 * (d / r) ** 2)
    s = max(0.0, 1.0 - math.hypot(x - spot[0], y - spot[1]) / 2.8)
    c = mix(c, (255, 255, 255), s * (0.9 if lit else 0.45))
    assert c != KEY, "a lamp pixel equals the transparent colour"
    return c


def lamp(base, lit):
    cx = cy = (SIZE - 1) / 2
    outer, rim = 7.7, 6.5
    rim_colour = tuple(clamp(v * 0.3 + 30) for v in base)
    px = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            if d > outer:
                row.append(KEY)
            elif d > rim:
                row.append(rim_colour)
            else:
                row.append(glass(base, x, y, cx, cy, rim, (6.0, 5.5), lit))
        px.append(row)
    return px


def bulb(lit):
    base = (255, 248, 200) if lit else (205, 205, 195)
    rim_colour = (200, 160, 40) if lit else (120, 120, 120)
    filament = (230, 120, 20) if lit else (110, 110, 110)
    cx, cy, outer, rim = 8.0, 6.5, 6.4, 5.4
    px = [[KEY] * SIZE for _ in range(SIZE)]
    for y in range(13):
        for x in range(SIZE):
            d = math.hypot(x - cx, y - cy)
            if d > outer:
                continue
            px[y][x] = rim_colour if d > rim else glass(base, x, y, cx, cy, rim, (5.5, 4.0), lit)
    # the filament: an arc on two posts
    for x in range(6, 11):
        px[9][x] = filament
    for y in (10, 11):
        px[y][6] = px[y][10] = filament
    # the screw base: light and dark rings, then the contact
    for y in range(12, 15):
        for x in range(5, 12):
            px[y][x] = (170, 170, 170) if y % 2 == 0 else (110, 110, 110)
    for x in range(6, 11):
        px[15][x] = (90, 90, 90)
    for x in range(7, 10):
        px[16][x] = (50, 50, 50)
    return px


def write_bmp(path, px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(px):  # bottom-up
        for r, g, b in row:
            data += bytes((b, g, r))
        data += bytes(stride - w * 3)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    with open(path, "wb") as f:
        f.write(file_header + header + data)


def check(name, px):
    body = [p for row in px for p in row if p != KEY]
    assert body, name
    assert px[SIZE - 1][0] == KEY, name + ": the bottom left pixel must be the transparent colour"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    pictures = {}
    for name, (on, off) in LAMPS.items():
        pictures[name + "ON"] = lamp(on, True)
        pictures[name + "OFF"] = lamp(off, False)
    pictures["BULBON"] = bulb(True)
    pictures["BULBOFF"] = bulb(False)
    for name, px in pictures.items():
        check(name, px)
        write_bmp(os.path.join(here, "led_" + name.lower() + ".bmp"), px)


if __name__ == "__main__":
    main()
