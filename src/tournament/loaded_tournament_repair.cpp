#include "tournament/loaded_tournament_repair.h"

#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "tournament/swiss_stage.h"
#include "tournament/tournament_creation.h"

#include <algorithm>

namespace teamforge {

namespace {

using godot::String;

// A date the calendar would never reach is dropped: what waits on it then happens on the next day,
// as for a record that has no date.
void clear_unreachable_date(String &r_date) {
	if (!r_date.is_empty() && !is_reachable_date(r_date)) {
		r_date = String();
	}
}

// The round a Swiss stage has reached: the last one with a team seated or a match played.
int32_t reached_swiss_round(const TournamentStage &p_stage) {
	int32_t reached = 1;
	for (int32_t round = 2; round <= SWISS_ROUNDS; round++) {
		const String name = swiss_round_name(round);
		for (const MatchNode &node : p_stage.nodes) {
			if (node.name == name && (node.status != MatchStatus::PENDING || !node.team_a.is_empty() || !node.team_b.is_empty())) {
				reached = round;
				break;
			}
		}
	}
	return reached;
}

void repair_stage(TournamentStage &r_stage) {
	for (MatchNode &node : r_stage.nodes) {
		if (node.status == MatchStatus::PENDING) {
			clear_unreachable_date(node.date);
		}
	}
	if (r_stage.type == StageKind::SWISS && (r_stage.current_round < 1 || r_stage.current_round > SWISS_ROUNDS)) {
		r_stage.current_round = reached_swiss_round(r_stage);
	}
}

} // namespace

void repair_loaded_tournament(Tournament &r_tournament) {
	if (r_tournament.status == TournamentStatus::COMPLETED) {
		return;
	}
	const int32_t stage_count = static_cast<int32_t>(std::min<size_t>(r_tournament.stages.size(), INT32_MAX));
	if (r_tournament.status == TournamentStatus::ACTIVE) {
		// Past the last stage means every stage is over: the tournament completes on its next day.
		r_tournament.current_stage_idx = std::clamp(r_tournament.current_stage_idx, 0, stage_count);
	} else {
		// Nothing is played before the start: the first stage is the one invitations seed.
		r_tournament.current_stage_idx = 0;
	}
	r_tournament.rest = std::min(r_tournament.rest, tier_rest_days(r_tournament.tier_id));
	clear_unreachable_date(r_tournament.inv_date);
	clear_unreachable_date(r_tournament.start_date);
	for (TournamentStage &stage : r_tournament.stages) {
		repair_stage(stage);
	}
}

} // namespace teamforge
