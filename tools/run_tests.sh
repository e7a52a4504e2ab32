#!/usr/bin/env bash
# Sets everything up, builds the test build of the library (with its test-only hooks) and runs every
# engine suite through ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
[ $# -eq 0 ] || refuse_option "$1"
build_dir="$top/build/test"

"$here/setup.sh" "$build_dir" -DTEAMFORGE_TEST_HOOKS=ON
ctest --test-dir "$build_dir" --output-on-failure
