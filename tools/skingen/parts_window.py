"""Sections of the window: frame, title band, title buttons, caption,
dialogs, menu line, pop-up menus and hints."""
import glyphs
from raster import Canvas, RRect, from_canvas
from widgets import VEIL, body, nine, paint_body

# The height the title pictures are drawn for: the system caption (19) and
# the sizing frame (4) under Wine; other heights stretch or cut them.
TITLE_H = 23


def _ring_paint(ring, m, w, h):
    """A frame ring's paint: a colour, or wood whose grain follows the side."""
    if isinstance(ring[0], int):
        return tuple(float(v) for v in ring)
    across, along = ring  # textures with the grain along x and along y

    def paint(x, y):
        side = (x < m or x >= w - m) and m <= y < h - m
        t = along if side else across
        i = (y % t.h) * t.w + x % t.w
        return (t.r[i], t.g[i], t.b[i])
    return paint


def frame_picture(st, state, w, h, top_radius, bottom_radius):
    """A window frame of w x h: the rings of the style from outside in."""
    c = Canvas(w, h)
    outer = RRect(0, 0, w, h, (top_radius, top_radius, bottom_radius, bottom_radius))
    m = len(st.frame[state])
    for i, ring in enumerate(st.frame[state]):
        c.fill(outer.inset(i), _ring_paint(ring, m, w, h))
    return c


def build_form(skin, st):
    m = len(st.frame[0])
    band = st.frame_period or 4
    size = 2 * m + band
    pics = [frame_picture(st, s, size, size, 0, st.frame_radius) for s in (0, 1)]
    form = skin.section('FORM', STATES=2, COLOR=st.face, FONTCOLOR=st.text, HOTCOLOR=st.face,
                        HOTFONTCOLOR=st.text)
    if st.face_texture is not None:
        form.set(IMAGEPERCENT=100, HOTIMAGEPERCENT=100)
        form.texture('PATTERN', st.face_texture)
        form.texture('HOTPATTERN', st.face_texture)
    form.border('BORDERSMASK', pics, (m, m, m, m), fill=0 if st.frame_period else 1)
    corners = {'IMGTOPLEFT': (0, 0), 'IMGTOPRIGHT': (size - m, 0),
               'IMGBTMLEFT': (0, size - m), 'IMGBTMRIGHT': (size - m, size - m)}
    for key, (x, y) in corners.items():
        form.glyph(key, [p.crop(x, y, m, m) for p in pics])
    form.border('TITLEBAR', [titlebar_picture(st, s, m) for s in (0, 1)], (8, 5, m + 2, 3), fill=5)
    skin.section('DIALOG', PARENTCLASS='FORM', STATES=2, COLOR=st.dialog_face, FONTCOLOR=st.text,
                 HOTCOLOR=st.dialog_face, HOTFONTCOLOR=st.text)


def title_picture(st, state, w):
    """The title band: the style's look, its outer line along the top and
    the sides (the bottom of the shape lies below the picture)."""
    m = len(st.frame[state])
    r = st.title_radius
    c = Canvas(w, TITLE_H)
    look = dict(st.title_look[state], border=st.frame[state][0])
    paint_body(c, RRect(0, 0, w, TITLE_H + 2, (r, r, 0.0, 0.0)), look)
    if st.title_line:
        c.fill_rect(m, TITLE_H - 1, w - m, TITLE_H, st.title_line[state])
    return c


def titlebar_picture(st, state, m):
    """The plate behind the title buttons: it starts a little left of them
    and runs under the frame's right edge, which it leaves alone."""
    w = 16
    c = Canvas(w, TITLE_H)
    c.fill_rect(0, 0, w, TITLE_H, (0.0, 0.0, 0.0), VEIL)
    look = st.titlebar_plate[state]
    if look:
        plate = body(w - m - 1 - 2, TITLE_H - 4, look, 4.0, RRect(0, 0, w + 8, TITLE_H - 4, 4.0))
        c.blit(plate, 2, 2)
    return c


def build_title(skin, st):
    m = len(st.frame[0])
    side = max(int(st.title_radius) + 1, m + 2)
    band = st.title_period or 8
    w = 2 * side + band
    pics = [title_picture(st, s, w) for s in (0, 1)]
    top = max(int(st.title_radius) + 1, 4)
    inactive, active = st.title_text
    title = skin.section('FORMTITLE', STATES=2, COLOR=st.title_color[0], HOTCOLOR=st.title_color[1],
                         FONTCOLOR=inactive, HOTFONTCOLOR=active)
    title.border('BORDERSMASK', pics, (side, top, side, 2), fill=4 if st.title_period else 5)
    skin.section('DIALOGTITLE', PARENTCLASS='FORMTITLE', STATES=2, COLOR=st.title_color[0],
                 HOTCOLOR=st.title_color[1], FONTCOLOR=inactive, HOTFONTCOLOR=active)
    skin.section('CAPTION', STATES=2, TRANSPARENCY=100, HOTTRANSPARENCY=100,
                 COLOR=st.title_color[0], HOTCOLOR=st.title_color[1], FONTCOLOR=inactive,
                 HOTFONTCOLOR=active)


