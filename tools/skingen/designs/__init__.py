"""The seven stored skins, in the order the program lists them. Each design
is data (designs/<name>.json): the base colours from which `Style` derives
every look, the textures it draws, and the values it sets differently.

Values in a design: "#rrggbb" is a colour; "texture:NAME" one of the
design's textures ("texture:NAME:T" turned a quarter, its grain along y);
[[position, "#rrggbb"], ...] a gradient from top to bottom, with a third
item an alpha (a shading over a fill); ["#rrggbb", number, ...] a colour
with its alpha (and more numbers); objects are looks (see widgets.py)."""
import json
import os

import textures
from colors import rgb
from style import Style

NAMES = ['Aluminium', 'BlueGlass', 'DarkGlass', 'GrayPlastic', 'Neutral2', 'Pulsar', 'Wood']
HERE = os.path.dirname(os.path.abspath(__file__))
MAKERS = {'brushed': lambda s: textures.brushed(s['w'], s['h'], rgb(s['base']), s['seed'], s['strength']),
          'wood': lambda s: textures.wood(s['w'], s['h'], rgb(s['light']), rgb(s['dark']), s['seed'], s['rings'])}


def _is_colour(v):
    return isinstance(v, str) and v.startswith('#')


class _Decoder:
    def __init__(self, made):
        self.made = made

    def __call__(self, v):
        if _is_colour(v):
            return rgb(v)
        if isinstance(v, str) and v.startswith('texture:'):
            name, _, turn = v[8:].partition(':')
            return self.made[name].transposed() if turn == 'T' else self.made[name]
        if isinstance(v, dict):
            return {k: self(x) for k, x in v.items()}
        if isinstance(v, list):
            if v and all(isinstance(x, list) and len(x) in (2, 3) and not isinstance(x[0], str)
                         and _is_colour(x[1]) for x in v):
                return [(x[0], rgb(x[1]) + tuple(x[2:])) for x in v]
            if v and _is_colour(v[0]) and all(isinstance(x, (int, float)) for x in v[1:]) and len(v) > 1:
                return (rgb(v[0]),) + tuple(v[1:])
            return [self(x) for x in v]
        return v


def load(name):
    with open(os.path.join(HERE, name.lower() + '.json'), encoding='utf-8') as f:
        d = json.load(f)
    made = {k: MAKERS[spec['kind']](spec) for k, spec in d.get('textures', {}).items()}
    decode = _Decoder(made)
    st = Style(d['name'], d['description'], **{k: decode(v) for k, v in d['base'].items()})
    for path, value in d.get('set', {}).items():
        st.assign(path, decode(value))
    return st.finish()

