#!/usr/bin/env bash
# Sets up everything a build needs on a Debian 12 machine and builds the library into a build folder.
# Safe to repeat: it installs only missing packages, reuses the provisioned engine and builds incrementally.
#   tools/setup.sh <build dir> [extra cmake arguments...]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
# After the build folder only cmake's own settings (-D, -U) and generator (-G).
case "${1:-}" in -*) refuse_option "$1" ;; esac
for argument in "${@:2}"; do
    case "$argument" in -D* | -U* | -G*) ;; -*) refuse_option "$argument" ;; esac
done
build_dir=${1:?usage: setup.sh <build dir> [cmake arguments...]}
shift

# Build tools from the system's own (stable) package sources, and what prepares the engine.
# shellcheck source=lib/system_packages.sh
. "$here/lib/system_packages.sh"
install_missing setup "${BUILD_PACKAGES[@]}" "${ENGINE_PACKAGES[@]}" || exit 1

"$here/provision_godot.sh"

cmake -S "$top" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
