"""The seven stored skins as files, each checked against the rules."""
import checks
from build import build_skin
from designs import DESIGNS


def generate(only=None):
    """{name: {file name: bytes}} of the skins (or of one of them)."""
    out = {}
    for name, module in DESIGNS:
        if only and name != only:
            continue
        files = build_skin(module.style()).files()
        checks.check_skin(name, files)
        out[name] = files
    return out
