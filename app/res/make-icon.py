#!/usr/bin/python3
"""Draws the program's icon Orvanel.png, 32 x 32 on a transparent background: a proof sheet with
a portrait photograph, text lines and a barcode. Run it again after changing it:
/usr/bin/python3 make-icon.py (Debian's python3-pil)"""

from pathlib import Path

from PIL import Image, ImageDraw

INK = (40, 40, 40, 255)
SHEET = (255, 255, 255, 255)
SHADOW = (120, 120, 120, 160)
SKY = (120, 160, 210, 255)
FACE = (226, 184, 150, 255)
HAIR = (90, 60, 40, 255)
COAT = (50, 80, 140, 255)


def main():
    image = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    d.rectangle([7, 2, 28, 31], fill=SHADOW)
    d.rectangle([4, 0, 26, 29], fill=SHEET, outline=INK)
    # The portrait: sky, head and shoulders.
    d.rectangle([7, 3, 17, 15], fill=SKY, outline=INK)
    d.ellipse([10, 5, 14, 10], fill=FACE, outline=HAIR)
    d.pieslice([8, 11, 16, 19], start=180, end=360, fill=COAT)
    d.line([(7, 15), (17, 15)], fill=INK)
    # Text beside it and below it.
    for y in (5, 8, 11):
        d.line([(19, y), (23, y)], fill=INK)
    for y in (18, 21):
        d.line([(7, y), (23, y)], fill=INK)
    # The barcode.
    for x in (7, 9, 10, 12, 15, 16, 18, 21, 23):
        d.line([(x, 24), (x, 27)], fill=INK)
    image.save(Path(__file__).with_name("Orvanel.png"))


if __name__ == "__main__":
    main()
