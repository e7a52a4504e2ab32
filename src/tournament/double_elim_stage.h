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
// Both seat the opening matches 1-8, 4-5, 2-7, 3-6 (9-16, 12-13, 10-15, 11-14 for group B); a seed
// beyond a short list leaves its side empty. A blast bracket without exactly four opening matches is not
// seeded.
void seed_blast_stage(TournamentStage &r_stage, const godot::Array &p_seed_list);
// Group A takes seeds 1-8, group B 9-16; each pair goes to the group's first opening match whose side A
// is still free, so one already seated keeps its teams.
void seed_group_stage(TournamentStage &r_stage, const godot::Array &p_seed_list);
// The six teams that leave the finished group stage for the playoffs, in qualifier order.
godot::Array group_stage_qualifiers(const TournamentStage &p_stage);

} // namespace teamforge
