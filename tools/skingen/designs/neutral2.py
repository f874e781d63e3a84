"""Quiet, light and flat: warm off-white, thin lines and a muted slate
accent, no gloss and few gradients."""
from colors import rgb
from style import WHITE, Style, stops


def style():
    face = rgb('#f1f0ec')
    line = rgb('#b4b1a9')
    st = Style(
        'Neutral2', 'Quiet light neutral, flat',
        face=face, text=rgb('#262624'), accent=rgb('#48636b'), accent_text=WHITE,
        ctrl=stops(rgb('#fbfaf8'), rgb('#f6f5f2')), ctrl_border=line, ctrl_text=rgb('#22221f'),
        edit_bg=WHITE, edit_text=rgb('#1e1e1c'), edit_border=line,
        title=(rgb('#efeeea'), rgb('#e4e2dc')),
        title_text=(rgb('#6b6a65'), rgb('#242422')),
        frame_outer=(rgb('#c9c6bf'), rgb('#a9a59c')),
        menu_bar=rgb('#f1f0ec'), menu_bg=rgb('#fbfaf8'), menu_text=rgb('#262624'),
        radius=2.0)
    st.title_radius, st.frame_radius = 3.0, 2.0
    for look in st.title_look:
        look['light'] = None
    st.frame = [[rgb('#c9c6bf'), rgb('#efeeea'), rgb('#efeeea'), rgb('#d6d3cc')],
                [rgb('#a9a59c'), rgb('#e4e2dc'), rgb('#e4e2dc'), rgb('#cfccc4')]]
    st.title_line = [rgb('#dcd9d2'), rgb('#cfccc4')]
    st.tbtn_radius = 2.0
    flat_hot = {'fill': rgb('#d8d5ce')}
    st.tbtn = [None, flat_hot, {'fill': rgb('#c6c2ba')}]
    st.tbtn_close = [None, {'fill': rgb('#c4453a')}, {'fill': rgb('#a23a31')}]
    st.tbtn_glyph = [rgb('#3d3c38'), rgb('#1f1f1d'), rgb('#1f1f1d')]
    st.tbtn_glyph_close = [rgb('#3d3c38'), WHITE, WHITE]
    st.tbtn_line = 1.3
    st.button_looks = [{'fill': rgb('#fbfaf8'), 'border': line},
                       {'fill': WHITE, 'border': rgb('#8a877f')},
                       {'fill': rgb('#e7e5e0'), 'border': rgb('#8a877f')},
                       {'fill': rgb('#fbfaf8'), 'border': rgb('#48636b'), 'bw': 2}]
    st.button_color = [rgb('#fbfaf8'), WHITE]
    st.tool_looks = st.button_looks[1:3]
    st.combo_btn_looks = [{'fill': None}] + st.button_looks[1:3]
    st.scroll_button_looks = [{'fill': rgb('#f1f0ec')}, {'fill': rgb('#e2e0da')}, {'fill': rgb('#d3d0c9')}]
    st.slider_looks = [{'fill': rgb('#cfccc4')}, {'fill': rgb('#aeaaa1')}]
    st.slider_radius = 2.0
    st.track_looks = [{'fill': rgb('#f1f0ec')}, {'fill': rgb('#e4e2dc')}]
    st.track = [rgb('#f1f0ec'), rgb('#e4e2dc')]
    st.grip_colour = [rgb('#f6f5f2'), WHITE]
    st.arrow = [rgb('#4f4e49'), rgb('#22221f'), rgb('#22221f')]
    st.arrow_style = 'chevron'
    st.menu_line = rgb('#dcd9d2')
    st.menu_hot_bg = rgb('#e3e6e5')
    st.menu_hot_look = {'fill': rgb('#e3e6e5')}
    st.menu_hot_radius = 2.0
    st.menu_border = rgb('#c9c6bf')
    st.menu_icoline = rgb('#f4f3f0')
    st.panel_face = rgb('#f7f6f3')
    st.panel_look = {'fill': None, 'border': rgb('#d6d3cc')}
    st.panel_radius = 2.0
    st.panel_low_look = {'fill': None, 'border': rgb('#c9c6bf')}
    st.group_look = {'fill': None, 'border': rgb('#d0cdc6')}
    st.bar_bg = WHITE
    st.bar_text = rgb('#1f2a2e')
    st.bar_radius = 2.0
    st.bar_looks = [{'fill': None, 'border': rgb('#c9c6bf')}, {'fill': None, 'border': rgb('#48636b')}]
    st.header_looks = [{'fill': rgb('#f6f5f2'), 'border': rgb('#d6d3cc')}, {'fill': WHITE, 'border': rgb('#d6d3cc')},
                       {'fill': rgb('#e7e5e0'), 'border': rgb('#d6d3cc')}]
    st.tab_looks = [{'fill': rgb('#eae8e3'), 'border': rgb('#d0cdc6')},
                    {'fill': rgb('#f6f5f2'), 'border': rgb('#d0cdc6')},
                    {'fill': WHITE, 'border': rgb('#c2beb6'), 'extend': 3}]
    st.page_face = WHITE
    st.page_look = {'fill': None, 'border': rgb('#c2beb6')}
    st.check_looks = [{'fill': WHITE, 'border': rgb('#a29e95')}, {'fill': WHITE, 'border': rgb('#48636b')},
                      {'fill': rgb('#e7e5e0'), 'border': rgb('#48636b')}]
    st.check_mark = [rgb('#2f4a52')] * 3
    st.selection = ({'fill': rgb('#e2e6e6'), 'fill_colour': rgb('#e2e6e6'), 'text': rgb('#262624')},
                    {'fill': rgb('#48636b'), 'fill_colour': rgb('#48636b'), 'text': WHITE})
    st.hint_bg, st.hint_border = rgb('#fbfaf8'), rgb('#b4b1a9')
    st.statusbar = rgb('#eae8e3')
    return st
