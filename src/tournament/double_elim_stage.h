#pragma once

// The eight-team double-elimination bracket ("BLAST_BRACKET") and the two eight-team groups of
// "IEM_GROUPS": fixed graphs of dated nodes whose links carry winners and upper-bracket losers on.

#include "tournament/tournament_records.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace teamforge {

TournamentStage build_blast_stage(const godot::String &p_name, bool p_best_of_five, int32_t p_first_match,
		const godot::String &p_start_date);
TournamentStage build_group_stage(int32_t p_first_match, const godot::String &p_start_date);
void seed_blast_stage(TournamentStage &r_stage, const godot::Array &p_seed_list);
void seed_group_stage(TournamentStage &r_stage, const godot::Array &p_seed_list);
// The six teams that leave the finished group stage for the playoffs, in qualifier order.
godot::Array group_stage_qualifiers(const TournamentStage &p_stage);

} // namespace teamforge
