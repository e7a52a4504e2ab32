# Sourced by tools/provision_godot.sh: makes the engine unpacked into a private root start as a program of its
# own, so that whatever starts it again (the editor's play buttons run OS.get_executable_path()) finds the
# root's loader and libraries without being told. Needs patchelf and readelf.
#   engine_patched <root>   true when the binary and the libraries point into this root
#   patch_engine <root>     points them there, replacing each file whole (running engines keep the old one)
#
# The binary gets the root's loader as its interpreter and DT_RPATH, not DT_RUNPATH: a RUNPATH serves only
# the object's own needed libraries, while the executable's RPATH is searched for every library that an
# object without a RUNPATH loads, its own needed ones or by dlopen (libpulse's libraries, Mesa's, ICU's).
# Debian builds a few of the root's libraries with a RUNPATH (libpulse's names /usr/lib/.../pulseaudio,
# LLVM's and iconv's $ORIGIN), which would hide the executable's RPATH from them and send their lookups to
# the system's folders; they are turned into an RPATH, their absolute folders moved into the root.

engine_library_path() {
    local lib="$1/usr/lib/x86_64-linux-gnu"
    echo "$lib:$1/usr/lib:$lib/pulseaudio"
}

# elf_search_path <file>: "RPATH <path>" or "RUNPATH <path>", nothing when the file has neither.
elf_search_path() {
    readelf -d "$1" 2>/dev/null | sed -n 's/.*(\(RPATH\|RUNPATH\)).*path: \[\(.*\)\]$/\1 \2/p' | head -n 1
}

elf_interpreter() {
    readelf -l "$1" 2>/dev/null | sed -n 's/.*Requesting program interpreter: \(.*\)]$/\1/p'
}

engine_patched() {
    local root=$1 binary="$1/usr/bin/godot"
    [ "$(elf_interpreter "$binary")" = "$root/usr/lib64/ld-linux-x86-64.so.2" ] \
        && [ "$(elf_search_path "$binary")" = "RPATH $(engine_library_path "$root")" ] \
        && [ "$(cat "$root/.patched-for" 2>/dev/null)" = "$root" ]
}

# rooted_path <root> <search path>: each absolute folder moved into the root (a folder of an earlier root
# replaced by the same folder in this one); $ORIGIN stays.
rooted_path() {
    local root=$1 entry result=() entries
    IFS=: read -r -a entries <<<"$2"
    for entry in "${entries[@]}"; do
        case "$entry" in
            */godot-root/*) entry="$root/${entry##*/godot-root/}" ;;
            /*) entry="$root$entry" ;;
        esac
        result+=("$entry")
    done
    (IFS=:; echo "${result[*]}")
}

# patch_file <file> <patchelf arguments...>: patches a copy and puts it in place of the file.
patch_file() {
    local file=$1
    shift
    cp -p "$file" "$file.patching" && patchelf "$@" "$file.patching" && mv -f "$file.patching" "$file" \
        || { rm -f "$file.patching"; echo "patch_engine: patchelf $* $file failed" >&2; return 1; }
}

patch_engine() {
    local root=$1 file found tag value wanted
    rm -f "$root/.patched-for"
    while IFS= read -r -d '' file; do
        found=$(elf_search_path "$file")
        [ -n "$found" ] || continue
        tag=${found%% *}
        value=${found#* }
        wanted=$(rooted_path "$root" "$value")
        [ "$tag" = RPATH ] && [ "$value" = "$wanted" ] && continue
        patch_file "$file" --force-rpath --set-rpath "$wanted" || return 1
    done < <(find "$root/usr/lib" "$root/usr/lib64" -type f -name '*.so*' -print0)
    patch_file "$root/usr/bin/godot" --set-interpreter "$root/usr/lib64/ld-linux-x86-64.so.2" \
        --force-rpath --set-rpath "$(engine_library_path "$root")" || return 1
    echo "$root" >"$root/.patched-for"
}
