"""Seamless textures drawn from noise: brushed metal and wood grain.
Both repeat exactly over their own width and height."""
import math

import noise
from colors import mix
from raster import Canvas


def brushed(w, h, base, seed, strength=0.10):
    """Light metal brushed along x: streaks one row high, 24 pixels a cell."""
    if w % 24:
        raise ValueError('brushed metal repeats every 24 pixels')
    c = Canvas(w, h, base, 1.0)
    for y in range(h):
        for x in range(w):
            streak = noise.value(x / 24.0, float(y), w // 24, h, seed)
            grain = noise.hash01(x, y, seed + 7)
            long_wave = noise.value(x / 48.0, y / 4.0, max(1, w // 48), max(1, h // 4), seed + 3)
            v = 0.55 * streak + 0.2 * grain + 0.25 * long_wave - 0.5
            f = 1.0 + strength * v
            c.put(x, y, tuple(min(255.0, k * f) for k in base))
    return c


def wood(w, h, light, dark, seed, rings=3):
    """Boards with their grain along x: rings that wander, and fibres."""
    if w % 32 or h % 8:
        raise ValueError('wood repeats every 32 by 8 pixels')
    c = Canvas(w, h, light, 1.0)
    spacing = h / float(rings)
    for y in range(h):
        for x in range(w):
            warp = noise.fbm(x / 32.0, y / 8.0, w // 32, h // 8, seed, 2) * 7.0
            t = (y + warp) / spacing
            f = t - math.floor(t)
            ring = 1.0 - abs(2.0 * f - 1.0)
            ring = ring * ring * ring
            fibre = noise.value(x / 8.0, float(y), w // 8, h, seed + 5)
            k = 0.55 * ring + 0.30 * fibre + 0.15 * noise.hash01(x, y, seed + 9)
            c.put(x, y, mix(light, dark, k))
    return c
