#!/usr/bin/env bash
# Times our resize tool against ImageMagick, end to end (read a PPM, resize, write a PPM),
# single-threaded, on the same inputs in the same run, and prints our time and its ratio to the
# peer (below 1 means we are faster), and the largest difference of a sample between the two
# pictures (in levels of 255).
#   bench/peers/resize.sh <build folder>          BENCH_RUNS=n sets the timed runs (default 5)
#
# Each of our kernels is paired with an ImageMagick filter (its own binary convert-im6.q16, one
# thread) only where the two have the same weights: the script compares our kernel's weights
# (`resize --weights`) with the ones ImageMagick reports with `-define filter:verbose=1`, and a
# kernel without a matching filter is timed alone ("no matching peer"). Our Gaussian is timed at
# radius 1, our Hamming at radius 2. libvips is not a peer here: its linear kernel spans a whole
# output pixel and it shrinks by block averages first, so its weights are not ours.
# Every program, ours included, runs under the memory settings of bench/memory-settings; inputs are
# read once before timing (page cache), outputs go to a memory file system, and the commands of one
# size run interleaved, BENCH_RUNS rounds after a warm-up round. The ratio is the median of the
# paired ratios of the rounds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: resize.sh <build folder>}" && pwd)
tool=$build/bench/tools/resize
work=$build/bench-data
runs=${BENCH_RUNS:-5}
mkdir -p "$work"
im="convert-im6.q16 -limit thread 1"

big=$work/plasma-6000x4000.ppm
small=$work/plasma-640x480.ppm
if [ ! -s "$big" ]; then
    echo "Making the 6000x4000 input (once)..."
    $im -size 6000x4000 -seed 7 plasma:fractal -depth 8 "$big"
fi
[ -s "$small" ] || $im -size 640x480 -seed 11 plasma:fractal -depth 8 "$small"

# Our kernels with their radius, and the ImageMagick filter that may match each.
kernels=(bilinear box gaussian hamming)
declare -A radius=([bilinear]=1 [box]=1 [gaussian]=1 [hamming]=2)
declare -A candidate=(
    [bilinear]="-filter Triangle -define filter:blur=0.64"
    [box]="-filter Box"
    [gaussian]="-filter Gaussian -define filter:sigma=0.70710678 -define filter:support=1"
    [hamming]="-filter Hamming -define filter:support=2"
)

# Largest difference between two weight tables ("x weight" lines, weights divided by the weight
# at 0) at the points inside the support, or "support" when the supports differ.
weight_difference() {
    awk '
        /^# support =/ { support[FILENAME] = $4 }
        /^# practical-support =/ { support[FILENAME] = $4 }
        /^ *[0-9.]+\t/ { x = sprintf("%.2f", $1); if (!(FILENAME SUBSEP x in w)) w[FILENAME, x] = $2 }
        END {
            a = ARGV[1]; b = ARGV[2]
            if (support[a] == "" || (support[a] - support[b])^2 > 1e-6) { print "support"; exit }
            worst = 0
            for (i = 0; i / 100 < support[a] - 0.005; i++) {
                x = sprintf("%.2f", i / 100)
                if (!((a, x) in w) || !((b, x) in w)) { print "support"; exit }
                d = w[a, x] - w[b, x]; if (d < 0) d = -d
                if (d > worst) worst = d
            }
            printf "%.4f\n", worst
        }' "$1" "$2"
}

echo
printf '%-9s %-72s %s\n' kernel "ImageMagick filter" "largest weight difference"
declare -A peer
for kernel in "${kernels[@]}"; do
    "$tool" --weights "$kernel" "${radius[$kernel]}" >"$work/weights-ours.txt"
    $im -size 16x16 xc:gray ${candidate[$kernel]} -define filter:verbose=1 -resize 8x8 null: \
        >"$work/weights-im.txt" 2>/dev/null
    difference=$(weight_difference "$work/weights-ours.txt" "$work/weights-im.txt")
    if [ "$difference" != support ] && awk -v d="$difference" 'BEGIN { exit !(d <= 0.001) }'; then
        peer[$kernel]=${candidate[$kernel]}
        verdict="$difference: same weights, paired"
    else
        verdict="$difference: other weights, no matching peer"
    fi
    printf '%-9s %-72s %s\n' "$kernel" "${candidate[$kernel]}" "$verdict"
done

source "$here/../paired-times"
cat "$big" "$small" >/dev/null

echo
printf '%-22s %-9s %9s %9s %8s %5s %9s  %s\n' "resize" "kernel" "ours ms" "IM ms" "ours/IM" runs "max diff" "peer command"
for job in "$big 3000 2000" "$big 1500 1000" "$big 630 420" "$small 1920 1440"; do
    read -r input width height <<<"$job"
    in_size=$(head -c 64 "$input" | sed -n 2p | tr ' ' x)
    commands=()
    for kernel in "${kernels[@]}"; do
        commands+=("$kernel" "$tool $kernel $input $out/ours-$kernel.ppm $width $height ${radius[$kernel]}")
        [ -n "${peer[$kernel]:-}" ] \
            && commands+=("im-$kernel" "$im $input ${peer[$kernel]} -resize ${width}x${height}! $out/im-$kernel.ppm")
    done
    time_commands resize "$runs" "${commands[@]}"
    for kernel in "${kernels[@]}"; do
        if [ -n "${peer[$kernel]:-}" ]; then
            # The largest difference of a sample between the two pictures, in levels of 255.
            diff=$(compare-im6.q16 -metric PAE "$out/ours-$kernel.ppm" "$out/im-$kernel.ppm" null: 2>&1 \
                | sed -n 's/.*(\(.*\)).*/\1/p' || true)
            read -r rounds paired _ < <(paired_ratio "$kernel" "im-$kernel")
            awk -v what="$in_size to ${width}x${height}" -v k="$kernel" -v o="${median[$kernel]}" \
                -v i="${median[im-$kernel]}" -v r="$paired" -v n="$rounds" -v d="$diff" -v c="${command[im-$kernel]}" \
                'BEGIN { printf "%-22s %-9s %9.1f %9.1f %8.2f %5d %9.0f  %s\n", what, k, o * 1000, i * 1000, r, n, d * 255, c }'
        else
            awk -v what="$in_size to ${width}x${height}" -v k="$kernel" -v o="${median[$kernel]}" \
                'BEGIN { printf "%-22s %-9s %9.1f %9s %8s %5s %9s  no matching peer\n", what, k, o * 1000, "-", "-", "-", "-" }'
        fi
    done
done
