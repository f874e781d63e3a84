"""The packed skin container: "ASzf", a count, then for every file its
name, its size and one zlib stream of its bytes (little-endian integers).
Files go in the order the packer finds them: *.dat, *.bmp, *.png."""
import struct
import zlib

MAGIC = b'ASzf'
ORDER = ('.dat', '.bmp', '.png')


def pack(files):
    names = sorted(files, key=lambda n: (ORDER.index(n.lower()[-4:]) if n.lower()[-4:] in ORDER else 9, n))
    out = bytearray(MAGIC + struct.pack('<i', len(names)))
    for name in names:
        raw = name.encode('cp1251')
        out += struct.pack('<i', len(raw)) + raw + struct.pack('<i', len(files[name]))
        out += zlib.compress(files[name], 6)
    return bytes(out)


def unpack(data):
    """[(name, bytes)] of a container; ValueError when it is not one."""
    if data[:4] != MAGIC:
        raise ValueError('not a packed skin file')
    (n,) = struct.unpack_from('<i', data, 4)
    pos, out = 8, []
    for _ in range(n):
        (length,) = struct.unpack_from('<i', data, pos)
        name = data[pos + 4:pos + 4 + length].decode('cp1251')
        pos += 4 + length
        (size,) = struct.unpack_from('<i', data, pos)
        pos += 4
        d = zlib.decompressobj()
        body = d.decompress(data[pos:])
        if len(body) != size or not d.eof:
            raise ValueError('entry %s is damaged' % name)
        pos = len(data) - len(d.unused_data)
        out.append((name, body))
    return out
