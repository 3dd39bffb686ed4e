#!/usr/bin/env bash
# Start-up of the tool against a bare Qt window with a toolbar and a splitter (bench/startup/),
# whole processes from exec to the first painted frame, interleaved (A B A B), both started the
# same way on one virtual display (xvfb-run), under the memory settings of bench/memory-settings.
# Then each program's peak memory with GNU time -v, and the tool's peak after start-up and after
# switching the layout to the combined proof type (bench/startup/CombinedMemory.cpp).
#   bench/peers/startup.sh <build folder>          BENCH_RUNS=n sets the pairs (default 21)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../memory-settings"
build=$(cd "${1:?usage: startup.sh <build folder>}" && pwd)
runs=${BENCH_RUNS:-21}
tool=$build/bin/orvanel
peer=$build/bench/tools/bare-window
if ! command -v xvfb-run > /dev/null; then
    echo "xvfb-run is missing (scripts/install-deps bench installs it): start-up not timed"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A settings file of the bench's own; the first start writes it, the others start as a user's do.
export ORVANEL_SETTINGS=$work/Orvanel.conf
# Qt's runtime folder, private as Qt wants it (otherwise each start warns that it is not set).
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
display=(xvfb-run -a -s "-screen 0 1280x1024x24")
"${display[@]}" "$build/bench/tools/startup-pairs" "$runs" "$tool" "$peer"
peak() { # GNU time's maximum resident set size of one start, in MiB
    "${display[@]}" env ORVANEL_FIRST_FRAME_EXIT=1 /usr/bin/time -v "$@" 2>&1 > /dev/null |
        awk '/Maximum resident/ { printf "%.1f", $6 / 1024 }'
}
echo "peak memory (GNU time -v, one start each): tool $(peak "$tool") MiB, bare window $(peak "$peer") MiB"
echo "  commands: env ORVANEL_FIRST_FRAME_EXIT=1 /usr/bin/time -v $tool | $peer"
"${display[@]}" "$build/bench/tools/combined-memory" "$build/bin"
