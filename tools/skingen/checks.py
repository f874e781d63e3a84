"""What every stored skin must satisfy; the generator refuses to write a
skin that breaks a rule, and the test runs the same checks."""
import container
import contrast
from reader import LoadedSkin, parse_image

PACKED_LIMIT = 98458  # the largest stored skin the program has carried

REQUIRED_SECTIONS = (
    'GLOBALINFO', 'FORM', 'FORMTITLE', 'DIALOG', 'DIALOGTITLE', 'CAPTION', 'MENULINE', 'HINT',
    'MAINMENU', 'MENUITEM', 'ICOLINE', 'EXTRALINE', 'DIVIDERV', 'MENUCAPTION', 'SPEEDBUTTON_SMALL',
    'PANEL', 'PANEL_LOW', 'TRANSPARENT', 'BAR', 'BUTTON', 'EDIT', 'COMBOBOX', 'COMBOBTN', 'CHECKBOX',
    'GROUPBOX', 'SPEEDBUTTON', 'UPDOWNBTN', 'SELECTION', 'SCROLLBAR1H', 'SCROLLBAR1V', 'SCROLLBAR2H',
    'SCROLLBAR2V', 'SCROLLSLIDERH', 'SCROLLSLIDERV', 'SCROLLBTNLEFT', 'SCROLLBTNTOP', 'SCROLLBTNRIGHT',
    'SCROLLBTNBOTTOM')
WORTH_GIVING = ('TOOLBAR', 'TOOLBUTTON', 'WEBBUTTON', 'STATUSBAR', 'GAUGE', 'TRACKBAR', 'SPLITTER',
                'COLHEADER', 'TABSHEET', 'TABTOP', 'TABBOTTOM', 'TABLEFT', 'TABRIGHT')
REQUIRED_IMAGES = {
    'GLOBALINFO': ('BICONCLOSE', 'BICLOSEALONE', 'BICONMAX', 'BICONNORM', 'BICONMIN', 'BICONHELP',
                   'SICONCLOSE', 'SICONMAX', 'SICONNORM', 'SICONMIN', 'SICONHELP', 'BOXCHECKED',
                   'BOXUNCHECKED', 'BOXGRAYED', 'RADIOCHECKED', 'RADIOUNCHECKED', 'RADIOGRAYED',
                   'SMALLCHECKED', 'SMALLUNCHECKED', 'SMALLGRAYED', 'CHECK', 'GRIPIMAGE'),
    'FORM': ('BORDERSMASK', 'IMGTOPLEFT', 'IMGTOPRIGHT', 'IMGBTMLEFT', 'IMGBTMRIGHT', 'TITLEBAR'),
    'MAINMENU': ('BORDERSMASK',), 'COMBOBOX': ('GLYPHMASK',),
    'SCROLLBTNLEFT': ('GLYPHMASK',), 'SCROLLBTNTOP': ('GLYPHMASK',), 'SCROLLBTNRIGHT': ('GLYPHMASK',),
    'SCROLLBTNBOTTOM': ('GLYPHMASK',)}
REQUIRED_GLOBAL_KEYS = ('COLOR', 'FONTCOLOR', 'BORDERCOLOR')


class SkinError(Exception):
    pass


def _format_problems(skin, files):
    out = []
    g = skin.sections.get('GLOBALINFO', {})
    if g.get('VERSION') != '8.00':
        out.append('VERSION is not 8.00')
    if g.get('MASTERBITMAP') != 'MASTER.BMP' or 'MASTER.BMP' not in files:
        out.append('MASTERBITMAP is not MASTER.BMP')
    for name in files:
        if name not in ('Options.dat', 'MASTER.BMP') and not name.upper().endswith('.PNG'):
            out.append('unexpected file %s' % name)
    for section in REQUIRED_SECTIONS + WORTH_GIVING:
        if section not in skin.sections:
            out.append('no section %s' % section)
    for section, keys in REQUIRED_IMAGES.items():
        for key in keys:
            if skin.image(section, key) is None:
                out.append('no image %s/%s' % (section, key))
    for key in REQUIRED_GLOBAL_KEYS:
        if key not in g:
            out.append('no GLOBALINFO/%s' % key)
    if skin.states('BUTTON') != 4:
        out.append('BUTTON does not have 4 states')
    for section, keys in skin.sections.items():
        if any(k.startswith('HOT') for k in keys) and skin.states(section) < 2:
            out.append('%s has a hot look but fewer than 2 states' % section)
        for key, value in keys.items():
            if '.JPG' in value.upper() or '.JPEG' in value.upper():
                out.append('%s/%s names a JPEG' % (section, key))
            image = parse_image(value)
            if image:
                out += ['%s/%s: %s' % (section, key, p) for p in _image_problems(skin, image)]
    return out


def _image_problems(skin, image):
    l, t, r, b = image.rect
    out = []
    if image.maskkind not in (0, 1):
        out.append('mask kind %d' % image.maskkind)
    if not (0 <= l < r <= skin.master_w and 0 <= t < b <= skin.master_h):
        return out + ['outside the master']
    if (r - l) % image.columns or (b - t) % (image.maskkind + 1):
        out.append('size does not divide into its states')
    ml, mt, mr, mb = image.margins
    if ml + mr > image.width or mt + mb > image.height:
        out.append('margins larger than the picture')
    if image.maskkind == 1:
        h = image.height
        if any(len(set(skin.pixel(x, y))) != 1 for y in range(t + h, b) for x in range(l, r)):
            out.append('mask is not grey')
    return out


def check_skin(name, files):
    """Raises SkinError with every broken rule of a skin's files."""
    try:
        skin = LoadedSkin(files)
        found = _format_problems(skin, files) + contrast.problems(skin)
    except (KeyError, ValueError) as e:
        raise SkinError('%s: cannot be read: %s' % (name, e))
    size = len(container.pack(files))
    if size > PACKED_LIMIT:
        found.append('packed size %d exceeds %d' % (size, PACKED_LIMIT))
    if found:
        raise SkinError('%s: %s' % (name, '; '.join(found)))
    return size
