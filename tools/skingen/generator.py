"""The seven stored skins as files, each checked against the rules."""
import checks
from build import build_skin
from designs import NAMES, load


def generate(only=None):
    """{name: {file name: bytes}} of the skins (or of one of them)."""
    out = {}
    for name in NAMES:
        if only and name != only:
            continue
        files = build_skin(load(name)).files()
        checks.check_skin(name, files)
        out[name] = files
    return out
