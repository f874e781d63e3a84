"""Image files with the standard library: 24-bit BMP (written and read)
and PNG (written). Pixels travel as bytearrays of r, g, b rows, top first."""
import struct
import zlib


def bmp24(w, h, rgb):
    """A bottom-up 24-bit BMP of w x h pixels."""
    stride = (w * 3 + 3) & ~3
    pad = bytes(stride - w * 3)
    body = bytearray()
    for y in range(h - 1, -1, -1):
        row = rgb[y * w * 3:(y + 1) * w * 3]
        bgr = bytearray(len(row))
        bgr[0::3], bgr[1::3], bgr[2::3] = row[2::3], row[1::3], row[0::3]
        body += bgr + pad
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    head = b'BM' + struct.pack('<IHHI', 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return head + info + bytes(body)


def read_bmp24(data):
    """(w, h, rgb) of a 24-bit uncompressed BMP."""
    if data[:2] != b'BM':
        raise ValueError('not a BMP file')
    offset = struct.unpack_from('<I', data, 10)[0]
    w, h, _, bits, compression = struct.unpack_from('<iiHHI', data, 18)
    if bits != 24 or compression != 0:
        raise ValueError('only 24-bit uncompressed BMP files are read')
    top_down = h < 0
    h = abs(h)
    stride = (w * 3 + 3) & ~3
    rgb = bytearray(w * h * 3)
    for y in range(h):
        src = offset + (y if top_down else h - 1 - y) * stride
        row = data[src:src + w * 3]
        dst = y * w * 3
        rgb[dst:dst + w * 3:3] = row[2::3]
        rgb[dst + 1:dst + w * 3:3] = row[1::3]
        rgb[dst + 2:dst + w * 3:3] = row[0::3]
    return w, h, rgb


def _chunk(kind, payload):
    return (struct.pack('>I', len(payload)) + kind + payload
            + struct.pack('>I', zlib.crc32(kind + payload) & 0xFFFFFFFF))


def png(w, h, pixels, channels=3):
    """A PNG of 8-bit RGB (channels 3) or RGBA (channels 4) rows."""
    stride = w * channels
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        raw += pixels[y * stride:(y + 1) * stride]
    kind = 2 if channels == 3 else 6
    return (b'\x89PNG\r\n\x1a\n'
            + _chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, kind, 0, 0, 0))
            + _chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + _chunk(b'IEND', b''))
