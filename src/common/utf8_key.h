#pragma once

// A text as a plain std::string, for hash sets and maps kept while no script runs.

#include <godot_cpp/variant/char_string.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstddef>
#include <string>

namespace teamforge {

inline std::string utf8_key(const godot::String &p_text) {
	const godot::CharString text = p_text.utf8();
	return std::string(text.get_data(), static_cast<size_t>(text.length()));
}

} // namespace teamforge
