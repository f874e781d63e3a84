"""One skin from a style: the global section, then every element."""
import parts_controls
import parts_glyphs
import parts_scroll
import parts_window
from skinmodel import MASTER, Skin

# In the order their sections appear in the skin text.
BUILDERS = (parts_window.build_title_buttons, parts_glyphs.build_check_glyphs, parts_glyphs.build_grips,
            parts_window.build_form, parts_window.build_title, parts_window.build_menus, parts_window.build_hint,
            parts_controls.build_containers, parts_controls.build_buttons, parts_controls.build_edits,
            parts_controls.build_bars, parts_controls.build_tabs, parts_scroll.build_scroll)


def build_skin(st):
    skin = Skin(st.name)
    skin.section('GLOBALINFO', VERSION='8.00', MASTERBITMAP=MASTER, AUTHOR='Dorneka monitor',
                 DESCRIPTION=st.description, BORDERWIDTH=len(st.frame[0]),
                 TITLEHEIGHT=parts_window.TITLE_H, COMBOMARGIN=2, COLOR=st.face, FONTCOLOR=st.text,
                 BORDERCOLOR=st.border, TCBOTTOM=st.link, TCTOP=st.link_hot)
    for build in BUILDERS:
        build(skin, st)
    return skin
