#pragma once

// Rounding and integer arithmetic that cannot overflow. Script values reach
// money and rating sums unchecked, so every such sum saturates at the limits
// instead of wrapping or invoking undefined behaviour.

#include <cmath>
#include <cstdint>
#include <limits>

namespace teamforge {

constexpr int64_t INT64_LIMIT_MAX = std::numeric_limits<int64_t>::max();
constexpr int64_t INT64_LIMIT_MIN = std::numeric_limits<int64_t>::min();

// Nearest integer with halves away from zero, as a double (std::round's rule).
inline double round_half_away(double p_value) {
	return std::round(p_value);
}

// Toward zero, as the engine converts a float in range; NaN gives 0 and values beyond the int64 range give
// the nearer limit.
inline int64_t truncate_to_int64(double p_value) {
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
	return static_cast<int64_t>(p_value);
}

// Nearest integer with halves away from zero; NaN gives 0 and values beyond
// the int64 range give the nearer limit.
inline int64_t round_to_int64(double p_value) {
	return truncate_to_int64(std::round(p_value));
}

inline int64_t saturating_add(int64_t p_a, int64_t p_b) {
	int64_t result = 0;
	if (__builtin_add_overflow(p_a, p_b, &result)) {
		return p_b > 0 ? INT64_LIMIT_MAX : INT64_LIMIT_MIN;
	}
	return result;
}

inline int64_t saturating_sub(int64_t p_a, int64_t p_b) {
	int64_t result = 0;
	if (__builtin_sub_overflow(p_a, p_b, &result)) {
		return p_b < 0 ? INT64_LIMIT_MAX : INT64_LIMIT_MIN;
	}
	return result;
}

inline int64_t saturating_mul(int64_t p_a, int64_t p_b) {
	int64_t result = 0;
	if (__builtin_mul_overflow(p_a, p_b, &result)) {
		return ((p_a < 0) != (p_b < 0)) ? INT64_LIMIT_MIN : INT64_LIMIT_MAX;
	}
	return result;
}

inline int64_t clamp_int64(int64_t p_value, int64_t p_min, int64_t p_max) {
	if (p_value < p_min) {
		return p_min;
	}
	if (p_value > p_max) {
		return p_max;
	}
	return p_value;
}

// Narrows to int32, holding values beyond the range at the nearer limit.
inline int32_t saturate_to_int32(int64_t p_value) {
	return static_cast<int32_t>(clamp_int64(p_value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace teamforge
