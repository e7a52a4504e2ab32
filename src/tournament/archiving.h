#pragma once

// Archiving: a completed tournament reduced to what a career's history needs, so that a long career's
// lists and saves stop growing with every match ever played. The record keeps its shape (every key of
// the save), its identity, dates, prize pool, final standings, heat and quota map; the match-by-match
// records and the honours copied into team entries go.

#include "tournament/tournament_records.h"

#include <godot_cpp/variant/string.hpp>

namespace teamforge {

// A completed tournament that still holds match records and whose last scheduled match day (the day a
// new Major's invitation is checked against) comes before p_date.
bool archivable_before(const Tournament &p_tournament, const godot::String &p_date);

// A new record with the same identity, status, dates, prize, size, standings (their team entries without
// the honours of the moment), stage index, rest, heat and quota map, and none of the rest: no stages,
// placements, participants, Major entry lists, carried teams, invitation ratings or rating changes.
Tournament archived_copy(const Tournament &p_tournament);

// Completed with nothing but its history left.
bool is_archived(const Tournament &p_tournament);

} // namespace teamforge
