"""Brushed light metal: a brushed client, metal title and buttons, and
engraved dark text."""
import textures
from colors import darker, lighter, rgb
from style import WHITE, Style, stops


def style():
    face = rgb('#c5c9ce')
    st = Style(
        'Aluminium', 'Brushed light metal',
        face=face, text=rgb('#1b1e21'), accent=rgb('#2c5f8a'), accent_text=WHITE,
        ctrl=stops(rgb('#f3f4f5'), rgb('#dcdee1'), rgb('#c4c7cb')), ctrl_border=rgb('#70757c'),
        ctrl_text=rgb('#15181b'),
        edit_bg=rgb('#f7f8f9'), edit_text=rgb('#121417'), edit_border=rgb('#7d838a'),
        title=(stops(rgb('#dfe1e4'), rgb('#cdd0d4'), rgb('#d4d7da')),
               stops(rgb('#eef0f2'), rgb('#c2c6cb'), rgb('#a9aeb5'), rgb('#bfc3c8'))),
        title_text=(rgb('#50555b'), rgb('#121417')),
        frame_outer=(rgb('#8a8f95'), rgb('#50555c')),
        menu_bar=rgb('#dfe1e4'), menu_bg=rgb('#eff0f2'), menu_text=rgb('#17191c'),
        radius=2.0)
    metal = textures.brushed(96, 24, face, seed=11, strength=0.16)
    light_metal = textures.brushed(96, 24, lighter(face, 0.35), seed=23, strength=0.12)
    st.face_texture = metal
    st.title_radius, st.frame_radius = 4.0, 2.0
    for look in st.title_look:
        look['texture'], look['texture_alpha'] = light_metal, 0.55
        look['light'] = (WHITE, 0.9)
    st.title_line = [rgb('#a4a8ae'), rgb('#7c8188')]
    st.titlebar_plate = [{'fill': rgb('#5d636a'), 'alpha': 0.08, 'border': rgb('#50565d'), 'border_alpha': 0.25,
                          'shade': (WHITE, 0.8)},
                         {'fill': rgb('#3c4248'), 'alpha': 0.12, 'border': rgb('#3c4248'), 'border_alpha': 0.35,
                          'shade': (WHITE, 0.8)}]
    st.tbtn_radius = 3.0
    st.tbtn[0] = {'fill': stops(rgb('#f4f5f6'), rgb('#c9ccd0')), 'alpha': 0.55, 'border': rgb('#8d9298')}
    st.tbtn_close[0] = st.tbtn[0]
    st.tbtn_glyph = [rgb('#2a2e33'), rgb('#101214'), rgb('#101214')]
    st.tbtn_glyph_shadow = (WHITE, 0.8, 1)
    for look in st.button_looks[:2] + st.button_looks[3:]:
        look['texture'], look['texture_alpha'] = light_metal, 0.3
    st.menu_bar_fill = None
    st.menu_hot_bg = rgb('#cfd9e4')
    st.menu_hot_look = {'fill': stops(rgb('#dde5ee'), rgb('#c6d2de')), 'border': rgb('#7f97b0')}
    st.panel_face = face
    st.panel_look = {'fill': None, 'border': rgb('#9ca1a7'), 'light': (WHITE, 0.9), 'shade': (darker(face, 0.4), 0.4)}
    st.panel_radius = 2.0
    # The value fields are reflective liquid-crystal readouts set into the metal.
    st.bar_bg = rgb('#c3cfae')
    st.bar_text = rgb('#17200c')
    st.bar_radius = 1.0
    st.bar_looks = [{'fill': None, 'border': rgb('#3e4349'), 'bw': 2, 'inset': (rgb('#3a4630'), 0.45)},
                    {'fill': None, 'border': rgb('#2c5f8a'), 'bw': 2, 'inset': (rgb('#3a4630'), 0.45)}]
    st.menu_bar_texture = textures.brushed(96, 24, rgb('#d5d8dc'), seed=31, strength=0.12)
    st.toolbar_fill = st.statusbar_fill = None
    st.statusbar = lighter(face, 0.15)
    return st
