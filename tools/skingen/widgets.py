"""Pictures of widget states, painted from looks.

A look is a dict:
  fill     colour, [(position, colour), ...] from top to bottom, or a
           texture (Canvas); None leaves the inside transparent (the
           section's colour shows)
  alpha    opacity of the fill
  overlay  [(position, (r, g, b, alpha)), ...]: shading over the fill
  border   colour of the outline (bw pixels wide, 1 by default), with
           border_alpha its opacity
  light    (colour, alpha): a highlight along the inside of the top edge
  shade    (colour, alpha): a shade along the inside of the bottom edge
  gloss    alpha of a white sheen over the upper part (glassy looks)
  texture  a Canvas laid over the fill with texture_alpha
  inset    (colour, alpha): a pressed-in shadow along the inside top
  extend   pixels by which the shape reaches below the picture
Outside the rounded outline the pixels stay holes (key colour)."""
import math

from raster import Canvas, RRect, Ring, from_canvas, vgrad

WHITE = (255, 255, 255)
VEIL = 1e-6  # transparent, but not a hole: the section below shows


def paint_of(fill, y0, y1):
    if isinstance(fill, Canvas):
        return from_canvas(fill)
    if isinstance(fill, tuple):
        return tuple(float(v) for v in fill)
    return vgrad([(p, tuple(float(v) for v in c)) for p, c in fill], y0, y1)


def body(w, h, look, radius, shape=None):
    """One state picture of w x h pixels."""
    c = Canvas(w, h)
    # A look may reach below the picture, so that its bottom edge is cut off.
    paint_body(c, shape or RRect(0, 0, w, h + look.get('extend', 0), radius), look)
    return c


def paint_body(c, shape, look):
    bw = look.get('bw', 1 if look.get('border') else 0)
    y0, y1 = int(shape.y0), int(shape.y1)
    fill = look.get('fill')
    if fill is None:
        c.fill(shape, (0.0, 0.0, 0.0), VEIL)
    else:
        c.fill(shape, paint_of(fill, y0, y1), look.get('alpha', 1.0))
    if look.get('overlay'):
        c.fill(shape, vgrad([(p, tuple(float(v) for v in col)) for p, col in look['overlay']], y0, y1))
    if look.get('texture') is not None:
        c.fill(shape.inset(bw), from_canvas(look['texture']), look.get('texture_alpha', 0.5))
    inner = shape.inset(bw)
    if look.get('gloss') and hasattr(inner, 'radii'):
        mid = y0 + (y1 - y0) * look.get('gloss_end', 0.5)
        r = inner.radii
        sheen = RRect(inner.x0, inner.y0, inner.x1, mid, (r[0], r[1], 0.0, 0.0))
        a = look['gloss']
        c.fill(sheen, vgrad([(0.0, WHITE + (a,)), (1.0, WHITE + (a * 0.35,))], int(inner.y0), int(mid)))
    if look.get('inset'):
        col, a = look['inset']
        c.fill(inner, vgrad([(0.0, col + (a,)), (0.35, col + (0.0,)), (1.0, col + (0.0,))], y0, y1))
    if look.get('light'):
        col, a = look['light']
        edge = vgrad([(0.0, col + (a,)), (0.45, col + (0.0,)), (1.0, col + (0.0,))], y0, y1)
        c.fill(Ring(inner, 1.0), edge)
    if look.get('shade'):
        col, a = look['shade']
        edge = vgrad([(0.0, col + (0.0,)), (0.55, col + (0.0,)), (1.0, col + (a,))], y0, y1)
        c.fill(Ring(inner, 1.0), edge)
    if look.get('border'):
        c.fill(Ring(shape, bw), tuple(float(v) for v in look['border']), look.get('border_alpha', 1.0))


def frames(w, h, looks, radius):
    """The pictures of several states side by side (a list of canvases)."""
    return [body(w, h, look, radius) for look in looks]


def rotate(canvas, side):
    """A picture drawn for the top side, turned to face another side."""
    if side == 'top':
        return canvas
    if side == 'bottom':
        return canvas.flipped(horizontal=False)
    if side == 'left':
        return canvas.transposed()
    return canvas.transposed().flipped(horizontal=True)


def margin_for(radius, minimum):
    """A margin wide enough to hold a corner of this radius whole."""
    r = max(radius) if isinstance(radius, tuple) else radius
    return max(minimum, int(math.ceil(r)) + 1)


def nine(section, key, looks, radius, minimum=3, band=6, fill=1):
    """A square nine-part border image of the looks, its margins fitting
    the corner radius."""
    m = margin_for(radius, minimum)
    size = 2 * m + band
    return section.border(key, frames(size, size, looks, radius), (m, m, m, m), fill)
