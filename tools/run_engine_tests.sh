#!/usr/bin/env bash
# Runs the engine suites of tests/engine in the real engine, headless, against one build.
#   tools/run_engine_tests.sh <build dir> [filter]
# The filter is a substring of "<suite file>::<test>".
#
# The run fails when the runner fails, when the engine dies before the runner's summary line
# ("N passed, N failed"), or when the engine output holds any of:
#   "SCRIPT ERROR"  a GDScript runtime or parse error (printed on stderr with its backtrace);
#   "ERROR:"        an engine error, including the library's own ERR_FAIL_* guards and push_error;
#   "leaked", "Leaked instance", "ObjectDB instances"
#                   leaks. Godot 4.6 checks the object database at exit; without --verbose it prints
#                   only "WARNING: ObjectDB instances leaked at exit (run with --verbose for details)."
#                   on stderr, and with --verbose it adds one "Leaked instance: <Class>:<id>" line per
#                   object (plus noise such as "ERROR: Cannot get path of node as it is not in a scene
#                   tree." for a leaked Node). So the run itself goes without --verbose and, on a leak,
#                   runs again with --verbose only to name the leaked classes. The exit code stays 0
#                   on a leak, hence the search of the output.
# The runner also fails the test during which an error is logged (it listens through a Logger), so
# the FAIL lines name the culprit; this search is the backstop for what happens outside any test.
# Headless runs load only the extensions listed in res://.godot/extension_list.cfg, and `class_name`
# scripts resolve only through the class cache that the editor's import scan writes, so both are
# prepared before the run.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
project="$top/tests/engine"
godot="$here/godot"
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 <build dir> [filter]" >&2
    exit 2
fi
if ! build=$(cd "$1" 2>/dev/null && pwd); then
    echo "run_engine_tests: no build directory $1" >&2
    exit 1
fi
filter="${2:-}"
if [ ! -f "$build/bin/teamforge.gdextension" ]; then
    echo "run_engine_tests: $build/bin/teamforge.gdextension is missing; build the extension first" >&2
    exit 1
fi

mkdir -p "$project/.godot"
# One run at a time: the bin link and the caches are shared by every build directory.
exec 9>"$project/.godot/run.lock"
flock 9

if [ -e "$project/bin" ] && [ ! -L "$project/bin" ]; then
    echo "run_engine_tests: $project/bin is not a symbolic link; refusing to replace it" >&2
    exit 1
fi
link_extension() {
    "$here/link_extension.sh" "$build" "$project"
}

log=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-engine-tests.XXXXXX")
trap 'rm -rf "$log"' EXIT

pattern='SCRIPT ERROR|ERROR:|leaked|Leaked instance|ObjectDB instances'

link_extension
# The scan runs the editor, which loads the extension too: its errors and leaks count as well.
if ! timeout 300 "$godot" --headless --path "$project" --import >"$log/import.txt" 2>&1 \
    || [ ! -f "$project/.godot/global_script_class_cache.cfg" ] \
    || grep -qE "$pattern" "$log/import.txt"; then
    cat "$log/import.txt"
    echo "run_engine_tests: the import scan of the test project failed or reported errors" >&2
    exit 1
fi
# The editor's scan may rewrite the list; the run must load exactly our extension.
link_extension

args=(--headless --path "$project" -s res://runner.gd)
if [ -n "$filter" ]; then
    args+=(-- "--filter=$filter")
fi
timeout 900 "$godot" "${args[@]}" >"$log/run.txt" 2>&1
status=$?

problems=()
if [ $status -eq 124 ]; then
    problems+=("the engine did not finish within 900 s")
elif [ $status -eq 1 ]; then
    problems+=("the runner reported failures")
elif [ $status -ne 0 ]; then
    problems+=("the engine exited with status $status")
fi
summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log/run.txt" | tail -n 1)
if [ -z "$summary" ]; then
    problems+=("no summary line from the runner (the engine crashed or the runner broke)")
fi
offending=$(grep -nE "$pattern" "$log/run.txt")
if [ -n "$offending" ]; then
    problems+=("the engine reported errors or leaks")
fi

if [ ${#problems[@]} -eq 0 ]; then
    echo "$summary"
    exit 0
fi

echo "---- engine output ----"
cat "$log/run.txt"
echo "---- end of engine output ----"
if [ -n "$offending" ]; then
    echo "Offending lines:"
    echo "$offending"
fi
if grep -qE 'leaked|ObjectDB instances' "$log/run.txt"; then
    echo "Leaked objects (verbose rerun):"
    timeout 900 "$godot" --verbose "${args[@]}" 2>&1 | grep -E 'Leaked instance|leaked' || true
fi
for problem in "${problems[@]}"; do
    echo "run_engine_tests: $problem" >&2
done
exit 1
