# Writes a small baseline JPEG texture for the picture loader's test: 4 x 2
# blocks of 8 x 8 pixels, each block one flat colour, so that only the DC
# coefficients carry data (with two tiny Huffman tables of its own).
import struct
import sys

W, H = 32, 16
COLOURS = [(200, 40, 40), (40, 200, 40), (40, 40, 200), (230, 230, 230),
           (20, 20, 20), (250, 200, 0), (0, 200, 250), (128, 128, 128)]


def ycc(r, g, b):
    y = 0.299 * r + 0.587 * g + 0.114 * b
    cb = 128 - 0.168736 * r - 0.331264 * g + 0.5 * b
    cr = 128 + 0.5 * r - 0.418688 * g - 0.081312 * b
    return [max(0, min(255, round(v))) for v in (y, cb, cr)]


class Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, value, length):
        for i in range(length - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.n += 1
            if self.n == 8:
                self.out.append(self.acc)
                if self.acc == 0xFF:
                    self.out.append(0)
                self.acc = self.n = 0

    def flush(self):
        while self.n:
            self.put(1, 1)
        return bytes(self.out)


def segment(marker, body):
    return struct.pack('>BBH', 0xFF, marker, len(body) + 2) + body


# Quantiser 8 everywhere: a flat block's DC coefficient is then its mean - 128.
dqt = bytes([0]) + bytes([8] * 64)
sof = struct.pack('>BHHB', 8, H, W, 3) + bytes([1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0])
# DC: categories 0..11, all 4-bit codes; AC: only end-of-block, the code 0.
dc_bits = [0, 0, 0, 12] + [0] * 12
ac_bits = [1] + [0] * 15
dht = bytes([0x00] + dc_bits + list(range(12))) + bytes([0x10] + ac_bits + [0])
sos = bytes([3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0])
app0 = b'JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00'

bits = Bits()
pred = [0, 0, 0]
for by in range(H // 8):
    for bx in range(W // 8):
        comps = ycc(*COLOURS[by * (W // 8) + bx])
        for c in range(3):
            dc = comps[c] - 128
            diff = dc - pred[c]
            pred[c] = dc
            size = abs(diff).bit_length()
            bits.put(size, 4)
            if size:
                bits.put(diff if diff > 0 else diff + (1 << size) - 1, size)
            bits.put(0, 1)  # end of block

data = (b'\xFF\xD8' + segment(0xE0, app0) + segment(0xDB, dqt) + segment(0xC0, sof) + segment(0xC4, dht) +
        segment(0xDA, sos) + bits.flush() + b'\xFF\xD9')
with open(sys.argv[1], 'wb') as f:
    f.write(data)
