#!/usr/bin/env bash
# Makes the bilinear golden: a small smooth gradient (gradient.ppm) and ImageMagick's resizes of it
# with the Triangle filter at blur 0.64, single-threaded, at factors from 0.5 to 2
# (gradient-<W>x<H>.ppm). Run from this folder; needs convert-im6.q16.
set -euo pipefail
cd "$(dirname "$0")"

# 32 x 24: red rises along x, green along y, blue along the diagonal.
awk 'BEGIN {
    w = 32; h = 24
    printf "P3\n%d %d\n255\n", w, h
    for (y = 0; y < h; y++)
        for (x = 0; x < w; x++)
            printf "%d %d %d\n", int(20 + 215 * x / (w - 1)), int(240 - 200 * y / (h - 1)),
                int(30 + 190 * (x + y) / (w + h - 2))
}' | convert-im6.q16 ppm:- -depth 8 gradient.ppm

for size in 16x12 24x18 19x30 48x36 64x48 40x20; do
    convert-im6.q16 -limit thread 1 gradient.ppm -filter Triangle -define filter:blur=0.64 \
        -resize "${size}!" -depth 8 "gradient-${size}.ppm"
done
