# Writes a packed skin container with Python's own zlib, for the reader's test.
import struct
import sys
import zlib

entries = [
    (b'Master.bmp', b'BM' + bytes(i % 251 for i in range(40000))),
    (b'options.DAT', b'[GLOBALINFO]\r\nVERSION=8.00\r\n'),
    (b'ButtonHuge.BMP', b''),
    (b'Back.jpg', bytes((i * 7919) % 256 for i in range(200000))),
]
out = b'ASzf' + struct.pack('<i', len(entries))
for level, (name, data) in enumerate(entries):
    out += struct.pack('<i', len(name)) + name + struct.pack('<i', len(data))
    out += zlib.compress(data, [9, 1, 6, 0][level])
with open(sys.argv[1], 'wb') as f:
    f.write(out)
