#include "tournament/tournament_records.h"

#include "common/detached_copy.h"
#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "common/saved_numbers.h"
#include "common/text_key_reading.h"

#include <godot_cpp/variant/variant.hpp>

using namespace godot;

namespace teamforge {

namespace {

// Each read takes the key's value or the default, converted as the engine converts it; integers
// saturate instead of wrapping (see saved_numbers.h). Fixed texts are engine Strings built once.
String read_string(const Dictionary &p_data, const Variant &p_key, const Variant &p_default = TF_KEY("")) {
	return p_data.get(p_key, p_default).operator String();
}

int32_t read_int32(const Dictionary &p_data, const Variant &p_key, int32_t p_default) {
	return read_saved_int32(p_data.get(p_key, Variant(p_default)));
}

bool read_bool(const Dictionary &p_data, const Variant &p_key) {
	return p_data.get(p_key, Variant()).operator bool();
}

// Nested containers are detached from the given dictionary: the script keeps its save to itself.
Array read_array(const Dictionary &p_data, const Variant &p_key) {
	return detached(p_data.get(p_key, Variant()).operator Array());
}

Dictionary read_dictionary(const Dictionary &p_data, const Variant &p_key) {
	return detached(p_data.get(p_key, Variant()).operator Dictionary());
}

// The same for values that hold team entries.
Array read_entry_array(const Dictionary &p_data, const Variant &p_key, LoadedRecordCopier &r_copier) {
	return r_copier.copy_array(p_data.get(p_key, Variant()).operator Array());
}

Dictionary read_entry_dictionary(const Dictionary &p_data, const Variant &p_key, LoadedRecordCopier &r_copier) {
	return r_copier.copy_dictionary(p_data.get(p_key, Variant()).operator Dictionary());
}

// Whether the saved side holds exactly p_saved, keys in the same order, and was loaded as a plain entry.
bool same_saved_entry(const Dictionary &p_data, const Variant &p_side_key, const Dictionary &p_saved,
		const Dictionary &p_loaded_side) {
	const Variant side = p_data.get(p_side_key, Variant());
	if (p_loaded_side.is_typed() || side.get_type() != Variant::DICTIONARY) {
		return false;
	}
	const Dictionary saved_side = side.operator Dictionary();
	return saved_side == p_saved && saved_side.keys() == p_saved.keys();
}

// A played node's winner and loser are its two sides, as play leaves them: one entry each, not two equal
// copies. The saved values are compared, so a winner the save changed is loaded as it stands.
Dictionary read_side_entry(const Dictionary &p_data, const Variant &p_key, const MatchNode &p_node,
		LoadedRecordCopier &r_copier) {
	const Dictionary saved = p_data.get(p_key, Variant()).operator Dictionary();
	if (!saved.is_empty() && !saved.is_typed()) {
		if (same_saved_entry(p_data, TF_KEY("team_a"), saved, p_node.team_a)) {
			return p_node.team_a;
		}
		if (same_saved_entry(p_data, TF_KEY("team_b"), saved, p_node.team_b)) {
			return p_node.team_b;
		}
	}
	return r_copier.copy_dictionary(saved);
}

// Calls p_each for every Dictionary element of the key's Array; anything else is skipped.
template <class Each>
void for_each_dictionary(const Dictionary &p_data, const Variant &p_key, Each p_each) {
	const Variant value = p_data.get(p_key, Variant());
	if (value.get_type() != Variant::ARRAY) {
		return;
	}
	const Array list = value.operator Array();
	const int64_t count = list.size();
	for (int64_t i = 0; i < count; ++i) {
		const Variant &element = list[i];
		if (element.get_type() == Variant::DICTIONARY) {
			p_each(element.operator Dictionary());
		}
	}
}

const char *const QUOTA_STAGES[] = { "stage3", "stage2", "stage1" };
constexpr int64_t DEFAULT_QUOTAS[3][REGION_COUNT] = {
	{ 6, 1, 1 },
	{ 5, 3, 0 },
	{ 6, 6, 4 },
};

} // namespace

MatchNode make_match_node() {
	MatchNode node;
	node.status = MatchStatus::PENDING;
	return node;
}

Tournament make_tournament() {
	Tournament tournament;
	tournament.status = TournamentStatus::PENDING;
	return tournament;
}

// The dictionaries written here go to scripts (saves, views): every engine container in them is a
// detached copy, so a script that sorts or trims what it got leaves the records as they are.
Dictionary link_to_dict(const NodeLink &p_link) {
	Dictionary data;
	data[TF_KEY("id")] = p_link.id;
	data[TF_KEY("slot")] = p_link.slot;
	return data;
}

NodeLink link_from_dict(const Dictionary &p_data) {
	const Dictionary data = readable_by_text_keys(p_data);
	NodeLink link;
	link.id = read_string(data, TF_KEY("id"));
	link.slot = read_string(data, TF_KEY("slot"));
	return link;
}

Dictionary node_to_dict(const MatchNode &p_node) {
	Dictionary data;
	data[TF_KEY("id")] = p_node.id;
	data[TF_KEY("name")] = p_node.name;
	data[TF_KEY("group_name")] = p_node.group_name;
	data[TF_KEY("team_a")] = detached(p_node.team_a);
	data[TF_KEY("team_b")] = detached(p_node.team_b);
	data[TF_KEY("winner_to")] = link_to_dict(p_node.winner_to);
	data[TF_KEY("loser_to")] = link_to_dict(p_node.loser_to);
	data[TF_KEY("status")] = p_node.status.text();
	data[TF_KEY("is_bo5")] = p_node.is_bo5;
	data[TF_KEY("loser_tag")] = p_node.loser_tag;
	data[TF_KEY("date")] = p_node.date;
	data[TF_KEY("details")] = p_node.played_maps.empty() ? detached(p_node.details)
														 : map_reports(p_node.played_maps, RoundHistories::SEPARATE);
	data[TF_KEY("heat")] = p_node.heat;
	data[TF_KEY("winner")] = detached(p_node.winner);
	data[TF_KEY("loser")] = detached(p_node.loser);
	data[TF_KEY("score_a")] = p_node.score_a;
	data[TF_KEY("score_b")] = p_node.score_b;
	data[TF_KEY("vrs_delta_a")] = p_node.vrs_delta_a;
	data[TF_KEY("vrs_delta_b")] = p_node.vrs_delta_b;
	return data;
}

MatchNode node_from_dict(const Dictionary &p_data, LoadedRecordCopier &r_copier) {
	const Dictionary data = readable_by_text_keys(p_data);
	MatchNode node;
	node.id = read_string(data, TF_KEY("id"));
	node.name = read_string(data, TF_KEY("name"));
	node.group_name = read_string(data, TF_KEY("group_name"));
	node.team_a = read_entry_dictionary(data, TF_KEY("team_a"), r_copier);
	node.team_b = read_entry_dictionary(data, TF_KEY("team_b"), r_copier);
	node.winner_to = link_from_dict(read_dictionary(data, TF_KEY("winner_to")));
	node.loser_to = link_from_dict(read_dictionary(data, TF_KEY("loser_to")));
	node.status = CodedState<MatchStatus>::from_text(read_string(data, TF_KEY("status"), TF_KEY("PENDING")));
	node.is_bo5 = read_bool(data, TF_KEY("is_bo5"));
	node.loser_tag = read_string(data, TF_KEY("loser_tag"));
	node.date = read_string(data, TF_KEY("date"));
	node.details = read_array(data, TF_KEY("details"));
	node.heat = read_int32(data, TF_KEY("heat"), 0);
	node.winner = read_side_entry(data, TF_KEY("winner"), node, r_copier);
	node.loser = read_side_entry(data, TF_KEY("loser"), node, r_copier);
	node.score_a = read_int32(data, TF_KEY("score_a"), 0);
	node.score_b = read_int32(data, TF_KEY("score_b"), 0);
	node.vrs_delta_a = read_int32(data, TF_KEY("vrs_delta_a"), 0);
	node.vrs_delta_b = read_int32(data, TF_KEY("vrs_delta_b"), 0);
	return node;
}

Dictionary stage_to_dict(const TournamentStage &p_stage) {
	Array nodes;
	nodes.resize(static_cast<int64_t>(p_stage.nodes.size()));
	int64_t index = 0;
	for (const MatchNode &node : p_stage.nodes) {
		nodes[index++] = node_to_dict(node);
	}

	Dictionary data;
	data[TF_KEY("type")] = p_stage.type.text();
	data[TF_KEY("name")] = p_stage.name;
	data[TF_KEY("rounds")] = detached(p_stage.rounds);
	data[TF_KEY("nodes")] = nodes;
	data[TF_KEY("next_date")] = p_stage.next_date;
	data[TF_KEY("records")] = detached(p_stage.records);
	data[TF_KEY("final_groups")] = detached(p_stage.final_groups);
	data[TF_KEY("current_round")] = p_stage.current_round;
	data[TF_KEY("is_playoff")] = p_stage.is_playoff;
	data[TF_KEY("groups")] = detached(p_stage.groups);
	data[TF_KEY("next_id")] = p_stage.next_id;
	return data;
}

TournamentStage stage_from_dict(const Dictionary &p_data, LoadedRecordCopier &r_copier) {
	const Dictionary data = readable_by_text_keys(p_data);
	TournamentStage stage;
	stage.type = CodedState<StageKind>::from_text(read_string(data, TF_KEY("type")));
	stage.name = read_string(data, TF_KEY("name"));
	stage.rounds = read_array(data, TF_KEY("rounds"));
	for_each_dictionary(data, TF_KEY("nodes"), [&stage, &r_copier](const Dictionary &p_node) {
		stage.nodes.push_back(node_from_dict(p_node, r_copier));
	});
	stage.next_date = read_string(data, TF_KEY("next_date"));
	stage.records = read_entry_array(data, TF_KEY("records"), r_copier);
	stage.final_groups = read_entry_dictionary(data, TF_KEY("final_groups"), r_copier);
	stage.current_round = read_int32(data, TF_KEY("current_round"), 1);
	stage.is_playoff = read_bool(data, TF_KEY("is_playoff"));
	stage.groups = read_entry_array(data, TF_KEY("groups"), r_copier);
	stage.next_id = read_int32(data, TF_KEY("next_id"), 0);
	return stage;
}

Dictionary tournament_to_dict(const Tournament &p_tournament) {
	Array stages;
	stages.resize(static_cast<int64_t>(p_tournament.stages.size()));
	int64_t index = 0;
	for (const TournamentStage &stage : p_tournament.stages) {
		stages[index++] = stage_to_dict(stage);
	}

	Dictionary data;
	data[TF_KEY("id")] = p_tournament.id;
	data[TF_KEY("status")] = p_tournament.status.text();
	data[TF_KEY("name")] = p_tournament.name;
	data[TF_KEY("format_id")] = p_tournament.format_id.text();
	data[TF_KEY("tier_id")] = p_tournament.tier_id.text();
	data[TF_KEY("city")] = p_tournament.city;
	data[TF_KEY("prize")] = p_tournament.prize;
	data[TF_KEY("size")] = p_tournament.size;
	data[TF_KEY("inv_date")] = p_tournament.inv_date;
	data[TF_KEY("start_date")] = p_tournament.start_date;
	data[TF_KEY("stages")] = stages;
	data[TF_KEY("current_stage_idx")] = p_tournament.current_stage_idx;
	data[TF_KEY("rest")] = p_tournament.rest;
	data[TF_KEY("placements")] = detached(p_tournament.placements);
	data[TF_KEY("standings")] = detached(p_tournament.standings);
	data[TF_KEY("date")] = p_tournament.date;
	data[TF_KEY("initial_vrs")] = detached(p_tournament.initial_vrs);
	data[TF_KEY("vrs_delta_map")] = detached(p_tournament.vrs_delta_map);
	data[TF_KEY("total_heat")] = p_tournament.total_heat;
	data[TF_KEY("major_slots")] = detached(p_tournament.major_slots);
	data[TF_KEY("major_direct")] = detached(p_tournament.major_direct);
	data[TF_KEY("participants")] = detached(p_tournament.participants);
	data[TF_KEY("advanced_pool")] = detached(p_tournament.advanced_pool);
	// Written only while due, so every other save keeps its keys.
	if (p_tournament.payout_due) {
		Dictionary payout;
		payout[TF_KEY("stamina_seed")] = static_cast<int64_t>(p_tournament.payout_seed);
		data[TF_KEY("payout_due")] = payout;
	}
	return data;
}

Tournament tournament_from_dict(const Dictionary &p_data, LoadedRecordCopier &r_copier) {
	const Dictionary data = readable_by_text_keys(p_data);
	Tournament tournament;
	tournament.id = read_int32(data, TF_KEY("id"), 0);
	tournament.status = CodedState<TournamentStatus>::from_text(read_string(data, TF_KEY("status"), TF_KEY("PENDING")));
	tournament.name = read_string(data, TF_KEY("name"));
	tournament.format_id = CodedState<FormatKind>::from_text(read_string(data, TF_KEY("format_id")));
	tournament.tier_id = CodedState<TierKind>::from_text(read_string(data, TF_KEY("tier_id")));
	tournament.city = read_string(data, TF_KEY("city"));
	tournament.prize = read_int32(data, TF_KEY("prize"), 0);
	tournament.size = read_int32(data, TF_KEY("size"), 0);
	tournament.inv_date = read_string(data, TF_KEY("inv_date"));
	tournament.start_date = read_string(data, TF_KEY("start_date"));
	for_each_dictionary(data, TF_KEY("stages"), [&tournament, &r_copier](const Dictionary &p_stage) {
		tournament.stages.push_back(stage_from_dict(p_stage, r_copier));
	});
	tournament.current_stage_idx = read_int32(data, TF_KEY("current_stage_idx"), 0);
	tournament.rest = read_int32(data, TF_KEY("rest"), 0);
	tournament.placements = read_entry_array(data, TF_KEY("placements"), r_copier);
	tournament.standings = read_entry_array(data, TF_KEY("standings"), r_copier);
	tournament.date = read_string(data, TF_KEY("date"));
	tournament.initial_vrs = read_dictionary(data, TF_KEY("initial_vrs"));
	tournament.vrs_delta_map = read_dictionary(data, TF_KEY("vrs_delta_map"));
	tournament.total_heat = read_int32(data, TF_KEY("total_heat"), 0);
	tournament.major_slots = read_dictionary(data, TF_KEY("major_slots"));
	tournament.major_direct = read_dictionary(data, TF_KEY("major_direct"));
	tournament.participants = read_entry_array(data, TF_KEY("participants"), r_copier);
	tournament.advanced_pool = read_entry_array(data, TF_KEY("advanced_pool"), r_copier);
	// Only a completed tournament can owe its payout; anything else completes (and pays) in play.
	const Variant payout = data.get(TF_KEY("payout_due"), Variant());
	if (tournament.status == TournamentStatus::COMPLETED && payout.get_type() == Variant::DICTIONARY) {
		const Dictionary due = readable_by_text_keys(payout.operator Dictionary());
		tournament.payout_due = true;
		tournament.payout_seed = static_cast<uint32_t>(static_cast<uint64_t>(read_saved_int64(due.get(TF_KEY("stamina_seed"), 0))));
	}
	return tournament;
}

Dictionary default_quota_map() {
	return normalize_quota_map(Dictionary());
}

Dictionary normalize_quota_map(const Dictionary &p_quotas) {
	const Dictionary quotas = readable_by_text_keys(p_quotas);
	Dictionary result;
	for (size_t stage = 0; stage < 3; ++stage) {
		const Dictionary given = readable_by_text_keys(quotas.get(dictionary_key(QUOTA_STAGES[stage]), Variant()).operator Dictionary());
		Dictionary regions;
		for (size_t region = 0; region < REGION_COUNT; ++region) {
			const int64_t fallback = DEFAULT_QUOTAS[stage][region];
			const int64_t quota = read_saved_int64(given.get(dictionary_key(REGION_CODES[region]), Variant(fallback)));
			regions[dictionary_key(REGION_CODES[region])] = quota < 0 ? fallback : quota;
		}
		result[dictionary_key(QUOTA_STAGES[stage])] = regions;
	}
	return result;
}

} // namespace teamforge
