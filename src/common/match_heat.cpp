#include "common/match_heat.h"

#include "common/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace teamforge {

namespace {

constexpr double TOP_RANK_BOOST = 6.0;
constexpr double HIGH_RANK_BOOST = 2.5;
constexpr double FAMOUS_NAME_BOOST = 9.87;
constexpr int64_t LAST_TOP_RANK = 5;
constexpr int64_t LAST_HIGH_RANK = 20;

// How many of the two teams stand in the top ranks, and how many just below.
struct RankBoosts {
	int32_t top = 0;
	int32_t high = 0;
};

RankBoosts rank_boosts(int64_t p_rank_a, int64_t p_rank_b) {
	RankBoosts boosts;
	for (const int64_t rank : { p_rank_a, p_rank_b }) {
		if (rank <= LAST_TOP_RANK) {
			boosts.top++;
		} else if (rank <= LAST_HIGH_RANK) {
			boosts.high++;
		}
	}
	return boosts;
}

double prize_share(int32_t p_prize) {
	return static_cast<double>(p_prize) / 2000000.0;
}

double round_factor(int32_t p_round_factor) {
	return static_cast<double>(std::max<int32_t>(p_round_factor, 1));
}

// The rounded square root of x, halves away from zero; a negative x (or NaN) gives 0.
double heat_root(double p_x) {
	if (!(p_x >= 0.0)) {
		return 0.0;
	}
	return round_half_away(std::sqrt(p_x));
}

// A small integer power (0 to 2 here), rounded once like the exact power.
double integer_power(double p_base, int32_t p_exponent) {
	double result = 1.0;
	for (int32_t i = 0; i < p_exponent; i++) {
		result *= p_base;
	}
	return result;
}

} // namespace

int32_t prediction_heat(double p_rating_a, double p_rating_b, int32_t p_prize, int64_t p_rank_a, int64_t p_rank_b,
		int32_t p_famous, int32_t p_round_factor) {
	const double share = prize_share(p_prize);
	const double base = p_rating_b * p_rating_a * share * share;
	const RankBoosts boosts = rank_boosts(p_rank_a, p_rank_b);
	double multiplier = 1.0;
	for (int32_t i = 0; i < boosts.top; i++) {
		multiplier *= TOP_RANK_BOOST;
	}
	for (int32_t i = 0; i < boosts.high; i++) {
		multiplier *= HIGH_RANK_BOOST;
	}
	for (int32_t i = 0; i < p_famous; i++) {
		multiplier *= FAMOUS_NAME_BOOST;
	}
	const double heat = heat_root(round_factor(p_round_factor) * (multiplier * base));
	if (!(heat > 0.0) || heat > static_cast<double>(std::numeric_limits<int32_t>::max())) {
		return 0;
	}
	return static_cast<int32_t>(heat);
}

int32_t played_match_heat(double p_rating_a, double p_rating_b, int32_t p_prize, int64_t p_rank_a, int64_t p_rank_b,
		int32_t p_famous, int32_t p_round_factor) {
	const double share = prize_share(p_prize);
	const RankBoosts boosts = rank_boosts(p_rank_a, p_rank_b);
	// The three powers first, then their product: folding the factors in one at a time rounds differently
	// in the last bit and tips some exact halves of the heat the other way.
	const double boost = integer_power(TOP_RANK_BOOST, boosts.top) * integer_power(HIGH_RANK_BOOST, boosts.high) *
			integer_power(FAMOUS_NAME_BOOST, p_famous);
	const double heat = heat_root(boost * p_rating_b * p_rating_a * share * share * round_factor(p_round_factor));
	return heat >= static_cast<double>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(heat);
}

} // namespace teamforge
