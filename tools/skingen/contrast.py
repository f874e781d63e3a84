"""Readable text: every text colour of a skin against every colour it can
be drawn on, normal and hot, must reach a contrast ratio of 4.5 : 1.

What a text lies on: the section's colour, the colours of its gradient and
texture, and where its border image paints the centre, the pixels of that
centre; a transparent section shows what lies behind it."""
from colors import contrast, from_tcolor, luminance, mix

MINIMUM = 4.5

# Sections whose text the program draws, with what shows through them.
CONTAINERS = ('GLOBALINFO', 'FORM', 'DIALOG', 'PANEL', 'PANEL_LOW', 'TABSHEET', 'PAGECONTROL')
TEXT_SECTIONS = CONTAINERS + (
    'FORMTITLE', 'DIALOGTITLE', 'CAPTION', 'MENULINE', 'MENUITEM', 'MENUCAPTION', 'EXTRALINE', 'HINT',
    'TRANSPARENT', 'GROUPBOX', 'BAR', 'BUTTON', 'SPEEDBUTTON', 'SPEEDBUTTON_SMALL', 'TOOLBUTTON',
    'WEBBUTTON', 'COLHEADER', 'EDIT', 'COMBOBOX', 'CHECKBOX', 'SELECTION', 'TOOLBAR', 'STATUSBAR',
    'GAUGE', 'TABTOP', 'TABBOTTOM', 'TABLEFT', 'TABRIGHT')
BEHIND = {'CAPTION': ('FORMTITLE',), 'MENUITEM': ('MAINMENU',), 'TOOLBUTTON': ('TOOLBAR',),
          'DIALOGTITLE': ('FORMTITLE',)}


def _gradient_colours(data):
    words = [w for w in data.split(';') if w.strip()]
    out = []
    for i in range(0, len(words) - len(words) % 5, 5):
        out += [from_tcolor(int(words[i])), from_tcolor(int(words[i + 1]))]
    return out


def _texture_colours(skin, image):
    l, t, r, b = image.rect
    lum = sorted({skin.pixel(x, y) for y in range(t, b) for x in range(l, r)}, key=luminance)
    return [lum[0], lum[-1]]


def _fill_colours(skin, section, hot, parents):
    look = skin.look(section, hot)
    if look['transparency'] >= 100:
        return parents
    colours = [look['color']]
    if look['gradient_percent'] > 0:
        colours += _gradient_colours(look['gradient'])
    if look['image_percent'] > 0 and look['pattern']:
        colours += _texture_colours(skin, look['pattern'])
    t = look['transparency'] / 100.0
    if t > 0:
        colours = [mix(c, p, t) for c in colours for p in parents]
    return colours


def _centre_pixels(skin, image, column):
    """(colour, mask) of the centre band of one state picture."""
    ml, mt, mr, mb = image.margins
    x0 = image.rect[0] + column * image.width
    y0 = image.rect[1]
    out = set()
    for y in range(y0 + mt, y0 + image.height - mb):
        for x in range(x0 + ml, x0 + image.width - mr):
            c = skin.pixel(x, y)
            m = skin.pixel(x, y + image.height)[0] if image.maskkind else 0
            if c != (255, 0, 255):
                out.add((c, m))
    return out


def backgrounds(skin, section, hot, depth=0):
    """Every colour text of this section and state may lie on."""
    parents = []
    if skin.look(section, hot)['transparency'] > 0 and depth < 2:
        for p in BEHIND.get(section, CONTAINERS):
            if p in skin.sections and p != section:
                parents += backgrounds(skin, p, hot and p == 'FORMTITLE', depth + 1)
    colours = _fill_colours(skin, section, hot, parents)
    image = skin.image(section, 'BORDERSMASK')
    if image and image.fill & 4 and section != 'GLOBALINFO':
        columns = range(1, image.columns) if hot else [0]
        if not hot and image.fill & 2:
            columns = []
        under = colours[:1]
        for col in columns:
            for c, m in _centre_pixels(skin, image, min(col, image.columns - 1)):
                colours += [mix(c, u, m / 255.0) for u in under] if m and under else [c]
    return sorted(set(colours))


def text_pairs(skin):
    """(what, text colour, [backgrounds]) of every text of the skin."""
    pairs = []
    for s in TEXT_SECTIONS:
        if s not in skin.sections:
            continue
        states = (False, True) if skin.states(s) >= 2 else (False,)
        for hot in states:
            key = 'HOTFONTCOLOR' if hot else 'FONTCOLOR'
            pairs.append(('%s %s' % (s, key), skin.look(s, hot)['font'], backgrounds(skin, s, hot)))
    if 'MENULINE' in skin.sections and 'MENUITEM' in skin.sections:
        # Menu-line captions take the menu line's colours over the items' looks.
        pairs.append(('MENULINE FONTCOLOR in an active frame', skin.look('MENULINE', False)['font'],
                      backgrounds(skin, 'MENULINE', True)))
        pairs.append(('MENULINE HOTFONTCOLOR on a hot MENUITEM', skin.look('MENULINE', True)['font'],
                      backgrounds(skin, 'MENUITEM', True)))
    return pairs


def problems(skin):
    out = []
    for what, font, bgs in text_pairs(skin):
        worst = min(bgs, key=lambda b: contrast(font, b)) if bgs else None
        if worst is not None and contrast(font, worst) < MINIMUM:
            out.append('%s %s on %s: %.2f : 1' % (what, font, worst, contrast(font, worst)))
    return out
