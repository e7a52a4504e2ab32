#include "teamforge_test_hooks.h"

#include "common/dates.h"
#include "common/random.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>

namespace godot {

namespace {

// Bounds that keep a mistyped test from stalling the run; far above what any
// test needs.
constexpr int64_t MAX_OUTPUTS = int64_t(1) << 20;
constexpr int64_t MAX_SKIP = int64_t(1) << 24;

int64_t bounded(int64_t p_value, int64_t p_max) {
	return std::min(std::max<int64_t>(p_value, 0), p_max);
}

// Scripts pass 64-bit integers; the generator takes the low 32 bits.
teamforge::RandomEngine engine_for(int64_t p_seed) {
	return teamforge::RandomEngine(static_cast<uint32_t>(static_cast<uint64_t>(p_seed)));
}

} // namespace

void TeamforgeTestHooks::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("add_days", "date", "days"), &TeamforgeTestHooks::add_days);
	ClassDB::bind_method(D_METHOD("compare_dates", "a", "b"), &TeamforgeTestHooks::compare_dates);
	ClassDB::bind_method(D_METHOD("mt_raw", "seed", "skip", "count"), &TeamforgeTestHooks::mt_raw);
	ClassDB::bind_method(D_METHOD("mt_uniform_int", "seed", "lo", "hi", "count"), &TeamforgeTestHooks::mt_uniform_int);
	ClassDB::bind_method(D_METHOD("mt_uniform_real", "seed", "count"), &TeamforgeTestHooks::mt_uniform_real);

	// Properties: none.

	// Signals: none.
}

String TeamforgeTestHooks::add_days(const String &p_date, int32_t p_days) const {
	return teamforge::add_days(p_date, p_days);
}

int64_t TeamforgeTestHooks::compare_dates(const String &p_a, const String &p_b) const {
	return teamforge::compare_dates(p_a, p_b);
}

Array TeamforgeTestHooks::mt_raw(int64_t p_seed, int64_t p_skip, int64_t p_count) const {
	teamforge::RandomEngine engine = engine_for(p_seed);
	engine.discard(static_cast<uint64_t>(bounded(p_skip, MAX_SKIP)));
	const int64_t count = bounded(p_count, MAX_OUTPUTS);
	Array outputs;
	for (int64_t i = 0; i < count; i++) {
		outputs.push_back(static_cast<int64_t>(engine.next_u32()));
	}
	return outputs;
}

Array TeamforgeTestHooks::mt_uniform_int(int64_t p_seed, int64_t p_lo, int64_t p_hi, int64_t p_count) const {
	teamforge::RandomEngine engine = engine_for(p_seed);
	const int64_t count = bounded(p_count, MAX_OUTPUTS);
	Array values;
	for (int64_t i = 0; i < count; i++) {
		values.push_back(engine.uniform_int(p_lo, p_hi));
	}
	return values;
}

Array TeamforgeTestHooks::mt_uniform_real(int64_t p_seed, int64_t p_count) const {
	teamforge::RandomEngine engine = engine_for(p_seed);
	const int64_t count = bounded(p_count, MAX_OUTPUTS);
	Array values;
	for (int64_t i = 0; i < count; i++) {
		values.push_back(engine.uniform_real());
	}
	return values;
}

} // namespace godot
