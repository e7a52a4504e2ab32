#include "tournament/double_elim_stage.h"

#include "common/dictionary_keys.h"
#include "common/rounding.h"
#include "common/script_values.h"
#include "tournament/stage_building.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <initializer_list>
#include <vector>

namespace teamforge {

namespace {

using godot::Array;
using godot::Dictionary;
using godot::String;
using godot::Variant;

constexpr int32_t BLAST_MATCHES_PER_DAY = 2;
constexpr int32_t GROUP_MATCHES_PER_DAY = 4;

// The nodes of the eight-team bracket, in creation order.
enum Slot {
	U1,
	U2,
	U3,
	U4,
	S1,
	S2,
	UF,
	L1,
	L2,
	M1,
	M2,
	LS,
	LF,
	GF,
	SLOT_COUNT,
	NONE = SLOT_COUNT,
};

enum Side {
	SIDE_A,
	SIDE_B,
};

struct BracketNode {
	Slot slot;
	const char *name;
	const char *loser_tag;
	Slot winner_to;
	Side winner_side;
	Slot loser_to;
	Side loser_side;
};

constexpr BracketNode BLAST_BRACKET[] = {
	{ U1, "Upper R1", "", S1, SIDE_A, L1, SIDE_A },
	{ U2, "Upper R1", "", S1, SIDE_B, L1, SIDE_B },
	{ U3, "Upper R1", "", S2, SIDE_A, L2, SIDE_A },
	{ U4, "Upper R1", "", S2, SIDE_B, L2, SIDE_B },
	{ S1, "Upper SF", "", UF, SIDE_A, M2, SIDE_A },
	{ S2, "Upper SF", "", UF, SIDE_B, M1, SIDE_A },
	{ UF, "Upper Final", "", GF, SIDE_A, LF, SIDE_B },
	{ L1, "Lower R1", "7th-8th", M1, SIDE_B, NONE, SIDE_A },
	{ L2, "Lower R1", "7th-8th", M2, SIDE_B, NONE, SIDE_A },
	{ M1, "Lower R2", "5th-6th", LS, SIDE_A, NONE, SIDE_A },
	{ M2, "Lower R2", "5th-6th", LS, SIDE_B, NONE, SIDE_A },
	{ LS, "Lower SF", "4th", LF, SIDE_A, NONE, SIDE_A },
	{ LF, "Lower Final", "3rd", GF, SIDE_B, NONE, SIDE_A },
	{ GF, "Grand Final", "2nd", NONE, SIDE_A, NONE, SIDE_A },
};

// A group has no grand final: its upper and lower finals send their teams on to the playoffs.
constexpr BracketNode GROUP_BRACKET[] = {
	{ U1, "Upper R1", "", S1, SIDE_A, L1, SIDE_A },
	{ U2, "Upper R1", "", S1, SIDE_B, L1, SIDE_B },
	{ U3, "Upper R1", "", S2, SIDE_A, L2, SIDE_A },
	{ U4, "Upper R1", "", S2, SIDE_B, L2, SIDE_B },
	{ S1, "Upper SF", "", UF, SIDE_A, M2, SIDE_A },
	{ S2, "Upper SF", "", UF, SIDE_B, M1, SIDE_A },
	{ UF, "Upper Final", "", NONE, SIDE_A, NONE, SIDE_A },
	{ L1, "Lower R1", "13th-16th", M1, SIDE_B, NONE, SIDE_A },
	{ L2, "Lower R1", "13th-16th", M2, SIDE_B, NONE, SIDE_A },
	{ M1, "Lower R2", "9th-12th", LF, SIDE_A, NONE, SIDE_A },
	{ M2, "Lower R2", "9th-12th", LF, SIDE_B, NONE, SIDE_A },
	{ LF, "Lower Final", "7th-8th", NONE, SIDE_A, NONE, SIDE_A },
};

// Seed pairs (from 1) of a bracket's four opening matches: the top two seeds can meet only in the final
// of the upper bracket.
constexpr int32_t OPENING_PAIRS[4][2] = { { 1, 8 }, { 4, 5 }, { 2, 7 }, { 3, 6 } };

NodeLink link_to(const String (&p_ids)[SLOT_COUNT], Slot p_target, Side p_side) {
	NodeLink link;
	if (p_target != NONE) {
		link.id = p_ids[p_target];
		link.slot = p_side == SIDE_A ? "team_a" : "team_b";
	}
	return link;
}

// Appends the bracket's nodes to the stage and returns their ids by slot (unused slots stay "").
template <size_t COUNT>
void add_bracket(TournamentStage &r_stage, const BracketNode (&p_bracket)[COUNT], const char *p_prefix,
		int64_t &r_number, String (&r_ids)[SLOT_COUNT]) {
	for (const BracketNode &entry : p_bracket) {
		r_ids[entry.slot] = stage_node_id(p_prefix, r_number++);
	}
	const String bo3("Bo3");
	for (const BracketNode &entry : p_bracket) {
		MatchNode node = make_stage_node(r_ids[entry.slot], entry.name, bo3);
		node.loser_tag = entry.loser_tag;
		node.winner_to = link_to(r_ids, entry.winner_to, entry.winner_side);
		node.loser_to = link_to(r_ids, entry.loser_to, entry.loser_side);
		r_stage.nodes.push_back(node);
	}
}

Dictionary bracket_round(const char *p_name, const String (&p_ids)[SLOT_COUNT], std::initializer_list<Slot> p_slots) {
	Array match_ids;
	for (Slot slot : p_slots) {
		match_ids.push_back(p_ids[slot]);
	}
	Dictionary round;
	round[TF_KEY("name")] = p_name;
	round[TF_KEY("match_ids")] = match_ids;
	return round;
}

Array round_list(std::initializer_list<Dictionary> p_rounds) {
	Array rounds;
	for (const Dictionary &round : p_rounds) {
		rounds.push_back(round);
	}
	return rounds;
}

// Dates every node in creation order under the day's limit, without breaks between rounds.
void date_in_order(TournamentStage &r_stage, const String &p_start_date, int32_t p_limit) {
	MatchDayScheduler days(p_start_date, p_limit);
	for (MatchNode &node : r_stage.nodes) {
		node.date = days.next_slot();
	}
	r_stage.next_date = days.first_free_day();
}

// One group of the group stage: its twelve nodes and its descriptor.
Dictionary build_group_bracket(TournamentStage &r_stage, const char *p_prefix, const char *p_group_name,
		int64_t &r_number) {
	String ids[SLOT_COUNT];
	add_bracket(r_stage, GROUP_BRACKET, p_prefix, r_number, ids);
	Dictionary group;
	group[TF_KEY("name")] = p_group_name;
	group[TF_KEY("upper_rounds")] = round_list({ bracket_round("Opening round", ids, { U1, U2, U3, U4 }),
			bracket_round("Upper semi-finals", ids, { S1, S2 }), bracket_round("Upper final", ids, { UF }) });
	group[TF_KEY("lower_rounds")] = round_list({ bracket_round("Lower round 1", ids, { L1, L2 }),
			bracket_round("Lower semi-finals", ids, { M1, M2 }), bracket_round("Lower final", ids, { LF }) });
	return group;
}

// Seats the four opening pairs of one bracket on its opening nodes, given in order. Seeds beyond the
// list leave their sides empty. With p_keep_seated, each pair takes the next opening node whose side A
// is still free, so a node already seated keeps its teams and the pairs after it move on by one.
void seat_opening_pairs(TournamentStage &r_stage, const std::vector<size_t> &p_openings, const Array &p_seed_list,
		int64_t p_first_seed, bool p_keep_seated) {
	const int64_t count = p_seed_list.size();
	size_t next = 0;
	for (size_t k = 0; k < 4; k++) {
		while (p_keep_seated && next < p_openings.size() && !r_stage.nodes[p_openings[next]].team_a.is_empty()) {
			next++;
		}
		if (next >= p_openings.size()) {
			return;
		}
		MatchNode &node = r_stage.nodes[p_openings[next++]];
		const int64_t seed_a = p_first_seed + OPENING_PAIRS[k][0] - 1;
		const int64_t seed_b = p_first_seed + OPENING_PAIRS[k][1] - 1;
		node.team_a = seed_a <= count ? as_dictionary(p_seed_list[seed_a - 1]) : Dictionary();
		node.team_b = seed_b <= count ? as_dictionary(p_seed_list[seed_b - 1]) : Dictionary();
	}
}

// Positions of the opening nodes, in node order; p_prefix "" takes every node.
std::vector<size_t> opening_nodes(const TournamentStage &p_stage, const char *p_prefix) {
	std::vector<size_t> positions;
	for (size_t i = 0; i < p_stage.nodes.size(); i++) {
		const MatchNode &node = p_stage.nodes[i];
		if (node.name == TF_TEXT("Upper R1") && id_has_prefix(node.id, p_prefix)) {
			positions.push_back(i);
		}
	}
	return positions;
}

const MatchNode *group_node(const TournamentStage &p_stage, const char *p_prefix, const String &p_name) {
	for (const MatchNode &node : p_stage.nodes) {
		if (node.name == p_name && id_has_prefix(node.id, p_prefix)) {
			return &node;
		}
	}
	return nullptr;
}

} // namespace

TournamentStage build_blast_stage(const String &p_name, bool p_best_of_five, int32_t p_first_match,
		const String &p_start_date) {
	TournamentStage stage;
	stage.type = StageKind::BLAST_BRACKET;
	stage.name = p_name;
	stage.is_playoff = true;

	int64_t number = p_first_match;
	String ids[SLOT_COUNT];
	add_bracket(stage, BLAST_BRACKET, "m", number, ids);
	stage.nodes[GF].is_bo5 = p_best_of_five;

	Dictionary upper;
	upper[TF_KEY("name")] = "Upper Bracket";
	upper[TF_KEY("rounds")] = round_list({ bracket_round("Opening round", ids, { U1, U2, U3, U4 }),
			bracket_round("Upper semi-finals", ids, { S1, S2 }), bracket_round("Upper final", ids, { UF }) });
	Dictionary lower;
	lower[TF_KEY("name")] = "Lower Bracket";
	lower[TF_KEY("rounds")] = round_list({ bracket_round("Lower round 1", ids, { L1, L2 }),
			bracket_round("Lower semi-finals", ids, { M1, M2 }), bracket_round("Lower SF", ids, { LS }),
			bracket_round("Consolidation", ids, { LF }) });
	Dictionary grand_final;
	grand_final[TF_KEY("name")] = "Grand Final";
	grand_final[TF_KEY("rounds")] = round_list({ bracket_round("Grand Final", ids, { GF }) });
	stage.groups.push_back(upper);
	stage.groups.push_back(lower);
	stage.groups.push_back(grand_final);

	date_in_order(stage, p_start_date, BLAST_MATCHES_PER_DAY);
	stage.next_id = saturate_to_int32(number);
	return stage;
}

TournamentStage build_group_stage(int32_t p_first_match, const String &p_start_date) {
	TournamentStage stage;
	stage.type = StageKind::IEM_GROUPS;
	stage.name = "Group Stage";

	int64_t number = p_first_match;
	stage.groups.push_back(build_group_bracket(stage, "GrA", "Group A", number));
	stage.groups.push_back(build_group_bracket(stage, "GrB", "Group B", number));

	date_in_order(stage, p_start_date, GROUP_MATCHES_PER_DAY);
	stage.next_id = saturate_to_int32(number);
	return stage;
}

void seed_blast_stage(TournamentStage &r_stage, const Array &p_seed_list) {
	const std::vector<size_t> openings = opening_nodes(r_stage, "");
	if (openings.size() != 4) {
		return;
	}
	// A short field is seated as far as it goes rather than not at all, so it can still be played out.
	seat_opening_pairs(r_stage, openings, p_seed_list, 1, false);
}

void seed_group_stage(TournamentStage &r_stage, const Array &p_seed_list) {
	seat_opening_pairs(r_stage, opening_nodes(r_stage, "GrA"), p_seed_list, 1, true);
	seat_opening_pairs(r_stage, opening_nodes(r_stage, "GrB"), p_seed_list, 9, true);
}

Array group_stage_qualifiers(const TournamentStage &p_stage) {
	struct Qualifier {
		const char *prefix;
		const char *node_name;
		bool winner;
	};
	static const Qualifier order[] = {
		{ "GrA", "Upper Final", true },
		{ "GrB", "Lower Final", true },
		{ "GrA", "Upper Final", false },
		{ "GrB", "Upper Final", false },
		{ "GrB", "Upper Final", true },
		{ "GrA", "Lower Final", true },
	};
	Array qualifiers;
	for (const Qualifier &qualifier : order) {
		const MatchNode *node = group_node(p_stage, qualifier.prefix, String(qualifier.node_name));
		if (node == nullptr) {
			continue;
		}
		const Dictionary &team = qualifier.winner ? node->winner : node->loser;
		if (!team.is_empty()) {
			qualifiers.push_back(team);
		}
	}
	return qualifiers;
}

} // namespace teamforge
