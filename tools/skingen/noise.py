"""Deterministic noise: an integer hash and periodic value noise, for
textures that tile without a seam."""


def hash01(x, y, seed):
    """A repeatable pseudo-random number in [0, 1) for a lattice point."""
    h = (x * 374761393 + y * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return h / 4294967296.0


def _smooth(t):
    return t * t * (3.0 - 2.0 * t)


def value(x, y, px, py, seed):
    """Value noise at (x, y) on a lattice that repeats every px by py cells."""
    ix, iy = int(x // 1), int(y // 1)
    fx, fy = _smooth(x - ix), _smooth(y - iy)
    x0, x1 = ix % px, (ix + 1) % px
    y0, y1 = iy % py, (iy + 1) % py
    a = hash01(x0, y0, seed)
    b = hash01(x1, y0, seed)
    c = hash01(x0, y1, seed)
    d = hash01(x1, y1, seed)
    top = a + (b - a) * fx
    bottom = c + (d - c) * fx
    return top + (bottom - top) * fy


def fbm(x, y, px, py, seed, octaves=3):
    """Octaves of value noise, each twice as fine and half as strong."""
    total, weight, norm = 0.0, 1.0, 0.0
    for o in range(octaves):
        k = 1 << o
        total += weight * value(x * k, y * k, px * k, py * k, seed + o * 101)
        norm += weight
        weight *= 0.5
    return total / norm
