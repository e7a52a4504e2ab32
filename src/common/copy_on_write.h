#pragma once

// A container the tournament records hold may also sit in a save dictionary that a script keeps, or
// in another manager loaded from that dictionary (saves carry nested containers as they are). A
// change therefore goes into a new, plain container that replaces the stored one: nobody else's copy
// changes behind its holder's back, and a container a script froze or typed is never written into.

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>

namespace teamforge {

// p_array with p_value at p_index (appended when p_index is at or past the end).
inline godot::Array array_with(const godot::Array &p_array, int64_t p_index, const godot::Variant &p_value) {
	godot::Array copy;
	const int64_t count = p_array.size();
	for (int64_t i = 0; i < count; i++) {
		copy.push_back(i == p_index ? p_value : p_array[i]);
	}
	if (p_index < 0 || p_index >= count) {
		copy.push_back(p_value);
	}
	return copy;
}

// p_array with p_value in front.
inline godot::Array array_with_front(const godot::Array &p_array, const godot::Variant &p_value) {
	godot::Array copy;
	copy.push_back(p_value);
	const int64_t count = p_array.size();
	for (int64_t i = 0; i < count; i++) {
		copy.push_back(p_array[i]);
	}
	return copy;
}

// A new, plain dictionary with the same keys and values in the same order. A script may have frozen or
// typed the original, so the library writes only into such copies.
inline godot::Dictionary plain_copy(const godot::Dictionary &p_source) {
	// The engine's own copy is never read-only, and plain unless the original is typed.
	if (!p_source.is_typed_key() && !p_source.is_typed_value()) {
		return p_source.duplicate();
	}
	godot::Dictionary copy;
	const godot::Array keys = p_source.keys();
	const int64_t count = keys.size();
	for (int64_t i = 0; i < count; i++) {
		const godot::Variant &key = keys[i];
		copy[key] = p_source[key];
	}
	return copy;
}

} // namespace teamforge
