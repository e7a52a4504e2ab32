#!/usr/bin/env bash
# Runs the README's test command as on a fresh Debian machine: in a chroot made with debootstrap (the minimal
# variant of this machine's release, from the mirror, apt sources and apt settings this machine uses),
# holding nothing but that system and a fresh clone of this repository, as root. Prints how long each part
# took. Needs root; installs debootstrap when missing.
#   tools/fresh_machine.sh [--branch REF] [--dir DIR] [--keep] [--new-base]
#     --branch REF  the branch or commit to clone (default: this checkout's HEAD, as committed)
#     --dir DIR     where the base system and the machine live (default: /var/tmp/teamforge-fresh)
#     --keep        keep the machine (DIR/machine) after the run, to look inside
#     --new-base    make the base system again instead of reusing DIR/base.tar
#
# The base system is made once and kept as DIR/base.tar; each run unpacks it into DIR/machine anew, so every
# run starts from the same untouched system. The machine shares this one's kernel and network; its /proc,
# /sys, /dev, /dev/pts and /dev/shm are mounted in a mount namespace of the run's own, which nothing outside
# sees and which vanishes with the run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
branch=HEAD
dir=/var/tmp/teamforge-fresh
keep=0
new_base=0
while [ $# -gt 0 ]; do
    case "$1" in
        --branch | --branch=*) take_value --branch "$@"; branch=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        --dir | --dir=*) take_value --dir "$@"; dir=$OPTION_VALUE; shift "$OPTION_WORDS" ;;
        --keep) keep=1; shift ;;
        --new-base) new_base=1; shift ;;
        *) refuse_option "$1" ;;
    esac
done

fail() { echo "fresh_machine: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "needs root (debootstrap, mounts, chroot)"
revision=$(git -C "$top" rev-parse --verify --quiet "$branch^{commit}") || fail "no branch or commit $branch"
# shellcheck source=lib/system_packages.sh
. "$here/lib/system_packages.sh"
install_missing fresh_machine "${FRESH_MACHINE_PACKAGES[@]}" || exit 1
# shellcheck source=lib/unstable_packages.sh
. "$here/lib/unstable_packages.sh"

mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
exec 9>"$dir/lock"
flock -n 9 || fail "another run uses $dir"
base="$dir/base.tar"
machine="$dir/machine"
# Nothing may be mounted in the old machine (a run's mounts live only in its own namespace).
! grep -qF " $machine/" /proc/self/mounts || fail "something is mounted under $machine; unmount it first"

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }
times=()

if [ $new_base -eq 1 ] || [ ! -f "$base" ]; then
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || fail "/etc/os-release names no release"
    mirror=$(debian_mirror) || fail "the system's apt configuration names no Debian mirror"
    echo "fresh_machine: making the base system ($release, minimal, from $mirror)" >&2
    start=$(now)
    rm -rf "$dir/base-root"
    debootstrap --variant=minbase "$release" "$dir/base-root" "$mirror" >"$dir/debootstrap.log" 2>&1 \
        || { tail -n 20 "$dir/debootstrap.log" >&2; fail "debootstrap failed (log: $dir/debootstrap.log)"; }
    # The machine gets this one's apt sources instead, with each run.
    rm -f "$dir/base-root/etc/apt/sources.list"
    tar -C "$dir/base-root" -cf "$base.partial" . && mv "$base.partial" "$base"
    rm -rf "$dir/base-root"
    times+=("base system (debootstrap)	$(since "$start")")
else
    times+=("base system	reused $base")
fi

start=$(now)
rm -rf "$machine"
mkdir -p "$machine"
tar -C "$machine" -xf "$base"
# What a new machine of this kind is set up with: this one's apt sources (its updates and security suites
# too) and apt settings (such as those a mirror's snapshot needs), and its name server.
shopt -s nullglob
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources \
    /etc/apt/apt.conf /etc/apt/apt.conf.d/*; do
    [ -f "$file" ] && cp "$file" "$machine$file"
done
shopt -u nullglob
cp /etc/resolv.conf "$machine/etc/resolv.conf"
times+=("unpacking the base system	$(since "$start")")

start=$(now)
git clone --quiet --no-checkout "$top" "$machine/root/teamforge"
git -C "$machine/root/teamforge" checkout --quiet --detach "$revision"
times+=("clone of $(git -C "$top" rev-parse --short "$revision")	$(since "$start")")

echo "fresh_machine: ./tools/run_tests.sh in $machine/root/teamforge (log: $dir/run.log)" >&2
start=$(now)
status=0
unshare --mount --propagation private -- bash -euc '
    m=$1
    mount -t proc proc "$m/proc"
    mount -t sysfs sysfs "$m/sys"
    mount --bind /dev "$m/dev"
    mount --bind /dev/pts "$m/dev/pts"
    mount -t tmpfs -o mode=1777 tmpfs "$m/dev/shm"
    exec chroot "$m" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd /root/teamforge && ./tools/run_tests.sh"
' _ "$machine" 2>&1 | tee "$dir/run.log" || status=$?
times+=("the test command (status $status)	$(since "$start")")

[ $keep -eq 1 ] || rm -rf "$machine"
{
    echo
    echo "fresh_machine: wall times, seconds"
    printf '%s\n' "${times[@]}" | awk -F'\t' '{ printf "  %-44s %s\n", $1, $2 }'
    [ $keep -eq 0 ] || echo "  the machine is kept in $machine"
} >&2
exit $status
