#!/usr/bin/python3
"""Makes the two sample photographs the drawing view shows in its image units.

PortraitSample.jpg: 3000 x 2000 pixels, a head-and-shoulders portrait taken with the camera on its
side (the sitter's head towards the right edge), with EXIF orientation 8 so that viewers show it
upright; the view itself turns landscape portraits a quarter turn back to stand them up.
GroupSample.jpg: 2000 x 3000 pixels, a group of nine in two rows taken with the camera on its other
side (heads towards the left edge), without EXIF data; the view lays portrait-shaped group pictures
on their side, which stands this group upright.

Both are drawn with soft gradients, blur and grain so that they scale like photographs. The output
is the same on every run (fixed random seed). Run with the system Python and Pillow:
    /usr/bin/python3 data/make-sample-photographs.py data
"""
import random
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter

ORIENTATION_TAG = 0x0112
ROTATE_270_TO_VIEW = 8  # the stored picture is shown turned a quarter counter-clockwise


def backdrop(width, height, top, bottom):
    """A vertical gradient between two colours, the studio's mottled backdrop."""
    image = Image.new("RGB", (width, height))
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / max(1, height - 1)
        draw.line([(0, y), (width, y)], fill=tuple(int(a + (b - a) * t) for a, b in zip(top, bottom)))
    return image


def person(draw, cx, cy, scale, shirt, hair, rng):
    """A standing figure seen from the front: shoulders, neck, face, hair and eyes."""
    skin = (224 + rng.randint(-20, 10), 180 + rng.randint(-25, 10), 150 + rng.randint(-25, 10))
    s = scale
    draw.ellipse([cx - 1.6 * s, cy + 0.9 * s, cx + 1.6 * s, cy + 3.6 * s], fill=shirt)
    draw.rectangle([cx - 0.3 * s, cy + 0.4 * s, cx + 0.3 * s, cy + 1.2 * s], fill=skin)
    draw.ellipse([cx - 0.75 * s, cy - 1.1 * s, cx + 0.75 * s, cy + 0.8 * s], fill=hair)
    draw.ellipse([cx - 0.62 * s, cy - 0.8 * s, cx + 0.62 * s, cy + 0.75 * s], fill=skin)
    for ex in (-0.25, 0.25):
        draw.ellipse([cx + (ex - 0.08) * s, cy - 0.12 * s, cx + (ex + 0.08) * s, cy - 0.02 * s], fill=(60, 45, 40))
    draw.arc([cx - 0.25 * s, cy + 0.2 * s, cx + 0.25 * s, cy + 0.5 * s], 20, 160, fill=(150, 80, 80), width=max(2, int(s / 25)))


def finish(image):
    """Soft focus, a studio light falling off towards the corners, and film grain."""
    image = image.filter(ImageFilter.GaussianBlur(4))
    falloff = Image.radial_gradient("L").resize(image.size).point(lambda v: min(255, int(v * 1.6)))
    image = Image.composite(Image.new("RGB", image.size), image, falloff.filter(ImageFilter.GaussianBlur(40)).point(lambda v: v // 3))
    grain = Image.effect_noise(image.size, 40).convert("RGB")
    return Image.blend(image, grain, 0.08).filter(ImageFilter.GaussianBlur(0.7))


def portrait(rng):
    # Drawn upright at 2000 x 3000, then stored turned so that the head points to the right.
    image = backdrop(2000, 3000, (70, 90, 120), (25, 30, 45))
    draw = ImageDraw.Draw(image)
    person(draw, 1000, 1250, 620, (40, 60, 110), (70, 45, 30), rng)
    upright = finish(image)
    return upright.transpose(Image.Transpose.ROTATE_270)  # clockwise: the head goes to the right


def group(rng):
    # Drawn upright at 3000 x 2000, then stored turned so that the heads point to the left.
    image = backdrop(3000, 2000, (150, 175, 200), (70, 95, 60))
    draw = ImageDraw.Draw(image)
    shirts = [(150, 40, 40), (40, 110, 60), (200, 170, 60), (60, 60, 140), (120, 70, 140),
              (200, 200, 200), (30, 30, 30), (170, 90, 40), (60, 130, 150)]
    hairs = [(40, 30, 20), (90, 60, 30), (160, 120, 70), (20, 20, 20), (120, 120, 120)]
    for i in range(4):
        person(draw, 600 + i * 600, 650, 200, shirts[i], rng.choice(hairs), rng)
    for i in range(5):
        person(draw, 300 + i * 600, 1050, 215, shirts[4 + i], rng.choice(hairs), rng)
    upright = finish(image)
    return upright.transpose(Image.Transpose.ROTATE_90)  # counter-clockwise: the heads go to the left


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    rng = random.Random(20)
    exif = Image.Exif()
    exif[ORIENTATION_TAG] = ROTATE_270_TO_VIEW
    portrait(rng).save(folder / "PortraitSample.jpg", quality=88, dpi=(300, 300), exif=exif.tobytes())
    group(rng).save(folder / "GroupSample.jpg", quality=88, dpi=(300, 300))


if __name__ == "__main__":
    main()
