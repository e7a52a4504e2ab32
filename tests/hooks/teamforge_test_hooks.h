#pragma once

// Test-build-only window onto internals that the script surface cannot reach
// well: the calendar rules and the raw random draws.

#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace godot {

class TeamforgeTestHooks : public RefCounted {
	GDCLASS(TeamforgeTestHooks, RefCounted)

protected:
	static void _bind_methods();

public:
	String add_days(const String &p_date, int32_t p_days) const;
	int64_t compare_dates(const String &p_a, const String &p_b) const;
	Array mt_raw(int64_t p_seed, int64_t p_skip, int64_t p_count) const;
	Array mt_uniform_int(int64_t p_seed, int64_t p_lo, int64_t p_hi, int64_t p_count) const;
	Array mt_uniform_real(int64_t p_seed, int64_t p_count) const;
};

} // namespace godot
