#!/usr/bin/env bash
# Times our TIFF, PNG and GIF decoders against their peers on the same files in the same run, end to
# end: read the file, decode it, write the picture as binary PPM (tiff2rgba writes an uncompressed RGB
# TIFF of the same bytes, -n without alpha):
#   PNG  6000x4000 RGB, ImageMagick's default compression: pngtopnm, ImageMagick, Pillow;
#   TIFF 6000x4000 RGB, LZW: tiff2rgba, ImageMagick, Pillow;
#   GIF  2000x2000, 256 colours: giftopnm, ImageMagick, Pillow.
# Every program runs under bench/memory-settings. The peers' own memory limits are printed: ImageMagick
# runs under Debian's resource policy, tiff2rgba under its default allocation limit, Pillow under its
# picture-size limit (both pictures are below it); pngtopnm, giftopnm and our tool have none. ImageMagick
# runs with one thread, as the others do. Inputs are read once before timing (page cache), outputs
# go to a memory file system. The commands run interleaved, BENCH_RUNS rounds (default 5) after a
# warm-up round; the table gives the median and minimum wall clock and the median processor time,
# then the median of our paired ratios to the fastest peer by median (below 1 means we are faster),
# with the round count and the peer's exact command. The PPM files are compared with ImageMagick's.
#   bench/peers/decode.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: decode.sh <build folder>}" && pwd)
tool=$build/bench/tools/decode
work=$build/bench-data
runs=${BENCH_RUNS:-5}
mkdir -p "$work"
im() { convert-im6.q16 -limit thread 1 "$@"; }
# Pillow writes palette pictures through RGB, as the other programs do.
pillow="/usr/bin/python3 -c 'import sys; from PIL import Image; i = Image.open(sys.argv[1]);
(i if i.mode == \"RGB\" else i.convert(\"RGB\")).save(sys.argv[2])'"

source "$here/../peer-photo"
make_photo
[ -s "$work/decode.png" ] || im "$photo" -strip png24:"$work/decode.png"
[ -s "$work/decode.tif" ] || im "$photo" -strip -compress lzw "$work/decode.tif"
[ -s "$work/decode.gif" ] || im "$photo" -resize 2000x2000! -colors 256 "$work/decode.gif"

source "$here/../paired-times"
cat "$work"/decode.{png,tif,gif} >/dev/null

time_commands decode "$runs" \
    png-ours "$tool png $work/decode.png $out/ours-png.ppm" \
    png-pngtopnm "pngtopnm $work/decode.png > $out/pngtopnm.ppm" \
    png-im "convert-im6.q16 -limit thread 1 $work/decode.png $out/im-png.ppm" \
    png-pillow "$pillow $work/decode.png $out/pillow-png.ppm" \
    tiff-ours "$tool tiff $work/decode.tif $out/ours-tif.ppm" \
    tiff-tiff2rgba "tiff2rgba -n -c none $work/decode.tif $out/tiff2rgba.tif" \
    tiff-im "convert-im6.q16 -limit thread 1 $work/decode.tif $out/im-tif.ppm" \
    tiff-pillow "$pillow $work/decode.tif $out/pillow-tif.ppm" \
    gif-ours "$tool gif $work/decode.gif $out/ours-gif.ppm" \
    gif-giftopnm "giftopnm $work/decode.gif > $out/giftopnm.ppm" \
    gif-im "convert-im6.q16 -limit thread 1 $work/decode.gif $out/im-gif.ppm" \
    gif-pillow "$pillow $work/decode.gif $out/pillow-gif.ppm"

same() {
    if cmp -s <(im "$1" -depth 8 rgb:-) <(im "$2" -depth 8 rgb:-); then echo same; else echo DIFFERENT; fi
}
echo "Peers' memory limits: tiff2rgba's default allocation limit (-M, 256 MiB in libtiff 4.5);" \
    "Pillow's MAX_IMAGE_PIXELS $(/usr/bin/python3 -c 'from PIL import Image; print(Image.MAX_IMAGE_PIXELS)');" \
    "ImageMagick's resources:"
convert-im6.q16 -list resource | sed -n '/Width/,$p' | sed 's/^/  /'
echo
echo "decode to PPM: PNG and TIFF 6000x4000 RGB, GIF 2000x2000; $runs interleaved rounds"
printf '%-16s %10s %10s %10s\n' command "median ms" "min ms" "cpu ms"
for name in png-ours png-pngtopnm png-im png-pillow tiff-ours tiff-tiff2rgba tiff-im tiff-pillow \
    gif-ours gif-giftopnm gif-im gif-pillow; do
    awk -v n="$name" -v m="${median[$name]}" -v l="${low[$name]}" -v c="${cpu[$name]}" \
        'BEGIN { printf "%-16s %10.1f %10.1f %10.1f\n", n, m * 1000, l * 1000, c * 1000 }'
done
echo
ratio_header 34 "ratio to the fastest peer"
for format in png tiff gif; do
    fastest=
    for name in "${!median[@]}"; do
        [[ $name == $format-* && $name != $format-ours ]] || continue
        if [ -z "$fastest" ] || awk -v a="${median[$name]}" -v b="${median[$fastest]}" 'BEGIN { exit !(a < b) }'; then
            fastest=$name
        fi
    done
    ratio 34 "ours/$fastest" "$format-ours" "$fastest"
done
echo "(pixels against ImageMagick's: PNG $(same "$out/ours-png.ppm" "$out/im-png.ppm")," \
    "TIFF $(same "$out/ours-tif.ppm" "$out/im-tif.ppm"), GIF $(same "$out/ours-gif.ppm" "$out/im-gif.ppm"))"
