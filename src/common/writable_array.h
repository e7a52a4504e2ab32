#pragma once

// Containers that the library shares with scripts (the team list, the guess history, the ledger, a guess
// record) can be frozen or typed by a script. Before the library writes to one, it makes sure the write
// can land and is of a type the container holds: a container that would refuse it is replaced by a plain
// copy, so a change is never announced or paid for without being stored, and nothing is written behind a
// typed container's checks (the engine trusts a typed container's contents and crashes on a stray type).

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

// p_element is the builtin type of the values the library is about to store. An array typed with exactly
// that builtin type is kept (and stays shared), except for objects, whose class the check cannot see.
inline void ensure_writable(godot::Array &r_array, godot::Variant::Type p_element) {
	if (!r_array.is_read_only() && (!r_array.is_typed() || (p_element != godot::Variant::OBJECT && r_array.get_typed_builtin() == p_element))) {
		return;
	}
	godot::Array copy;
	const int64_t count = r_array.size();
	copy.resize(count);
	for (int64_t i = 0; i < count; i++) {
		copy[i] = r_array[i];
	}
	r_array = copy;
}

// Records take values of several types, so any typed record is replaced by a plain copy.
inline void ensure_writable(godot::Dictionary &r_record) {
	if (!r_record.is_read_only() && !r_record.is_typed()) {
		return;
	}
	godot::Dictionary copy;
	copy.merge(r_record);
	r_record = copy;
}

} // namespace teamforge
