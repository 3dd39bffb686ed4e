#!/usr/bin/env bash
# Times our JPEG, PNG and TIFF encoders against their peers on the same photograph in the same run,
# whole processes, end to end: read a PPM, encode, write the file.
#   JPEG, quality 92, at 640x480, 1 megapixel and 6000x4000 (the sizes of jpeg.sh): ours
#     (`jpegencode`: float DCT, baseline tables, 4:2:0, no optimised coding) against
#     `cjpeg -dct float -baseline -quality 92`, which uses the same libjpeg with the same settings
#     (the files are compared byte for byte). Both load libjpeg and the C library only.
#   PNG, 6000x4000, zlib level 6 with libpng's adaptive filters: ours against
#     `pnmtopng -compression=6`, which uses the same libpng and zlib with the same level and lets
#     libpng choose among all filters, as ours does.
#   TIFF, 6000x4000, PackBits: ours against `pnmtotiff -packbits`, libtiff both.
# Our tool holds the whole picture in a 32-bit bitmap, as the program does, which the peers never
# do; their reading is in their times as ours is in ours.
# Every program runs under the memory settings of bench/memory-settings; the input is read once
# before timing (page cache), outputs go to a memory file system. The commands of each group run
# interleaved, BENCH_RUNS rounds (default 5; PNG and TIFF BENCH_PNG_RUNS, default 3) after a warm-up
# round; the tables give the median and minimum wall clock and the median processor time, then the
# median of our paired ratios to the peer (below 1 means we are faster) with the round count and
# the peer's exact command.
#   bench/peers/encode.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: encode.sh <build folder>}" && pwd)
tool=$build/bench/tools/encode
jpeg_tool=$build/bench/tools/jpegencode
work=$build/bench-data
runs=${BENCH_RUNS:-5}
png_runs=${BENCH_PNG_RUNS:-3}
mkdir -p "$work"

source "$here/../peer-photo"
source "$here/../paired-times"
make_photo

table() {
    printf '%-16s %10s %10s %10s %12s\n' command "median ms" "min ms" "cpu ms" "bytes"
    for pair in "$@"; do
        read -r name file <<<"$pair"
        awk -v n="$name" -v m="${median[$name]}" -v l="${low[$name]}" -v c="${cpu[$name]}" \
            -v b="$(stat -c %s "$out/$file")" \
            'BEGIN { printf "%-16s %10.2f %10.2f %10.2f %12d\n", n, m * 1000, l * 1000, c * 1000, b }'
    done
}

for size in 640x480 1224x816 6000x4000; do
    input=$photo
    if [ "$size" != 6000x4000 ]; then
        input=$work/photo-$size.ppm
        [ -s "$input" ] || convert-im6.q16 -limit thread 1 "$photo" -resize "$size!" "$input"
    fi
    cat "$input" >/dev/null
    time_commands "encode-jpeg-$size" "$runs" \
        jpeg-ours "$jpeg_tool 92 $input $out/ours-q92.jpg" \
        jpeg-cjpeg "cjpeg -dct float -baseline -quality 92 -outfile $out/cjpeg-q92.jpg $input"
    if cmp -s "$out/ours-q92.jpg" "$out/cjpeg-q92.jpg"; then
        jpeg_same="the same bytes as cjpeg"
    else
        jpeg_same="FILES DIFFER FROM CJPEG"
    fi
    echo
    echo "encode JPEG q92, $size, $runs interleaved rounds"
    table "jpeg-ours ours-q92.jpg" "jpeg-cjpeg cjpeg-q92.jpg"
    ratio_header 28
    ratio 28 "ours/cjpeg, JPEG q92" jpeg-ours jpeg-cjpeg
    echo "(JPEG: $jpeg_same)"
done

time_commands encode-png "$png_runs" \
    png-ours "$tool png 6 $photo $out/ours-l6.png" \
    png-pnmtopng "pnmtopng -compression=6 $photo > $out/pnmtopng-l6.png"
time_commands encode-tiff "$png_runs" \
    tiff-ours "$tool tiff 32773 $photo $out/ours.tif" \
    tiff-pnmtotiff "pnmtotiff -packbits $photo > $out/pnmtotiff.tif"

rgb_sum() { convert-im6.q16 "$1" -depth 8 rgb:- | md5sum; }
photo_sum=$(rgb_sum "$photo")
same_pixels() { if [ "$(rgb_sum "$1")" = "$photo_sum" ]; then echo "same pixels as the input"; else echo "PIXELS DIFFER FROM THE INPUT"; fi; }

echo
echo "encode 6000x4000 photograph, PNG and TIFF $png_runs interleaved rounds"
table "png-ours ours-l6.png" "png-pnmtopng pnmtopng-l6.png" "tiff-ours ours.tif" "tiff-pnmtotiff pnmtotiff.tif"
ratio_header 28
ratio 28 "ours/pnmtopng, PNG level 6" png-ours png-pnmtopng
ratio 28 "ours/pnmtotiff, TIFF PackBits" tiff-ours tiff-pnmtotiff
echo "(PNG: ours $(same_pixels "$out/ours-l6.png"), pnmtopng's $(same_pixels "$out/pnmtopng-l6.png");" \
    "TIFF: ours $(same_pixels "$out/ours.tif"))"
