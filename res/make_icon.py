#!/usr/bin/env python3
"""Draws Lumetra's icon: a camera lens under a small sun, as two 16-colour
images (32 x 32 and 16 x 16), and writes Lumetra.ico beside this script."""
import os
import struct

# The standard Windows 16-colour palette (RGB).
PALETTE_RGB = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
               (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
               (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, GREY, DARK_GREY, WHITE, BLUE, NAVY, YELLOW = 0, 7, 8, 15, 12, 4, 11


def draw(size):
    """Returns rows (top first) of (colour index, transparent) pixels."""
    s = size / 32.0
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            cx, cy = (x + 0.5) / s, (y + 0.5) / s
            d_lens = ((cx - 16) ** 2 + (cy - 18) ** 2) ** 0.5
            d_sun = ((cx - 26) ** 2 + (cy - 6) ** 2) ** 0.5
            body = 3 <= cx <= 29 and 9 <= cy <= 28
            if d_sun <= 4.5:
                row.append((YELLOW, False))
            elif d_lens <= 3:
                row.append((WHITE if cx < 15.5 and cy < 17.5 else NAVY, False))
            elif d_lens <= 6.5:
                row.append((BLUE, False))
            elif d_lens <= 8:
                row.append((BLACK, False))
            elif body:
                edge = cx < 4 or cx > 28 or cy < 10 or cy > 27
                row.append((BLACK if edge else GREY, False))
            elif 6 <= cx <= 12 and 6 <= cy < 9:
                row.append((DARK_GREY, False))
            else:
                row.append((0, True))
        pixels.append(row)
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE_RGB)
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        nibbles = bytearray()
        for x in range(0, size, 2):
            nibbles.append(row[x][0] << 4 | row[x + 1][0])
        xor_rows.append(bytes(nibbles).ljust((size // 2 + 3) // 4 * 4, b'\0'))
        bits = bytearray((size + 31) // 32 * 4)
        for x, (_, transparent) in enumerate(row):
            if transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_rows.append(bytes(bits))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def main():
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'Lumetra.ico'), 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
