#!/usr/bin/env bash
# The report's arithmetic on hand-made seasons (test_balance_stats.gd), then a small balance report run three
# times: the same seasons and seed on two and on three worker threads print the same report and write the
# same CSV (each run also replays its seasons on one thread and fails on any difference), another seed gives
# other figures, the titles and shares add up, and the picture is a 1280x720 PNG.
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
    if ! "$top/tools/balance_report.sh" --build "$build" --seasons 3 --baseline 3 --out "$work/$name" "$@" >"$work/$name.txt" 2>&1; then
        cat "$work/$name.txt"
        echo "test_balance_report: the report failed ($*)" >&2
        exit 1
    fi
}
# The report as printed, without the engine's banner, the timings and the output paths.
report() {
    sed -n '/^Teamforge balance report/,$p' "$work/$1.txt" | grep -vE '^(time:|wrote )'
}
fail() {
    echo "test_balance_report: $*" >&2
    exit 1
}

"$top/tools/run_demo.sh" --build "$build" --xvfb --check --script "$here/test_balance_stats.gd" >"$work/stats.txt" 2>&1 \
    || { cat "$work/stats.txt"; fail "the report's arithmetic"; }
run two --seed 11 --threads 2
run three --seed 11 --threads 3
run other --seed 12 --threads 2

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
python3 - "$work/two/balance.png" <<'PY' || fail "balance.png is not a 1280x720 PNG"
import struct, sys
data = open(sys.argv[1], "rb").read(24)
assert data[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", data[16:24]) == (1280, 720)
PY
echo "balance report: the same on 2 and 3 threads, another seed differs, picture drawn"
