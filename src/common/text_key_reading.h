#pragma once

// Look-ups by text key in dictionaries a script handed over. A dictionary whose keys a script typed
// (Dictionary[int, ...]) reports an engine error for every look-up with a key of another type, so such a
// dictionary is read through a plain copy; any other dictionary is read as it is.

#include "common/copy_on_write.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

inline godot::Dictionary readable_by_text_keys(const godot::Dictionary &p_data) {
	if (!p_data.is_typed_key()) {
		return p_data;
	}
	return plain_copy(p_data);
}

} // namespace teamforge
