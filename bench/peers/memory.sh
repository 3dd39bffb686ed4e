#!/usr/bin/env bash
# Peak memory of whole processes on 24-megapixel pictures (6000x4000), measured with GNU time -v
# (the kernel's maximum resident set size of the process), every program under the memory settings
# of bench/memory-settings, outputs on a memory file system. Each figure is the median of
# BENCH_MEMORY_RUNS runs (default 3), interleaved.
#   floor        our tool on a 1x1 picture: the process without a picture
#   TIFF encode  ours (read the PPM into the 32-bit bitmap, encode PackBits, write through the file
#                sink) against `pnmtotiff -packbits`; goal: ours at most the bitmap plus 15% above
#                the floor
#   decodes      JPEG, TIFF (LZW) and PNG read through the library's file source (mapped) into the
#                32-bit bitmap, writing nothing; a mapped input's pages count in the resident size,
#                so the anonymous part is the peak less the floor and the file's size; goal: at most
#                the bitmap plus 15%
#   bench/peers/memory.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: memory.sh <build folder>}" && pwd)
tools=$build/bench/tools
work=$build/bench-data
runs=${BENCH_MEMORY_RUNS:-3}
mkdir -p "$work"
source "$here/../peer-photo"
out=$(mktemp -d /dev/shm/orvanel-memory.XXXXXX)
trap 'rm -rf "$out"' EXIT

make_photo
im() { convert-im6.q16 -limit thread 1 "$@"; }
jpeg=$work/photo-6000x4000.jpg
[ -s "$jpeg" ] || cjpeg -quality 92 -sample 2x2 -optimize -outfile "$jpeg" "$photo"
[ -s "$work/decode.tif" ] || im "$photo" -strip -compress lzw "$work/decode.tif"
[ -s "$work/decode.png" ] || im "$photo" -strip png24:"$work/decode.png"
[ -s "$work/tiny.ppm" ] || printf 'P6\n1 1\n255\n\0\0\0' >"$work/tiny.ppm"
cat "$photo" "$jpeg" "$work/decode.tif" "$work/decode.png" >/dev/null

# Peak resident KiB of one run of a command (its standard output to the file after ">", if any).
peak() {
    local file=/dev/null words=("$@") n=$#
    if [ "$n" -ge 3 ] && [ "${words[n - 2]}" = ">" ]; then
        file=${words[n - 1]}
        words=("${words[@]:0:n-2}")
    fi
    /usr/bin/time -v -o "$out/time.txt" "${words[@]}" >"$file" 2>/dev/null
    awk -F': ' '/Maximum resident set size/ { print $2 }' "$out/time.txt"
}

names=(floor tiff-ours tiff-pnmtotiff jpeg-ours tiff-decode png-decode)
declare -A cmd=(
    [floor]="$tools/encode tiff 32773 $work/tiny.ppm $out/tiny.tif"
    [tiff-ours]="$tools/encode tiff 32773 $photo $out/ours.tif"
    [tiff-pnmtotiff]="pnmtotiff -packbits $photo > $out/pnmtotiff.tif"
    [jpeg-ours]="$tools/jpegdecode $jpeg -"
    [tiff-decode]="$tools/decode tiff $work/decode.tif -"
    [png-decode]="$tools/decode png $work/decode.png -"
)
declare -A samples
for ((round = 0; round < runs; round++)); do
    for name in "${names[@]}"; do
        # shellcheck disable=SC2086 # the commands are word lists
        samples[$name]+="$(peak ${cmd[$name]}) "
    done
done
median_of() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
declare -A kib
for name in "${names[@]}"; do
    kib[$name]=$(median_of "${samples[$name]}")
done

bitmap=$((6000 * 4000 * 4 / 1024))
floor=${kib[floor]}
echo "peak memory (GNU time -v, maximum resident set size), median of $runs runs; bitmap $((bitmap / 1024)) MiB, floor $((floor / 1024)) MiB"
printf '%-16s %10s %12s %12s %10s  %s\n' what "peak MiB" "input MiB" "anon MiB" "/bitmap" command
for name in "${names[@]}"; do
    input=0
    case $name in
    jpeg-ours) input=$(stat -c %s "$jpeg") ;;
    tiff-decode) input=$(stat -c %s "$work/decode.tif") ;;
    png-decode) input=$(stat -c %s "$work/decode.png") ;;
    esac
    awk -v n="$name" -v p="${kib[$name]}" -v f="$floor" -v i="$input" -v b="$bitmap" -v c="${cmd[$name]}" \
        'BEGIN { a = p - f - i / 1024; if (n == "floor" || n == "tiff-pnmtotiff") a = p
                 printf "%-16s %10.1f %12.1f %12.1f %10.2f  %s\n", n, p / 1024, i / 1048576, a / 1024, a / b, c }'
done
echo "(anon: the peak less the floor and the mapped input, against the bitmap; for pnmtotiff its whole peak)"
