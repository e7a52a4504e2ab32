#include "tournament/single_elim_stage.h"

#include "common/dictionary_keys.h"
#include "common/rounding.h"
#include "common/script_values.h"
#include "tournament/stage_building.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <vector>

namespace teamforge {

namespace {

using godot::Array;
using godot::Dictionary;
using godot::String;
using godot::Variant;

constexpr int32_t PLAYOFF_MATCHES_PER_DAY = 2;

struct BracketRound {
	const char *name;
	int32_t matches;
	const char *loser_tag;
};

constexpr BracketRound SIXTEEN_TEAMS[] = {
	{ "Round of 16", 8, "9th-16th" },
	{ "Quarterfinals", 4, "5th-8th" },
	{ "Semifinals", 2, "3rd-4th" },
	{ "Grand Final", 1, "2nd" },
};
constexpr BracketRound EIGHT_TEAMS[] = {
	{ "Quarterfinals", 4, "5th-8th" },
	{ "Semifinals", 2, "3rd-4th" },
	{ "Grand Final", 1, "2nd" },
};
constexpr BracketRound SIX_TEAMS[] = {
	{ "Quarterfinals", 2, "5th-6th" },
	{ "Semifinals", 2, "3rd-4th" },
	{ "Grand Final", 1, "2nd" },
};

struct Bracket {
	const BracketRound *rounds = nullptr;
	size_t count = 0;
	// In the six-team bracket each quarterfinal feeds its own semifinal's side B (side A holds a bye).
	bool byes = false;
};

Bracket bracket_for(int32_t p_team_count) {
	switch (p_team_count) {
		case 16:
			return { SIXTEEN_TEAMS, sizeof(SIXTEEN_TEAMS) / sizeof(SIXTEEN_TEAMS[0]), false };
		case 8:
			return { EIGHT_TEAMS, sizeof(EIGHT_TEAMS) / sizeof(EIGHT_TEAMS[0]), false };
		case 6:
			return { SIX_TEAMS, sizeof(SIX_TEAMS) / sizeof(SIX_TEAMS[0]), true };
		default:
			return {};
	}
}

// Where the winner of match p_match (from 0) of a round goes in the next round.
NodeLink winner_link(const std::vector<String> &p_next_round, size_t p_match, bool p_byes) {
	NodeLink link;
	if (p_byes && p_next_round.size() > 1) {
		link.id = p_next_round[p_match];
		link.slot = "team_b";
		return link;
	}
	link.id = p_next_round[p_match / 2];
	link.slot = p_match % 2 == 0 ? "team_a" : "team_b";
	return link;
}

} // namespace

TournamentStage build_single_elim_stage(const String &p_name, int32_t p_team_count, bool p_best_of_five,
		int32_t p_first_match, const String &p_start_date) {
	TournamentStage stage;
	stage.type = StageKind::SINGLE_ELIM;
	stage.name = p_name;
	stage.is_playoff = true;

	const Bracket bracket = bracket_for(p_team_count);
	const String bo3("Bo3");
	int64_t number = p_first_match;
	MatchDayScheduler days(p_start_date, PLAYOFF_MATCHES_PER_DAY);
	// Node positions of the previous round, linked to this round's nodes as they are created.
	std::vector<size_t> previous;
	for (size_t r = 0; r < bracket.count; r++) {
		const BracketRound &round = bracket.rounds[r];
		const bool is_final = r + 1 == bracket.count;
		std::vector<size_t> current;
		std::vector<String> ids;
		Array match_ids;
		for (int32_t m = 0; m < round.matches; m++) {
			MatchNode node = make_stage_node(stage_node_id("m", number++), round.name, bo3);
			node.loser_tag = round.loser_tag;
			node.is_bo5 = is_final && p_best_of_five;
			node.date = days.next_slot();
			current.push_back(stage.nodes.size());
			ids.push_back(node.id);
			match_ids.push_back(node.id);
			stage.nodes.push_back(node);
		}
		for (size_t k = 0; k < previous.size(); k++) {
			stage.nodes[previous[k]].winner_to = winner_link(ids, k, r == 1 && bracket.byes);
		}
		previous = current;

		Dictionary group;
		group[TF_KEY("name")] = is_final && p_best_of_five ? String("Bo5") : bo3;
		group[TF_KEY("match_ids")] = match_ids;
		Array groups;
		groups.push_back(group);
		Dictionary descriptor;
		descriptor[TF_KEY("name")] = round.name;
		descriptor[TF_KEY("groups")] = groups;
		stage.rounds.push_back(descriptor);
		days.close_round();
	}
	stage.next_date = days.first_free_day();
	stage.next_id = saturate_to_int32(number);
	return stage;
}

void seed_single_elim_stage(TournamentStage &r_stage, const Array &p_seed_list, bool p_first_stage) {
	const int64_t count = p_seed_list.size();
	if (p_first_stage || count == 16 || count == 8) {
		const Array match_ids = round_group_match_ids(r_stage.rounds, 0, 0);
		const int64_t slots = match_ids.size();
		for (int64_t k = 0; k < slots && 2 * k < count; k++) {
			// A lone last team of a short field is seated alone rather than left out of the bracket.
			const Variant team_b = 2 * k + 1 < count ? p_seed_list[2 * k + 1] : Variant();
			seat_pair(r_stage, match_ids[k], p_seed_list[2 * k], team_b);
		}
		return;
	}
	if (count != 6) {
		return;
	}
	const Array quarterfinals = round_group_match_ids(r_stage.rounds, 0, 0);
	if (quarterfinals.size() >= 2) {
		seat_pair(r_stage, quarterfinals[0], p_seed_list[0], p_seed_list[1]);
		seat_pair(r_stage, quarterfinals[1], p_seed_list[2], p_seed_list[3]);
	}
	const Array semifinals = round_group_match_ids(r_stage.rounds, 1, 0);
	if (semifinals.size() >= 2) {
		// The two byes wait on side A; side B comes from the quarterfinals.
		for (int64_t k = 0; k < 2; k++) {
			MatchNode *node = find_stage_node(r_stage, semifinals[k]);
			if (node != nullptr) {
				node->team_a = as_dictionary(p_seed_list[4 + k]);
			}
		}
	}
}

} // namespace teamforge
