"""Sections of the controls: containers, buttons, edits, combo boxes,
check boxes, group boxes, selection, tool and status bars, tabs."""
from raster import Canvas
from widgets import VEIL, frames, margin_for, nine, rotate


def _veiled(w, h):
    c = Canvas(w, h)
    c.fill_rect(0, 0, w, h, (0.0, 0.0, 0.0), VEIL)
    return c


def build_containers(skin, st):
    # Panels never turn hot, but the program's bit buttons of the main window
    # use this section too: they get a button's hot, pressed and default looks.
    normal, hot = st.button_text
    nine(skin.section('PANEL', STATES=4, COLOR=st.panel_face, FONTCOLOR=st.text, HOTCOLOR=st.button_color[1],
                      HOTFONTCOLOR=hot), 'BORDERSMASK', [st.panel_look] + st.button_looks[1:3] + st.button_looks[1:2],
         st.panel_radius, 4, fill=5)
    nine(skin.section('PANEL_LOW', STATES=1, COLOR=st.panel_low_face, FONTCOLOR=st.text),
         'BORDERSMASK', [st.panel_low_look], st.panel_radius, 4)
    skin.section('TRANSPARENT', STATES=1, TRANSPARENCY=100, COLOR=st.face, FONTCOLOR=st.text)
    nine(skin.section('GROUPBOX', STATES=1, TRANSPARENCY=100, COLOR=st.face, FONTCOLOR=st.group_text),
         'BORDERSMASK', [st.group_look], st.group_radius, 5)
    nine(skin.section('BAR', STATES=2, COLOR=st.bar_bg, HOTCOLOR=st.bar_bg, FONTCOLOR=st.bar_text,
                      HOTFONTCOLOR=st.bar_text), 'BORDERSMASK', st.bar_looks, st.bar_radius, 4)
    skin.section('MDIAREA', STATES=1, COLOR=st.mdi_face, FONTCOLOR=st.text)
    skin.section('SPLITTER', STATES=2, COLOR=st.splitter, HOTCOLOR=st.splitter_hot, FONTCOLOR=st.text,
                 HOTFONTCOLOR=st.text)


def build_buttons(skin, st):
    normal, hot = st.button_text
    b = skin.section('BUTTON', STATES=4, COLOR=st.button_color[0], HOTCOLOR=st.button_color[1],
                     FONTCOLOR=normal, HOTFONTCOLOR=hot)
    nine(b, 'BORDERSMASK', st.button_looks, st.button_radius, 6, 8, fill=5)
    nine(skin.section('SPEEDBUTTON', STATES=3, COLOR=st.button_color[0], HOTCOLOR=st.button_color[1],
                      FONTCOLOR=normal, HOTFONTCOLOR=hot), 'BORDERSMASK', st.button_looks[:3], st.button_radius, 6,
         fill=5)
    small = min(st.button_radius, 3.0)
    for name in ('SPEEDBUTTON_SMALL', 'UPDOWNBTN'):
        nine(skin.section(name, STATES=3, COLOR=st.button_color[0], HOTCOLOR=st.button_color[1],
                          FONTCOLOR=normal, HOTFONTCOLOR=hot), 'BORDERSMASK', st.button_looks[:3], small, 3, fill=5)
    m = margin_for(st.button_radius, 6)
    tool = [_veiled(2 * m + 8, 2 * m + 8)] + frames(2 * m + 8, 2 * m + 8, st.tool_looks, st.button_radius)
    skin.section('TOOLBUTTON', STATES=3, COLOR=st.toolbar, TRANSPARENCY=100, HOTCOLOR=st.tool_hot_color,
                 HOTTRANSPARENCY=0, FONTCOLOR=st.toolbar_text, HOTFONTCOLOR=st.tool_hot_text
                 ).border('BORDERSMASK', tool, (m, m, m, m), fill=7)
    skin.section('WEBBUTTON', STATES=2, TRANSPARENCY=100, HOTTRANSPARENCY=100, COLOR=st.face,
                 HOTCOLOR=st.face, FONTCOLOR=st.link, HOTFONTCOLOR=st.link_hot)
    nine(skin.section('COLHEADER', STATES=3, COLOR=st.header_color[0], HOTCOLOR=st.header_color[1],
                      FONTCOLOR=st.header_text, HOTFONTCOLOR=st.header_text), 'BORDERSMASK', st.header_looks, 0.0,
         fill=5)


