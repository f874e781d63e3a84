"""Warm wood frames around cream panels: a walnut title and frame whose
grain follows each side, cream controls and brown text."""
import textures
from colors import darker, lighter, rgb
from style import Style, stops

CREAM = rgb('#fff4dc')


def style():
    face = rgb('#efe4cc')
    walnut_light, walnut_dark = rgb('#7b4b27'), rgb('#4f2c14')
    st = Style(
        'Wood', 'Warm wood frames around cream panels',
        face=face, text=rgb('#3a2413'), accent=rgb('#8e4f17'), accent_text=rgb('#ffffff'),
        ctrl=stops(rgb('#fdf7ea'), rgb('#f1e3c6'), rgb('#e2cda6')), ctrl_border=rgb('#8c6640'),
        ctrl_text=rgb('#3a2413'),
        edit_bg=rgb('#fffbf2'), edit_text=rgb('#2e1c0e'), edit_border=rgb('#a0805c'),
        title=(walnut_light, walnut_light), title_text=(rgb('#f0e4d0'), CREAM),
        frame_outer=(rgb('#3b2212'), rgb('#2a160a')),
        menu_bar=rgb('#e6d6b6'), menu_bg=rgb('#fbf5e8'), menu_text=rgb('#3a2413'),
        radius=4.0)
    grain = textures.wood(64, 32, walnut_light, walnut_dark, seed=5)
    pale = textures.wood(64, 32, rgb('#765a44'), rgb('#584030'), seed=5)
    st.tile_period = 64
    st.title_radius, st.frame_radius = 6.0, 4.0
    st.title_look = [{'fill': pale, 'overlay': [(0.0, (255, 255, 255, 0.12)), (0.5, (0, 0, 0, 0.0)),
                                                (1.0, (0, 0, 0, 0.18))], 'light': ((255, 236, 200), 0.25)},
                     {'fill': grain, 'overlay': [(0.0, (255, 230, 190, 0.16)), (0.5, (0, 0, 0, 0.0)),
                                                 (1.0, (0, 0, 0, 0.22))], 'light': ((255, 230, 190), 0.35)}]
    st.title_color = [rgb('#7d5c41'), rgb('#65391b')]
    st.title_line = [rgb('#3b2212'), rgb('#2a160a')]
    across = [(pale, pale.transposed()), (grain, grain.transposed())]
    st.frame = [[rgb('#3b2212'), across[0], across[0], rgb('#5a4030')],
                [rgb('#2a160a'), across[1], across[1], rgb('#3f2410')]]
    brass = {'fill': stops(rgb('#e9c987'), rgb('#b98a45')), 'border': rgb('#5a3a16'), 'light': ((255, 248, 225), 0.6)}
    st.tbtn_radius = 3.0
    st.tbtn = [None, brass,
               {'fill': stops(rgb('#a47636'), rgb('#c99c57')), 'border': rgb('#4a2e10'), 'inset': ((60, 30, 5), 0.4)}]
    st.tbtn_close = [None, {'fill': stops(rgb('#c0503c'), rgb('#8e2e20')), 'border': rgb('#3e120a'),
                            'light': ((255, 220, 200), 0.4)},
                     {'fill': stops(rgb('#6e2116'), rgb('#8e2e20')), 'border': rgb('#2e0c06')}]
    st.tbtn_glyph = [CREAM, rgb('#3a2108'), rgb('#3a2108')]
    st.tbtn_glyph_close = [CREAM, CREAM, CREAM]
    st.tbtn_glyph_shadow = (rgb('#1e0f05'), 0.6, 1)
    st.menu_line = rgb('#b89a6e')
    st.menu_bar_fill = None
    st.menu_hot_bg = rgb('#e2c999')
    st.menu_hot_look = {'fill': stops(rgb('#ecd7ad'), rgb('#dcc08c')), 'border': rgb('#a88351')}
    st.menu_border = rgb('#6a4526')
    st.menu_icoline = rgb('#f2e7d0')
    st.menu_check = [rgb('#6b3c16')] * 3
    st.panel_face = rgb('#f6eedb')
    st.panel_look = {'fill': None, 'border': rgb('#c2a47c'), 'light': ((255, 255, 255), 0.7)}
    st.panel_low_look = {'fill': None, 'border': rgb('#b0906a'), 'inset': ((80, 50, 20), 0.12)}
    st.group_look = {'fill': None, 'border': rgb('#b99a72'), 'light': ((255, 255, 255), 0.6)}
    st.group_text = rgb('#6b3c16')
    st.bar_bg = rgb('#fffaf0')
    st.bar_text = rgb('#3a1e08')
    st.bar_looks = [{'fill': None, 'border': rgb('#8c6640'), 'inset': ((90, 55, 20), 0.22)},
                    {'fill': None, 'border': rgb('#8e4f17'), 'inset': ((90, 55, 20), 0.22)}]
    st.check_mark = [rgb('#7a3f0c')] * 3
    st.selection = ({'fill': rgb('#ead7b4'), 'fill_colour': rgb('#ead7b4'), 'text': rgb('#3a2413')},
                    {'fill': stops(rgb('#9a5a22'), rgb('#7e4512')), 'fill_colour': rgb('#8e4f17'),
                     'text': rgb('#ffffff')})
    st.hint_bg, st.hint_text, st.hint_border = rgb('#fff6dc'), rgb('#3a2413'), rgb('#8c6640')
    st.statusbar = darker(face, 0.04)
    st.toolbar = face
    st.track_looks = [{'fill': stops(rgb('#e0d0ae'), rgb('#ecdfc4'))}, {'fill': stops(rgb('#d0bb92'), rgb('#e0d0ae'))}]
    st.link, st.link_hot = rgb('#7a3f0c'), rgb('#4e2604')
    st.tab_looks[2]['fill'] = lighter(face, 0.3)
    return st
