#include "common/saved_numbers.h"

#include "common/rounding.h"

#include <godot_cpp/variant/char_string.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cmath>

using namespace godot;

namespace teamforge {

namespace {

// Up to this many significant digits a text always fits 64 bits.
constexpr int MAX_SAFE_DIGITS = 18;

int64_t saturate_double(double p_value) {
	if (std::isnan(p_value)) {
		return 0;
	}
	// 2^63 is exact in double; -2^63 is the smallest int64 itself.
	if (p_value >= 9223372036854775808.0) {
		return INT64_LIMIT_MAX;
	}
	if (p_value <= -9223372036854775808.0) {
		return INT64_LIMIT_MIN;
	}
	// Truncation toward zero, as the engine converts a float in range.
	return static_cast<int64_t>(p_value);
}

// Reads a text the way String.to_int does (digits before the first '.', each '-' before the first
// non-zero digit flips the sign, everything else ignored), but holds a value that does not fit 64 bits
// at the limit instead of letting the engine report an error.
int64_t saturate_text(const String &p_text) {
	const CharString utf8 = p_text.utf8();
	bool negative = false;
	int significant = 0;
	for (const char *c = utf8.get_data(); *c != '\0' && *c != '.'; ++c) {
		if (*c >= '0' && *c <= '9') {
			if (significant > 0 || *c != '0') {
				++significant;
			}
		} else if (*c == '-' && significant == 0) {
			negative = !negative;
		}
	}
	if (significant <= MAX_SAFE_DIGITS) {
		return p_text.to_int();
	}
	return negative ? INT64_LIMIT_MIN : INT64_LIMIT_MAX;
}

} // namespace

int64_t read_saved_int64(const Variant &p_value) {
	switch (p_value.get_type()) {
		case Variant::INT:
			return p_value.operator int64_t();
		case Variant::FLOAT:
			return saturate_double(p_value.operator double());
		case Variant::STRING:
			return saturate_text(p_value.operator String());
		default:
			return p_value.operator int64_t();
	}
}

int32_t read_saved_int32(const Variant &p_value) {
	return saturate_to_int32(read_saved_int64(p_value));
}

} // namespace teamforge
