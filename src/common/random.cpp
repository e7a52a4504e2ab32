#include "common/random.h"

#include <cmath>
#include <vector>

namespace teamforge {

namespace {

constexpr uint64_t TWO_POW_32 = uint64_t(1) << 32;
constexpr double TWO_POW_32_D = 4294967296.0;
constexpr double TWO_POW_64_D = 18446744073709551616.0;

// Full 128-bit product of two 64-bit values, kept portable (no __int128).
void multiply_64x64(uint64_t p_a, uint64_t p_b, uint64_t &r_high, uint64_t &r_low) {
	const uint64_t a_lo = p_a & 0xffffffffu;
	const uint64_t a_hi = p_a >> 32;
	const uint64_t b_lo = p_b & 0xffffffffu;
	const uint64_t b_hi = p_b >> 32;
	const uint64_t p0 = a_lo * b_lo;
	const uint64_t p1 = a_lo * b_hi;
	const uint64_t p2 = a_hi * b_lo;
	const uint64_t p3 = a_hi * b_hi;
	const uint64_t middle = (p0 >> 32) + (p1 & 0xffffffffu) + (p2 & 0xffffffffu);
	r_low = (middle << 32) | (p0 & 0xffffffffu);
	r_high = p3 + (p1 >> 32) + (p2 >> 32) + (middle >> 32);
}

int64_t offset_from(int64_t p_lo, uint64_t p_offset) {
	// The sum lies in [lo, hi], so it is representable; unsigned arithmetic
	// avoids signed overflow on the way.
	return static_cast<int64_t>(static_cast<uint64_t>(p_lo) + p_offset);
}

} // namespace

RandomEngine::RandomEngine() :
		engine(DEFAULT_SEED) {
}

RandomEngine::RandomEngine(uint32_t p_seed) :
		engine(p_seed) {
}

void RandomEngine::seed(uint32_t p_seed) {
	engine.seed(p_seed);
}

void RandomEngine::seed_words(const uint32_t *p_words, size_t p_count) {
	std::vector<uint32_t> words;
	if (p_words != nullptr) {
		words.assign(p_words, p_words + p_count);
	}
	// std::mersenne_twister_engine::seed(seed_seq&) generates the 624 words with
	// the standard mixing and applies the all-zero-state guard itself.
	std::seed_seq sequence(words.begin(), words.end());
	engine.seed(sequence);
}

uint32_t RandomEngine::next_u32() {
	return static_cast<uint32_t>(engine());
}

void RandomEngine::discard(uint64_t p_count) {
	engine.discard(p_count);
}

int64_t RandomEngine::uniform_int(int64_t p_lo, int64_t p_hi) {
	if (p_hi < p_lo) {
		return p_lo;
	}
	const uint64_t span = static_cast<uint64_t>(p_hi) - static_cast<uint64_t>(p_lo) + 1u;
	if (span != 0 && span <= TWO_POW_32) {
		const uint64_t threshold = TWO_POW_32 % span;
		uint64_t product = uint64_t(next_u32()) * span;
		while ((product & 0xffffffffu) < threshold) {
			product = uint64_t(next_u32()) * span;
		}
		return offset_from(p_lo, product >> 32);
	}

	// Spans wider than 32 bits take a 64-bit value (low word first) and the same
	// rule one size up; span 0 stands for the whole 64-bit range.
	auto next_u64 = [this]() {
		const uint64_t low = next_u32();
		const uint64_t high = next_u32();
		return low | (high << 32);
	};
	if (span == 0) {
		return offset_from(p_lo, next_u64());
	}
	const uint64_t threshold = (uint64_t(0) - span) % span;
	uint64_t high = 0;
	uint64_t low = 0;
	multiply_64x64(next_u64(), span, high, low);
	while (low < threshold) {
		multiply_64x64(next_u64(), span, high, low);
	}
	return offset_from(p_lo, high);
}

double RandomEngine::uniform_real() {
	const double x1 = next_u32();
	const double x2 = next_u32();
	const double value = (x1 + x2 * TWO_POW_32_D) / TWO_POW_64_D;
	// The sum rounds up to 2^64 for the very top outputs; keep the promise
	// that the result lies below 1 (callers scale it into indices).
	if (value >= 1.0) {
		return std::nextafter(1.0, 0.0);
	}
	return value;
}

} // namespace teamforge
