#!/usr/bin/env bash
# Times our BMP and PPM decoders against Pillow and ImageMagick on the same 6000x4000 pictures (a
# 24-bit BMP and a binary PPM of the same plasma) in the same run. Every command reads the file and
# decodes it into memory, writing nothing: ours into the 32-bit bitmap the program draws (through
# the library's file source, as the program reads it), Pillow with Image.open(...).load() (its
# 4-byte RGB image), ImageMagick with `convert <file> null:` (its 16-bit pixel cache), one thread.
# Memory: ours and Pillow have no limit; ImageMagick runs under its installed policy, whose limits
# are printed below (the Debian policy's 256 MiB memory and 512 MiB map hold this picture's
# 183 MiB pixel cache in memory, so it never spills to disk). Every program runs under the memory
# settings of bench/memory-settings. The commands run interleaved, BENCH_RUNS rounds (default 10)
# after a warm-up round; the table gives each one's median and minimum wall clock and its median
# processor time, then the median of our paired ratios to each peer and to the faster one (below 1
# means we are faster), with the round count and the peer's exact command.
#   bench/peers/raster.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: raster.sh <build folder>}" && pwd)
tool=$build/bench/tools/rasterdecode
work=$build/bench-data
runs=${BENCH_RUNS:-10}
python=/usr/bin/python3 # Debian's interpreter, which has Debian's Pillow
mkdir -p "$work"

ppm=$work/raster-6000x4000.ppm
bmp=$work/raster-6000x4000.bmp
if [ ! -s "$ppm" ] || [ ! -s "$bmp" ]; then
    echo "Making the 6000x4000 pictures (once)..."
    convert-im6.q16 -limit thread 1 -size 6000x4000 -seed 3 plasma:fractal -depth 8 "$ppm"
    ppmtobmp -bpp 24 "$ppm" >"$bmp" 2>/dev/null
fi

pillow="$python -c 'import sys; from PIL import Image; Image.open(sys.argv[1]).load()'"
im="convert-im6.q16 -limit thread 1"
source "$here/../paired-times"
cat "$ppm" "$bmp" >/dev/null
time_commands raster "$runs" \
    ours-bmp "$tool $bmp" pillow-bmp "$pillow $bmp" im-bmp "$im $bmp null:" \
    ours-ppm "$tool $ppm" pillow-ppm "$pillow $ppm" im-ppm "$im $ppm null:"

echo "decode 6000x4000, 24-bit BMP and binary PPM, $runs interleaved rounds"
echo "ImageMagick's limits: $($im -list resource | awk '/Memory|Map|Area|Thread/ { printf "%s %s  ", $1, $2 }')"
printf '%-12s %10s %10s %10s\n' command "median ms" "min ms" "cpu ms"
for name in ours-bmp pillow-bmp im-bmp ours-ppm pillow-ppm im-ppm; do
    awk -v n="$name" -v m="${median[$name]}" -v l="${low[$name]}" -v c="${cpu[$name]}" \
        'BEGIN { printf "%-12s %10.1f %10.1f %10.1f\n", n, m * 1000, l * 1000, c * 1000 }'
done
echo
ratio_header 30
for format in bmp ppm; do
    ratio 30 "ours/Pillow, $format" "ours-$format" "pillow-$format"
    ratio 30 "ours/ImageMagick, $format" "ours-$format" "im-$format"
    faster=pillow-$format
    if awk -v a="${median[im-$format]}" -v b="${median[pillow-$format]}" 'BEGIN { exit !(a < b) }'; then
        faster=im-$format
    fi
    ratio 30 "ours/faster peer ($faster)" "ours-$format" "$faster"
done
