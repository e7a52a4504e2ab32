// CharString: a UTF-8 copy of a String, as String::utf8() returns it.
#pragma once

#include <string>

namespace godot {

class CharString {
	std::string data;

public:
	CharString() = default;
	explicit CharString(std::string p_data) :
			data(std::move(p_data)) {}

	const char *get_data() const { return data.c_str(); }
	int64_t length() const { return static_cast<int64_t>(data.size()); }
};

} // namespace godot
