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

source "$here/../peer-photo"
source "$here/../hyperfine-times"

jpeg=$work/photo-6000x4000.jpg
if [ ! -s "$jpeg" ]; then
    # The test photograph, 4:2:0 at quality 92 as cameras write it.
    make_photo
    cjpeg -quality 92 -sample 2x2 -optimize -outfile "$jpeg" "$photo"
fi

time_commands jpeg "$runs" \
    ours "$tool $jpeg $work/ours.ppm" \
    ours-mapped "$tool --mapped $jpeg $work/ours-mapped.ppm" \
    djpeg "djpeg -dct float -nosmooth -outfile $work/djpeg.ppm $jpeg" \
    vips "env VIPS_CONCURRENCY=1 vips copy $jpeg $work/vips.ppm" \
    ours-decode "$tool $jpeg -" \
    ours-mapped-decode "$tool --mapped $jpeg -" \
    djpeg-decode "djpeg -dct float -nosmooth -outfile /dev/null $jpeg"

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
ratio 36 "ours/djpeg, PPM out" ours djpeg
ratio 36 "ours mapped/djpeg, PPM out" ours-mapped djpeg
ratio 36 "ours/vips, PPM out" ours vips
ratio 36 "ours/djpeg, decode only" ours-decode djpeg-decode
ratio 36 "ours mapped/djpeg, decode only" ours-mapped-decode djpeg-decode
echo "($same)"
