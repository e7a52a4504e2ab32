#pragma once

// Integers read back from saves. A save that went through JSON holds every number as a float, and the
// engine's float-to-int conversion wraps beyond the int64 range (INT64_MAX comes back as INT64_MIN),
// flipping the sign of funds and restarting serial numbers. A float is therefore held at the limits of
// the target type (NaN reads as 0); any other value, and every float in range, converts exactly as the
// engine converts it.

#include <godot_cpp/variant/variant.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

namespace teamforge {

inline int64_t saved_int64(const godot::Variant &p_value) {
	if (p_value.get_type() == godot::Variant::FLOAT) {
		const double value = p_value;
		if (std::isnan(value)) {
			return 0;
		}
		// 2^63 is exact in double; -2^63 itself is in range.
		if (value >= 9223372036854775808.0) {
			return std::numeric_limits<int64_t>::max();
		}
		if (value < -9223372036854775808.0) {
			return std::numeric_limits<int64_t>::min();
		}
	}
	return p_value;
}

inline int32_t saved_int32(const godot::Variant &p_value) {
	if (p_value.get_type() == godot::Variant::FLOAT) {
		const double value = p_value;
		if (std::isnan(value)) {
			return 0;
		}
		// The engine truncates towards zero, so everything above -2^31 - 1 and below 2^31 fits.
		if (value >= 2147483648.0) {
			return std::numeric_limits<int32_t>::max();
		}
		if (value <= -2147483649.0) {
			return std::numeric_limits<int32_t>::min();
		}
	}
	return p_value;
}

} // namespace teamforge
