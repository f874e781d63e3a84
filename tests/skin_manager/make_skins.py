#!/usr/bin/env python3
"""Writes the skin folders the test form stores as skins: OUT/<name>/ with
Options.dat and MASTER.BMP (a 32 x 32 master of one colour), and OUT/notext/
with images only."""
import os, struct, sys


def bmp(w, h, rgb):
    row = struct.pack('<BBB', rgb[2], rgb[1], rgb[0]) * w
    row += b'\0' * ((4 - len(row) % 4) % 4)
    rows = row * h
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + rows


def skin(out, name, color, rgb):
    folder = os.path.join(out, name)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'Options.dat'), 'w', newline='\r\n') as f:
        f.write('[GLOBALINFO]\nVERSION=8.00\nMASTERBITMAP=MASTER.BMP\n'
                '[BUTTON]\nCOLOR=%d\nBORDERSMASK=^0000^0000^0030^0030^0003^0003^0003^0003^1^0^0^0\n' % color)
    with open(os.path.join(folder, 'MASTER.BMP'), 'wb') as f:
        f.write(bmp(32, 32, rgb))


out = sys.argv[1]
skin(out, 'alpha', 101, (200, 30, 30))
skin(out, 'beta', 102, (30, 200, 30))
os.makedirs(os.path.join(out, 'notext'), exist_ok=True)
with open(os.path.join(out, 'notext', 'MASTER.BMP'), 'wb') as f:
    f.write(bmp(8, 8, (0, 0, 0)))
