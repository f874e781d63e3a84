"""Writes the seven stored skins: python3 tools/skingen [options].

  --out DIR          the folder that receives <Name>/ folders
                     (default: resources/skins of the repository)
  --only NAME        one skin only
  --pack COMMAND      afterwards pack each folder: COMMAND with {dir} (the
                     folder, ending in a separator) and {out} (<Name>.asz
                     beside it); without them both are appended
  --previews [DIR]   also draw a mock window per skin into DIR/<Name>.png
                     (default: build/skin-previews of the repository)
  --sizes            print the estimated packed size of each skin"""
import argparse
import os
import shlex
import subprocess
import sys

sys.dont_write_bytecode = True  # the generator leaves nothing in the source tree

import checks  # noqa: E402
import container  # noqa: E402
from generator import generate  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, '..', '..'))


def write(folder, files):
    os.makedirs(folder, exist_ok=True)
    for fname, data in files.items():
        with open(os.path.join(folder, fname), 'wb') as f:
            f.write(data)


def pack(command, folder, out):
    words = shlex.split(command)
    if not any('{dir}' in w or '{out}' in w for w in words):
        words += ['{dir}', '{out}']
    subprocess.run([w.replace('{dir}', folder).replace('{out}', out) for w in words], check=True)


def main(argv):
    p = argparse.ArgumentParser(description='Writes the stored skins.')
    p.add_argument('--out', default=os.path.join(REPO, 'resources', 'skins'))
    p.add_argument('--only')
    p.add_argument('--pack')
    p.add_argument('--previews', nargs='?', const=os.path.join(REPO, 'build', 'skin-previews'))
    p.add_argument('--sizes', action='store_true')
    a = p.parse_args(argv)
    try:
        skins = generate(a.only)
    except checks.SkinError as e:
        print('skingen: %s' % e, file=sys.stderr)
        return 1
    for name, files in skins.items():
        folder = os.path.join(a.out, name)
        write(folder, files)
        if a.sizes:
            print('%-12s %6d bytes packed' % (name, len(container.pack(files))))
        if a.pack:
            pack(a.pack, folder + os.sep, os.path.join(a.out, name + '.asz'))
        if a.previews:
            import preview.mockup
            os.makedirs(a.previews, exist_ok=True)
            preview.mockup.render(files, os.path.join(a.previews, name + '.png'))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
