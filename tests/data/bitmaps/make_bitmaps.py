#!/usr/bin/env python3
"""Writes 101.bmp: an uncompressed 8-bit BMP, 5 x 3 pixels, with a four-colour table (magenta,
red, green, blue). The top row is magenta, red, green, blue, magenta; the middle row red; the
bottom row blue. Rows are stored bottom first, each padded to 8 bytes."""
import os
import struct

WIDTH, HEIGHT = 5, 3
PALETTE = [(255, 0, 255), (255, 0, 0), (0, 255, 0), (0, 0, 255)]
ROWS_TOP_FIRST = [[0, 1, 2, 3, 0], [1] * 5, [3] * 5]


def main():
    row_bytes = (WIDTH + 3) // 4 * 4
    pixels = b"".join(bytes(row) + bytes(row_bytes - WIDTH) for row in reversed(ROWS_TOP_FIRST))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835, len(PALETTE), 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "101.bmp"), "wb") as out:
        out.write(header + info + table + pixels)


if __name__ == "__main__":
    main()
