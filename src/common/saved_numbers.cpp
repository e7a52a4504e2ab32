#include "common/saved_numbers.h"

#include "common/integer_text.h"
#include "common/rounding.h"

#include <godot_cpp/variant/string.hpp>

using namespace godot;

namespace teamforge {

namespace {

// Reads a text the way String.to_int does (digits before the first '.', each '-' before the first
// non-zero digit flips the sign, everything else ignored), but holds a value that does not fit 64 bits
// at the limit instead of letting the engine report an error.
int64_t saturate_text(const String &p_text) {
	const IntegerText scanned = scan_integer_text(p_text);
	if (scanned.significant_digits <= MAX_SAFE_DIGITS) {
		return p_text.to_int();
	}
	return scanned.negative ? INT64_LIMIT_MIN : INT64_LIMIT_MAX;
}

} // namespace

int64_t read_saved_int64(const Variant &p_value) {
	switch (p_value.get_type()) {
		case Variant::INT:
			return p_value.operator int64_t();
		case Variant::FLOAT:
			return truncate_to_int64(p_value.operator double());
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
