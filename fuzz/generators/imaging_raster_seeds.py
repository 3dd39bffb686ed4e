#!/usr/bin/env python3
"""Writes the seed corpus of the imaging_raster fuzz target: small files of every variant the raster
decoders read, each behind the byte that picks its decoder (0 BMP, 1 TGA, 2 PCX, 3 PGM, 4 PPM, 5 SGI).
    fuzz/generators/imaging_raster_seeds.py fuzz/corpus/imaging_raster"""
import os
import struct
import sys

W, H = 5, 3


def pattern(x, y, c, n):
    return (x * 37 + y * 101 + c * 53 + (x * y) % 7) % n


def bmp(bits, compression=0, header=40, top_down=False, masks=()):
    colours = 1 << bits if bits <= 8 else 0
    rows = b""
    for i in range(H):
        y = i if top_down else H - 1 - i
        if compression and bits <= 8:
            rows += bytes([2, pattern(0, y, 0, colours) * (17 if bits == 4 else 1), 0, 3]) + bytes(4 if bits == 8 else 2) + b"\0\0"
            continue
        row, acc, n = b"", 0, 0
        for x in range(W):
            if bits <= 8:
                acc, n = acc << bits | pattern(x, y, 0, colours), n + bits
                if n == 8:
                    row, acc, n = row + bytes([acc]), 0, 0
            else:
                row += bytes(pattern(x, y, c, 256) for c in range(bits // 8))
        if n:
            row += bytes([acc << (8 - n)])
        rows += row + bytes(-len(row) % 4)
    if compression and bits <= 8:
        rows += b"\0\1"
    if header == 12:
        info = struct.pack("<IHHHH", 12, W, H, 1, bits)
        palette = b"".join(bytes([i, 255 - i, i // 2]) for i in range(colours))
    else:
        info = struct.pack("<IiiHHIIiiII", header, W, -H if top_down else H, 1, bits, compression, 0, 2835, 2835,
                           0, 0)
        info += b"".join(struct.pack("<I", m) for m in masks)
        info += bytes(header + (len(masks) * 4 if header == 40 else 0) - len(info))
        palette = b"".join(bytes([i, 255 - i, i // 2, 0]) for i in range(colours))
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IIi", offset + len(rows), 0, offset) + info + palette + rows


def tga(kind, depth, map_entry=0, descriptor=0):
    map_length = 4 if kind & 7 == 1 else 0
    head = struct.pack("<BBBHHBHHHHBB", 2, 1 if map_length else 0, kind, 0, map_length, map_entry, 0, 0, W, H,
                       depth, descriptor) + b"id"
    cmap = b"".join(bytes(range(i, i + (map_entry + 7) // 8)) for i in range(map_length))
    size = (depth + 7) // 8
    pixels = b""
    for y in range(H):
        values = [bytes(pattern(x, y, c, 4 if map_length else 256) if c == 0 else 0 for c in range(size))
                  for x in range(W)]
        if kind >= 9:
            pixels += bytes([0x80 + 1]) + values[0] + bytes([W - 3]) + b"".join(values[2:])
        else:
            pixels += b"".join(values)
    return head + cmap + pixels


def pcx(bits, planes):
    bpl = (W * bits + 7) // 8
    bpl += bpl & 1
    head = struct.pack("<BBBBHHHHHH", 10, 5, 1, bits, 0, 0, W - 1, H - 1, 72, 72)
    head += bytes(range(48)) + b"\0" + struct.pack("<BHH", planes, bpl, 1)
    head += bytes(128 - len(head))
    data = b""
    for y in range(H):
        for p in range(planes):
            data += bytes([0xC0 | bpl, pattern(y, p, 0, 256)])
    if bits == 8 and planes == 1:
        data += b"\x0c" + bytes(i % 256 for i in range(768))
    return head + data


def pnm(kind, maxval):
    text = kind in "23"
    channels = 1 if kind in "25" else 3
    out = f"P{kind}\n# seed\n{W} {H}\n{maxval}\n".encode()
    for y in range(H):
        for x in range(W):
            for c in range(channels):
                v = pattern(x, y, c, maxval + 1)
                out += f"{v} ".encode() if text else struct.pack(">H" if maxval > 255 else ">B", v)
    return out


def sgi(channels):
    head = struct.pack(">HBBHHHHII", 474, 0, 1, 3 if channels > 1 else 2, W, H, channels, 0, 255)
    head += bytes(104 - len(head)) + struct.pack(">I", 0)
    head += bytes(512 - len(head))
    return head + bytes(pattern(i, 0, 0, 256) for i in range(W * H * channels))


def main(folder):
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "bmp1": bmp(1), "bmp4": bmp(4), "bmp8": bmp(8), "bmp8-os2": bmp(8, header=12), "bmp16": bmp(16),
        "bmp16-565": bmp(16, 3, masks=(0xF800, 0x7E0, 0x1F)), "bmp16-v4": bmp(16, 3, 108, masks=(0xF800, 0x7E0, 0x1F)),
        "bmp24": bmp(24), "bmp24-top": bmp(24, top_down=True), "bmp24-v5": bmp(24, header=124), "bmp32": bmp(32),
        "bmp-rle8": bmp(8, 1), "bmp-rle4": bmp(4, 2),
        "tga-map8": tga(1, 8, 24), "tga-map16": tga(1, 16, 16), "tga24": tga(2, 24), "tga32": tga(2, 32, 0, 0x28),
        "tga16": tga(2, 16, 0, 1), "tga15": tga(2, 15), "tga-grey": tga(3, 8), "tga-rle-map": tga(9, 8, 32),
        "tga-rle24": tga(10, 24), "tga-rle-grey": tga(11, 8),
        "pcx1x1": pcx(1, 1), "pcx1x4": pcx(1, 4), "pcx2": pcx(2, 1), "pcx4": pcx(4, 1), "pcx8": pcx(8, 1),
        "pcx8x3": pcx(8, 3),
        "pgm-p2": pnm("2", 255), "pgm-p5": pnm("5", 255), "pgm-p5-16": pnm("5", 1000),
        "ppm-p3": pnm("3", 15), "ppm-p6": pnm("6", 255), "ppm-p6-16": pnm("6", 65535),
        "sgi1": sgi(1), "sgi3": sgi(3), "sgi4": sgi(4),
    }
    selector = {"bmp": 0, "tga": 1, "pcx": 2, "pgm": 3, "ppm": 4, "sgi": 5}
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(bytes([selector[name[:3]]]) + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "fuzz/corpus/imaging_raster")
