"""Soft grey plastic with rounded corners: the first look of a new install."""
from colors import darker, lighter, rgb
from style import WHITE, Style, stops


def style():
    face = rgb('#e2e3e6')
    st = Style(
        'GrayPlastic', 'Soft grey plastic with rounded corners',
        face=face, text=rgb('#202326'), accent=rgb('#3b6a9c'), accent_text=WHITE,
        ctrl=stops(rgb('#ffffff'), rgb('#eceef0'), rgb('#d9dce0'), rgb('#c9cdd2')), ctrl_border=rgb('#8e939a'),
        ctrl_text=rgb('#1d2024'),
        edit_bg=rgb('#fbfbfc'), edit_text=rgb('#16181b'), edit_border=rgb('#9aa0a7'),
        title=(stops(rgb('#f1f2f4'), rgb('#e1e3e6'), rgb('#d8dadd')),
               stops(rgb('#e4e7ea'), rgb('#cdd1d6'), rgb('#bfc4ca'))),
        title_text=(rgb('#4a4e54'), rgb('#15181b')),
        frame_outer=(rgb('#979ba1'), rgb('#6b7078')),
        menu_bar=rgb('#e6e7ea'), menu_bg=rgb('#f5f5f6'), menu_text=rgb('#1d2024'),
        radius=6.0)
    st.title_radius, st.frame_radius = 8.0, 4.0
    for look in st.title_look:
        look['light'] = (WHITE, 0.8)
        look['gloss'], look['gloss_end'] = 0.35, 0.5
    for look in st.button_looks[:2] + st.button_looks[3:]:
        look['gloss'], look['gloss_end'] = 0.5, 0.5
        look['shade'] = (rgb('#7d838b'), 0.35)
    st.title_line = [rgb('#b9bcc1'), rgb('#8f949b')]
    st.tbtn_radius = 7.5  # round plastic caps
    st.tbtn_size, st.sbtn_size = (23, 17), (17, 15)
    st.tbtn[0] = {'fill': stops(WHITE, rgb('#e9eaec')), 'alpha': 0.45, 'border': rgb('#a7abb1')}
    st.tbtn_close[0] = st.tbtn[0]
    st.tbtn_glyph = [rgb('#3a3e44'), rgb('#15181b'), rgb('#15181b')]
    st.tbtn_glyph_shadow = (WHITE, 0.7, 1)
    st.menu_hot_bg = rgb('#d7e2ee')
    st.menu_hot_look = {'fill': stops(rgb('#e3ebf4'), rgb('#cfdcea')), 'border': rgb('#8fa9c6')}
    st.menu_bar_fill = None
    st.panel_face = lighter(face, 0.3)
    st.panel_look = {'fill': None, 'border': rgb('#a9adb3'), 'light': (WHITE, 0.85), 'shade': (darker(face, 0.3), 0.35)}
    st.panel_radius = 4.0
    st.bar_bg = rgb('#f4f6f8')
    st.bar_text = rgb('#1b2a3a')
    st.bar_radius = 5.0
    st.bar_looks = [{'fill': None, 'border': rgb('#9197a0'), 'inset': (darker(face, 0.6), 0.22)},
                    {'fill': None, 'border': rgb('#3b6a9c'), 'inset': (darker(face, 0.6), 0.22)}]
    st.edit_radius = 3.0
    st.menu_hot_radius = 6.0
    st.selection_radius = 4.0
    st.check_radius = 3.0
    return st
