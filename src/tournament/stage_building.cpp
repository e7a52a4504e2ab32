#include "tournament/stage_building.h"

#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "common/script_values.h"


namespace teamforge {

godot::String stage_node_id(const char *p_prefix, int64_t p_number) {
	return godot::String(p_prefix) + "_" + godot::String::num_int64(p_number);
}

MatchNode make_stage_node(const godot::String &p_id, const godot::String &p_name, const godot::String &p_group_name) {
	MatchNode node = make_match_node();
	node.id = p_id;
	node.name = p_name;
	node.group_name = p_group_name;
	return node;
}

MatchDayScheduler::MatchDayScheduler(const godot::String &p_start_date, int32_t p_limit) :
		day(p_start_date), limit(p_limit) {
}

godot::String MatchDayScheduler::next_slot() {
	if (used >= limit) {
		day = add_days(day, 1);
		used = 0;
	}
	used++;
	return day;
}

void MatchDayScheduler::close_round() {
	if (used > 0) {
		day = add_days(day, 1);
		used = 0;
	}
}

godot::String MatchDayScheduler::first_free_day() {
	close_round();
	return day;
}

godot::Array round_group_match_ids(const godot::Array &p_rounds, int64_t p_round, int64_t p_group) {
	if (p_round < 0 || p_round >= p_rounds.size()) {
		return godot::Array();
	}
	const godot::Array groups = as_array(as_dictionary(p_rounds[p_round]).get(TF_KEY("groups"), godot::Variant()));
	if (p_group < 0 || p_group >= groups.size()) {
		return godot::Array();
	}
	return as_array(as_dictionary(groups[p_group]).get(TF_KEY("match_ids"), godot::Variant()));
}

MatchNode *find_stage_node(TournamentStage &r_stage, const godot::String &p_id) {
	return const_cast<MatchNode *>(find_stage_node(static_cast<const TournamentStage &>(r_stage), p_id));
}

const MatchNode *find_stage_node(const TournamentStage &p_stage, const godot::String &p_id) {
	for (const MatchNode &node : p_stage.nodes) {
		if (node.id == p_id) {
			return &node;
		}
	}
	return nullptr;
}

void seat_pair(TournamentStage &r_stage, const godot::Variant &p_id, const godot::Variant &p_team_a,
		const godot::Variant &p_team_b) {
	MatchNode *node = find_stage_node(r_stage, p_id);
	if (node == nullptr) {
		return;
	}
	node->team_a = as_dictionary(p_team_a);
	node->team_b = as_dictionary(p_team_b);
}

bool id_has_prefix(const godot::String &p_id, const char *p_prefix) {
	return p_id.begins_with(p_prefix);
}

} // namespace teamforge
