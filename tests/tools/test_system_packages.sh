#!/usr/bin/env bash
# tools/lib/system_packages.sh on stand-ins for dpkg-query and apt-get, installing nothing: under
# TEAMFORGE_NO_INSTALL a missing package is refused, naming it and the step; installs started together take
# turns, the later one installing only what is still missing; an apt-get update that finds the lists locked
# by another apt-get is tried again.
#   tests/tools/test_system_packages.sh
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/teamforge-packages.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "test_system_packages: $*" >&2
    failures=$((failures + 1))
}

# The stand-ins: dpkg-query knows the packages listed in installed; apt-get logs each call, fails when another
# one runs (as the real one does on its locks), and "installs" by listing its packages, slowly.
mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<EOF
#!/bin/sh
grep -qx "\$3" "$work/installed" && printf 'install ok installed'
EOF
cat >"$work/bin/apt-get" <<EOF
#!/bin/bash
echo "\$*" >>"$work/apt.log"
if ! mkdir "$work/running" 2>/dev/null; then echo "E: Could not get lock /var/lib/apt/lists/lock"; exit 100; fi
trap 'rmdir "$work/running"' EXIT
if [[ " \$* " == *" update "* ]] && [ -f "$work/lists-locked" ]; then
    rm "$work/lists-locked"
    echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 1 (apt-get)"
    exit 100
fi
sleep 0.5
[[ " \$* " != *" install "* ]] || printf '%s\n' "\${@:5}" | grep -v '^-' >>"$work/installed"
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work"/bin/*
export PATH="$work/bin:$PATH"
# shellcheck source=../../tools/lib/system_packages.sh
. "$top/tools/lib/system_packages.sh"
PACKAGE_LOCK_RETRY=0

# A step of the test command finds a package missing: it says which and where, and installs nothing.
echo libgl1 >"$work/installed"
: >"$work/apt.log"
TEAMFORGE_NO_INSTALL=demo_season install_missing run_demo xvfb libgl1 2>"$work/err"
status=$?
[ $status -ne 0 ] || fail "a step under TEAMFORGE_NO_INSTALL installed instead of failing"
grep -q 'missing system packages xvfb; the step demo_season installs nothing' "$work/err" \
    || fail "the refusal does not name the package and the step: $(cat "$work/err")"
[ ! -s "$work/apt.log" ] || fail "a refused install ran apt-get: $(cat "$work/apt.log")"
TEAMFORGE_NO_INSTALL=demo_season install_missing run_demo libgl1 || fail "an installed package was refused"

# Two installs at once, as two steps run side by side; the lists are locked by someone else at first.
unset TEAMFORGE_NO_INSTALL
echo libgl1 >"$work/installed"
: >"$work/apt.log"
touch "$work/lists-locked"
install_missing first xvfb libgl1 2>"$work/first.err" &
first=$!
# The second starts once the first has the turn.
for _ in $(seq 100); do
    [ -s "$work/apt.log" ] && break
    sleep 0.1
done
install_missing second xvfb patchelf 2>"$work/second.err"
second_status=$?
wait $first || fail "the first of two installs at once failed: $(cat "$work/first.err")"
[ $second_status -eq 0 ] || fail "the second of two installs at once failed: $(cat "$work/second.err")"
[ "$(sort "$work/installed" | tr '\n' ' ')" = "libgl1 patchelf xvfb " ] \
    || fail "installed twice or not at all: $(sort "$work/installed" | tr '\n' ' ')"
[ "$(grep -c ' install ' "$work/apt.log")" -eq 2 ] && [ "$(grep -c ' update$' "$work/apt.log")" -eq 3 ] \
    || fail "expected two installs and three updates (one refused by the lock): $(cat "$work/apt.log")"
grep -q -- '-o DPkg::Lock::Timeout=[0-9]* install -y --no-install-recommends xvfb$' "$work/apt.log" \
    || fail "no install of xvfb alone that waits for dpkg's lock: $(cat "$work/apt.log")"

if [ $failures -gt 0 ]; then
    echo "test_system_packages: $failures failure(s)" >&2
    exit 1
fi
echo "system packages: a step refuses to install; installs at once take turns and wait for the lists' lock"