def build_edits(skin, st):
    nine(skin.section('EDIT', STATES=2, COLOR=st.edit_bg, HOTCOLOR=st.edit_bg, FONTCOLOR=st.edit_text,
                      HOTFONTCOLOR=st.edit_text), 'BORDERSMASK', st.edit_looks, st.edit_radius)
    combo = skin.section('COMBOBOX', PARENTCLASS='EDIT', STATES=2, COLOR=st.edit_bg, HOTCOLOR=st.edit_bg,
                         FONTCOLOR=st.edit_text, HOTFONTCOLOR=st.edit_text)
    combo.glyph('GLYPHMASK', st.arrow_frames('down', 9))
    nine(skin.section('COMBOBTN', STATES=3, COLOR=st.combo_btn_color, HOTCOLOR=st.button_color[1],
                      FONTCOLOR=st.arrow[0], HOTFONTCOLOR=st.arrow[1]), 'BORDERSMASK', st.combo_btn_looks,
         st.combo_btn_radius, 4, fill=5)
    skin.section('CHECKBOX', STATES=2, TRANSPARENCY=100, HOTTRANSPARENCY=100, COLOR=st.face,
                 HOTCOLOR=st.face, FONTCOLOR=st.text, HOTFONTCOLOR=st.check_hot_text)
    normal, focused = st.selection
    sel = skin.section('SELECTION', STATES=2, COLOR=normal['fill_colour'], HOTCOLOR=focused['fill_colour'],
                       FONTCOLOR=normal['text'], HOTFONTCOLOR=focused['text'])
    nine(sel, 'BORDERSMASK', [normal, focused], st.selection_radius, fill=5)


def build_bars(skin, st):
    tb = skin.section('TOOLBAR', STATES=1, COLOR=st.toolbar, FONTCOLOR=st.toolbar_text)
    sb = skin.section('STATUSBAR', STATES=1, COLOR=st.statusbar, FONTCOLOR=st.statusbar_text)
    line = _veiled(6, 6)
    line.fill_rect(0, 5, 6, 6, st.bar_line)
    tb.border('BORDERSMASK', [line], (2, 2, 2, 2), fill=1)
    top = _veiled(6, 6)
    top.fill_rect(0, 0, 6, 1, st.bar_line)
    top.fill_rect(0, 1, 6, 2, st.bar_line_light)
    sb.border('BORDERSMASK', [top], (2, 2, 2, 2), fill=1)
    div = Canvas(2, 8)
    div.fill_rect(0, 0, 1, 8, st.bar_line)
    div.fill_rect(1, 0, 2, 8, st.bar_line_light)
    skin.section('DIVIDER', STATES=1, COLOR=st.toolbar).border('BORDERSMASK', [div], (1, 1, 1, 1), fill=1)
    nine(skin.section('GAUGE', STATES=1, COLOR=st.gauge_track, FONTCOLOR=st.gauge_text),
         'BORDERSMASK', [st.gauge_look], st.edit_radius)
    track = skin.section('TRACKBAR', STATES=2, TRANSPARENCY=100, HOTTRANSPARENCY=100, COLOR=st.face,
                         HOTCOLOR=st.face, FONTCOLOR=st.text, HOTFONTCOLOR=st.text)
    track.border('SLIDERCHANNEL', frames(12, 5, st.channel_looks, 2.0), (3, 2, 3, 2), fill=1)
    track.glyph('SLIDERMASK', frames(11, 19, st.button_looks[:3], 4.0))
    track.glyph('SLIDERVMASK', [f.transposed() for f in frames(11, 19, st.button_looks[:3], 4.0)])
    tick = Canvas(1, 4, st.tick, 1.0)
    track.glyph('TICKHORZ', [tick], masked=False)
    track.glyph('TICKVERT', [tick.transposed()], masked=False)


def build_tabs(skin, st):
    nine(skin.section('PAGECONTROL', STATES=1, COLOR=st.page_face, FONTCOLOR=st.text),
         'BORDERSMASK', [st.page_look], 2.0)
    skin.section('TABSHEET', STATES=1, COLOR=st.page_face, FONTCOLOR=st.text)
    top = frames(24, 21, st.tab_looks, (3.0, 3.0, 0.0, 0.0))
    for side, name in (('top', 'TABTOP'), ('bottom', 'TABBOTTOM'), ('left', 'TABLEFT'), ('right', 'TABRIGHT')):
        pics = [rotate(p, side) for p in top]
        margins = {'top': (5, 5, 5, 2), 'bottom': (5, 2, 5, 5), 'left': (5, 5, 2, 5), 'right': (2, 5, 5, 5)}[side]
        skin.section(name, STATES=3, COLOR=st.tab_color[0], HOTCOLOR=st.tab_color[1], FONTCOLOR=st.tab_text[0],
                     HOTFONTCOLOR=st.tab_text[1]).border('BORDERSMASK', pics, margins, fill=5)
