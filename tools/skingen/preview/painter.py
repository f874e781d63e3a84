"""Paints skin sections the way the program does, closely enough to judge
a design: the section's fill over its parent (colour, gradient, texture,
transparency), its corner images, its nine-part border with key colour or
mask, glyphs, and text."""
from colors import from_tcolor, mix
from preview import ttf

KEY = (255, 0, 255)


class Target:
    """An RGB picture as three rows-of-lists planes."""

    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, r, c):
        for y in range(max(0, r[1]), min(self.h, r[3])):
            row = self.px[y]
            for x in range(max(0, r[0]), min(self.w, r[2])):
                row[x] = c

    def snapshot(self, r):
        return {(x, y): self.px[y][x] for y in range(max(0, r[1]), min(self.h, r[3]))
                for x in range(max(0, r[0]), min(self.w, r[2]))}

    def rgb_bytes(self):
        out = bytearray()
        for row in self.px:
            for c in row:
                out += bytes(c)
        return out


class Painter:
    def __init__(self, skin, target):
        self.skin, self.t = skin, target
        self.font, self.bold = ttf.load(), ttf.load(bold=True)

    # ---- images -------------------------------------------------------
    def _src(self, x, y):
        return self.skin.pixel(x, y)

    def _put(self, img, sx, sy, dx, dy, parent=None):
        """One image pixel onto the target through its mask or key colour."""
        s = self._src(sx, sy)
        if s == KEY:
            if parent is not None and (dx, dy) in parent:
                self.t.set(dx, dy, parent[(dx, dy)])
            return
        if not (0 <= dx < self.t.w and 0 <= dy < self.t.h):
            return
        if img.maskkind:
            m = self._src(sx, sy + img.height)[0]
            if m:
                s = mix(s, self.t.get(dx, dy), m / 255.0)
        self.t.set(dx, dy, s)

    def glyph(self, img, x, y, state=0, dim=False):
        col = min(state, img.columns - 1)
        sx0, sy0 = img.rect[0] + col * img.width, img.rect[1]
        for j in range(img.height):
            for i in range(img.width):
                before = self.t.get(x + i, y + j) if 0 <= x + i < self.t.w and 0 <= y + j < self.t.h else None
                self._put(img, sx0 + i, sy0 + j, x + i, y + j)
                if dim and before is not None:
                    self.t.set(x + i, y + j, mix(self.t.get(x + i, y + j), before, 0.5))

    def _piece(self, img, src, dst, stretch, parent=None):
        """A source rectangle (x, y, w, h) onto a destination rectangle,
        stretched or tiled."""
        sx, sy, sw, sh = src
        dx0, dy0, dx1, dy1 = dst
        if sw <= 0 or sh <= 0 or dx1 <= dx0 or dy1 <= dy0:
            return
        for y in range(dy0, dy1):
            if stretch:
                oy = (y - dy0) * sh // (dy1 - dy0)
            else:
                oy = (y - dy0) % sh
            for x in range(dx0, dx1):
                ox = (x - dx0) * sw // (dx1 - dx0) if stretch else (x - dx0) % sw
                self._put(img, sx + ox, sy + oy, x, y, parent)

    def border(self, img, r, state=0, parent=None):
        """The nine-part drawing of a border image into rectangle r."""
        if state == 0 and img.fill & 2:
            return
        w, h = img.width, img.height
        wl, wt, wr, wb = img.margins
        rw, rh = r[2] - r[0], r[3] - r[1]
        if rw < wl + wr:
            d = wl + wr - rw
            wl, wr = max(0, wl - d // 2), max(0, wr - d // 2 - d % 2)
        if rh < wt + wb:
            d = wt + wb - rh
            wt, wb = max(0, wt - d // 2), max(0, wb - d // 2 - d % 2)
        s = min(state, img.columns - 1)
        sl, st_ = img.rect[0] + w * s, img.rect[1]
        cw, ch = w - wl - wr, h - wt - wb
        if cw < 0 or ch < 0:
            return
        stretch = bool(img.fill & 1)
        L, T, R, B = r
        p = self._piece
        p(img, (sl, st_, wl, wt), (L, T, L + wl, T + wt), False, parent)
        p(img, (sl, st_ + wt, wl, ch), (L, T + wt, L + wl, B - wb), stretch)
        p(img, (sl + wl, st_, cw, wt), (L + wl, T, R - wr, T + wt), stretch)
        p(img, (sl, st_ + h - wb, wl, wb), (L, B - wb, L + wl, B), False, parent)
        p(img, (sl + wl, st_ + h - wb, cw, wb), (L + wl, B - wb, R - wr, B), stretch)
        p(img, (sl + wl + cw, st_ + h - wb, wr, wb), (R - wr, B - wb, R, B), False, parent)
        p(img, (sl + wl + cw, st_, wr, wt), (R - wr, T, R, T + wt), False, parent)
        p(img, (sl + wl + cw, st_ + wt, wr, ch), (R - wr, T + wt, R, B - wb), stretch)
        if img.fill & 4:
            p(img, (sl + wl, st_ + wt, cw, ch), (L + wl, T + wt, R - wr, B - wb), stretch)

    # ---- sections -----------------------------------------------------
    def _gradient(self, data, r):
        words = [int(w) for w in data.split(';') if w.strip()]
        segs = [words[i:i + 5] for i in range(0, len(words) - len(words) % 5, 5)]
        if not segs:
            return None
        horizontal = segs[0][3] == 1
        length = (r[2] - r[0]) if horizontal else (r[3] - r[1])
        line, pos = [], 0
        for i, seg in enumerate(segs):
            n = length - pos if i == len(segs) - 1 else length * seg[2] // 100
            c1, c2 = from_tcolor(seg[0]), from_tcolor(seg[1])
            for k in range(n):
                line.append(mix(c1, c2, k / float(max(1, n - 1))))
            pos += n
        return line, horizontal

    def background(self, sec, state, r):
        """The section's own fill over what the target holds (its parent)."""
        look = self.skin.look(sec, min(state, 1) == 1)
        t = look['transparency'] / 100.0
        if t >= 1.0:
            return
        grad = self._gradient(look['gradient'], r) if look['gradient_percent'] else None
        pat = look['pattern'] if look['image_percent'] else None
        for y in range(max(0, r[1]), min(self.t.h, r[3])):
            for x in range(max(0, r[0]), min(self.t.w, r[2])):
                c = look['color']
                if pat is not None:
                    pw, ph = pat.rect[2] - pat.rect[0], pat.rect[3] - pat.rect[1]
                    tex = self._src(pat.rect[0] + (x - r[0]) % pw, pat.rect[1] + (y - r[1]) % ph)
                    c = mix(c, tex, look['image_percent'] / 100.0)
                if grad is not None:
                    line, horizontal = grad
                    g = line[min(len(line) - 1, (x - r[0]) if horizontal else (y - r[1]))]
                    c = mix(c, g, look['gradient_percent'] / 100.0)
                if t > 0:
                    c = mix(c, self.t.get(x, y), t)
                self.t.set(x, y, c)

    def section(self, sec, state, r):
        """Background, corner images and border of a section in rectangle r."""
        if sec not in self.skin.sections:
            return
        state = min(state, self.skin.states(sec) - 1)
        parent = self.t.snapshot(r)
        self.background(sec, state, r)
        for key, at in (('IMGTOPLEFT', 'tl'), ('IMGTOPRIGHT', 'tr'), ('IMGBTMLEFT', 'bl'), ('IMGBTMRIGHT', 'br')):
            img = self.skin.image(sec, key)
            if img:
                x = r[0] if at[1] == 'l' else r[2] - img.width
                y = r[1] if at[0] == 't' else r[3] - img.height
                self.glyph(img, x, y, state)
        img = self.skin.image(sec, 'BORDERSMASK')
        if img:
            self.border(img, r, state, parent)

    # ---- text ---------------------------------------------------------
    def text_width(self, text, px=12, bold=False):
        f = self.bold if bold else self.font
        return int(sum(f.bitmap(ch, px)[4] for ch in text) + 0.5)

    def text(self, s, r, colour, align='left', px=12, bold=False):
        f = self.bold if bold else self.font
        w = self.text_width(s, px, bold)
        x = {'left': r[0], 'center': (r[0] + r[2] - w) // 2, 'right': r[2] - w}[align]
        base = (r[1] + r[3]) // 2 + int(px * 0.36)
        pen = float(x)
        for ch in s:
            rows, gw, left, top, adv = f.bitmap(ch, px)
            gx = int(pen + 0.5) + left
            for j, row in enumerate(rows):
                for i, cov in enumerate(row):
                    if cov > 0.02:
                        X, Y = gx + i, base + top + j
                        if 0 <= X < self.t.w and 0 <= Y < self.t.h:
                            self.t.set(X, Y, mix(self.t.get(X, Y), colour, min(1.0, cov)))
            pen += adv

    def section_text(self, sec, hot, s, r, align='left', px=12, bold=False):
        self.text(s, r, self.skin.look(sec, hot)['font'], align, px, bold)
