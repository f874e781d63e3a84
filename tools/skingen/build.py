"""One skin from a style: the global section, then every element."""
import parts_controls
import parts_glyphs
import parts_scroll
import parts_window
from skinmodel import MASTER, Skin


def build_skin(st):
    skin = Skin(st.name)
    skin.section('GLOBALINFO', VERSION='8.00', MASTERBITMAP=MASTER, AUTHOR='Dorneka monitor',
                 DESCRIPTION=st.description, BORDERWIDTH=len(st.frame[0]),
                 TITLEHEIGHT=parts_window.TITLE_H, COMBOMARGIN=2, COLOR=st.face, FONTCOLOR=st.text,
                 BORDERCOLOR=st.border, TCBOTTOM=st.link, TCTOP=st.link_hot)
    parts_window.build_title_buttons(skin, st)
    parts_glyphs.build_check_glyphs(skin, st)
    parts_glyphs.build_grips(skin, st)
    parts_window.build_form(skin, st)
    parts_window.build_title(skin, st)
    parts_window.build_menus(skin, st)
    parts_window.build_hint(skin, st)
    parts_controls.build_containers(skin, st)
    parts_controls.build_buttons(skin, st)
    parts_controls.build_edits(skin, st)
    parts_controls.build_bars(skin, st)
    parts_controls.build_tabs(skin, st)
    parts_scroll.build_scroll(skin, st)
    return skin
