#!/usr/bin/env bash
# Installs every system package the tests need, sets everything up, builds the test build of the library
# (with its test-only hooks) and runs every test entry through ctest, side by side on every core. Ends with
# the time of each step.
#   tools/run_tests.sh [-R <regex>]    (-R runs only the ctest entries whose names match)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
build_dir="$top/build/test"

select=()
while [ $# -gt 0 ]; do
    case "$1" in
        -R | -R=*) take_value -R "$@"; select=(-R "$OPTION_VALUE"); shift "$OPTION_WORDS" ;;
        *) refuse_option "$1" ;;
    esac
done

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
started=$(now_ms)
step_names=()
step_times=()
# step <name> <command...>: runs the command and keeps its wall time.
step() {
    local name=$1 begin end
    shift
    begin=$(now_ms)
    "$@"
    end=$(now_ms)
    step_names+=("$name")
    step_times+=("$(( end - begin ))")
}

# Every system package any step needs, installed once here: the ctest entries run side by side and install
# nothing (CMakeLists.txt gives each TEAMFORGE_NO_INSTALL), so none waits for or races another's apt-get.
# shellcheck source=lib/system_packages.sh
. "$here/lib/system_packages.sh"
step "system packages" install_missing run_tests "${BUILD_PACKAGES[@]}" "${ENGINE_PACKAGES[@]}" "${VIRTUAL_DISPLAY_PACKAGES[@]}"
step "engine" "$here/provision_godot.sh"
step "setup and build" "$here/setup.sh" "$build_dir" -DTEAMFORGE_TEST_HOOKS=ON

junit="$build_dir/ctest_results.xml"
rm -f "$junit"
status=0
begin=$(now_ms)
ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" --output-junit "$junit" "${select[@]}" || status=$?
ctest_wall=$(( $(now_ms) - begin ))

# The table: the steps before ctest, each ctest entry (they overlap), the ctest run and the whole.
{
    for i in "${!step_names[@]}"; do
        printf '%s\t%s\n' "${step_names[$i]}" "${step_times[$i]}"
    done
    if [ -f "$junit" ]; then
        python3 - "$junit" <<'PYTHON'
import sys, xml.etree.ElementTree as tree
for case in tree.parse(sys.argv[1]).getroot().iter("testcase"):
    state = "failed" if case.get("status") == "fail" or case.find("failure") is not None else "passed"
    if case.get("status") in ("notrun", "disabled"):
        state = "not run"
    print("  %s (%s)\t%d" % (case.get("name"), state, float(case.get("time", "0")) * 1000))
PYTHON
    fi
    printf 'ctest, side by side on %s cores\t%s\n' "$(nproc)" "$ctest_wall"
    printf 'total\t%s\n' "$(( $(now_ms) - started ))"
} | awk -F'\t' 'BEGIN { print ""; print "Time of each step (wall, seconds):" } { printf "  %-44s %7.1f\n", $1, $2 / 1000 }'
exit $status
