#!/usr/bin/env bash
# The report's arithmetic on hand-made seasons (test_balance_stats.gd), then a small balance report run three
# times: the same seasons and seed on two and on three worker threads print the same report and write the
# same CSV (each run also replays its seasons on one thread and fails on any difference), another seed gives
# other figures, the titles and shares add up, and the pictures are 1280x720 PNGs. The same seasons played as
# two shards and merged write the single run's CSV and pictures byte for byte; another seed's report compared
# with it marks nothing beyond noise.
#   tests/report/test_balance_report.sh <build dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: test_balance_report.sh <build dir>}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-report-test.XXXXXX")
trap 'rm -rf "$work"' EXIT

run() {
    local name=$1
    shift
    # Three seasons, all replayed on one thread, unless the run says otherwise (a shard) or plays none (a merge).
    local sized=(--seasons 3 --baseline 3)
    case " $* " in *" --shard "* | *" --merge "*) sized=() ;; esac
    if ! "$top/tools/balance_report.sh" --build "$build" "${sized[@]}" --out "$work/$name" "$@" >"$work/$name.txt" 2>&1; then
        cat "$work/$name.txt"
        echo "test_balance_report: the report failed ($*)" >&2
        exit 1
    fi
}
# The report as printed, without the engine's banner, the timings and the output paths.
report() {
    sed -n '/^Teamforge balance report/,$p' "$work/$1.txt" | grep -vE '^(time:|wrote |progress:)'
}
fail() {
    echo "test_balance_report: $*" >&2
    exit 1
}

"$top/tools/run_demo.sh" --build "$build" --xvfb --check --script "$here/test_balance_stats.gd" >"$work/stats.txt" 2>&1 \
    || { cat "$work/stats.txt"; fail "the report's arithmetic"; }
run two --seed 11 --threads 2
run three --seed 11 --threads 3
run other --seed 12 --threads 2 --compare "$work/two/balance.csv"

[ -n "$(report two)" ] || { cat "$work/two.txt"; fail "no report printed"; }
grep -q '^time: 3 of them again on one thread .*speedup' "$work/two.txt" || fail "no timing against one thread"
diff <(report two) <(report three) || fail "the printed report depends on the number of threads"
cmp "$work/two/balance.csv" "$work/three/balance.csv" || fail "the CSV depends on the number of threads"
! cmp -s "$work/two/balance.csv" "$work/other/balance.csv" || fail "another seed gives the same figures"
# Every tournament of the schedule crowns one champion; the shares add up to one.
python3 - "$work/two/balance.csv" "$top/demo/main.gd" <<'PY' || fail "the CSV's figures do not add up"
import csv, re, sys
rows = list(csv.DictReader(open(sys.argv[1])))
tournaments = len(re.findall(r'^\t\["', open(sys.argv[2]).read(), re.M))
titles = sum(int(r["value"]) for r in rows if r["section"] == "rank" and r["metric"] == "titles")
shares = sum(float(r["value"]) for r in rows if r["section"] == "rank" and r["metric"] == "title_share")
series = [int(r["value"]) for r in rows if r["section"] == "calibration" and r["metric"] == "series"]
assert tournaments > 0 and titles == 3 * tournaments, (titles, tournaments)
assert abs(shares - 1) < 1e-4 and sum(series) > 0, (shares, series)
PY
python3 - "$work/two/balance.png" "$work/two/balance_splits.png" <<'PY' || fail "balance.png is not a 1280x720 PNG"
import struct, sys
for path in sys.argv[1:]:
    data = open(path, "rb").read(24)
    assert data[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", data[16:24]) == (1280, 720), path
PY
grep -q '^time: cost per series on this build: the report .* us, bench_season .* us' "$work/two.txt" \
    || fail "no cost per series against bench_season"
grep -qE '^time: the report against its own seasons played bare \([0-9.]+ us\): [0-9.]+ times$' "$work/two.txt" \
    || fail "no cost per series against the same seasons played bare"

# Two shards of the same seasons, merged: the single run's bytes.
run shard1 --seed 11 --shard 1/2 --seasons 3 --baseline 1 --threads 2
run shard2 --seed 11 --shard 2/2 --seasons 3 --baseline 0 --threads 1
grep -q '^shard 1/2: seasons 0, 2 of 3, seed 11' "$work/shard1.txt" || fail "shard 1/2 did not play seasons 0 and 2"
[ ! -e "$work/shard1/balance.csv" ] || fail "a shard wrote a CSV of its own"
run merged --merge "$work/shard2/balance.part" "$work/shard1/balance.part"
for file in balance.csv balance.png balance_splits.png; do
    cmp "$work/two/$file" "$work/merged/$file" || fail "the merged shards' $file differs from the single run's"
done
diff <(report two) <(report merged) || fail "the merged shards print another report"
# Another seed against this one: changes, none beyond noise.
grep -q '^(a 5% chance .*)\. 0 beyond noise\.$' "$work/other.txt" || fail "another seed's report marked as beyond noise"
grep -q '^rank,1,titles,' "$work/other/balance_compare.csv" || fail "no balance_compare.csv"
echo "balance report: the same on 2 and 3 threads, another seed differs, pictures drawn, shards merge to the same bytes"
