#!/usr/bin/env bash
# Runs the engine suites under valgrind memcheck and fails on what the library does wrong with memory:
# a definitely or indirectly lost block, an invalid read, write or free, whose stack has a frame in the
# library (its sources or libteamforge itself). The engine's own findings are listed but do not fail.
#   tools/valgrind_tests.sh [build dir] [filter]
# The build dir defaults to build/test (built with the test hooks if missing); the filter is the one of
# tools/run_engine_tests.sh. A full run takes several minutes.
#
# valgrind runs the engine through the loader of a private root unpacked from Debian's unstable suite
# (like tools/provision_godot.sh: own apt state, download only, dpkg -x): valgrind, libc6 and libc6-dbg
# of one version, so the loader's debug symbols match it (memcheck needs them to replace the loader's
# string functions); --inhibit-rpath "" keeps the engine's own search path (tools/provision_godot.sh) from
# putting the engine root's libc before this root's. The library is unloaded before the leak check, hence
# --keep-debuginfo=yes. Debian's valgrind is a wrapper script around valgrind.bin; the script's settings
# are made here instead.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
cache="${TEAMFORGE_CACHE:-$top/.cache}"
vroot="$cache/valgrind-root"
apt_dir="$cache/valgrind-apt"
groot="$cache/godot-root"
project="$top/tests/engine"
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"
[ $# -le 2 ] || usage_error "too many arguments"
build_arg="${1:-$top/build/test}"
filter="${2:-}"

fail() { echo "valgrind_tests: $*" >&2; exit 1; }

# shellcheck source=lib/unstable_packages.sh
. "$here/lib/unstable_packages.sh"

provision() {
    if [ -x "$vroot/usr/bin/valgrind.bin" ] && [ -d "$vroot/usr/lib/debug/.build-id" ] \
        && [ -e "$vroot/usr/lib64/ld-linux-x86-64.so.2" ]; then
        return 0
    fi
    rm -rf "$vroot"
    unpack_unstable_packages valgrind_tests "$apt_dir" "$vroot" valgrind libc6 libc6-dbg || exit 1
    [ -x "$vroot/usr/bin/valgrind.bin" ] || fail "valgrind is missing after unpacking"
    [ -d "$vroot/usr/lib/debug/.build-id" ] || fail "the loader's debug symbols are missing after unpacking"
}

provision
"$here/provision_godot.sh" || fail "the engine could not be provisioned"
if [ ! -f "$build_arg/bin/teamforge.gdextension" ]; then
    "$here/setup.sh" "$build_arg" -DTEAMFORGE_TEST_HOOKS=ON || fail "building $build_arg failed"
fi
build=$(cd "$build_arg" && pwd) || fail "no build directory $build_arg"

valgrind_lib=""
for dir in "$vroot/usr/libexec/valgrind" "$vroot/usr/lib/x86_64-linux-gnu/valgrind"; do
    [ -f "$dir/memcheck-amd64-linux" ] && valgrind_lib="$dir"
done
[ -n "$valgrind_lib" ] || fail "memcheck is missing from $vroot"

# memcheck looks for the loader's symbols through its debug link under
# <extra-debuginfo-path>/<the loader's own folder>/<link name>; the package keeps them by build id.
loader=$(realpath "$vroot/usr/lib64/ld-linux-x86-64.so.2")
link_name=$(readelf --string-dump=.gnu_debuglink "$loader" 2>/dev/null | sed -n 's/^ *\[ *0\] *//p' | head -n 1)
[ -n "$link_name" ] || fail "the loader $loader has no debug link"
debug_file=$(find "$vroot/usr/lib/debug/.build-id" -name "$link_name" | head -n 1)
[ -n "$debug_file" ] || fail "no debug symbols named $link_name in $vroot"
debug_mirror="$vroot/debug-links"
mkdir -p "$debug_mirror$(dirname "$loader")"
ln -sfn "$debug_file" "$debug_mirror$(dirname "$loader")/$link_name"

out=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-valgrind.XXXXXX")
keep_log="$top/build/valgrind.log"
mkdir -p "$top/build"

# The run takes many minutes, so it works on its own copy of the test project (without its caches and
# library link) and leaves the project free for plain runs meanwhile. Then the same preparation as a
# plain run: the library linked in and the class cache written.
run_project="$out/project"
mkdir -p "$run_project"
(cd "$project" && tar --exclude=./.godot --exclude=./bin -cf - .) | (cd "$run_project" && tar -xf -) \
    || fail "copying the test project failed"
"$here/link_extension.sh" "$build" "$run_project" || fail "linking the extension failed"
if ! timeout 300 "$here/godot" --headless --path "$run_project" --import >"$out/import.txt" 2>&1; then
    cat "$out/import.txt"
    fail "the import scan of the test project failed"
fi
"$here/link_extension.sh" "$build" "$run_project" || fail "linking the extension failed"

home="$cache/home"
mkdir -p "$home/data" "$home/config" "$home/cache"
glib="$groot/usr/lib/x86_64-linux-gnu"
vlib="$vroot/usr/lib/x86_64-linux-gnu"
args=(--headless --path "$run_project" -s res://runner.gd)
[ -n "$filter" ] && args+=(-- "--filter=$filter")

echo "valgrind_tests: running the engine suites under memcheck (several minutes)" >&2
HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
VALGRIND_LIB="$valgrind_lib" GLIBCXX_FORCE_NEW=1 TEAMFORGE_TOP="$top" \
timeout 3600 "$vroot/usr/lib64/ld-linux-x86-64.so.2" --library-path "$vlib" "$vroot/usr/bin/valgrind.bin" \
    --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --keep-debuginfo=yes \
    --extra-debuginfo-path="$debug_mirror" --fullpath-after= --num-callers=40 \
    --suppressions="$here/valgrind.supp" --log-file="$out/memcheck.txt" \
    "$vroot/usr/lib64/ld-linux-x86-64.so.2" --inhibit-rpath "" --library-path "$vlib:$glib:$groot/usr/lib:$glib/pulseaudio" \
    "$groot/usr/bin/godot" "${args[@]}" >"$out/run.txt" 2>&1
status=$?
cp "$out/memcheck.txt" "$keep_log" 2>/dev/null

problems=()
summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$out/run.txt" | tail -n 1)
[ -n "$summary" ] || problems+=("no summary line from the runner (status $status)")
[ $status -eq 0 ] || problems+=("the engine run ended with status $status")
grep -q "ERROR SUMMARY" "$out/memcheck.txt" 2>/dev/null || problems+=("memcheck did not finish")

# Each finding is a block of lines between blank "==pid==" lines; it counts when it is of a failing
# kind and one of its frames lies in our sources or our library.
python3 - "$out/memcheck.txt" "$top" >"$out/findings.txt" <<'EOF'
import re, sys
log, top = sys.argv[1], sys.argv[2]
kinds = re.compile(r"Invalid (read|write|free)|Mismatched free|are (definitely|indirectly) lost")
ours = re.compile(re.escape(top) + r"/(src|bindings|tests)/|libteamforge")
blocks, current = [], []
for line in open(log, errors="replace"):
    text = re.sub(r"^==\d+== ?", "", line.rstrip("\n"))
    if text.strip() == "":
        if current:
            blocks.append(current)
        current = []
    else:
        current.append(text)
if current:
    blocks.append(current)
counted = 0
for block in blocks:
    if kinds.search(block[0]) and any(ours.search(l) for l in block[1:]):
        counted += 1
        print("\n".join(block) + "\n")
print("COUNTED %d" % counted)
EOF
counted=$(sed -n 's/^COUNTED //p' "$out/findings.txt")
if [ "${counted:-0}" != "0" ]; then
    sed '/^COUNTED /d' "$out/findings.txt"
    problems+=("$counted memcheck findings with a frame in the library")
fi

echo "---- memcheck summary ----"
grep -E "definitely lost:|indirectly lost:|possibly lost:|ERROR SUMMARY" "$out/memcheck.txt" | sed -E 's/^==[0-9]+== //'
echo "suites: ${summary:-none}"
grep -E '^FAIL ' "$out/run.txt" | cut -c1-400
echo "full memcheck log: $keep_log"
rm -rf "$out"
if [ ${#problems[@]} -eq 0 ]; then
    echo "valgrind_tests: no leak or invalid access in the library"
    exit 0
fi
for problem in "${problems[@]}"; do
    echo "valgrind_tests: $problem" >&2
done
exit 1
