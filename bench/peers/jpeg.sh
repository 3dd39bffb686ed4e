#!/usr/bin/env bash
# Times our JPEG decoder against djpeg (the same libjpeg with the same settings: float inverse DCT,
# no fancy upsampling) and libvips (`vips copy`, one thread; it upsamples smoothly), on the same
# 6000x4000 photograph in the same run. Pairs with the same output work:
#   PPM out      read, decode, write the picture as PPM (ours, djpeg and vips);
#   decode only  read and decode, write nothing: djpeg's rows go to /dev/null, ours stay in the
#                32-bit bitmap that the program works on.
# "ours" reads the file through the library's file source, as the program does (the whole file
# into memory first); "mapped" decodes the file mapped into memory, which times the decoder and
# its bitmap alone.
# Every program, ours included, runs under the memory settings of bench/memory-settings. Each
# command runs BENCH_RUNS times (default 10) after a warm-up; the table gives its median, minimum
# and maximum wall clock and its mean processor time (user + system), then our ratios to the peers
# (below 1 means we are faster) for each of them. On a busy machine the minimum is the least
# disturbed.
#   bench/peers/jpeg.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: jpeg.sh <build folder>}" && pwd)
tool=$build/bench/tools/jpegdecode
work=$build/bench-data
runs=${BENCH_RUNS:-10}
mkdir -p "$work"

photo=$work/photo-6000x4000.jpg
if [ ! -s "$photo" ]; then
    echo "Making the 6000x4000 photograph (once)..."
    # Plasma with fine noise has the detail and the entropy of a photograph; 4:2:0 at quality 92
    # as cameras write it.
    convert-im6.q16 -limit thread 1 -size 6000x4000 -seed 5 plasma:fractal -attenuate 0.4 +noise Gaussian \
        -depth 8 "$work/photo.ppm"
    cjpeg -quality 92 -sample 2x2 -optimize -outfile "$photo" "$work/photo.ppm"
    rm -f "$work/photo.ppm"
fi

csv=$work/hyperfine-jpeg.csv
if ! hyperfine -N --style none --warmup 1 --runs "$runs" --export-csv "$csv" \
    -n ours "$tool $photo $work/ours.ppm" \
    -n ours-mapped "$tool --mapped $photo $work/ours-mapped.ppm" \
    -n djpeg "djpeg -dct float -nosmooth -outfile $work/djpeg.ppm $photo" \
    -n vips "env VIPS_CONCURRENCY=1 vips copy $photo $work/vips.ppm" \
    -n ours-decode "$tool $photo -" \
    -n ours-mapped-decode "$tool --mapped $photo -" \
    -n djpeg-decode "djpeg -dct float -nosmooth -outfile /dev/null $photo" \
    >/dev/null 2>"$work/hyperfine-jpeg.err"; then
    cat "$work/hyperfine-jpeg.err" >&2
    exit 1
fi
declare -A median low high cpu
while IFS=, read -r name _ _ med user system min max _; do
    [ "$name" = command ] && continue
    median[$name]=$med
    low[$name]=$min
    high[$name]=$max
    cpu[$name]=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
done <"$csv"

# The pixel bytes are the last 6000 x 4000 x 3 of each file (the PPM headers may be spaced apart).
pixels=$((6000 * 4000 * 3))
if cmp -s <(tail -c "$pixels" "$work/ours.ppm") <(tail -c "$pixels" "$work/djpeg.ppm") \
    && cmp -s "$work/ours.ppm" "$work/ours-mapped.ppm"; then
    same="same pixels as djpeg"
else
    same="PIXELS DIFFER FROM DJPEG"
fi

echo "decode 6000x4000 4:2:0 q92, $runs runs each"
printf '%-18s %10s %10s %10s %10s\n' command "median ms" "min ms" "max ms" "cpu ms"
for name in ours ours-mapped djpeg vips ours-decode ours-mapped-decode djpeg-decode; do
    awk -v n="$name" -v m="${median[$name]}" -v l="${low[$name]}" -v h="${high[$name]}" -v c="${cpu[$name]}" \
        'BEGIN { printf "%-18s %10.1f %10.1f %10.1f %10.1f\n", n, m * 1000, l * 1000, h * 1000, c * 1000 }'
done
printf '\n%-36s %8s %8s %8s\n' "ratio" median min cpu
ratio() {
    awk -v what="$1" -v om="${median[$2]}" -v ol="${low[$2]}" -v oc="${cpu[$2]}" \
        -v pm="${median[$3]}" -v pl="${low[$3]}" -v pc="${cpu[$3]}" \
        'BEGIN { printf "%-36s %8.2f %8.2f %8.2f\n", what, om / pm, ol / pl, oc / pc }'
}
ratio "ours/djpeg, PPM out" ours djpeg
ratio "ours mapped/djpeg, PPM out" ours-mapped djpeg
ratio "ours/vips, PPM out" ours vips
ratio "ours/djpeg, decode only" ours-decode djpeg-decode
ratio "ours mapped/djpeg, decode only" ours-mapped-decode djpeg-decode
echo "($same)"
