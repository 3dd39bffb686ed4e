#!/usr/bin/env bash
# Times our JPEG and PNG encoders against their peers on the same 6000x4000 photograph in the same
# run, end to end: read a PPM, encode, write the file.
#   JPEG, quality 92: ours (float DCT, baseline tables, 4:2:0, no optimised coding) against
#     `cjpeg -dct float -baseline -quality 92`, which uses the same libjpeg with the same settings
#     (the two files are compared byte for byte).
#   PNG, zlib level 6 with libpng's adaptive filters: ours against ImageMagick's convert-im6.q16
#     -quality 65 (level 6, adaptive filtering), one thread, metadata chunks left out.
# Every program runs with the machine's default settings (no allocator tunables). ImageMagick runs
# under Debian's resource policy, printed below (memory 256 MiB, map 512 MiB: the 6000x4000 picture
# at 16 bits a sample, 192 MB, fits in memory); cjpeg and our tool have no limits of their own.
# Our tool holds the whole picture in a 32-bit bitmap, as the program does, which cjpeg never does;
# "ours-read" only reads the PPM into that bitmap, so that ours minus ours-read is the encoder's own
# time (compared with the whole of cjpeg, its reading included).
# Each command runs BENCH_RUNS times (default 5; PNG 3) after a warm-up; the table gives the median
# and minimum wall clock and the mean processor time, then our ratio to the peer (below 1 means we
# are faster).
#   bench/peers/encode.sh <build folder>
set -euo pipefail
unset GLIBC_TUNABLES MALLOC_ARENA_MAX MALLOC_MMAP_THRESHOLD_ MALLOC_TOP_PAD_ MALLOC_TRIM_THRESHOLD_
build=$(cd "${1:?usage: encode.sh <build folder>}" && pwd)
tool=$build/bench/tools/encode
work=$build/bench-data
runs=${BENCH_RUNS:-5}
png_runs=${BENCH_PNG_RUNS:-3}
mkdir -p "$work"

source "$(dirname "$0")/../peer-photo"
source "$(dirname "$0")/../hyperfine-times"
make_photo

time_commands encode "$runs" \
    jpeg-ours "$tool jpeg 92 $photo $work/ours-q92.jpg" \
    ours-read "$tool none 0 $photo -" \
    jpeg-cjpeg "cjpeg -dct float -baseline -quality 92 -outfile $work/cjpeg-q92.jpg $photo"
time_commands encode "$png_runs" \
    png-ours "$tool png 6 $photo $work/ours-l6.png" \
    png-im "convert-im6.q16 -limit thread 1 $photo -strip -quality 65 $work/im-l6.png"

if cmp -s "$work/ours-q92.jpg" "$work/cjpeg-q92.jpg"; then
    jpeg_same="the same bytes as cjpeg"
else
    jpeg_same="FILES DIFFER FROM CJPEG"
fi
if [ "$(convert-im6.q16 "$work/ours-l6.png" -depth 8 rgb:- | md5sum)" = "$(convert-im6.q16 "$photo" -depth 8 rgb:- | md5sum)" ]; then
    png_same="same pixels as the input"
else
    png_same="PIXELS DIFFER FROM THE INPUT"
fi

echo "ImageMagick's resource limits:"
convert-im6.q16 -list resource | sed -n '/Width/,$p' | sed 's/^/  /'
echo
echo "encode 6000x4000 photograph, JPEG $runs runs, PNG $png_runs runs"
printf '%-12s %10s %10s %10s %12s\n' command "median ms" "min ms" "cpu ms" "bytes"
for pair in "jpeg-ours ours-q92.jpg" "ours-read -" "jpeg-cjpeg cjpeg-q92.jpg" "png-ours ours-l6.png" "png-im im-l6.png"; do
    read -r name file <<<"$pair"
    awk -v n="$name" -v m="${median[$name]}" -v l="${low[$name]}" -v c="${cpu[$name]}" -v b="$( [ "$file" = - ] && echo 0 || stat -c %s "$work/$file")" \
        'BEGIN { printf "%-12s %10.1f %10.1f %10.1f %12d\n", n, m * 1000, l * 1000, c * 1000, b }'
done
printf '\n%-32s %8s %8s %8s\n' "ratio" median min cpu
ratio 32 "ours/cjpeg, JPEG q92" jpeg-ours jpeg-cjpeg
awk -v om="${median[jpeg-ours]}" -v ol="${low[jpeg-ours]}" -v oc="${cpu[jpeg-ours]}" \
    -v rm="${median[ours-read]}" -v rl="${low[ours-read]}" -v rc="${cpu[ours-read]}" \
    -v pm="${median[jpeg-cjpeg]}" -v pl="${low[jpeg-cjpeg]}" -v pc="${cpu[jpeg-cjpeg]}" \
    'BEGIN { printf "%-32s %8.2f %8.2f %8.2f\n", "ours minus reading/cjpeg, JPEG", (om - rm) / pm, (ol - rl) / pl, (oc - rc) / pc }'
ratio 32 "ours/ImageMagick, PNG level 6" png-ours png-im
echo "(JPEG: $jpeg_same; PNG: $png_same)"
