#!/usr/bin/env bash
# Times our resize tool against ImageMagick and libvips, end to end (read a PPM, resize, write a
# PPM), single-threaded, on the same inputs in the same run, and prints our time and its ratio to
# each peer (below 1 means we are faster).
#   bench/peers/resize.sh <build folder>          BENCH_RUNS=n sets the timed runs (default 5)
#
# Peers: ImageMagick's own binary convert-im6.q16 with one thread, the Triangle filter at blur 0.64
# (the Box filter for our box kernel); libvips `vips resize` with VIPS_CONCURRENCY=1 and the
# linear kernel. Our Gaussian uses radius 1, our Hamming radius 2; both are timed against the same
# Triangle and linear peers. Every program, ours included, runs with the machine's default settings:
# no environment beyond VIPS_CONCURRENCY, no allocator tunables (GLIBC_TUNABLES is cleared).
set -euo pipefail
unset GLIBC_TUNABLES MALLOC_ARENA_MAX MALLOC_MMAP_THRESHOLD_ MALLOC_TOP_PAD_ MALLOC_TRIM_THRESHOLD_
build=$(cd "${1:?usage: resize.sh <build folder>}" && pwd)
tool=$build/bench/tools/resize
work=$build/bench-data
runs=${BENCH_RUNS:-5}
mkdir -p "$work"

big=$work/plasma-6000x4000.ppm
small=$work/plasma-640x480.ppm
if [ ! -s "$big" ]; then
    echo "Making the 6000x4000 input (once)..."
    convert-im6.q16 -limit thread 1 -size 6000x4000 -seed 7 plasma:fractal -depth 8 "$big"
fi
[ -s "$small" ] || convert-im6.q16 -limit thread 1 -size 640x480 -seed 11 plasma:fractal -depth 8 "$small"

# Median seconds of each command, timed together: time_commands name cmd [name cmd ...]
declare -A median
time_commands() {
    local args=() csv=$work/hyperfine.csv
    while [ $# -gt 0 ]; do
        args+=(-n "$1" "$2")
        shift 2
    done
    if ! hyperfine -N --style none --warmup 1 --runs "$runs" --export-csv "$csv" "${args[@]}" \
        >/dev/null 2>"$work/hyperfine.err"; then
        cat "$work/hyperfine.err" >&2
        exit 1
    fi
    while IFS=, read -r name _ _ med _; do
        [ "$name" = command ] || median[$name]=$med
    done <"$csv"
}

printf '%-22s %-9s %9s %9s %8s %9s %8s\n' "resize" "kernel" "ours ms" "IM ms" "ours/IM" "vips ms" "ours/vips"
for job in "$big 3000 2000" "$big 1500 1000" "$big 630 420" "$small 1920 1440"; do
    read -r input width height <<<"$job"
    in_size=$(head -c 64 "$input" | sed -n 2p | tr ' ' x)
    in_w=${in_size%x*}
    in_h=${in_size#*x}
    hscale=$(awk -v a="$width" -v b="$in_w" 'BEGIN { printf "%.10g", a / b }')
    vscale=$(awk -v a="$height" -v b="$in_h" 'BEGIN { printf "%.10g", a / b }')
    im="convert-im6.q16 -limit thread 1 $input"
    time_commands \
        im-triangle "$im -filter Triangle -define filter:blur=0.64 -resize ${width}x${height}! $work/im.ppm" \
        im-box "$im -filter Box -resize ${width}x${height}! $work/im.ppm" \
        vips "env VIPS_CONCURRENCY=1 vips resize $input $work/vips.ppm $hscale --vscale $vscale --kernel linear" \
        bilinear "$tool bilinear $input $work/ours.ppm $width $height" \
        box "$tool box $input $work/ours.ppm $width $height" \
        gaussian "$tool gaussian $input $work/ours.ppm $width $height 1" \
        hamming "$tool hamming $input $work/ours.ppm $width $height 2"
    for kernel in bilinear box gaussian hamming; do
        peer=im-triangle
        [ "$kernel" = box ] && peer=im-box
        awk -v what="${in_w}x${in_h} to ${width}x${height}" -v k="$kernel" -v o="${median[$kernel]}" \
            -v i="${median[$peer]}" -v v="${median[vips]}" \
            'BEGIN { printf "%-22s %-9s %9.1f %9.1f %8.2f %9.1f %8.2f\n", what, k, o * 1000, i * 1000, o / i, v * 1000, o / v }'
    done
done

