"""A mock main window and a dialog drawn from a skin's files: the frame,
title and buttons, the menu line with a hot item and an open pop-up, a
panel with the four button states, three value fields, an edit, a combo
box, check boxes and radio buttons, a group box, a list with selection
and a scroll bar, a status bar, and a dialog with tabs and a hint."""
from imagefiles import png
from preview.painter import Painter, Target
from reader import LoadedSkin

DESKTOP = (74, 104, 132)
MENU_H, DLG_FRAME = 19, 3


def window(p, r, active, title, small, frame_w, menu=None, hot_item=None, dialog=False):
    """Frame, title band, title buttons and caption; answers the client rect."""
    sk = p.skin
    form, tsec = ('DIALOG', 'DIALOGTITLE') if dialog else ('FORM', 'FORMTITLE')
    state = 1 if active else 0
    desktop = p.t.snapshot(r)
    p.section(form, state, r)
    band = (r[0], r[1], r[2], r[1] + frame_w + 19)
    p.section(tsec, state, band)
    names = ['SICONCLOSE'] if small else ['BICONCLOSE', 'BICONMAX', 'BICONMIN']
    imgs = [sk.image('GLOBALINFO', n) for n in names]
    bar = sk.image('FORM', 'TITLEBAR')
    buttons_w = sum(i.width for i in imgs)
    if bar:
        p.border(bar, (r[2] - 2 * bar.width - buttons_w, r[1], r[2], band[3]), state)
    x = r[2] - frame_w
    centre = r[1] + 19 // 2 + frame_w // 2
    for i, img in enumerate(imgs):
        x -= img.width
        st = 1 if (active and i == 1) else 0
        p.glyph(img, x, centre - img.height // 2, st, dim=not active)
    text_sec = 'CAPTION' if 'CAPTION' in sk.sections else tsec
    p.section_text(text_sec, active, title, (r[0] + frame_w + 8, band[1], x - 8, band[3] + 1), bold=True)
    _region(p, r, desktop)
    top = band[3]
    client = (r[0] + frame_w, top + (MENU_H if menu else 0), r[2] - frame_w, r[3] - frame_w)
    if not any(sk.look(form, False)[k] for k in ('gradient_percent', 'image_percent')):
        p.t.fill(client, sk.look(form, False)['color'])  # a plain client is filled over the frame
    if menu:
        line = (r[0], top, r[2], top + MENU_H)
        p.section('MENULINE', state, line)
        x = r[0] + frame_w
        spots = []
        for i, item in enumerate(menu):
            w = p.text_width(item) + 14
            cell = (x, top, x + w, top + MENU_H - 1)
            hot = i == hot_item
            p.section('MENUITEM', 1 if hot else 0, cell)
            p.section_text('MENULINE', hot, item, cell, 'center')
            spots.append(cell)
            x += w
        return client, spots
    return client, []


def _region(p, r, desktop):
    """The window region: key pixels in the corners of the frame and the
    title band show the desktop."""
    for sec in ('FORM', 'FORMTITLE'):
        img = p.skin.image(sec, 'BORDERSMASK')
        if not img:
            continue
        wl, wt, wr, wb = img.margins
        corners = [(0, 0, wl, wt, r[0], r[1]), (img.width - wr, 0, wr, wt, r[2] - wr, r[1])]
        if sec == 'FORM':
            corners += [(0, img.height - wb, wl, wb, r[0], r[3] - wb),
                        (img.width - wr, img.height - wb, wr, wb, r[2] - wr, r[3] - wb)]
        for sx, sy, w, h, dx, dy in corners:
            for j in range(h):
                for i in range(w):
                    if p.skin.pixel(img.rect[0] + sx + i, img.rect[1] + sy + j) == (255, 0, 255):
                        p.t.set(dx + i, dy + j, desktop.get((dx + i, dy + j), DESKTOP))


def label(p, sec, s, r, hot=False, align='left', px=12, bold=False):
    p.section(sec, 1 if hot else 0, r)
    p.section_text(sec, hot, s, r, align, px, bold)


def check(p, key, x, y, s, state=0):
    img = p.skin.image('GLOBALINFO', key)
    p.glyph(img, x, y, state)
    p.section_text('CHECKBOX', state == 1, s, (x + img.width + 5, y - 3, x + 160, y + img.height + 3))


def combo(p, r, s):
    p.section('COMBOBOX', 0, r)
    p.section_text('COMBOBOX', False, s, (r[0] + 5, r[1], r[2], r[3]))
    b = (r[2] - 18 - 2, r[1] + 2, r[2] - 2, r[3] - 2)
    p.section('COMBOBTN', 1, b)
    g = p.skin.image('COMBOBOX', 'GLYPHMASK')
    p.glyph(g, b[0] + (b[2] - b[0] - g.width) // 2, r[1] + (r[3] - r[1] - g.height) // 2, 1)


def scroll_v(p, r, hot_part):
    sk = p.skin
    a = r[2] - r[0]
    parts = [('SCROLLBTNTOP', (r[0], r[1], r[2], r[1] + a)),
             ('SCROLLBAR1V', (r[0], r[1] + a, r[2], r[1] + a + 20)),
             ('SCROLLSLIDERV', (r[0], r[1] + a + 20, r[2], r[1] + a + 60)),
             ('SCROLLBAR2V', (r[0], r[1] + a + 60, r[2], r[3] - a)),
             ('SCROLLBTNBOTTOM', (r[0], r[3] - a, r[2], r[3]))]
    for i, (sec, rr) in enumerate(parts):
        state = 1 if i in hot_part else 0
        p.section(sec, state, rr)
        g = sk.image(sec, 'GLYPHMASK')
        if g:
            p.glyph(g, rr[0] + (rr[2] - rr[0] - g.width) // 2, rr[1] + (rr[3] - rr[1] - g.height) // 2, state)


def main_window(p):
    r = (10, 10, 536, 428)
    client, spots = window(p, r, True, 'Дорнека-ХБВ', False, DLG_FRAME,
                           ['Файл', 'Каналы', 'Настройка', 'Справка'], hot_item=1)
    cx, cy = client[0], client[1]
    top = (cx + 8, cy + 8, client[2] - 8, cy + 48)
    p.section('PANEL', 0, top)
    buttons = [('BUTTON', 'Старт', 0), ('BUTTON', 'Наведена', 1), ('BUTTON', 'Нажата', 2),
               ('BUTTON', 'Основная', 3), ('PANEL', 'Добавить', 0), ('PANEL', 'Найти', 1)]
    for i, (sec, s, st) in enumerate(buttons):
        b = (top[0] + 8 + i * 82, top[1] + 8, top[0] + 84 + i * 82, top[1] + 33)
        p.section(sec, st, b)
        p.section_text(sec, st != 0, s, b, 'center')
    for i, value in enumerate(('12.34', '567.80', '-0.05')):
        x = cx + 8 + i * 168
        panel = (x, cy + 58, x + 160, cy + 142)
        p.section('PANEL', 0, panel)
        p.section_text('PANEL', False, 'Канал %d' % (i + 1), (x + 10, cy + 62, x + 150, cy + 80))
        field = (x + 10, cy + 84, x + 150, cy + 132)
        label(p, 'BAR', value, (field[0], field[1], field[2] - 8, field[3]), hot=i == 1, align='right',
              px=24, bold=True)
    y = cy + 154
    p.section_text('TRANSPARENT', False, 'Порт:', (cx + 10, y, cx + 60, y + 21))
    label(p, 'EDIT', ' COM5', (cx + 60, y, cx + 170, y + 21))
    p.section_text('TRANSPARENT', False, 'Скорость:', (cx + 182, y, cx + 250, y + 21))
    combo(p, (cx + 250, y, cx + 360, y + 21), '9600')
    g = (cx + 8, y + 32, cx + 250, y + 150)
    p.section('GROUPBOX', 0, (g[0], g[1] + 7, g[2], g[3]))
    cap = (g[0] + 6, g[1], g[0] + 6 + p.text_width('Параметры') + 8, g[1] + 15)
    p.background('FORM', 0, cap)  # the caption strip shows the parent, not the frame
    p.section('CHECKBOX', 0, cap)
    p.section_text('GROUPBOX', False, 'Параметры', (cap[0] + 4, cap[1], cap[2], cap[3]))
    check(p, 'BOXCHECKED', g[0] + 14, g[1] + 26, 'Автозапись')
    check(p, 'BOXUNCHECKED', g[0] + 14, g[1] + 48, 'Звук', 1)
    check(p, 'BOXGRAYED', g[0] + 14, g[1] + 70, 'Смешанно')
    check(p, 'RADIOCHECKED', g[0] + 130, g[1] + 26, 'ASCII')
    check(p, 'RADIOUNCHECKED', g[0] + 130, g[1] + 48, 'RTU', 1)
    check(p, 'SMALLCHECKED', g[0] + 130, g[1] + 72, 'Мелкий')
    lst = (cx + 262, y + 36, client[2] - 8, y + 150)
    p.section('EDIT', 0, lst)
    rows = ['XBV5 адрес 1', 'XBV10 адрес 2', 'GOLM144 адрес 3', 'XBV18 адрес 4', 'GOLM152 адрес 5']
    for i, s in enumerate(rows):
        row = (lst[0] + 3, lst[1] + 3 + i * 19, lst[2] - 20, lst[1] + 22 + i * 19)
        sec = 'SELECTION' if i in (1, 3) else 'EDIT'
        if sec == 'SELECTION':
            p.section(sec, 1 if i == 1 else 0, row)
        p.section_text(sec, i == 1, s, (row[0] + 4, row[1], row[2], row[3]))
    scroll_v(p, (lst[2] - 18, lst[1] + 1, lst[2] - 1, lst[3] - 1), hot_part=(2, 4))
    sb = (client[0], client[3] - 22, client[2], client[3])
    p.section('STATUSBAR', 0, sb)
    p.section_text('STATUSBAR', False, 'Опрос: 3 канала', (sb[0] + 8, sb[1] + 2, sb[0] + 200, sb[3]))
    div = p.skin.image('DIVIDER', 'BORDERSMASK')
    p.border(div, (sb[0] + 180, sb[1] + 4, sb[0] + 182, sb[3] - 2))
    p.section_text('STATUSBAR', False, 'Запись в журнал', (sb[0] + 190, sb[1] + 2, sb[2], sb[3]))
    popup(p, (552, 0, 552, 6))


def popup(p, item):
    items = ['Добавить канал', 'Найти устройства', '-', 'Запись журнала', 'Удалить канал']
    w, hgt = 190, 3 * 2 + sum(2 if s == '-' else 22 for s in items)
    r = (item[0], item[3] + 1, item[0] + w, item[3] + 1 + hgt)
    p.section('MAINMENU', 0, r)
    p.section('ICOLINE', 0, (r[0] + 3, r[1] + 3, r[0] + 3 + 26, r[3] - 3))
    img = p.skin.image('MAINMENU', 'BORDERSMASK')
    if img:
        p.border(img, r)
    y = r[1] + 3
    for i, s in enumerate(items):
        if s == '-':
            div = p.skin.image('DIVIDERV', 'BORDERSMASK')
            p.border(div, (r[0] + 3 + 28, y, r[2] - 5, y + 2))
            y += 2
            continue
        cell = (r[0] + 3, y, r[2] - 3, y + 22)
        hot = i == 1
        p.section('MENUITEM', 1 if hot else 0, cell)
        if s == 'Запись журнала':
            g = p.skin.image('GLOBALINFO', 'CHECK')
            p.glyph(g, cell[0] + 4, cell[1] + (22 - g.height) // 2, 1 if hot else 0)
        p.section_text('MENUITEM', hot, s, (cell[0] + 34, cell[1], cell[2], cell[3]))
        y += 22


def dialog(p):
    r = (552, 130, 890, 428)
    client, _ = window(p, r, False, 'Настройки', True, DLG_FRAME, dialog=True)
    cx, cy = client[0], client[1]
    page = (cx + 8, cy + 30, client[2] - 8, client[3] - 44)
    p.section('PAGECONTROL', 0, page)
    p.section('TABSHEET', 0, (page[0] + 3, page[1] + 3, page[2] - 3, page[3] - 3))
    x = page[0] + 2
    for i, (s, st) in enumerate((('Порт', 2), ('Опрос', 1), ('Вид', 0))):
        w = p.text_width(s) + 20
        tab = (x - 2, page[1] - 22, x + w + 2, page[1] + 1) if st == 2 else (x, page[1] - 19, x + w, page[1])
        p.section('TABTOP', st, tab)
        p.section_text('TABTOP', st > 0, s, tab, 'center')
        x += w + 1
    p.section_text('TABSHEET', False, 'Адрес устройства:', (page[0] + 14, page[1] + 14, page[2], page[1] + 34))
    label(p, 'EDIT', ' 17', (page[0] + 140, page[1] + 14, page[0] + 200, page[1] + 35), hot=True)
    check(p, 'BOXCHECKED', page[0] + 14, page[1] + 50, 'Проверять ответ', 1)
    p.section('GAUGE', 0, (page[0] + 14, page[1] + 76, page[2] - 14, page[1] + 92))
    p.section('SELECTION', 1, (page[0] + 16, page[1] + 78, page[0] + 150, page[1] + 90))
    for i, (s, st) in enumerate((('OK', 3), ('Отмена', 0))):
        b = (client[2] - 176 + i * 86, client[3] - 34, client[2] - 96 + i * 86, client[3] - 9)
        p.section('BUTTON', st, b)
        p.section_text('BUTTON', st != 0, s, b, 'center')
    hint = (cx + 20, client[3] - 70, cx + 150, client[3] - 48)
    label(p, 'HINT', ' Адрес от 1 до 247', hint, px=11)


def glyph_sheet(p, x0, y0):
    """Title buttons, check glyphs and arrows in every state, twice as large."""
    sk = p.skin
    small = Target(440, 76, sk.look('GLOBALINFO', False)['color'])
    q = Painter(sk, small)
    x = 4
    for key in ('BICONCLOSE', 'BICONMAX', 'BICONNORM', 'BICONMIN', 'BICONHELP', 'BICLOSEALONE'):
        img = sk.image('GLOBALINFO', key)
        title = (x - 2, 2, x + img.width * 3 + 2, 2 + 23)
        q.section('FORMTITLE', 1, title)
        for st in range(3):
            q.glyph(img, x + st * img.width, 2 + 11 - img.height // 2, st)
        x += img.width * 3 + 6
    x = 4
    for key in ('BOXCHECKED', 'BOXUNCHECKED', 'BOXGRAYED', 'RADIOCHECKED', 'RADIOUNCHECKED', 'RADIOGRAYED',
                'SMALLCHECKED', 'SMALLUNCHECKED', 'SMALLGRAYED', 'CHECK'):
        img = sk.image('GLOBALINFO', key)
        for st in range(3):
            q.glyph(img, x + st * (img.width + 1), 32, st)
        x += 3 * (img.width + 1) + 4
    x = 4
    for sec in ('SCROLLBTNLEFT', 'SCROLLBTNTOP', 'SCROLLBTNRIGHT', 'SCROLLBTNBOTTOM', 'SCROLLSLIDERH', 'COMBOBTN'):
        for st in range(3):
            r = (x, 52, x + 17, 69)
            q.section(sec, st, r)
            g = sk.image(sec, 'GLYPHMASK') or (sk.image('COMBOBOX', 'GLYPHMASK') if sec == 'COMBOBTN' else None)
            if g:
                q.glyph(g, x + (17 - g.width) // 2, 52 + (17 - g.height) // 2, st)
            x += 19
        x += 4
    for y in range(small.h):
        for x in range(small.w):
            c = small.get(x, y)
            for dy in (0, 1):
                for dx in (0, 1):
                    p.t.set(x0 + 2 * x + dx, y0 + 2 * y + dy, c)


def render(files, path):
    skin = LoadedSkin(files)
    t = Target(900, 590, DESKTOP)
    p = Painter(skin, t)
    main_window(p)
    dialog(p)
    glyph_sheet(p, 10, 436)
    with open(path, 'wb') as f:
        f.write(png(t.w, t.h, t.rgb_bytes()))
