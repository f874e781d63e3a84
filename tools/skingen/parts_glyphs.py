"""The glyphs of the global section: check boxes, radio buttons, the menu
check mark and the size grips. Three states each: normal, hot, pressed."""
import glyphs
from raster import Canvas, Circle
from widgets import body, paint_body


def _box(st, size, mark):
    out = []
    for state, look in enumerate(st.check_looks):
        c = body(size, size, look, st.check_radius)
        colour = st.check_mark[state]
        if mark == 'check':
            glyphs.draw(c, glyphs.check(size / 2.0, size / 2.0, size * 0.62, st.check_line), colour)
        elif mark == 'grayed':
            glyphs.draw(c, glyphs.dash(size / 2.0, size / 2.0, size * 0.5, 2.0), st.check_grayed[state])
        out.append(c)
    return out


def _radio(st, size, mark):
    out = []
    r = size / 2.0
    for state, look in enumerate(st.check_looks):
        c = Canvas(size, size)
        paint_body(c, Circle(r, r, r - 0.25), look)
        if mark == 'check':
            glyphs.draw(c, glyphs.dot(r, r, size * 0.2), st.check_mark[state])
        elif mark == 'grayed':
            glyphs.draw(c, glyphs.dot(r, r, size * 0.18), st.check_grayed[state])
        out.append(c)
    return out


def _mark_only(st, size):
    out = []
    for colour in st.menu_check:
        c = Canvas(size, size)
        glyphs.draw(c, glyphs.check(size / 2.0, size / 2.0, size * 0.62, st.check_line), colour)
        out.append(c)
    return out


def build_check_glyphs(skin, st):
    g = skin.section('GLOBALINFO')
    for prefix, size, draw in (('BOX', 13, _box), ('RADIO', 13, _radio), ('SMALL', 11, _box)):
        g.glyph(prefix + 'CHECKED', draw(st, size, 'check'))
        g.glyph(prefix + 'UNCHECKED', draw(st, size, None))
        g.glyph(prefix + 'GRAYED', draw(st, size, 'grayed'))
    g.glyph('CHECK', _mark_only(st, 13))


def build_grips(skin, st):
    g = skin.section('GLOBALINFO')
    grip = Canvas(12, 12)
    glyphs.draw(grip, [s for s in glyphs.grip_dots(12)], st.grip_light)
    dark = Canvas(12, 12)
    glyphs.draw(dark, glyphs.grip_dots(11), st.grip_dark)
    grip.blit(dark, 0, 0)
    g.glyph('GRIPIMAGE', [grip])
    for key, vertical in (('GRIPHORZ', False), ('GRIPVERT', True)):
        c = Canvas(7, 15) if vertical else Canvas(15, 7)
        dots = []
        for i in range(3):
            cx, cy = (3.5, 3.5 + i * 4) if vertical else (3.5 + i * 4, 3.5)
            dots.append(Circle(cx, cy, 1.1))
        glyphs.draw(c, dots, st.grip_dark)
        g.glyph(key, [c, c])
