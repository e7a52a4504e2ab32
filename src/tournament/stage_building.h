#pragma once

// Pieces the stage engines share: creating numbered nodes, handing out match days under a per-day
// limit, and finding and seating the nodes that the script-reachable descriptors name.

#include "tournament/tournament_records.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>

namespace teamforge {

// A node id: the prefix ("m", "GrA", "GrB"), "_" and the match number.
godot::String stage_node_id(const char *p_prefix, int64_t p_number);
// A fresh "PENDING" node.
MatchNode make_stage_node(const godot::String &p_id, const godot::String &p_name, const godot::String &p_group_name);

// Gives out match days from a start day: at most p_limit matches a day; a round may ask for a day of
// its own.
class MatchDayScheduler {
	godot::String day;
	int32_t used = 0;
	int32_t limit;

public:
	MatchDayScheduler(const godot::String &p_start_date, int32_t p_limit);

	godot::String next_slot();
	// The next slot falls on a new day unless the current one is still untouched.
	void close_round();
	// The first day with no match on it.
	godot::String first_free_day();
};

// The "match_ids" of the p_group-th group of the p_round-th round descriptor (both from 0).
godot::Array round_group_match_ids(const godot::Array &p_rounds, int64_t p_round, int64_t p_group);

// The first node with that id, or null.
MatchNode *find_stage_node(TournamentStage &r_stage, const godot::String &p_id);
const MatchNode *find_stage_node(const TournamentStage &p_stage, const godot::String &p_id);
// Seats a pair on the node that p_id names; an id naming no node is passed over.
void seat_pair(TournamentStage &r_stage, const godot::Variant &p_id, const godot::Variant &p_team_a,
		const godot::Variant &p_team_b);

bool id_has_prefix(const godot::String &p_id, const char *p_prefix);

} // namespace teamforge