def title_button(st, size, icon, kind, small):
    """Normal, hot and pressed pictures of one title button."""
    w, h = size
    pad = st.tbtn_pad
    out = []
    for state in range(3):
        c = Canvas(w, h)
        looks = st.tbtn_close if kind == 'close' else st.tbtn
        look = looks[state]
        if look is not None:
            body_c = body(w - 2 * pad, h - 2 * pad, look, st.tbtn_radius)
            c.blit(body_c, pad, pad)
        colour = (st.tbtn_glyph_close if kind == 'close' else st.tbtn_glyph)[state]
        s = st.sbtn_icon if small else st.tbtn_icon
        lw = st.tbtn_line * (0.85 if small else 1.0)
        # Whole-pixel edges keep the symbol sharp.
        cx, cy = (w - s) // 2 + s / 2.0, (h - s) // 2 + s / 2.0
        shapes = icon(cx, cy, s, lw)
        if st.tbtn_glyph_shadow and state < 2:
            scol, sa, dy = st.tbtn_glyph_shadow
            glyphs.draw(c, icon(cx, cy + dy, s, lw), scol, sa)
        glyphs.draw(c, shapes, colour)
        out.append(c)
    return out


ICONS = [('CLOSE', glyphs.close, 'close'), ('MAX', glyphs.maximize, 'max'),
         ('NORM', glyphs.restore, 'norm'), ('MIN', glyphs.minimize, 'min'),
         ('HELP', glyphs.help_mark, 'help')]


def build_title_buttons(skin, st):
    g = skin.section('GLOBALINFO')
    for name, icon, kind in ICONS:
        g.glyph('BICON' + name, title_button(st, st.tbtn_size, icon, kind, False))
        if name == 'CLOSE':
            wide = (st.tbtn_size[0] + st.tbtn_size[0] // 2, st.tbtn_size[1])
            g.glyph('BICLOSEALONE', title_button(st, wide, icon, kind, False))
        g.glyph('SICON' + name, title_button(st, st.sbtn_size, icon, kind, True))


def menuline_picture(st, state, m):
    """The menu line's own frame sides (the frame's outer rings) and the
    line under it."""
    w, h = 2 * m + 4, 4
    c = Canvas(w, h)
    c.fill_rect(0, 0, w, h, (0.0, 0.0, 0.0), VEIL)
    c.fill_rect(m, h - 1, w - m, h, st.menu_line)
    for i, ring in enumerate(st.frame[state][:m]):
        paint = ring if isinstance(ring[0], int) else from_canvas(ring[1])
        c.fill_rect(i, 0, i + 1, h, paint)
        c.fill_rect(w - 1 - i, 0, w - i, h, paint)
    return c


def build_menus(skin, st):
    # Three rings: the frame of a single-border form is three pixels wide, and
    # its innermost ring stays inside the client area.
    m = len(st.frame[0]) - 1
    line = skin.section('MENULINE', STATES=2, COLOR=st.menu_bar, HOTCOLOR=st.menu_bar,
                        FONTCOLOR=st.menu_line_text, HOTFONTCOLOR=st.menu_line_hot_text)
    if st.menu_bar_texture is not None:
        line.set(IMAGEPERCENT=100, HOTIMAGEPERCENT=100)
        line.texture('PATTERN', st.menu_bar_texture)
        line.texture('HOTPATTERN', st.menu_bar_texture)
    line.border('BORDERSMASK', [menuline_picture(st, s, m) for s in (0, 1)], (m, 1, m, 1), fill=1)

    item = skin.section('MENUITEM', STATES=2, COLOR=st.menu_bg, TRANSPARENCY=100, HOTCOLOR=st.menu_hot_bg,
                        HOTTRANSPARENCY=0, FONTCOLOR=st.menu_text, HOTFONTCOLOR=st.menu_hot_text)
    nine(item, 'BORDERSMASK', [{'fill': None}, st.menu_hot_look], st.menu_hot_radius, 5, fill=7)
    nine(skin.section('MAINMENU', STATES=1, COLOR=st.menu_bg, FONTCOLOR=st.menu_text), 'BORDERSMASK',
         [{'fill': st.menu_bg, 'border': st.menu_border, 'light': st.menu_light}], st.menu_radius, 3)
    skin.section('ICOLINE', STATES=1, COLOR=st.menu_icoline, FONTCOLOR=st.menu_text)
    skin.section('EXTRALINE', STATES=1, COLOR=st.accent_dark, FONTCOLOR=st.accent_text)
    div = Canvas(8, 2)
    div.fill_rect(0, 0, 8, 1, st.menu_divider[0])
    div.fill_rect(0, 1, 8, 2, st.menu_divider[1])
    skin.section('DIVIDERV', STATES=1, COLOR=st.menu_bg).border('BORDERSMASK', [div], (1, 1, 1, 1), fill=1)
    skin.section('MENUCAPTION', STATES=1, COLOR=st.menu_caption_bg, FONTCOLOR=st.menu_caption_text)


def build_hint(skin, st):
    nine(skin.section('HINT', STATES=1, COLOR=st.hint_bg, FONTCOLOR=st.hint_text), 'BORDERSMASK',
         [{'fill': st.hint_bg, 'border': st.hint_border, 'light': st.hint_light}], st.hint_radius, 4)
