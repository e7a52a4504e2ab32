#!/usr/bin/env bash
# The main job: sets everything up, builds the library (optimised, with debug checks) into build/main and
# plays one seeded season headless in the engine, printed as a season report (demo/main.gd).
#   tools/run_main.sh [--seed N | --seed=N]
#     --seed N   the game's seed (default 2026): the same seed prints the same season
# The build's output goes to build/main.log; a failed build shows the log's end and exits with status 1.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/.." && pwd)

# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
season_args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seed | --seed=*) take_integer --seed "$@"; season_args=("--seed=$OPTION_VALUE"); shift "$OPTION_WORDS" ;;
        *) refuse_option "$1" ;;
    esac
done

build_dir="$top/build/main"
log="$top/build/main.log"
shown_log=${log#"$PWD/"}
mkdir -p "$top/build"
# One status line: the build's own output would bury the season.
printf 'build: '
if ! { "$here/setup.sh" "$build_dir" && "$here/link_extension.sh" "$build_dir" "$top/demo"; } >"$log" 2>&1; then
    echo "failed (log: $shown_log)"
    tail -n 30 "$log" >&2
    exit 1
fi
echo "ok (log: $shown_log)"
# The report starts after the engine's banner.
"$here/godot" --headless --path "$top/demo" -s res://main.gd -- "${season_args[@]}" \
    | awk 'NR == 1 && /^Godot Engine v/ { banner = 1; next } banner && NR == 2 && $0 == "" { next } { print }'
