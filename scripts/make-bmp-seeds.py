#!/usr/bin/env python3
"""Writes the seed corpus of the bitmap reader's fuzz target: one tiny file for
each header variant, depth and compression the reader decodes, so that the
fuzzer starts from every path instead of having to find the "BM" files first.

Usage: make-bmp-seeds.py [OUTPUT_DIR]   (default fuzz/corpus/bmp)
"""

import os
import struct
import sys


def bmp(width, height, bits, pixels, *, compression=0, header_size=40, palette=(), colors_used=0,
        masks=None, size_image=0):
    core = header_size == 12
    if core:
        header = struct.pack('<IHHHH', 12, width, height, 1, bits)
        table = b''.join(struct.pack('<BBB', b, g, r) for (b, g, r) in palette)
    else:
        header = struct.pack('<IiiHHIIiiII', header_size, width, height, 1, bits, compression, size_image,
                             2835, 2835, colors_used, 0)
        if header_size >= 52:
            header += struct.pack('<III', *(masks or (0, 0, 0)))
        header += bytes(header_size - len(header))
        table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (b, g, r) in palette)
    after = struct.pack('<III', *masks) if masks and header_size < 52 else b''
    offset = 14 + len(header) + len(after) + len(table)
    return b'BM' + struct.pack('<IHHI', offset + len(pixels), 0, 0, offset) + header + after + table + pixels


def ramp(count):
    return [(i * 255 // max(count - 1, 1), 255 - i * 255 // max(count - 1, 1), 64) for i in range(count)]


SEEDS = {
    '24bit-3x1-padding': bmp(3, 1, 24, bytes(range(1, 10)) + bytes(3)),
    '24bit-2x2-top-down': bmp(2, -2, 24, bytes([1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4, 4, 4, 0, 0])),
    '1bit-10x2': bmp(10, 2, 1, bytes([0xAA, 0xC0, 0, 0, 0x0F, 0x40, 0, 0]), palette=ramp(2)),
    '4bit-3x2': bmp(3, 2, 4, bytes([0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0]), palette=ramp(16)),
    '8bit-2x2-short-table': bmp(2, 2, 8, bytes([0, 1, 0, 0, 2, 3, 0, 0]), palette=ramp(4), colors_used=4),
    '16bit-555': bmp(2, 1, 16, struct.pack('<HH', 0x7C00, 0x03E0)),
    '16bit-565-bitfields': bmp(2, 1, 16, struct.pack('<HH', 0xF800, 0x8410), compression=3,
                               masks=(0xF800, 0x07E0, 0x001F)),
    '32bit-rgb': bmp(1, 2, 32, bytes([1, 2, 3, 4, 5, 6, 7, 8])),
    '32bit-v5-bitfields': bmp(1, 1, 32, bytes([1, 2, 3, 4]), compression=3, header_size=124,
                              masks=(0xFF, 0xFF00, 0xFF0000)),
    '8bit-v4-header': bmp(1, 1, 8, bytes([1, 0, 0, 0]), header_size=108, palette=ramp(2), colors_used=2),
    'core-4bit': bmp(2, 2, 4, bytes([0x12, 0, 0, 0, 0x34, 0, 0, 0]), header_size=12, palette=ramp(16)),
    'core-24bit': bmp(1, 1, 24, bytes([9, 8, 7, 0]), header_size=12),
    # Run, end of line, absolute run of three with its pad byte, delta, end.
    'rle8-escapes': bmp(4, 3, 8, bytes([3, 5, 0, 0, 0, 3, 1, 2, 3, 0, 1, 9, 0, 0, 0, 2, 2, 0, 2, 7, 0, 1]),
                        compression=1, palette=ramp(16), colors_used=16),
    'rle4-escapes': bmp(8, 2, 4, bytes([3, 0x12, 0, 2, 1, 0, 2, 0xAA, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0,
                                        1, 0xF0, 0, 1]), compression=2, palette=ramp(16)),
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else 'fuzz/corpus/bmp'
    os.makedirs(out, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(out, name + '.bmp'), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
