#!/usr/bin/env bash
# The balance report: plays N seeded seasons of the main job's schedule on the engine's worker threads and
# prints titles and prize money by pre-season rating rank, the calibration of the prediction odds, the
# spread of ratings and the richest teams' share of the prize money. Writes build/report/balance.csv and
# build/report/balance.png (drawn by the demo's chart controls on a virtual display). The same N and S
# print the same report whatever the number of threads.
#   tools/balance_report.sh [--seasons N] [--seed S] [--threads T] [--baseline K] [--build <dir>] [--out <dir>]
#   (each option also as --name=value)
#     --seasons N   seasons to play (default 200)
#     --seed S      season i plays with the simulator seed S * 1000 + i (default 2026)
#     --threads T   seasons played at once on the engine's worker pool, which has a thread per processor
#                   (default: one per processor)
#     --baseline K  seasons played again on one thread, for the reproducibility check and the speedup (default 20)
#     --build <dir> use this build folder as it is (default: set up and build build/main, as run_main.sh does)
#     --out <dir>   where the CSV and the picture go (default build/report)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)

# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
build_dir=""
out_dir="$top/build/report"
options=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seasons | --seasons=* | --seed | --seed=* | --threads | --threads=* | --baseline | --baseline=*)
            name=${1%%=*}
            take_integer "$name" "$@"
            options+=("$name=$OPTION_VALUE")
            shift "$OPTION_WORDS"
            ;;
        --build | --build=*) take_value --build "$@"; build_dir=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        --out | --out=*) take_value --out "$@"; out_dir=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        *) refuse_option "$1" ;;
    esac
done

if [ -z "$build_dir" ]; then
    build_dir="$top/build/main"
    "$here/setup.sh" "$build_dir"
fi
mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)
exec "$here/run_demo.sh" --build "$build_dir" --xvfb --check --script "$top/demo/report/balance_report.gd" \
    -- "${options[@]}" "--out=$out_dir"
