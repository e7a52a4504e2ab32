#pragma once

// Copies that share no container with their source. Whatever the library hands to a script (saves,
// views, signal payloads) is detached from live state, and whatever a script hands in (loads) is detached
// from the script's own containers, so neither side can change the other afterwards. Values other than
// containers are kept as they are: strings are immutable and objects are references by design.

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

inline godot::Array detached(const godot::Array &p_array) {
	return p_array.duplicate(true);
}

inline godot::Dictionary detached(const godot::Dictionary &p_dictionary) {
	return p_dictionary.duplicate(true);
}

inline godot::Variant detached(const godot::Variant &p_value) {
	switch (p_value.get_type()) {
		case godot::Variant::ARRAY:
			return detached(p_value.operator godot::Array());
		case godot::Variant::DICTIONARY:
			return detached(p_value.operator godot::Dictionary());
		default:
			return p_value;
	}
}

} // namespace teamforge
