#pragma once

// Arrays that the library shares with scripts (the team list, the guess history, the ledger) can be
// frozen or retyped by a script. Before the library writes to one, it makes sure the write can land: an
// array that would refuse it is replaced by a plain copy, so a change is never announced or paid for
// without being stored.

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

// p_element is the type of the values the library is about to store.
inline void ensure_writable(godot::Array &r_array, godot::Variant::Type p_element) {
	if (!r_array.is_read_only() && (!r_array.is_typed() || r_array.get_typed_builtin() == p_element)) {
		return;
	}
	godot::Array copy;
	const int64_t count = r_array.size();
	for (int64_t i = 0; i < count; i++) {
		copy.push_back(r_array[i]);
	}
	r_array = copy;
}

} // namespace teamforge
