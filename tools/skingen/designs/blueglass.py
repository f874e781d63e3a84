"""Glassy blues with highlights: a deep blue glass title, light blue glass
buttons and a pale blue client."""
from colors import darker, lighter, mix, rgb
from style import WHITE, Style, stops


def style():
    face = rgb('#dde6f0')
    deep, mid_blue = rgb('#173f73'), rgb('#2a64a8')
    st = Style(
        'BlueGlass', 'Glassy blues with highlights',
        face=face, text=rgb('#10243a'), accent=rgb('#1c5fa6'), accent_text=WHITE,
        ctrl=stops(rgb('#f4f9ff'), rgb('#dbeafb'), rgb('#bcd6f2')), ctrl_border=rgb('#5a82b0'),
        ctrl_text=rgb('#0f2640'),
        edit_bg=rgb('#fbfdff'), edit_text=rgb('#0d1b2b'), edit_border=rgb('#7d9fc6'),
        title=(stops(rgb('#47607f'), rgb('#3b5271')), stops(mid_blue, deep, rgb('#123463'))),
        title_text=(rgb('#e9eef5'), WHITE),
        frame_outer=(rgb('#3d5270'), rgb('#0c2342')),
        menu_bar=rgb('#e3ecf7'), menu_bg=rgb('#f6f9fd'), menu_text=rgb('#0f2640'),
        radius=4.0, gloss=0.45)
    st.title_radius, st.frame_radius = 7.0, 4.0
    for look in st.title_look:
        look['gloss'], look['gloss_end'] = 0.2, 0.48
        look['light'] = (WHITE, 0.5)
    st.title_line = [rgb('#3a5273'), rgb('#0e2a50')]
    st.titlebar_plate = [None, {'fill': rgb('#0a1f3d'), 'alpha': 0.3, 'border': rgb('#7fa6d6'), 'border_alpha': 0.35,
                                'gloss': 0.08}]
    st.tbtn_radius = 4.0
    glass = {'fill': stops(lighter(mid_blue, 0.25), deep), 'alpha': 0.55, 'border': rgb('#8fb3df'),
             'border_alpha': 0.55, 'gloss': 0.3, 'gloss_end': 0.5}
    st.tbtn = [glass,
               {'fill': stops(rgb('#6fa6e6'), rgb('#2a66b0')), 'border': rgb('#bcd6f5'), 'gloss': 0.4},
               {'fill': stops(rgb('#153a6b'), rgb('#22579a')), 'border': rgb('#7fa6d6'), 'inset': (darker(deep, 0.5), 0.5)}]
    red = rgb('#c23a2e')
    st.tbtn_close = [glass,
                     {'fill': stops(rgb('#ec7b6a'), red), 'border': rgb('#f5c1b8'), 'gloss': 0.4},
                     {'fill': stops(darker(red, 0.35), darker(red, 0.1)), 'border': rgb('#e59a8e'),
                      'inset': (darker(red, 0.6), 0.5)}]
    st.tbtn_glyph = [WHITE, WHITE, WHITE]
    st.tbtn_glyph_close = [WHITE, WHITE, WHITE]
    st.tbtn_glyph_shadow = (rgb('#06162b'), 0.6, 1)
    st.button_looks[1].update(fill=stops(rgb('#eef7ff'), rgb('#c7e3ff'), rgb('#a3cdf6')), border=rgb('#3d7cc4'),
                              gloss=0.5)
    st.button_looks[2].update(fill=stops(rgb('#9dbfe4'), rgb('#bcd5ef')), border=rgb('#3a6799'))
    st.button_color = [rgb('#dbeafb'), rgb('#c7e3ff')]
    st.tool_hot_color = st.button_color[1]
    st.menu_bar_fill = None
    st.menu_line = rgb('#a9c1de')
    st.menu_hot_bg = rgb('#cfe2f7')
    st.menu_hot_look = {'fill': stops(rgb('#e6f1fc'), rgb('#c4dbf4')), 'border': rgb('#6f9ccf'), 'gloss': 0.35}
    st.menu_icoline = rgb('#e4edf8')
    st.panel_face = lighter(face, 0.25)
    st.panel_look = {'fill': None, 'border': rgb('#98b3d2'), 'light': (WHITE, 0.95)}
    st.panel_radius = 4.0
    st.group_look = {'fill': None, 'border': rgb('#98b3d2'), 'light': (WHITE, 0.8)}
    st.bar_bg = rgb('#f5f9fe')
    st.bar_text = rgb('#0b2d57')
    st.bar_radius = 4.0
    st.bar_looks = [{'fill': None, 'border': rgb('#6f95c4'), 'inset': (rgb('#1c4a80'), 0.22)},
                    {'fill': None, 'border': rgb('#1c5fa6'), 'inset': (rgb('#1c4a80'), 0.28)}]
    st.selection = ({'fill': stops(rgb('#d5e5f7'), rgb('#bcd4ef')), 'fill_colour': rgb('#c8dcf3'), 'text': rgb('#0f2640'),
                     'border': rgb('#8fb0d6')},
                    {'fill': stops(rgb('#2a6db8'), rgb('#1a5398')), 'fill_colour': rgb('#2260a8'), 'text': WHITE,
                     'border': rgb('#133f75'), 'gloss': 0.12})
    st.check_mark = [rgb('#1c5fa6')] * 3
    st.track_looks = [{'fill': stops(rgb('#cad8e8'), rgb('#e3ebf5'))}, {'fill': stops(rgb('#b3c8e0'), rgb('#cbdaeb'))}]
    st.statusbar = mix(face, rgb('#c3d5ea'), 0.5)
    st.toolbar = face
    return st
