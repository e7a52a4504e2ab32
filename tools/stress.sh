#!/usr/bin/env bash
# Runs the stress test (tests/stress/stress.gd) in the real engine, headless, against one build.
#   tools/stress.sh [--build DIR | --sanitize] [--seed S] [--calls N] [--budget SECONDS] [--episodes N]
#                   [--skip category,...] [--keep-going] [--trace]   (values also as --name=value)
# Without --calls, --episodes or --budget it runs for 25 s, as the test command does. --sanitize uses
# build/sanitize, a test build with AddressSanitizer and UBSan (configured the first time). Run with
# --skip help to list the categories of hostile actions.
#
# The run fails on any failure the test reports, any script or engine error, a sanitizer report, a
# crash or a leak. Each failure prints the command that replays it ("replay: tools/stress.sh --seed E
# --calls K --trace"); after a crash, the seed of the episode that was running.
#
# The engine is not instrumented, so for a sanitizer build the runtime is preloaded into it (the
# engine's loader takes --preload through TEAMFORGE_PRELOAD in tools/godot), behind a small library that
# takes RTLD_DEEPBIND off the engine's dlopen of the extension. Leaks are left to
# tools/valgrind_tests.sh: LeakSanitizer would list the engine's own.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
project="$top/tests/stress"
build="$top/build/test"
configure=(-DTEAMFORGE_TEST_HOOKS=ON)
args=()
limited=""
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
while [ $# -gt 0 ]; do
    case "$1" in
        --build | --build=*) take_value --build "$@"; build=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        --sanitize) build="$top/build/sanitize"; configure+=(-DTEAMFORGE_SANITIZE=ON); shift ;;
        --calls | --calls=* | --episodes | --episodes=* | --seed | --seed=*)
            name=${1%%=*}
            take_integer "$name" "$@"
            [ "$name" = --seed ] || limited=1
            args+=("$name" "$OPTION_VALUE")
            shift "$OPTION_WORDS"
            ;;
        --budget | --budget=*)
            take_value --budget "$@"
            [[ $OPTION_VALUE =~ ^[0-9]+(\.[0-9]+)?$ ]] || usage_error "--budget needs a number of seconds, not '$OPTION_VALUE'"
            limited=1
            args+=(--budget "$OPTION_VALUE")
            shift "$OPTION_WORDS"
            ;;
        --skip | --skip=*) take_value --skip "$@"; args+=(--skip "$OPTION_VALUE"); shift "$OPTION_WORDS" ;;
        --keep-going | --trace) args+=("$1"); shift ;;
        *) refuse_option "$1" ;;
    esac
done
[ -n "$limited" ] || args+=(--budget 25)

if [ ! -f "$build/bin/teamforge.gdextension" ]; then
    "$here/setup.sh" "$build" "${configure[@]}" || { echo "stress: building $build failed" >&2; exit 1; }
fi
build=$(cd "$build" && pwd)
library=$(ls "$build"/bin/libteamforge.linux.*.so 2>/dev/null | head -n 1)
[ -n "$library" ] || { echo "stress: no library in $build/bin" >&2; exit 1; }

mkdir -p "$project/.godot"
# One run at a time: the bin link is shared by every build directory.
exec 9>"$project/.godot/run.lock"
flock 9
"$here/link_extension.sh" "$build" "$project" || exit 1

pattern='SCRIPT ERROR|ERROR:|runtime error:|leaked|Leaked instance|ObjectDB instances'
preload=""
for runtime in $(readelf -d "$library" | sed -n 's/.*Shared library: \[\(lib\(a\|ub\)san[^]]*\)\].*/\1/p' | sort); do
    path=$(ldconfig -p | awk -v name="$runtime" '$1 == name { print $NF; exit }')
    [ -n "$path" ] || { echo "stress: the sanitizer runtime $runtime is not installed" >&2; exit 1; }
    preload="${preload:+$preload:}$path"
done
if [ -n "$preload" ]; then
    # The engine opens extensions with RTLD_DEEPBIND, which the runtime refuses; no_deepbind.so (built
    # beside a sanitizer build) drops the flag, so it comes first, ahead of the runtime.
    [ -f "$build/no_deepbind.so" ] || { echo "stress: $build/no_deepbind.so is missing" >&2; exit 1; }
    preload="$build/no_deepbind.so:$preload"
    export TEAMFORGE_PRELOAD="$preload"
    export ASAN_OPTIONS="detect_leaks=0:verify_asan_link_order=0:abort_on_error=1:${ASAN_OPTIONS:-}"
    export UBSAN_OPTIONS="print_stacktrace=1:${UBSAN_OPTIONS:-}"
    echo "stress: preloading $preload" >&2
fi

log="$build/stress.log"
"$here/godot" --headless --path "$project" -s res://stress.gd -- "${args[@]}" >"$log" 2>&1
status=$?
if [ $status -eq 2 ]; then
    grep -vE '^Godot Engine|^$' "$log" >&2  # a usage error of the test: its own message
    exit 2
fi

problems=()
summary=$(grep -E '^stress: [0-9]+ calls' "$log" | tail -n 1)
[ -n "$summary" ] || problems+=("the engine stopped before the end of the run (status $status): a crash")
[ $status -eq 0 ] || [ -z "$summary" ] || problems+=("the stress test reported failures")
offending=$(grep -nE "$pattern" "$log" | head -n 20)
[ -z "$offending" ] || problems+=("the engine reported errors, sanitizer findings or leaks")

if [ ${#problems[@]} -eq 0 ]; then
    grep -E '^stress: ' "$log"
    exit 0
fi
grep -E '^(stress: |FAIL |  replay: )' "$log"
if [ -n "$offending" ]; then
    echo "Offending lines:"
    echo "$offending"
fi
if [ -z "$summary" ]; then
    echo "---- end of the engine output, without the library's warnings ----"
    grep -vE '^WARNING: ERROR_|^ +at: push_warning|GDScript backtrace|^ +\[[0-9]+\] ' "$log" | tail -n 40
    episode=$(sed -n 's/^episode seed=//p' "$log" | tail -n 1)
    [ "$build" = "$top/build/test" ] || episode="$episode --build $build"
    [ -z "$episode" ] || echo "  replay: tools/stress.sh --seed $episode --episodes 1 --trace"
fi
for problem in "${problems[@]}"; do
    echo "stress: $problem (full output in $log)" >&2
done
exit 1
