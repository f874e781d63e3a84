"""Scroll bars: the two track halves, the sliders and the arrow buttons,
sized for the system's 17-pixel scroll bars."""
import glyphs
from raster import Canvas
from widgets import frames, rotate

SIZE = 17


def _grip(st, vertical):
    out = []
    for colour in st.grip_colour:
        c = Canvas(7, 7)
        glyphs.draw(c, glyphs.grip_lines(3.5, 3.5, 3, 6, vertical), colour)
        out.append(c)
    return out


def build_scroll(skin, st):
    for name, side in (('SCROLLBAR1H', 'top'), ('SCROLLBAR2H', 'top'), ('SCROLLBAR1V', 'left'),
                       ('SCROLLBAR2V', 'left')):
        pics = [rotate(p, side) for p in frames(SIZE, SIZE, st.track_looks, 0)]
        skin.section(name, STATES=2, COLOR=st.track[0], HOTCOLOR=st.track[1]
                     ).border('BORDERSMASK', pics, (3, 3, 3, 3), fill=5)
    slider = frames(SIZE, SIZE, st.slider_looks, st.slider_radius)
    for name, side, vertical in (('SCROLLSLIDERH', 'top', False), ('SCROLLSLIDERV', 'left', True)):
        skin.section(name, STATES=2, COLOR=st.slider_color[0], HOTCOLOR=st.slider_color[1]
                     ).border('BORDERSMASK', [rotate(p, side) for p in slider], (5, 5, 5, 5), fill=5
                              ).glyph('GLYPHMASK', _grip(st, vertical))
    button = frames(SIZE, SIZE, st.scroll_button_looks, st.scroll_button_radius)
    for name, side in (('SCROLLBTNLEFT', 'left'), ('SCROLLBTNTOP', 'up'), ('SCROLLBTNRIGHT', 'right'),
                       ('SCROLLBTNBOTTOM', 'down')):
        turn = 'top' if side in ('left', 'right') else 'left'  # shaded across the bar
        skin.section(name, STATES=3, COLOR=st.button_color[0], HOTCOLOR=st.button_color[1],
                     FONTCOLOR=st.arrow[0], HOTFONTCOLOR=st.arrow[1]
                     ).border('BORDERSMASK', [rotate(p, turn) for p in button], (4, 4, 4, 4), fill=5
                              ).glyph('GLYPHMASK', st.arrow_frames(side, 9))
