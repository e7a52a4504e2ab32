#pragma once

// Containers read from values a script can reach (descriptors, entries, records): a script may have
// replaced one with anything, so a value of the wrong kind reads as empty. A dictionary whose keys a
// script typed comes back as a plain copy, so text keys can be looked up.

#include "common/text_key_reading.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

inline godot::Dictionary as_dictionary(const godot::Variant &p_value) {
	if (p_value.get_type() != godot::Variant::DICTIONARY) {
		return godot::Dictionary();
	}
	return readable_by_text_keys(p_value);
}

inline godot::Array as_array(const godot::Variant &p_value) {
	if (p_value.get_type() != godot::Variant::ARRAY) {
		return godot::Array();
	}
	return p_value;
}

} // namespace teamforge
