#!/usr/bin/env python3
"""Writes the method hashes and constructor indices that the binding layer looks up, taken from the
engine's own API dump, so that a method the engine lacks fails the build instead of a call at run time."""
import json
import sys

# (builtin type, method) pairs called through variant_get_ptr_builtin_method.
BUILTIN_METHODS = {
    "String": ["split", "strip_edges", "to_upper", "to_lower", "naturalnocasecmp_to", "hash", "to_int",
               "to_float", "length", "is_empty", "substr", "begins_with", "contains", "find"],
    "Array": ["size", "is_empty", "push_back", "push_front", "insert", "remove_at", "clear", "resize",
              "duplicate", "has", "sort_custom", "is_read_only", "is_typed", "get_typed_builtin", "set"],
    "Dictionary": ["size", "is_empty", "has", "get", "erase", "clear", "keys", "duplicate", "is_read_only", "set",
                   "merge", "is_typed", "is_typed_key", "is_typed_value", "get_typed_key_builtin",
                   "get_typed_value_builtin"],
    "PackedStringArray": ["size"],
}
# (class, method) pairs called through classdb_get_method_bind.
CLASS_METHODS = {
    "Object": ["emit_signal", "has_signal", "has_connections", "is_connected", "connect", "disconnect", "notification"],
    "RefCounted": ["init_ref", "reference", "unreference", "get_reference_count"],
    "Engine": ["is_editor_hint", "has_singleton"],
    "DisplayServer": ["get_name"],
}
UTILITY_FUNCTIONS = ["push_warning", "push_error", "print"]
# Constructors found by the types of their arguments.
CONSTRUCTORS = {
    "String": [["StringName"]],
    "StringName": [["String"]],
    "Array": [["PackedStringArray"]],
}


def main():
    if len(sys.argv) != 3 or any(arg.startswith("-") for arg in sys.argv[1:]):
        sys.stderr.write("usage: gen_api_hashes.py <extension_api.json> <output header>\n")
        sys.exit(2)
    api_path, out_path = sys.argv[1], sys.argv[2]
    with open(api_path, encoding="utf-8") as f:
        api = json.load(f)
    lines = ["// Generated from the engine's API dump by tools/gen_api_hashes.py. Do not edit.", "#pragma once",
             "#include <cstdint>", "", "namespace godot::internal::api {", ""]
    builtins = {c["name"]: c for c in api["builtin_classes"]}
    for type_name, methods in BUILTIN_METHODS.items():
        known = {m["name"]: m for m in builtins[type_name].get("methods", [])}
        for name in methods:
            if name not in known:
                sys.exit(f"gen_api_hashes: the engine has no builtin method {type_name}.{name}")
            lines.append(f"constexpr int64_t {type_name}_{name} = {known[name]['hash']};")
    for type_name, signatures in CONSTRUCTORS.items():
        for wanted in signatures:
            for ctor in builtins[type_name]["constructors"]:
                if [a["type"] for a in ctor.get("arguments", [])] == wanted:
                    lines.append(f"constexpr int32_t {type_name}_from_{'_'.join(wanted)} = {ctor['index']};")
                    break
            else:
                sys.exit(f"gen_api_hashes: no constructor {type_name}({', '.join(wanted)})")
    classes = {c["name"]: c for c in api["classes"]}
    for class_name, methods in CLASS_METHODS.items():
        known = {m["name"]: m for m in classes[class_name].get("methods", [])}
        for name in methods:
            if name not in known:
                sys.exit(f"gen_api_hashes: the engine has no method {class_name}.{name}")
            lines.append(f"constexpr int64_t {class_name}_{name} = {known[name]['hash']};")
    utilities = {u["name"]: u for u in api["utility_functions"]}
    for name in UTILITY_FUNCTIONS:
        if name not in utilities:
            sys.exit(f"gen_api_hashes: the engine has no utility function {name}")
        lines.append(f"constexpr int64_t utility_{name} = {utilities[name]['hash']};")
    lines += ["", "} // namespace godot::internal::api", ""]
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
