#pragma once

// The heat of a match: how much a pairing draws. It grows with both ratings and the square of the prize,
// and is boosted by high ranks and famous names. The economy prices it for scripts and match play
// credits it to the organiser; the two keep their own order of multiplication and their own answer for a
// figure beyond 32 bits, since saves and scripts hold what each has always given.

#include <cstdint>

namespace teamforge {

// The heat EconomySystem.calculate_match_heat gives: the boosts folded in one at a time, and anything that
// does not come out as a positive int32 (a negative rating, an overflow, NaN) counts as no heat.
int32_t prediction_heat(double p_rating_a, double p_rating_b, int32_t p_prize, int64_t p_rank_a, int64_t p_rank_b,
		int32_t p_famous, int32_t p_round_factor);

// The heat a played match adds to its tournament: the three powers multiplied first, a negative figure
// counts as none and one beyond int32 is held at its limit.
int32_t played_match_heat(double p_rating_a, double p_rating_b, int32_t p_prize, int64_t p_rank_a, int64_t p_rank_b,
		int32_t p_famous, int32_t p_round_factor);

} // namespace teamforge
