#!/usr/bin/env python3
"""Writes the image files of the image-list tests into OUT:
glyph32.png   32 x 32 RGBA: left half opaque red, top right blue at alpha
              128, bottom right fully transparent
strip4.png    64 x 16 RGBA: four opaque glyphs of 16 x 16, red, green, blue,
              yellow
icon32.ico    one 32 x 32 image of 32 bits: top half opaque green, bottom half
              transparent
fuchsia24.bmp 32 x 32 of 24 bits: fuchsia with an opaque dark cyan square
              (8..23, 8..23)
The tests compute what they expect from these descriptions."""
import os, struct, sys, zlib


def png(w, h, pixel):
    rows = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def glyph32(x, y):
    if x < 16:
        return (255, 0, 0, 255)
    return (0, 0, 255, 128) if y < 16 else (0, 0, 0, 0)


def strip4(x, y):
    return [(255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255), (255, 255, 0, 255)][x // 16]


def ico():
    w = h = 32
    # Rows bottom-up: blue, green, red, alpha; then the AND mask (1: transparent).
    colour = b''.join(struct.pack('<BBBB', 0, 200, 0, 255) if y < 16 else b'\0\0\0\0'
                      for y in reversed(range(h)) for x in range(w))
    mask = b''.join((b'\0\0\0\0' if y < 16 else b'\xff\xff\xff\xff') for y in reversed(range(h)))
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    image = header + colour + mask
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', w, h, 0, 0, 1, 32, len(image), 22) + image


def bmp24():
    w = h = 32
    rows = b''
    for y in reversed(range(h)):
        for x in range(w):
            inside = 8 <= x < 24 and 8 <= y < 24
            rows += bytes((128, 128, 0) if inside else (255, 0, 255))  # blue, green, red
    header = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(rows), 0, 0, 14 + len(header)) + header + rows


out = sys.argv[1]
os.makedirs(out, exist_ok=True)
files = {
    'glyph32.png': png(32, 32, glyph32),
    'strip4.png': png(64, 16, strip4),
    'icon32.ico': ico(),
    'fuchsia24.bmp': bmp24(),
}
for name, data in files.items():
    with open(os.path.join(out, name), 'wb') as f:
        f.write(data)
