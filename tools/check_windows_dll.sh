#!/usr/bin/env bash
# Checks a Windows build of the library without a Windows engine to load it: the DLL must be a PE32+
# x86-64 image that exports teamforge_library_init and imports from Windows' own DLLs only (the C++
# runtime, libgcc and winpthread are linked in, so a player needs nothing else).
#   tools/check_windows_dll.sh <dll>...
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib/options.sh
. "$here/lib/options.sh"
no_options "$@"

objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || { echo "check_windows_dll: $objdump is missing (tools/setup.sh installs it)" >&2; exit 1; }
[ $# -ge 1 ] || { echo "usage: $0 <dll>..." >&2; exit 2; }

# DLLs every Windows installation has (matched case-insensitively).
system_dlls='^(kernel32|msvcrt|user32|advapi32|bcrypt|ws2_32|shell32|ole32|ntdll|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'

failed=0
for dll in "$@"; do
    name=$(basename "$dll")
    if ! dump=$("$objdump" -p "$dll" 2>&1); then
        echo "$name: not readable as a PE image: $dump" >&2
        failed=1
        continue
    fi
    problems=()
    grep -q 'file format pei-x86-64' <<<"$dump" || problems+=("not a PE32+ x86-64 image")
    # Export table lines look like "	[   0] teamforge_library_init".
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[\s*[0-9]*\]\s*//p')
    grep -qx 'teamforge_library_init' <<<"$exports" || problems+=("does not export teamforge_library_init")
    extra=$(grep -vx 'teamforge_library_init' <<<"$exports" | grep -v '^$' || true)
    [ -z "$extra" ] || problems+=("exports more than the entry point: $(tr '\n' ' ' <<<"$extra")")
    imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
    foreign=$(grep -viE "$system_dlls" <<<"$imports" | grep -v '^$' || true)
    [ -z "$foreign" ] || problems+=("imports non-system DLLs: $(tr '\n' ' ' <<<"$foreign")")
    if [ ${#problems[@]} -eq 0 ]; then
        echo "$name: exports teamforge_library_init; imports $(tr '\n' ' ' <<<"$imports")"
    else
        for problem in "${problems[@]}"; do
            echo "$name: $problem" >&2
        done
        failed=1
    fi
done
exit $failed
