#!/usr/bin/env bash
# The balance report: plays N seeded seasons of the main job's schedule on the engine's worker threads and
# prints every figure with its 95 % interval across seasons and its sample size: titles and prize money by
# pre-season rating rank (over all events, by tier, by format and tier, by region), the calibration of the
# prediction odds, upsets by series length, stage kind and stamina, Swiss 3-0 and 0-3 rates by seed, repeat
# champions, the organiser's prize pools against the heat credited, the spread of ratings and the richest
# teams' share of the prize money. Writes balance.csv (docs/balance-csv.md says what each column holds),
# balance.png and balance_splits.png (drawn by the demo's chart controls on a virtual display). The same N
# and S print the same report whatever the number of threads or shards. Ends with the report's cost per
# series against bench_season's on the same build.
#   tools/balance_report.sh [--seasons N] [--seed S] [--threads T] [--baseline K] [--build <dir>] [--out <dir>]
#                           [--shard I/N] [--compare OTHER.csv]
#   tools/balance_report.sh --merge PARTIAL... [--compare OTHER.csv] [--build <dir>] [--out <dir>]
#   (each option also as --name=value)
#     --seasons N   seasons to play (default 200)
#     --seed S      season i plays with the simulator seed S * 1000 + i (default 2026)
#     --threads T   seasons played at once on the engine's worker pool, which has a thread per processor
#                   (default: one per processor)
#     --baseline K  seasons played again on one thread, for the reproducibility check, the speedup and the
#                   cost per series (default 20)
#     --build <dir> use this build folder as it is (default: set up and build build/main, as run_main.sh does)
#     --out <dir>   where the CSV and the pictures go (default build/report)
#     --shard I/N   play only shard I of N (the seasons i with i % N = I - 1) and write <out>/balance.part
#     --merge PARTIAL...  the report of the partials of all N shards of one run: the same CSV and pictures,
#                   byte for byte, as the run on one machine
#     --compare OTHER.csv  print and draw each figure's change against another report's balance.csv, mark
#                   the changes beyond their noise, and write <out>/balance_compare.csv
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)

# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
build_dir=""
out_dir="$top/build/report"
options=()
parts=()
sharded=0
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
        --shard | --shard=*)
            take_value --shard "$@"
            shift "$OPTION_WORDS"
            if ! [[ $OPTION_VALUE =~ ^0*([1-9][0-9]{0,8})/0*([1-9][0-9]{0,8})$ ]] \
                || [ "${BASH_REMATCH[1]}" -gt "${BASH_REMATCH[2]}" ]; then
                usage_error "--shard needs I/N with 1 <= I <= N, not '$OPTION_VALUE'"
            fi
            options+=("--shard=${BASH_REMATCH[1]}/${BASH_REMATCH[2]}")
            sharded=1
            ;;
        --compare | --compare=*)
            take_value --compare "$@"
            shift "$OPTION_WORDS"
            [ -f "$OPTION_VALUE" ] || usage_error "--compare: no file $OPTION_VALUE"
            options+=("--compare=$(realpath "$OPTION_VALUE")")
            ;;
        --merge | --merge=*)
            if [ "$1" = --merge ]; then
                shift
            else
                set -- "${1#--merge=}" "${@:2}"
            fi
            while [ $# -gt 0 ] && [[ $1 != --* ]]; do
                [ -f "$1" ] || usage_error "--merge: no file $1"
                parts+=("--part=$(realpath "$1")")
                shift
            done
            [ ${#parts[@]} -gt 0 ] || usage_error "--merge needs the partial results to merge"
            ;;
        *) refuse_option "$1" ;;
    esac
done
if [ ${#parts[@]} -gt 0 ]; then
    [ $sharded -eq 0 ] || usage_error "--merge and --shard go to different runs"
    for option in "${options[@]}"; do
        case "$option" in
            --compare=*) ;;
            *) usage_error "--merge takes the run's seasons and seed from the partials, not ${option%%=*}" ;;
        esac
    done
fi

if [ -z "$build_dir" ]; then
    build_dir="$top/build/main"
    "$here/setup.sh" "$build_dir"
fi
mkdir -p "$out_dir"
out_dir=$(cd "$out_dir" && pwd)
log=$(mktemp "${TMPDIR:-/tmp}/teamforge-balance.XXXXXX")
trap 'rm -f "$log"' EXIT
"$here/run_demo.sh" --build "$build_dir" --xvfb --check --script "$top/demo/report/balance_report.gd" \
    -- "${options[@]}" "${parts[@]}" "--out=$out_dir" | tee "$log"
[ "${PIPESTATUS[0]}" -eq 0 ] || exit 1

# The report's cost per series against the library's own benchmark season, on the same build.
report_cost=$(sed -n 's/^time: report cost per series played: \([0-9.]*\) us.*/\1/p' "$log")
bare_cost=$(sed -n 's/^time: report cost per series played: .*played bare[^:]*: \([0-9.]*\) us$/\1/p' "$log")
[ -n "$report_cost" ] || exit 0
"$here/run_demo.sh" --build "$build_dir" --check --script "$top/tests/engine/bench/bench_season.gd" \
    -- --runs=3 --no-handler >"$log" 2>&1 || { cat "$log"; exit 1; }
bench_cost=$(sed -n 's/^run [0-9]*: .*, \([0-9.]*\) us per match$/\1/p' "$log" | sort -n | sed -n 2p)
[ -n "$bench_cost" ] || { cat "$log"; echo "balance_report: bench_season printed no cost per match" >&2; exit 1; }
awk -v report="$report_cost" -v bare="$bare_cost" -v bench="$bench_cost" 'BEGIN {
    printf "time: cost per series on this build: the report %.1f us, bench_season %.1f us (median of 3): %.2f times (the aim is at most 1.3)\n", report, bench, report / bench
    printf "time: the report against its own seasons played bare (%.1f us): %.2f times\n", bare, report / bare
}'
