#!/usr/bin/env bash
# The tools' command line, without building or running anything: every tool in tools/ refuses an unknown
# option with its usage on stderr and status 2, -h prints the usage, and the tools that take a seed
# (run_main.sh, stress.sh, balance_report.sh) read --seed N and --seed=N alike: copies of them run on
# stand-ins for the build, the engine and the demo runner, which print what they were given.
# tools/godot is left out: it hands every argument to the engine.
#   tests/tools/test_tool_options.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-tool-options.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "test_tool_options: $*" >&2
    failures=$((failures + 1))
}

# expect <status> <output check> <tool> <arguments...>: runs the tool; the check is a grep pattern the tool's
# stderr (for a status other than 0) or stdout must hold.
expect() {
    local status=$1 pattern=$2 tool=$3
    shift 3
    timeout 60 "$tool" "$@" >"$work/out" 2>"$work/err" </dev/null
    local got=$?
    local shown="$work/err"
    [ "$status" -ne 0 ] || shown="$work/out"
    if [ $got -ne "$status" ]; then
        fail "${tool#"$top"/} $*: status $got, expected $status ($(head -c 300 "$work/err"))"
    elif ! grep -qE -- "$pattern" "$shown"; then
        fail "${tool#"$top"/} $*: the output lacks /$pattern/: $(head -c 300 "$shown")"
    fi
}

# Every tool: an unknown option first, and after what the tool takes when it takes arguments.
for tool in "$top"/tools/*.sh; do
    expect 2 . "$tool" --no-such-option
done
for tool in "$top"/tools/*.py; do
    expect 2 . python3 "$tool" --no-such-option
done
for tool in "$top"/tools/*.sh; do
    expect 0 . "$tool" -h
    expect 0 . "$tool" --help
done
expect 2 'unknown option --no-such-option' "$top/tools/run_main.sh" --seed 7 --no-such-option
expect 2 'unknown option --quit-after' "$top/tools/run_demo.sh" --quit-after 300
expect 2 'unknown option --bogus' "$top/tools/setup.sh" "$work/never" --bogus
[ ! -e "$work/never" ] || fail "setup.sh made its build folder before refusing an option"
expect 2 'unknown option' "$top/tools/stress.sh" --seed 3 --calls 10 --no-such-option
expect 2 'unknown option' "$top/tools/run_benchmarks.sh" bench_season --no-such-option
expect 2 'no benchmark' "$top/tools/run_benchmarks.sh" no_such_bench
expect 2 'unknown option' "$top/tools/count_season_instructions.sh" --keep "$work/keep" --no-such-option
expect 2 'unknown option' "$top/tools/record_season.sh" --compare --no-such-option x
expect 2 'unknown option' "$top/tools/docs.sh" check --no-such-option
expect 2 'unknown command' "$top/tools/docs.sh" refresh "$work"
expect 2 '--shard needs I/N' "$top/tools/balance_report.sh" --shard 4/3
expect 2 '--merge needs the partial results' "$top/tools/balance_report.sh" --merge --seed 3
expect 2 '--merge takes the run' "$top/tools/balance_report.sh" --merge "$top/README.md" --seasons 3
expect 2 '--compare: no file' "$top/tools/balance_report.sh" --compare "$work/no-such.csv"

# The seed in both forms; a malformed or missing one is refused in both.
for tool in run_main.sh stress.sh balance_report.sh; do
    expect 2 '--seed needs an integer' "$top/tools/$tool" --seed seven
    expect 2 '--seed needs an integer' "$top/tools/$tool" --seed=7x
    expect 2 '--seed needs an integer' "$top/tools/$tool" --seed 99999999999999999999
    expect 2 '--seed needs a value' "$top/tools/$tool" --seed
    expect 2 '--seed needs a value' "$top/tools/$tool" --seed=
done

# Copies of the seed tools on stand-ins that print their arguments.
stage="$work/stage"
mkdir -p "$stage/tools/lib" "$stage/build/bin"
cp "$top"/tools/{run_main.sh,stress.sh,balance_report.sh} "$stage/tools/"
cp "$top/tools/lib/options.sh" "$stage/tools/lib/"
printf '#!/bin/sh\necho "$(basename "$0") $*"\n' >"$stage/tools/setup.sh"
cp "$stage/tools/setup.sh" "$stage/tools/link_extension.sh"
cp "$stage/tools/setup.sh" "$stage/tools/run_demo.sh"
# The stress tool shows only the engine's lines that begin "stress: ".
printf '#!/bin/sh\necho "Godot Engine v0"\necho\necho "stress: 1 calls; engine $*"\n' >"$stage/tools/godot"
chmod +x "$stage"/tools/*
touch "$stage/build/bin/teamforge.gdextension"
cp /bin/true "$stage/build/bin/libteamforge.linux.stand_in.so"

# seed_run <tool> <arguments...>: what the stand-ins were given, in one line.
seed_run() {
    local tool=$1
    shift
    (cd "$stage" && "tools/$tool" "$@" 2>&1) | grep -E '^(run_demo\.sh|stress: .*engine)' | tr '\n' ' '
}
for tool in "run_main.sh" "stress.sh --build build" "balance_report.sh --build build --seasons 3"; do
    # shellcheck disable=SC2086
    spaced=$(seed_run $tool --seed 7)
    # shellcheck disable=SC2086
    joined=$(seed_run $tool --seed=7)
    [ -n "$spaced" ] || fail "$tool --seed 7 did not reach the engine or the demo runner"
    [ "$spaced" = "$joined" ] || fail "$tool: --seed 7 gives [$spaced], --seed=7 gives [$joined]"
    grep -qE -- '--seed(=| )7( |$)' <<<"$spaced" || fail "$tool --seed 7 passed on [$spaced]"
    # shellcheck disable=SC2086
    negative=$(seed_run $tool --seed=-0042)
    grep -qE -- '--seed(=| )-42( |$)' <<<"$negative" || fail "$tool --seed=-0042 passed on [$negative]"
done
# The main job's single status line and log, with the season after the engine's banner.
out=$(cd "$stage" && tools/run_main.sh --seed 7 2>&1)
[ "$(head -n 1 <<<"$out")" = "build: ok (log: build/main.log)" ] || fail "run_main.sh status line: $(head -n 1 <<<"$out")"
grep -q '^setup.sh ' "$stage/build/main.log" || fail "run_main.sh kept no build log"
! grep -qE '^(Godot Engine|setup\.sh)' <<<"$out" || fail "run_main.sh printed the banner or the build's output: $out"
printf '#!/bin/sh\necho "error: no compiler"\nexit 1\n' >"$stage/tools/setup.sh"
out=$(cd "$stage" && tools/run_main.sh 2>&1)
status=$?
[ $status -eq 1 ] || fail "run_main.sh after a failed build: status $status"
grep -q 'build: failed (log: build/main.log)' <<<"$out" && grep -q 'error: no compiler' <<<"$out" \
    || fail "run_main.sh after a failed build shows no status or log: $out"

if [ $failures -gt 0 ]; then
    echo "test_tool_options: $failures failure(s)" >&2
    exit 1
fi
echo "tool options: every tool refuses unknown options with status 2; --seed N and --seed=N agree"
