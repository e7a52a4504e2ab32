#pragma once

// Match play: the daily step of a running tournament. Plays the current stage's due matches through
// the simulator, moves teams along the bracket links, keeps the heat and rating totals, closes the
// stage when it is over, seeds the next after the tier's rest days, and hands the last to completion.

#include "tournament/team_entries.h"
#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace teamforge {

// One play day of an "ACTIVE" tournament. Returns false once a signal handler stopped the day (see
// TournamentHost::day_goes_on); the rest of its work is then dropped.
[[nodiscard]] bool play_tournament_day(TournamentHost &p_host, Tournament &r_tournament, const godot::String &p_today);
// Seeds stage 0 from the invited field, in the order the invitation gave it.
void start_first_stage(TournamentHost &p_host, Tournament &r_tournament);
// Seeds the stage at current_stage_idx from the teams carried on, best rating first.
void start_next_stage(TournamentHost &p_host, Tournament &r_tournament);
int32_t compute_match_heat(const TeamRoster &p_roster, const godot::Dictionary &p_team_a,
		const godot::Dictionary &p_team_b, int32_t p_prize, int32_t p_round_factor);
// How much a match's name raises its heat: finals most, then semifinals, then quarterfinals.
int32_t round_heat_factor(const godot::String &p_match_name);

} // namespace teamforge
