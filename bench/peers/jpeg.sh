#!/usr/bin/env bash
# Times our JPEG decoder against djpeg (the same libjpeg with the same settings: float inverse DCT,
# no fancy upsampling) and libvips (`vips copy`, one thread), end to end: read a 6000x4000
# photograph, decode it, write a PPM. Prints our time and its ratio to each peer (below 1 means
# we are faster). A second pair times the decode alone: djpeg writing to /dev/null (its PPM rows
# go out as they are) against our tool writing nothing (our 32-bit rows would need a conversion
# pass that djpeg does not make).
#   bench/peers/jpeg.sh <build folder>          BENCH_RUNS=n sets the timed runs (default 5)
set -euo pipefail
build=$(cd "${1:?usage: jpeg.sh <build folder>}" && pwd)
tool=$build/bench/tools/jpegdecode
work=$build/bench-data
runs=${BENCH_RUNS:-5}
mkdir -p "$work"
export GLIBC_TUNABLES=glibc.malloc.hugetlb=1

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
hyperfine -N --style none --warmup 1 --runs "$runs" --export-csv "$csv" \
    -n ours "$tool $photo $work/ours.ppm" \
    -n djpeg "djpeg -dct float -nosmooth -outfile $work/djpeg.ppm $photo" \
    -n vips "env VIPS_CONCURRENCY=1 vips copy $photo $work/vips.ppm" \
    -n ours-decode "$tool $photo -" \
    -n djpeg-decode "djpeg -dct float -nosmooth -outfile /dev/null $photo" >/dev/null
# Wall-clock medians, and processor time (user + system means), which a busy shared machine
# disturbs less.
declare -A median cpu
while IFS=, read -r name _ _ med user system _; do
    [ "$name" = command ] && continue
    median[$name]=$med
    cpu[$name]=$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')
done <"$csv"
# The pixel bytes are the last 6000 x 4000 x 3 of each file (the PPM headers may be spaced apart).
pixels=$((6000 * 4000 * 3))
if cmp -s <(tail -c "$pixels" "$work/ours.ppm") <(tail -c "$pixels" "$work/djpeg.ppm"); then
    same="same pixels as djpeg"
else
    same="PIXELS DIFFER FROM DJPEG"
fi
printf '%-30s %9s %9s %10s %9s %9s\n' "decode 6000x4000 4:2:0 q92" "ours ms" "djpeg ms" "ours/djpeg" "vips ms" "ours/vips"
report() {
    awk -v what="$1" -v o="$2" -v d="$3" -v v="$4" \
        'BEGIN { printf "%-30s %9.1f %9.1f %10.2f %9.1f %9.2f\n", what, o * 1000, d * 1000, o / d, v * 1000, o / v }'
}
report "wall clock (median)" "${median[ours]}" "${median[djpeg]}" "${median[vips]}"
report "processor time (mean)" "${cpu[ours]}" "${cpu[djpeg]}" "${cpu[vips]}"
report "decode only, wall (median)" "${median[ours-decode]}" "${median[djpeg-decode]}" "${median[vips]}"
report "decode only, processor" "${cpu[ours-decode]}" "${cpu[djpeg-decode]}" "${cpu[vips]}"
echo "($same)"
