#pragma once

// Both sides' rating and stamina as a series began and as it left them: what the simulator hands its
// callers of a series, and what the series log keeps of it.

#include <cstdint>

namespace teamforge {

struct RatingsAndStamina {
	int32_t vrs_before_a = 0;
	int32_t vrs_before_b = 0;
	int32_t vrs_after_a = 0;
	int32_t vrs_after_b = 0;
	int32_t stamina_before_a = 0;
	int32_t stamina_before_b = 0;
	int32_t stamina_after_a = 0;
	int32_t stamina_after_b = 0;
};

} // namespace teamforge
