#pragma once

// Seeded draws shared by the match simulator and the tournament manager. Every
// draw is defined on raw MT19937 outputs so a seed reproduces a season on any
// standard library (the std distributions differ between implementations).

#include <cstddef>
#include <cstdint>
#include <random>

namespace teamforge {

class RandomEngine {
public:
	static constexpr uint32_t DEFAULT_SEED = 5489u;

	RandomEngine();
	explicit RandomEngine(uint32_t p_seed);

	// Standard linear initialisation of the 624 state words.
	void seed(uint32_t p_seed);
	// Seed-sequence expansion of the given words (including the guard against
	// an all-zero state).
	void seed_words(const uint32_t *p_words, size_t p_count);

	uint32_t next_u32();
	void discard(uint64_t p_count);

	// Uniform integer in [p_lo, p_hi] by multiply-and-reject; p_hi < p_lo gives
	// p_lo without drawing.
	int64_t uniform_int(int64_t p_lo, int64_t p_hi);
	// Uniform real in [0, 1) from two outputs, (x1 + x2 * 2^32) / 2^64.
	double uniform_real();

private:
	std::mt19937 engine;
};

} // namespace teamforge
