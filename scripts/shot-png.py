#!/usr/bin/env python3
"""Turns a screenshot of the replay tool (--shot, a 24-bit BMP) into a small
PNG for the README, each pixel enlarged to SCALE x SCALE (default 2, the
game's own window size), with a palette when the shot has 256 colours or
fewer. Standard library only.

    python3 scripts/shot-png.py SHOT.bmp OUT.png [SCALE]
"""
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height, _, bits = struct.unpack_from('<iiHH', data, 18)
    if bits != 24:
        sys.exit(f'{path}: a {bits}-bit BMP; only the 24-bit shots the replay tool writes are read')
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        row_at = offset + (abs(height) - 1 - y if height > 0 else y) * stride
        rows.append([tuple(data[row_at + 3 * x + 2 - c] for c in range(3)) for x in range(width)])
    return rows


def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))


def write_png(path, rows, scale):
    colours = sorted({p for row in rows for p in row})
    paletted = len(colours) <= 256
    index = {c: i for i, c in enumerate(colours)}
    raw = bytearray()
    for row in rows:
        line = bytearray()
        for p in row:
            line += (bytes([index[p]]) if paletted else bytes(p)) * scale
        raw += (b'\0' + line) * scale
    width, height = len(rows[0]) * scale, len(rows) * scale
    header = struct.pack('>IIBBBBB', width, height, 8, 3 if paletted else 2, 0, 0, 0)
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
    if paletted:
        png += chunk(b'PLTE', b''.join(bytes(c) for c in colours))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(png)


if __name__ == '__main__':
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    write_png(sys.argv[2], read_bmp(sys.argv[1]), int(sys.argv[3]) if len(sys.argv) == 4 else 2)
