#include "tournament/rating_history.h"

#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "common/rounding.h"
#include "common/saved_numbers.h"
#include "common/script_values.h"
#include "common/text_key_reading.h"
#include "tournament/stage_building.h"
#include "tournament/team_entries.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace teamforge {

namespace {

struct Appearance {
	const Tournament *tournament;
	const TournamentStage *stage;
	const MatchNode *node;
	bool side_a;
	// The team's series count after this one: every series adds a win or a loss, so it orders the
	// team's matches across tournaments that overlap, where node dates cannot (a node keeps its planned
	// day when it is played later).
	int64_t series_count;
};

int64_t entry_number(const godot::Dictionary &p_entry, const godot::Variant &p_key) {
	return read_saved_int64(p_entry.get(p_key, godot::Variant()));
}

bool is_series(const MatchNode &p_node) {
	return p_node.status == MatchStatus::PLAYED && p_node.has_map_reports();
}

std::vector<Appearance> appearances_of(const TournamentList &p_tournaments, const godot::String &p_team_id) {
	std::vector<Appearance> found;
	for (const TournamentPtr &tournament : p_tournaments) {
		for (const TournamentStage &stage : tournament->stages) {
			for (const MatchNode &node : stage.nodes) {
				if (!is_series(node)) {
					continue;
				}
				const bool side_a = entry_id(node.team_a) == p_team_id;
				if (!side_a && entry_id(node.team_b) != p_team_id) {
					continue;
				}
				const godot::Dictionary side = as_dictionary(side_a ? node.team_a : node.team_b);
				// Held at the limits: a loaded record may hold any number.
				const int64_t count = saturating_add(entry_number(side, TF_KEY("wins")), entry_number(side, TF_KEY("losses")));
				found.push_back({ tournament.get(), &stage, &node, side_a, count });
			}
		}
	}
	// Stable: records a script rewrote fall back to list, stage and node order.
	std::stable_sort(found.begin(), found.end(),
			[](const Appearance &p_left, const Appearance &p_right) { return p_left.series_count < p_right.series_count; });
	return found;
}

// The rating before the series. The entries hold the rating after it and the change before the clamp,
// so the change is undone unless the rating sits on a bound; then the previous series' rating, or for
// the first series the rating the team was invited with, is the one it started from.
int64_t rating_before(const Appearance &p_match, const godot::String &p_team_id, int64_t p_after, int64_t p_delta,
		const int64_t *p_previous_after) {
	if (p_after > RATING_MIN && p_after < RATING_MAX) {
		return p_after - p_delta;
	}
	if (p_previous_after != nullptr) {
		return *p_previous_after;
	}
	const godot::Variant invited = readable_by_text_keys(p_match.tournament->initial_vrs).get(p_team_id, godot::Variant());
	// A loaded record may hold any rating: the change is undone held at the limits.
	return invited.get_type() == godot::Variant::NIL ? saturating_sub(p_after, p_delta) : read_saved_int64(invited);
}

} // namespace

godot::Array rating_history(const TournamentList &p_tournaments, const godot::String &p_team_id) {
	godot::Array history;
	if (p_team_id.is_empty()) {
		return history;
	}
	const std::vector<Appearance> found = appearances_of(p_tournaments, p_team_id);
	int64_t previous_after = 0;
	for (size_t i = 0; i < found.size(); i++) {
		const Appearance &match = found[i];
		const MatchNode &node = *match.node;
		const godot::Dictionary own = as_dictionary(match.side_a ? node.team_a : node.team_b);
		const godot::Dictionary opponent = as_dictionary(match.side_a ? node.team_b : node.team_a);
		const int64_t after = entry_number(own, TF_KEY("vrs"));
		const int64_t delta = match.side_a ? node.vrs_delta_a : node.vrs_delta_b;
		const int64_t before = rating_before(match, p_team_id, after, delta, i > 0 ? &previous_after : nullptr);
		previous_after = after;
		// Side A wins on more maps, as match play decides it.
		const bool a_won = node.score_a > node.score_b;

		godot::Dictionary entry;
		entry[TF_KEY("date")] = node.date;
		entry[TF_KEY("tour_id")] = match.tournament->id;
		entry[TF_KEY("tour_name")] = match.tournament->name;
		entry[TF_KEY("stage_name")] = match.stage->name;
		entry[TF_KEY("match_id")] = node.id;
		entry[TF_KEY("match_name")] = node.name;
		entry[TF_KEY("opponent_id")] = entry_id(opponent);
		entry[TF_KEY("opponent_name")] = opponent.get(TF_KEY("name"), godot::String()).operator godot::String();
		entry[TF_KEY("won")] = match.side_a == a_won;
		entry[TF_KEY("maps_won")] = match.side_a ? node.score_a : node.score_b;
		entry[TF_KEY("maps_lost")] = match.side_a ? node.score_b : node.score_a;
		entry[TF_KEY("vrs_before")] = before;
		entry[TF_KEY("vrs_after")] = after;
		entry[TF_KEY("vrs_delta")] = delta;
		history.push_back(entry);
	}
	return history;
}

} // namespace teamforge
