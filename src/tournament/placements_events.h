#pragma once

// The two services every tournament engine uses: the achievement event the manager emits when
// something worth telling happens, and the improve-only placement record of each team.

#include "tournament/team_entries.h"
#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

namespace teamforge {

// Weight of a placement label (0 for labels outside the table); ranks labels and sets prize shares.
double placement_weight(const godot::String &p_label);
// True when p_a ranks strictly above p_b (weights more than 0.001 apart).
bool placement_weight_greater(double p_a, double p_b);

// Answers as the host's emit does: false once the day stops.
[[nodiscard]] bool emit_achievement_event(TournamentHost &p_host, const godot::String &p_type, const Tournament &p_tournament,
		const godot::Dictionary &p_context);
// A new placement entry {"team", "tag", "vrs_before"}: the rating before is the tournament's initial
// rating of the team, else its rating now. p_initial_vrs must be readable by text keys.
godot::Dictionary make_placement(const TeamRoster &p_roster, const godot::Dictionary &p_initial_vrs,
		const godot::Dictionary &p_entry, const godot::String &p_label);
void record_placement(TournamentHost &p_host, Tournament &r_tournament, const godot::Dictionary &p_entry,
		const godot::String &p_label);

} // namespace teamforge
