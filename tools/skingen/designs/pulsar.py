"""Modern and flat with a strong accent: a violet title and menu line,
violet hot buttons, and a white client."""
from colors import rgb
from style import WHITE, Style, stops


def style():
    violet, deep = rgb('#6326c9'), rgb('#4a1a9c')
    st = Style(
        'Pulsar', 'Modern flat design with a strong violet accent',
        face=rgb('#f7f6fb'), text=rgb('#1e1b26'), accent=violet, accent_text=WHITE,
        ctrl=stops(WHITE, rgb('#fbfafe')), ctrl_border=rgb('#c6c0d6'), ctrl_text=rgb('#1e1b26'),
        edit_bg=WHITE, edit_text=rgb('#17151d'), edit_border=rgb('#c6c0d6'),
        title=(rgb('#6c6488'), violet), title_text=(WHITE, WHITE),
        frame_outer=(rgb('#5a5375'), deep),
        menu_bar=violet, menu_bg=WHITE, menu_text=rgb('#1e1b26'),
        radius=4.0)
    st.title_radius, st.frame_radius = 0.0, 0.0
    for look in st.title_look:
        look['light'] = None
    st.frame = [[rgb('#5a5375'), rgb('#6c6488'), rgb('#6c6488'), rgb('#6c6488')],
                [deep, violet, violet, violet]]
    st.title_color = [rgb('#6c6488'), violet]
    st.tbtn_pad, st.tbtn_radius = 0, 0.0
    st.tbtn_size, st.sbtn_size = (30, 18), (20, 16)
    st.tbtn = [None, {'fill': WHITE, 'alpha': 0.2}, {'fill': rgb('#2b0f5e'), 'alpha': 0.45}]
    st.tbtn_close = [None, {'fill': rgb('#e0304a')}, {'fill': rgb('#b0203a')}]
    st.tbtn_glyph = [WHITE, WHITE, WHITE]
    st.tbtn_glyph_close = [WHITE, WHITE, WHITE]
    st.tbtn_line, st.tbtn_icon = 1.4, 9.0
    st.menu_line_text = st.menu_line_hot_text = st.menu_hot_text = WHITE
    st.menu_line = deep
    st.menu_hot_bg = rgb('#3d1585')
    st.menu_hot_look = {'fill': rgb('#3d1585')}
    st.menu_hot_radius = 0.0
    st.menu_border = rgb('#c6c0d6')
    st.menu_icoline = rgb('#f3f0fb')
    st.menu_caption_bg = rgb('#ece6f9')
    st.menu_caption_text = rgb('#1e1b26')
    st.menu_check = [violet, WHITE, WHITE]
    st.menu_divider = [rgb('#e4dff0'), WHITE]
    st.button_looks = [{'fill': WHITE, 'border': rgb('#c6c0d6')},
                       {'fill': violet, 'border': violet},
                       {'fill': deep, 'border': deep},
                       {'fill': rgb('#5420b0'), 'border': deep}]
    st.button_color = [WHITE, violet]
    st.button_text = (rgb('#1e1b26'), WHITE)
    st.tool_looks = st.button_looks[1:3]
    st.tool_hot_color, st.tool_hot_text = violet, WHITE
    st.combo_btn_looks = [{'fill': None}, {'fill': rgb('#ece6f9')}, {'fill': rgb('#dcd2f4')}]
    st.combo_btn_radius = 2.0
    st.arrow = [rgb('#4a4458'), violet, deep]
    st.arrow_style = 'chevron'
    st.scroll_button_looks = [{'fill': rgb('#f1eff6')}, {'fill': rgb('#e4def2')}, {'fill': rgb('#d3c8ee')}]
    st.scroll_button_radius = 0.0
    st.slider_looks = [{'fill': rgb('#c9c1dd')}, {'fill': violet}]
    st.slider_color = [rgb('#c9c1dd'), violet]
    st.slider_radius = 4.0
    st.track_looks = [{'fill': rgb('#f1eff6')}, {'fill': rgb('#e4def2')}]
    st.track = [rgb('#f1eff6'), rgb('#e4def2')]
    st.grip_colour = [rgb('#f1eff6'), WHITE]
    st.panel_face = WHITE
    st.panel_look = {'fill': None, 'border': rgb('#e2ddec')}
    st.panel_radius = 4.0
    st.panel_low_look = {'fill': None, 'border': rgb('#d7d1e4')}
    st.group_look = {'fill': None, 'border': rgb('#d7d1e4')}
    st.group_text = rgb('#4a1a9c')
    st.bar_bg = rgb('#f3f0fb')
    st.bar_text = rgb('#2a0f66')
    st.bar_radius = 3.0
    st.bar_looks = [{'fill': None, 'border': rgb('#ddd5f1')}, {'fill': None, 'border': violet}]
    st.edit_radius = 3.0
    st.edit_looks = [{'fill': None, 'border': rgb('#c6c0d6')}, {'fill': None, 'border': violet, 'bw': 2}]
    st.check_looks = [{'fill': WHITE, 'border': rgb('#8f87a6')}, {'fill': WHITE, 'border': violet},
                      {'fill': rgb('#ece6f9'), 'border': deep}]
    st.check_mark = [violet] * 3
    st.check_line = 2.0
    st.selection = ({'fill': rgb('#ece6f9'), 'fill_colour': rgb('#ece6f9'), 'text': rgb('#1e1b26')},
                    {'fill': violet, 'fill_colour': violet, 'text': WHITE})
    st.selection_radius = 0.0
    st.header_looks = [{'fill': rgb('#f7f6fb'), 'border': rgb('#e2ddec')}, {'fill': rgb('#ece6f9'), 'border': rgb('#e2ddec')},
                       {'fill': rgb('#dcd2f4'), 'border': rgb('#e2ddec')}]
    st.tab_looks = [{'fill': rgb('#efedf5'), 'border': rgb('#e2ddec')},
                    {'fill': rgb('#ece6f9'), 'border': rgb('#e2ddec')},
                    {'fill': WHITE, 'border': rgb('#d7d1e4'), 'extend': 3}]
    st.tab_text = (rgb('#4a4458'), deep)
    st.page_face = WHITE
    st.page_look = {'fill': None, 'border': rgb('#d7d1e4')}
    st.hint_bg, st.hint_text, st.hint_border = rgb('#1e1b26'), WHITE, rgb('#1e1b26')
    st.statusbar, st.statusbar_text = rgb('#efedf5'), rgb('#2d2838')
    st.channel_looks = [{'fill': rgb('#e4def2')}, {'fill': violet}]
    st.link, st.link_hot = rgb('#5420b0'), rgb('#3d1585')
    return st
