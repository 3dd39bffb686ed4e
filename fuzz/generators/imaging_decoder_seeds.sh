#!/usr/bin/env bash
# Writes the seed corpora of the imaging_tiff, imaging_png and imaging_gif fuzz targets: small files
# (8 x 6 pixels) of the variants each decoder reads, made by ImageMagick and libtiff's tiffcp.
#   fuzz/generators/imaging_decoder_seeds.sh fuzz/corpus
set -euo pipefail
out=${1:?usage: imaging_decoder_seeds.sh <corpus folder>}
im() { convert-im6.q16 -limit thread 1 "$@"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
im -size 8x6 gradient:red-blue -fx 'p + (i * 7 + j * 13) % 5 / 40' -depth 8 "$work/rgb.ppm"
im "$work/rgb.ppm" -alpha set -channel A -fx 'i / 8' +channel "$work/rgba.png"

tiff=$out/imaging_tiff
mkdir -p "$tiff"
for c in none lzw zip rle jpeg; do im "$work/rgb.ppm" -compress $c "$tiff/rgb-$c.tif"; done
im "$work/rgb.ppm" -depth 16 -compress lzw "$tiff/rgb16-lzw.tif"
im "$work/rgba.png" -compress lzw "$tiff/rgba-lzw.tif"
im "$work/rgb.ppm" -colorspace CMYK -compress lzw "$tiff/cmyk-lzw.tif"
im "$work/rgb.ppm" -interlace plane -compress lzw "$tiff/rgb-planes.tif"
im "$work/rgb.ppm" -colorspace gray -compress lzw "$tiff/grey8-lzw.tif"
for d in 2 4; do im "$work/rgb.ppm" -colorspace gray -depth $d "$tiff/grey$d.tif"; done
im "$work/rgb.ppm" -colorspace gray -depth 16 "$tiff/grey16.tif"
im "$work/rgb.ppm" -colors 16 -type palette "$tiff/palette4.tif"
im "$work/rgb.ppm" -colors 200 -type palette -compress lzw "$tiff/palette8-lzw.tif"
for c in none group4 fax rle; do im "$work/rgb.ppm" -monochrome -compress $c "$tiff/bilevel-$c.tif"; done
tiffcp -t -w 16 -l 16 -c lzw "$tiff/rgb-none.tif" "$tiff/rgb-tiled-lzw.tif"
im "$work/rgb.ppm" -units PixelsPerCentimeter -density 40 "$tiff/centimetres.tif"

png=$out/imaging_png
mkdir -p "$png"
for t in png8 png24 png32 png48 png64; do im "$work/rgba.png" "$t:$png/$t.png"; done
im "$work/rgb.ppm" -interlace PNG "png24:$png/interlaced.png"
for d in 1 2 4 8 16; do im "$work/rgb.ppm" -colorspace gray -depth $d "$png/grey$d.png"; done
im "$work/rgba.png" -colorspace gray "$png/grey-alpha.png"
im "$work/rgb.ppm" -colors 4 -transparent "$(im "$work/rgb.ppm" -colors 4 -format '%[pixel:p{0,0}]' info:)" \
    "png8:$png/palette-trns.png"
im "$work/rgb.ppm" -units PixelsPerInch -density 72 "$png/phys.png"

gif=$out/imaging_gif
mkdir -p "$gif"
im "$work/rgb.ppm" -colors 256 "$gif/palette.gif"
im "$work/rgb.ppm" -monochrome "$gif/two-colours.gif"
im "$work/rgba.png" -channel A -threshold 50% +channel "$gif/transparent.gif"
im "$work/rgb.ppm" -interlace GIF "$gif/interlaced.gif"
im -delay 10 "$work/rgb.ppm" \( "$work/rgb.ppm" -negate -crop 4x3+2+2 \) "$gif/two-frames.gif"
im "$work/rgb.ppm" \( "$work/rgb.ppm" -negate -colors 4 \) +map "$gif/local-maps.gif"
