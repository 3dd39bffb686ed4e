#!/usr/bin/python3
"""Draws the main frame's toolbar strip MainToolBar.png: eight 16 x 15 pictures side by side, in
the toolbar's order (New, Open, Save, Undo, Zoom in, Zoom out, Fit to window, Zoom 100%), on a
transparent background. Run it again after changing a picture: /usr/bin/python3 make-toolbar.py (Debian's
python3-pil)"""

from pathlib import Path

from PIL import Image, ImageDraw

W, H = 16, 15
INK = (40, 40, 40, 255)
PAPER = (255, 255, 255, 255)
FOLDER = (232, 188, 60, 255)
FOLDER_DARK = (160, 120, 20, 255)
DISK = (50, 90, 170, 255)
ARROW = (30, 110, 50, 255)
GLASS = (200, 225, 250, 255)
FRAME = (70, 110, 180, 255)


def new(d):
    d.polygon([(3, 1), (9, 1), (12, 4), (12, 13), (3, 13)], fill=PAPER, outline=INK)
    d.line([(9, 1), (9, 4), (12, 4)], fill=INK)


def open_(d):
    d.polygon([(1, 3), (5, 3), (6, 4), (12, 4), (12, 12), (1, 12)], fill=FOLDER_DARK, outline=INK)
    d.polygon([(3, 7), (15, 7), (12, 12), (1, 12)], fill=FOLDER, outline=INK)


def save(d):
    d.rectangle([1, 1, 14, 13], fill=DISK, outline=INK)
    d.rectangle([4, 1, 11, 6], fill=PAPER, outline=INK)
    d.rectangle([4, 9, 11, 13], fill=(190, 190, 190, 255), outline=INK)
    d.rectangle([9, 10, 10, 12], fill=INK)


def undo(d):
    d.arc([3, 3, 14, 13], start=270, end=90, fill=ARROW, width=2)
    d.line([(6, 3), (9, 3)], fill=ARROW, width=2)
    d.line([(5, 12), (9, 12)], fill=ARROW, width=2)
    d.polygon([(1, 3), (6, 0), (6, 6)], fill=ARROW)


def magnifier(d):
    d.ellipse([1, 1, 10, 10], fill=GLASS, outline=INK)
    d.line([(9, 9), (14, 14)], fill=INK, width=3)


def zoom_in(d):
    magnifier(d)
    d.line([(3, 5), (8, 5)], fill=INK)
    d.line([(5, 3), (5, 8)], fill=INK)


def zoom_out(d):
    magnifier(d)
    d.line([(3, 5), (8, 5)], fill=INK)


def fit(d):
    d.rectangle([4, 4, 11, 10], fill=PAPER, outline=FRAME)
    for (x, y, dx, dy) in [(0, 0, 1, 1), (15, 0, -1, 1), (0, 14, 1, -1), (15, 14, -1, -1)]:
        d.line([(x, y), (x + 3 * dx, y + 3 * dy)], fill=INK)
        d.line([(x, y), (x + 2 * dx, y)], fill=INK)
        d.line([(x, y), (x, y + 2 * dy)], fill=INK)


def zoom_100(d):
    magnifier(d)
    d.line([(5, 3), (5, 8)], fill=INK)
    d.line([(4, 4), (5, 3)], fill=INK)
    d.line([(4, 8), (6, 8)], fill=INK)


PICTURES = [new, open_, save, undo, zoom_in, zoom_out, fit, zoom_100]

strip = Image.new("RGBA", (W * len(PICTURES), H), (0, 0, 0, 0))
for i, draw in enumerate(PICTURES):
    picture = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    draw(ImageDraw.Draw(picture))
    strip.paste(picture, (i * W, 0))
strip.save(Path(__file__).with_name("MainToolBar.png"), optimize=True)
