#pragma once

// How String.to_int reads a text, without converting it: a text too long for 64 bits makes the engine
// report an error, so callers look at its digits first.

#include <godot_cpp/variant/string.hpp>

namespace teamforge {

// Up to this many significant digits a text always fits 64 bits.
constexpr int MAX_SAFE_DIGITS = 18;

struct IntegerText {
	// Digits before the first '.', leading zeros left out.
	int significant_digits = 0;
	// Each '-' before the first non-zero digit flips the sign.
	bool negative = false;
};

IntegerText scan_integer_text(const godot::String &p_text);

} // namespace teamforge
