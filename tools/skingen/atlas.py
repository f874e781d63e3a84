"""The master image: every picture of a skin packed into one 24-bit bitmap.

A picture is a row of equally sized frames (one per state). A masked picture
carries a second row below it: grey, 0 where the picture is opaque and 255
where the background shows. A pixel whose alpha is exactly 0 becomes the key
colour 0xFF00FF, a hole that shows the parent (and, in the corners of a form
frame, leaves the window region); alpha that only rounds to 0 is a plain
transparent pixel."""
from colors import clamp8

KEY = (255, 0, 255)


class Picture:
    def __init__(self, frames, masked):
        self.frames, self.masked = frames, masked
        self.fw, self.fh = frames[0].w, frames[0].h
        if any(f.w != self.fw or f.h != self.fh for f in frames):
            raise ValueError('frames of one picture differ in size')
        self.w = self.fw * len(frames)
        self.h = self.fh * (2 if masked else 1)
        self.pixels = self._render()
        self.rect = None  # (left, top, right, bottom) once packed

    def _render(self):
        """Rows of (r, g, b) tuples: the frames, then their masks."""
        rows = [[] for _ in range(self.h)]
        for f in self.frames:
            for y in range(self.fh):
                for x in range(self.fw):
                    i = y * self.fw + x
                    a = f.a[i]
                    if self.masked:
                        c = KEY if a <= 0.0 else _not_key((clamp8(f.r[i]), clamp8(f.g[i]), clamp8(f.b[i])))
                        m = 255 if a <= 0.0 else clamp8(255.0 * (1.0 - a))
                        rows[y].append(c)
                        rows[self.fh + y].append((m, m, m))
                    else:
                        c = KEY if a < 0.5 else _not_key((clamp8(f.r[i]), clamp8(f.g[i]), clamp8(f.b[i])))
                        rows[y].append(c)
        return rows


def _not_key(c):
    return (254, 0, 255) if c == KEY else c


class Atlas:
    def __init__(self, width=256):
        self.width = width
        self.pictures = []
        self._by_content = {}

    def add(self, frames, masked):
        """A picture of these frames; equal pictures are stored once."""
        p = Picture(frames, masked)
        key = (p.masked, len(frames), tuple(tuple(r) for r in p.pixels))
        if key in self._by_content:
            return self._by_content[key]
        self._by_content[key] = p
        self.pictures.append(p)
        return p

    def pack(self):
        """Places the pictures on shelves; answers (w, h, rgb bytes)."""
        w = max([self.width] + [p.w for p in self.pictures])
        order = sorted(range(len(self.pictures)),
                       key=lambda i: (-self.pictures[i].h, -self.pictures[i].w, i))
        x = y = shelf = 0
        for i in order:
            p = self.pictures[i]
            if x + p.w > w:
                x, y, shelf = 0, y + shelf, 0
            p.rect = (x, y, x + p.w, y + p.h)
            x += p.w
            shelf = max(shelf, p.h)
        h = y + shelf
        rgb = bytearray(bytes(KEY) * (w * h))
        for p in self.pictures:
            left, top = p.rect[0], p.rect[1]
            for dy, row in enumerate(p.pixels):
                o = ((top + dy) * w + left) * 3
                for c in row:
                    rgb[o], rgb[o + 1], rgb[o + 2] = c
                    o += 3
        return w, h, rgb
