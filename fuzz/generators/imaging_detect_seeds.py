#!/usr/bin/env python3
"""Writes the seed corpus of the imaging_detect fuzz target: one small file of every format the
library reads, each behind the byte that picks the source's name (0: "Mem", 2: a ".Wmf" name, 7: a
wide ".EMF" name). The raster and library formats are written by ImageMagick and netpbm from one
4 x 3 picture; PICT is taken from the PICT corpus; the EPS and metafiles are made here.
    fuzz/generators/imaging_detect_seeds.py fuzz/corpus/imaging_detect"""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CONVERT = "convert-im6.q16"


def picture(folder):
    pixels = bytes((x * 60 + y * 20 + c * 90) % 256 for y in range(3) for x in range(4) for c in range(3))
    path = os.path.join(folder, "in.ppm")
    with open(path, "wb") as f:
        f.write(b"P6\n4 3\n255\n" + pixels)
    return path


def convert(source, folder, form, *options):
    out = os.path.join(folder, "out")
    subprocess.run([CONVERT, source, *options, form + ":" + out], check=True)
    with open(out, "rb") as f:
        return f.read()


def eps_with_tiff(tiff):
    postscript = b"%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 4 3\n"
    ps_at = 30
    tiff_at = ps_at + len(postscript)
    header = struct.pack("<4sIIIIIIH", b"\xC5\xD0\xD3\xC6", ps_at, len(postscript), 0, 0, tiff_at, len(tiff), 0xFFFF)
    return header + postscript + tiff


def placeable_wmf():
    records = struct.pack("<IH", 3, 0)  # the end record
    header = struct.pack("<HHHIHI", 1, 9, 0x300, (18 + len(records)) // 2, 0, 3)
    key = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 1440, 720, 1440, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", key[:20]):
        checksum ^= word
    return key[:20] + struct.pack("<H", checksum) + header + records


def emf():
    size = 88
    header = struct.pack("<II4i4i", 1, size, 0, 0, 3, 2, 0, 0, 100, 80)
    header += struct.pack("<IIIIHHIIII", 0x464D4520, 0x10000, size + 20, 2, 1, 0, 0, 0, 0, 0)
    header += struct.pack("<iiii", 1024, 768, 320, 240)
    end = struct.pack("<IIIII", 14, 20, 0, 0, 20)
    return header + end


def main(target):
    os.makedirs(target, exist_ok=True)
    with tempfile.TemporaryDirectory() as folder:
        source = picture(folder)
        tiff = convert(source, folder, "tif", "-compress", "none")
        files = {
            "bmp": convert(source, folder, "bmp3"),
            "tga": convert(source, folder, "tga"),
            "pcx": convert(source, folder, "pcx"),
            "pgm": convert(source, folder, "pgm"),
            "ppm": convert(source, folder, "ppm"),
            "sgi": convert(source, folder, "sgi", "-compress", "none"),
            "jpeg": convert(source, folder, "jpg"),
            "png": convert(source, folder, "png"),
            "gif": convert(source, folder, "gif"),
            "psd": convert(source, folder, "psd"),
            "tiff": tiff,
            "eps-tiff": eps_with_tiff(tiff),
            "iff": subprocess.run(["ppmtoilbm", source], check=True, capture_output=True).stdout,
        }
        with open(os.path.join(HERE, "..", "corpus", "imaging_pict", "direct32-3"), "rb") as f:
            files["pict"] = f.read()
        for name, data in files.items():
            with open(os.path.join(target, name), "wb") as f:
                f.write(b"\0" + data)
        with open(os.path.join(target, "wmf"), "wb") as f:
            f.write(b"\x02" + placeable_wmf())
        with open(os.path.join(target, "emf"), "wb") as f:
            f.write(b"\x07" + emf())


if __name__ == "__main__":
    main(sys.argv[1])
