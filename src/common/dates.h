#pragma once

// Calendar arithmetic on the game's date texts ("YYYY-MM-DD").

#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace teamforge {

// Moves a date by p_days (negative goes back). A text that cannot be read as a date, or whose
// result would leave the representable range of years, comes back unchanged.
godot::String add_days(const godot::String &p_date, int32_t p_days);

// Orders two dates: <0, 0 or >0. Natural and case-insensitive, so "2026-2-1" sorts before
// "2026-10-01" just as the calendar does.
int compare_dates(const godot::String &p_a, const godot::String &p_b);

// True for a day the calendar has, written exactly as add_days writes it: a four-digit year, then
// two-digit month and day ("2028-02-29"). Four digits keep the year the first four characters, which
// the tournament names and the per-year creation limits read.
bool is_calendar_date(const godot::String &p_date);
// True for a date the day-by-day calendar reaches in order: three runs of ASCII digits joined by "-",
// a month from 1 to 12 and a day from 1 to 31, as add_days reads it ("2026-1-5" too).
bool is_reachable_date(const godot::String &p_date);

} // namespace teamforge
