"""Graphite glass with light text: dark frames, a dark client and a cyan
accent."""
from colors import lighter, rgb
from style import BLACK, WHITE, Style, stops


def style():
    face = rgb('#2c3035')
    text = rgb('#e4e7ea')
    st = Style(
        'DarkGlass', 'Graphite glass with light text',
        face=face, text=text, accent=rgb('#1f6f99'), accent_text=WHITE,
        ctrl=stops(rgb('#4d535b'), rgb('#3d4249'), rgb('#33383e')), ctrl_border=rgb('#16191c'),
        ctrl_text=rgb('#eef0f2'),
        edit_bg=rgb('#1d2024'), edit_text=rgb('#e8eaec'), edit_border=rgb('#535a63'),
        title=(stops(rgb('#34383d'), rgb('#2b2e33')), stops(rgb('#454a51'), rgb('#2a2e33'), rgb('#1f2226'))),
        title_text=(rgb('#a9aeb4'), rgb('#f4f6f8')),
        frame_outer=(rgb('#111315'), rgb('#050607')),
        menu_bar=rgb('#25282c'), menu_bg=rgb('#2b2f34'), menu_text=rgb('#e4e7ea'),
        radius=3.0, gloss=0.12)
    st.title_radius, st.frame_radius = 6.0, 3.0
    for look in st.title_look:
        look['gloss'], look['gloss_end'] = 0.09, 0.5
        look['light'] = (WHITE, 0.18)
    st.title_line = [rgb('#15171a'), rgb('#0c0d0f')]
    st.frame[0][3] = st.frame[1][3] = rgb('#16181b')
    st.titlebar_plate = [None, {'fill': BLACK, 'alpha': 0.28, 'border': WHITE, 'border_alpha': 0.08}]
    glass = {'fill': stops(rgb('#5a6069'), rgb('#30343a')), 'alpha': 0.6, 'border': rgb('#0b0c0e'), 'gloss': 0.12}
    st.tbtn = [glass,
               {'fill': stops(rgb('#6c737d'), rgb('#414750')), 'border': rgb('#0b0c0e'), 'light': (WHITE, 0.3),
                'gloss': 0.15},
               {'fill': stops(rgb('#1d2024'), rgb('#2c3035')), 'border': rgb('#050607'), 'inset': (BLACK, 0.5)}]
    red = rgb('#b3362b')
    st.tbtn_close = [glass,
                     {'fill': stops(rgb('#d8574a'), red), 'border': rgb('#2a0c09'), 'light': (WHITE, 0.3), 'gloss': 0.15},
                     {'fill': stops(rgb('#6e1f18'), rgb('#8e2a21')), 'border': rgb('#1a0705'), 'inset': (BLACK, 0.5)}]
    st.tbtn_glyph = [rgb('#d7dbe0'), WHITE, WHITE]
    st.tbtn_glyph_close = [rgb('#d7dbe0'), WHITE, WHITE]
    st.tbtn_glyph_shadow = (BLACK, 0.6, 1)
    for look in st.button_looks:
        look['light'] = (WHITE, 0.22)
    st.button_looks[1]['fill'] = stops(rgb('#5c636c'), rgb('#4a5058'), rgb('#3f444b'))
    st.button_looks[1]['border'] = rgb('#0b0c0e')
    st.button_color[1] = rgb('#4a5058')
    st.tool_hot_color = st.button_color[1]
    st.button_looks[2]['inset'] = (BLACK, 0.45)
    st.button_looks[3]['border'] = rgb('#3aa0d0')
    st.menu_line = rgb('#15171a')
    st.menu_hot_bg = rgb('#3a4d5c')
    st.menu_hot_text = st.menu_line_hot_text = WHITE
    st.menu_hot_look = {'fill': stops(rgb('#43596a'), rgb('#344655')), 'border': rgb('#5f8099')}
    st.menu_border = rgb('#101214')
    st.menu_icoline = rgb('#25292d')
    st.menu_divider = [rgb('#1a1d20'), rgb('#3b4047')]
    st.menu_caption_bg = rgb('#35424e')
    st.menu_check = [rgb('#8fd3f0')] * 3
    st.panel_face = rgb('#33373d')
    st.panel_low_face = rgb('#272a2f')
    st.panel_look = {'fill': None, 'border': rgb('#17191c'), 'light': (WHITE, 0.12)}
    st.panel_low_look = {'fill': None, 'border': rgb('#17191c'), 'inset': (BLACK, 0.3)}
    st.group_look = {'fill': None, 'border': rgb('#4a5058'), 'shade': (BLACK, 0.3)}
    st.group_text = rgb('#9fd9f2')
    st.bar_bg = rgb('#0f1113')
    st.bar_text = rgb('#7fdcff')
    st.bar_looks = [{'fill': None, 'border': rgb('#060708'), 'inset': (BLACK, 0.6), 'shade': (WHITE, 0.12)},
                    {'fill': None, 'border': rgb('#2a8fbf'), 'inset': (BLACK, 0.6)}]
    st.edit_looks = [{'fill': None, 'border': rgb('#535a63')}, {'fill': None, 'border': rgb('#3aa0d0')}]
    st.check_looks = [{'fill': stops(rgb('#1b1e22'), rgb('#2a2e33')), 'border': rgb('#666d77')},
                      {'fill': stops(rgb('#1b1e22'), rgb('#24343f')), 'border': rgb('#3aa0d0')},
                      {'fill': stops(rgb('#3a4047'), rgb('#1b1e22')), 'border': rgb('#3aa0d0')}]
    st.check_mark = [rgb('#7fdcff')] * 3
    st.check_grayed = [rgb('#7d848d')] * 3
    st.selection = ({'fill': rgb('#3b4450'), 'fill_colour': rgb('#3b4450'), 'text': rgb('#eef0f2')},
                    {'fill': stops(rgb('#2581b0'), rgb('#1b6690')), 'fill_colour': rgb('#1f6f99'), 'text': WHITE,
                     'border': rgb('#124a67')})
    st.hint_bg, st.hint_text, st.hint_border = rgb('#3a3f46'), rgb('#f0f2f4'), rgb('#0c0d0f')
    st.track = [rgb('#1f2226'), rgb('#181a1d')]
    st.track_looks = [{'fill': stops(rgb('#1a1c1f'), rgb('#25282c'))}, {'fill': stops(rgb('#121416'), rgb('#1c1e21'))}]
    st.grip_colour = [rgb('#9aa1aa'), rgb('#c9ced4')]
    st.arrow = [rgb('#cfd4d9'), WHITE, WHITE]
    st.header_looks = [{'fill': stops(rgb('#41464d'), rgb('#33373d')), 'border': rgb('#17191c')},
                       {'fill': stops(rgb('#4e545c'), rgb('#3d4249')), 'border': rgb('#17191c')},
                       {'fill': stops(rgb('#26292d'), rgb('#30343a')), 'border': rgb('#17191c')}]
    st.header_color = [rgb('#3a3e44'), rgb('#454a52')]
    st.page_face = rgb('#33373d')
    st.page_look = {'fill': None, 'border': rgb('#17191c')}
    st.tab_looks = [{'fill': stops(rgb('#2f3338'), rgb('#26292d')), 'border': rgb('#17191c')},
                    {'fill': stops(rgb('#454a51'), rgb('#363a40')), 'border': rgb('#17191c')},
                    {'fill': rgb('#33373d'), 'border': rgb('#17191c'), 'extend': 3, 'light': (WHITE, 0.2)}]
    st.tab_color = [rgb('#2b2e33'), rgb('#33373d')]
    st.toolbar = st.statusbar = rgb('#25282c')
    st.bar_line, st.bar_line_light = rgb('#131517'), rgb('#3b4047')
    st.link, st.link_hot = rgb('#7fd0f2'), rgb('#b5e6fa')
    st.mdi_face = rgb('#1d2023')
    st.splitter, st.splitter_hot = face, lighter(face, 0.1)
    st.channel_looks = [{'fill': rgb('#17191c'), 'border': rgb('#4a5058')},
                        {'fill': rgb('#2a8fbf'), 'border': rgb('#124a67')}]
    st.tick = rgb('#8a919a')
    st.grip_light, st.grip_dark = rgb('#4a5058'), rgb('#111315')
    st.gauge_look = {'fill': None, 'border': rgb('#535a63')}
    return st
