#!/usr/bin/env bash
# The tool's memory while it prints the combined proof type (both sample photographs) to a PDF file
# (bench/startup/PrintMemory.cpp): its peak resident size before the print and during it, and its
# resident size before the print and after the job, on a virtual display (xvfb-run) under the
# memory settings of bench/memory-settings. Then the pictures the printed page holds (poppler's
# pdfimages), whose 32-bit bitmaps are what the print needs at the least beside the program.
#   bench/peers/print.sh <build folder>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: print.sh <build folder>}" && pwd)
if ! command -v xvfb-run > /dev/null; then
    echo "xvfb-run is missing (scripts/install-deps bench installs it): printing not measured"
    exit 0
fi
work=$(mktemp -d /dev/shm/orvanel-print.XXXXXX)
trap 'rm -rf "$work"' EXIT
export ORVANEL_SETTINGS=$work/Orvanel.conf
# Qt's runtime folder, private as Qt wants it (otherwise it warns that it is not set).
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/tools/print-memory" "$build/bin" "$work/combined.pdf"
if command -v pdfimages > /dev/null; then
    pdfimages -list "$work/combined.pdf" | awk 'NR > 2 {
        n++; pixels += $4 * $5; sizes = sizes sprintf(" %sx%s", $4, $5) }
        END { printf "printed pictures:%s; as 32-bit bitmaps %.1f MiB\n", sizes, pixels * 4 / 1048576 }'
fi
