#pragma once

// Single-elimination playoffs of 16, 8 or 6 teams: a fixed, dated bracket whose winners move along
// links and whose losers leave with the node's placement tag.

#include "tournament/tournament_records.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace teamforge {

// Any team count other than 16, 8 or 6 gives a stage without nodes and rounds.
TournamentStage build_single_elim_stage(const godot::String &p_name, int32_t p_team_count, bool p_best_of_five,
		int32_t p_first_match, const godot::String &p_start_date);
// Neighbours in the list meet in the first round. A first stage (or a later one of 16 or 8 teams) takes
// the list as far as the bracket goes, a lone last team seated alone; a later six seats two byes in the
// semifinals; any other later pool is not seeded.
void seed_single_elim_stage(TournamentStage &r_stage, const godot::Array &p_seed_list, bool p_first_stage);

} // namespace teamforge
