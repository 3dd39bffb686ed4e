#!/usr/bin/env bash
# Times our JPEG decoder against djpeg (the same libjpeg with the same settings: float inverse DCT,
# no fancy upsampling) and libvips (`vips copy`, one thread; it upsamples smoothly), at three sizes
# of the same photograph (640x480, 1 megapixel and 6000x4000, 4:2:0 at quality 92), whole processes
# in the same run. Pairs with the same output work:
#   PPM out      read, decode, write the picture as PPM (ours, djpeg and vips);
#   decode only  read and decode, write nothing: djpeg's rows go to /dev/null, ours stay in the
#                32-bit bitmap that the program works on.
# "ours" reads the file through the library's file source, as the program does (mapped).
# Every program, ours included, runs under the memory settings of bench/memory-settings; inputs are
# read once before timing (page cache), outputs go to a memory file system. The commands of one size
# run interleaved, BENCH_RUNS rounds (default 10) after a warm-up round; the tables give each
# command's median, minimum and maximum wall clock and its median processor time, then the median of
# our paired ratios to each peer (below 1 means we are faster) with the round count and the peer's
# exact command.
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
source "$here/../paired-times"

make_photo
for size in 640x480 1224x816 6000x4000; do
    jpeg=$work/photo-$size.jpg
    # The test photograph, 4:2:0 at quality 92 as cameras write it.
    [ -s "$jpeg" ] || convert-im6.q16 -limit thread 1 "$photo" -resize "$size!" ppm:- \
        | cjpeg -quality 92 -sample 2x2 -optimize -outfile "$jpeg"
    cat "$jpeg" >/dev/null

    time_commands "jpeg-$size" "$runs" \
        ours "$tool $jpeg $out/ours.ppm" \
        djpeg "djpeg -dct float -nosmooth -outfile $out/djpeg.ppm $jpeg" \
        vips "env VIPS_CONCURRENCY=1 vips copy $jpeg $out/vips.ppm" \
        ours-decode "$tool $jpeg -" \
        djpeg-decode "djpeg -dct float -nosmooth -outfile /dev/null $jpeg"

    width=${size%x*} height=${size#*x}
    pixels=$((width * height * 3))
    if cmp -s <(tail -c "$pixels" "$out/ours.ppm") <(tail -c "$pixels" "$out/djpeg.ppm"); then
        same="same pixels as djpeg"
    else
        same="PIXELS DIFFER FROM DJPEG"
    fi

    echo
    echo "decode $size 4:2:0 q92, $runs interleaved rounds"
    printf '%-14s %10s %10s %10s %10s\n' command "median ms" "min ms" "max ms" "cpu ms"
    for name in ours djpeg vips ours-decode djpeg-decode; do
        awk -v n="$name" -v m="${median[$name]}" -v l="${low[$name]}" -v h="${high[$name]}" -v c="${cpu[$name]}" \
            'BEGIN { printf "%-14s %10.2f %10.2f %10.2f %10.2f\n", n, m * 1000, l * 1000, h * 1000, c * 1000 }'
    done
    ratio_header 30
    ratio 30 "ours/djpeg, PPM out" ours djpeg
    ratio 30 "ours/vips, PPM out" ours vips
    ratio 30 "ours/djpeg, decode only" ours-decode djpeg-decode
    echo "($same)"
done
