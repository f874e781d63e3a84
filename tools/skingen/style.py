"""A design's style: every colour, look and size the section builders read.

A design (designs/<name>.json) names a handful of base colours; `Style`
derives the rest in one consistent way, `assign` then sets what makes the
design itself, and `finish` fills the values that follow others."""
import glyphs
from colors import darker, lighter, mix
from raster import Canvas, ramp

BLACK, WHITE = (0, 0, 0), (255, 255, 255)


def stops(*colours):
    """Evenly spaced gradient stops."""
    n = len(colours) - 1
    return [(i / float(n), c) for i, c in enumerate(colours)]


def mid(fill):
    """The colour halfway down a fill (a texture's average colour)."""
    if isinstance(fill, tuple):
        return fill
    if isinstance(fill, Canvas):
        n = float(len(fill.r))
        return tuple(int(sum(ch) / n + 0.5) for ch in (fill.r, fill.g, fill.b))
    return tuple(int(v + 0.5) for v in ramp(fill, 0.5))


def last(fill):
    return fill if isinstance(fill, tuple) else fill[-1][1]


class Style:
    def __init__(self, name, description, face, text, accent, accent_text, ctrl, ctrl_border,
                 ctrl_text, edit_bg, edit_text, edit_border, title, title_text, frame_outer,
                 menu_bar, menu_bg, menu_text, radius=3.0, gloss=0.0):
        """title: the fills of the inactive and the active title band;
        title_text and frame_outer: (inactive, active)."""
        self.name, self.description = name, description
        self.face, self.text, self.accent, self.accent_text = face, text, accent, accent_text
        self.accent_dark = darker(accent, 0.25)
        self.border = ctrl_border
        self._window(title, title_text, frame_outer, gloss)
        self._menus(menu_bar, menu_bg, menu_text)
        self._controls(ctrl, ctrl_border, ctrl_text, radius, gloss)
        self._edits(edit_bg, edit_text, edit_border)
        self._containers()
        self._bars()

    def _window(self, title, title_text, frame_outer, gloss):
        self.dialog_face = self.face
        self.face_texture = None
        # Textured frames and titles are tiled, not stretched, in bands of a
        # whole period of their texture.
        self.frame_period = self.title_period = None
        self.frame_radius = 4.0
        self.title_radius = 6.0
        self.title_look = [{'fill': t, 'light': (WHITE, 0.35), 'gloss': gloss} for t in title]
        self.title_text = title_text
        self.title_line = None
        inner = darker(self.face, 0.28)
        self.frame = [[frame_outer[s], last(title[s]), last(title[s]), inner] for s in (0, 1)]
        self.titlebar_plate = [None, None]
        base = mid(title[1])
        self.tbtn_size, self.sbtn_size = (25, 17), (17, 15)
        self.tbtn_pad, self.tbtn_radius = 1, 3.0
        self.tbtn_icon, self.sbtn_icon, self.tbtn_line = 8.0, 6.0, 1.7
        self.tbtn = [None,
                     {'fill': stops(lighter(base, 0.35), lighter(base, 0.12)), 'border': darker(base, 0.3),
                      'light': (WHITE, 0.45)},
                     {'fill': stops(darker(base, 0.2), darker(base, 0.05)), 'border': darker(base, 0.4),
                      'inset': (BLACK, 0.25)}]
        red = (200, 52, 44)
        self.tbtn_close = [None,
                           {'fill': stops(lighter(red, 0.2), red), 'border': darker(red, 0.3),
                            'light': (WHITE, 0.35)},
                           {'fill': stops(darker(red, 0.25), darker(red, 0.1)), 'border': darker(red, 0.45),
                            'inset': (BLACK, 0.3)}]
        self.tbtn_glyph = [title_text[1]] * 3
        self.tbtn_glyph_close = [title_text[1], WHITE, WHITE]
        self.tbtn_glyph_shadow = None

    def _menus(self, menu_bar, menu_bg, menu_text):
        self.menu_bar, self.menu_bar_texture = menu_bar, None
        self.menu_bg, self.menu_text = menu_bg, menu_text
        self.menu_line = darker(menu_bar, 0.15)
        self.menu_hot_bg = mix(menu_bg, self.accent, 0.2)
        self.menu_hot_text = menu_text
        self.menu_line_text = self.menu_line_hot_text = menu_text
        self.menu_hot_look = {'fill': self.menu_hot_bg, 'border': mix(self.menu_hot_bg, self.accent, 0.55)}
        self.menu_hot_radius = 3.0
        self.menu_border = darker(menu_bg, 0.35)
        self.menu_light = (WHITE, 0.0)
        self.menu_radius = 2.0
        self.menu_icoline = darker(menu_bg, 0.05)
        self.menu_divider = [darker(menu_bg, 0.18), lighter(menu_bg, 0.6)]
        self.menu_caption_bg = mix(menu_bg, self.accent, 0.12)
        self.menu_caption_text = menu_text
        self.menu_check = [menu_text, menu_text, menu_text]

    def _controls(self, ctrl, ctrl_border, ctrl_text, radius, gloss):
        """ctrl: the fill of a normal button."""
        self.button_radius = radius
        hot_fill = [(p, lighter(c, 0.35)) for p, c in ctrl]
        pressed_fill = [(p, darker(c, 0.12)) for p, c in reversed(ctrl)]
        hot_border = mix(ctrl_border, self.accent, 0.5)
        self.button_looks = [
            {'fill': ctrl, 'border': ctrl_border, 'light': (WHITE, 0.7), 'gloss': gloss},
            {'fill': hot_fill, 'border': hot_border, 'light': (WHITE, 0.8), 'gloss': gloss},
            {'fill': pressed_fill, 'border': darker(ctrl_border, 0.15), 'inset': (BLACK, 0.18)},
            {'fill': ctrl, 'border': self.accent, 'bw': 2, 'light': (WHITE, 0.7), 'gloss': gloss}]
        self.button_text = (ctrl_text, ctrl_text)
        self.combo_btn_radius = min(radius, 3.0)
        self.arrow = [ctrl_text, ctrl_text, ctrl_text]
        self.arrow_style = 'triangle'
        self.scroll_button_radius = min(radius, 3.0)
        self.slider_radius = min(radius, 3.0)
        self.grip_colour = [darker(ctrl_border, 0.1), darker(ctrl_border, 0.2)]
        face = self.face
        self.track = [darker(face, 0.06), darker(face, 0.14)]
        self.track_looks = [{'fill': stops(darker(face, 0.1), darker(face, 0.03))},
                            {'fill': stops(darker(face, 0.2), darker(face, 0.1))}]
        self.header_color = [lighter(face, 0.2), lighter(face, 0.45)]
        self.header_text = self.text
        edge = darker(face, 0.2)
        self.header_looks = [{'fill': stops(lighter(face, 0.4), face), 'border': edge},
                             {'fill': stops(lighter(face, 0.7), lighter(face, 0.3)), 'border': edge},
                             {'fill': stops(darker(face, 0.08), face), 'border': edge, 'inset': (BLACK, 0.12)}]

    def _edits(self, edit_bg, edit_text, edit_border):
        self.edit_bg, self.edit_text, self.edit_radius = edit_bg, edit_text, 2.0
        self.edit_looks = [{'fill': None, 'border': edit_border},
                           {'fill': None, 'border': self.accent}]
        self.check_looks = [{'fill': stops(edit_bg, mix(edit_bg, self.face, 0.4)), 'border': edit_border},
                            {'fill': stops(edit_bg, mix(edit_bg, self.accent, 0.12)), 'border': self.accent},
                            {'fill': stops(mix(edit_bg, self.face, 0.6), edit_bg), 'border': self.accent_dark}]
        self.check_radius, self.check_line = 2.0, 1.8
        self.check_mark = [self.accent_dark] * 3
        self.check_grayed = [mix(edit_border, edit_bg, 0.2)] * 3
        self.check_hot_text = self.text
        self.selection_radius = 2.0
        self.selection = ({'fill': mix(self.face, self.accent, 0.22), 'fill_colour': mix(self.face, self.accent, 0.22),
                           'text': self.text},
                          {'fill': self.accent, 'fill_colour': self.accent, 'text': self.accent_text})
        self.hint_bg, self.hint_text, self.hint_border = edit_bg, edit_text, edit_border
        self.hint_light, self.hint_radius = (WHITE, 0.0), 3.0
        self.bar_bg, self.bar_text, self.bar_radius = edit_bg, edit_text, 2.0
        self.bar_looks = [{'fill': None, 'border': edit_border, 'inset': (BLACK, 0.12)},
                          {'fill': None, 'border': self.accent, 'inset': (BLACK, 0.12)}]
        self.gauge_track, self.gauge_text = edit_bg, edit_text
        self.gauge_look = {'fill': None, 'border': edit_border}

    def _containers(self):
        face = self.face
        self.panel_face = self.panel_low_face = face
        self.panel_radius = 3.0
        self.panel_look = {'fill': None, 'border': darker(face, 0.2), 'light': (WHITE, 0.55)}
        self.panel_low_look = {'fill': None, 'border': darker(face, 0.25), 'inset': (BLACK, 0.1)}
        self.group_look = {'fill': None, 'border': darker(face, 0.22), 'light': (WHITE, 0.4)}
        self.group_radius = 4.0
        self.group_text = self.text
        self.mdi_face = darker(face, 0.15)
        self.splitter, self.splitter_hot = face, darker(face, 0.08)
        self.page_face = lighter(face, 0.3)
        self.page_look = {'fill': None, 'border': darker(face, 0.25)}
        edge = darker(face, 0.25)
        self.tab_looks = [{'fill': stops(face, darker(face, 0.06)), 'border': edge},
                          {'fill': stops(lighter(face, 0.5), lighter(face, 0.15)), 'border': edge},
                          {'fill': self.page_face, 'border': edge, 'extend': 3, 'light': (WHITE, 0.6)}]
        self.tab_color = [face, self.page_face]
        self.tab_text = (self.text, self.text)
        self.link, self.link_hot = self.accent_dark, darker(self.accent, 0.45)

    def _bars(self):
        face = self.face
        self.toolbar = self.statusbar = face
        self.toolbar_text = self.statusbar_text = self.tool_hot_text = self.text
        self.bar_line, self.bar_line_light = darker(face, 0.2), lighter(face, 0.5)
        self.channel_looks = [{'fill': darker(face, 0.15), 'border': darker(face, 0.35)},
                              {'fill': self.accent, 'border': self.accent_dark}]
        self.tick = darker(face, 0.45)
        self.grip_light, self.grip_dark = lighter(face, 0.7), darker(face, 0.4)

    # Values that follow others unless a design sets them: computed last.
    LINKS = [
        ('title_color', lambda s: [mid(look['fill']) for look in s.title_look]),
        ('button_color', lambda s: [mid(s.button_looks[0]['fill']), mid(s.button_looks[1]['fill'])]),
        ('tool_looks', lambda s: s.button_looks[1:3]),
        ('tool_hot_color', lambda s: s.button_color[1]),
        ('combo_btn_looks', lambda s: [{'fill': None}] + s.button_looks[1:3]),
        ('combo_btn_color', lambda s: s.button_color[0]),
        ('scroll_button_looks', lambda s: s.button_looks[:3]),
        ('slider_looks', lambda s: s.button_looks[:2]),
        ('slider_color', lambda s: s.button_color),
    ]

    def assign(self, path, value):
        """Sets a value by a path: 'attribute', 'attribute.2.key'; an index
        may be '*' (every element) or a list such as '0,1,3'. None at a key
        of a look removes the key."""
        parts = path.split('.')
        self.__dict__.setdefault('_set', set()).add(parts[0])
        if len(parts) == 1:
            setattr(self, path, value)
            return
        targets = [getattr(self, parts[0])]
        for part in parts[1:-1]:
            targets = [t[i] for t in targets for i in _keys(t, part)]
        for t in targets:
            for k in _keys(t, parts[-1]):
                if value is None and isinstance(t, dict):
                    t.pop(k, None)
                else:
                    t[k] = value

    def finish(self):
        for name, rule in self.LINKS:
            if name not in self.__dict__.get('_set', ()):
                setattr(self, name, rule(self))
        return self

    def arrow_frames(self, side, size):
        """An arrow toward a side in the three state colours."""
        out = []
        for colour in self.arrow:
            c = Canvas(size, size)
            if self.arrow_style == 'chevron':
                shapes = glyphs.chevron(size / 2.0, size / 2.0, size - 3.0, 1.6, side)
            else:
                shapes = glyphs.triangle(size / 2.0, size / 2.0, size - 2.0, side)
            glyphs.draw(c, shapes, colour)
            out.append(c)
        return out


def _keys(container, part):
    if isinstance(container, dict):
        return [part]
    if part == '*':
        return list(range(len(container)))
    return [int(p) for p in part.split(',')]
