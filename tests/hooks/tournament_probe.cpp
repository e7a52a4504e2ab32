#include "tournament_probe.h"

#include "team_database.h"
#include "tournament/double_elim_stage.h"
#include "tournament/match_play.h"
#include "tournament/placements_events.h"
#include "tournament/single_elim_stage.h"
#include "tournament/swiss_stage.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/core/object.hpp>

namespace godot {

teamforge::TournamentStage *TeamforgeTournamentProbe::stage_at(int64_t p_index) {
	if (p_index < 0 || p_index >= static_cast<int64_t>(tournament.stages.size())) {
		return nullptr;
	}
	return &tournament.stages[static_cast<size_t>(p_index)];
}

int64_t TeamforgeTournamentProbe::add_stage(const teamforge::TournamentStage &p_stage) {
	tournament.stages.push_back(p_stage);
	return static_cast<int64_t>(tournament.stages.size()) - 1;
}

void TeamforgeTournamentProbe::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("set_database", "database"), &TeamforgeTournamentProbe::set_database);
	ClassDB::bind_method(D_METHOD("get_simulator"), &TeamforgeTournamentProbe::get_simulator);
	ClassDB::bind_method(D_METHOD("set_tournament", "fields"), &TeamforgeTournamentProbe::set_tournament);
	ClassDB::bind_method(D_METHOD("get_tournament"), &TeamforgeTournamentProbe::get_tournament);
	ClassDB::bind_method(D_METHOD("set_current_stage", "index"), &TeamforgeTournamentProbe::set_current_stage);
	ClassDB::bind_method(D_METHOD("interrupt"), &TeamforgeTournamentProbe::interrupt);
	ClassDB::bind_method(D_METHOD("build_swiss", "name", "team_count", "first_match", "start_date"), &TeamforgeTournamentProbe::build_swiss);
	ClassDB::bind_method(D_METHOD("build_single_elim", "name", "team_count", "best_of_five", "first_match", "start_date"), &TeamforgeTournamentProbe::build_single_elim);
	ClassDB::bind_method(D_METHOD("build_blast", "name", "best_of_five", "first_match", "start_date"), &TeamforgeTournamentProbe::build_blast);
	ClassDB::bind_method(D_METHOD("build_groups", "first_match", "start_date"), &TeamforgeTournamentProbe::build_groups);
	ClassDB::bind_method(D_METHOD("get_stage", "index"), &TeamforgeTournamentProbe::get_stage);
	ClassDB::bind_method(D_METHOD("set_stage", "index", "stage"), &TeamforgeTournamentProbe::set_stage);
	ClassDB::bind_method(D_METHOD("shuffle", "entries"), &TeamforgeTournamentProbe::shuffle);
	ClassDB::bind_method(D_METHOD("seed_stage", "index", "seed_list", "first_stage"), &TeamforgeTournamentProbe::seed_stage);
	ClassDB::bind_method(D_METHOD("score_node", "index", "node_id", "score_a", "score_b"), &TeamforgeTournamentProbe::score_node);
	ClassDB::bind_method(D_METHOD("advance_swiss", "index"), &TeamforgeTournamentProbe::advance_swiss);
	ClassDB::bind_method(D_METHOD("swiss_finished", "index"), &TeamforgeTournamentProbe::swiss_finished);
	ClassDB::bind_method(D_METHOD("close_swiss", "index"), &TeamforgeTournamentProbe::close_swiss);
	ClassDB::bind_method(D_METHOD("group_qualifiers", "index"), &TeamforgeTournamentProbe::group_qualifiers);
	ClassDB::bind_method(D_METHOD("match_heat", "team_a", "team_b", "prize", "round_factor"), &TeamforgeTournamentProbe::match_heat);
	ClassDB::bind_method(D_METHOD("round_heat_factor", "match_name"), &TeamforgeTournamentProbe::round_heat_factor);
	ClassDB::bind_method(D_METHOD("placement_weight", "label"), &TeamforgeTournamentProbe::placement_weight);
	ClassDB::bind_method(D_METHOD("record_placement", "entry", "label"), &TeamforgeTournamentProbe::record_placement);
	ClassDB::bind_method(D_METHOD("emit_event", "type", "context"), &TeamforgeTournamentProbe::emit_event);

	// Properties: none.

	// Signals.
	ADD_SIGNAL(MethodInfo("achievement_event", PropertyInfo(Variant::DICTIONARY, "event")));
}

TeamforgeTournamentProbe::TeamforgeTournamentProbe() {
	match_simulator.instantiate();
	tournament.status = teamforge::TournamentStatus::ACTIVE;
}

void TeamforgeTournamentProbe::set_database(const Variant &p_database) {
	team_database = p_database;
}

Ref<MatchSimulator> TeamforgeTournamentProbe::get_simulator() const {
	return match_simulator;
}

void TeamforgeTournamentProbe::set_tournament(const Dictionary &p_fields) {
	tournament.id = p_fields.get("id", tournament.id);
	tournament.format_id = teamforge::CodedState<teamforge::FormatKind>::from_text(p_fields.get("format_id", tournament.format_id.text()));
	tournament.tier_id = teamforge::CodedState<teamforge::TierKind>::from_text(p_fields.get("tier_id", tournament.tier_id.text()));
	tournament.status = teamforge::CodedState<teamforge::TournamentStatus>::from_text(p_fields.get("status", tournament.status.text()));
	tournament.current_stage_idx = p_fields.get("current_stage_idx", tournament.current_stage_idx);
	tournament.initial_vrs = p_fields.get("initial_vrs", tournament.initial_vrs);
	tournament.placements = p_fields.get("placements", tournament.placements);
}

Dictionary TeamforgeTournamentProbe::get_tournament() const {
	return teamforge::tournament_to_dict(tournament);
}

void TeamforgeTournamentProbe::set_current_stage(int32_t p_index) {
	tournament.current_stage_idx = p_index;
}

void TeamforgeTournamentProbe::interrupt() {
	interrupted = true;
}

int64_t TeamforgeTournamentProbe::build_swiss(const String &p_name, int32_t p_team_count, int32_t p_first_match,
		const String &p_start_date) {
	return add_stage(teamforge::build_swiss_stage(p_name, p_team_count, p_first_match, p_start_date));
}

int64_t TeamforgeTournamentProbe::build_single_elim(const String &p_name, int32_t p_team_count, bool p_best_of_five,
		int32_t p_first_match, const String &p_start_date) {
	return add_stage(teamforge::build_single_elim_stage(p_name, p_team_count, p_best_of_five, p_first_match, p_start_date));
}

int64_t TeamforgeTournamentProbe::build_blast(const String &p_name, bool p_best_of_five, int32_t p_first_match,
		const String &p_start_date) {
	return add_stage(teamforge::build_blast_stage(p_name, p_best_of_five, p_first_match, p_start_date));
}

int64_t TeamforgeTournamentProbe::build_groups(int32_t p_first_match, const String &p_start_date) {
	return add_stage(teamforge::build_group_stage(p_first_match, p_start_date));
}

Dictionary TeamforgeTournamentProbe::get_stage(int64_t p_index) const {
	const teamforge::TournamentStage *stage = const_cast<TeamforgeTournamentProbe *>(this)->stage_at(p_index);
	ERR_FAIL_NULL_V(stage, Dictionary());
	return teamforge::stage_to_dict(*stage);
}

void TeamforgeTournamentProbe::set_stage(int64_t p_index, const Dictionary &p_stage) {
	teamforge::TournamentStage *stage = stage_at(p_index);
	ERR_FAIL_NULL(stage);
	teamforge::LoadedRecordCopier copier;
	*stage = teamforge::stage_from_dict(p_stage, copier);
}

Array TeamforgeTournamentProbe::shuffle(const Array &p_entries) {
	return teamforge::shuffle_entries(*this, p_entries);
}

void TeamforgeTournamentProbe::seed_stage(int64_t p_index, const Array &p_seed_list, bool p_first_stage) {
	teamforge::TournamentStage *stage = stage_at(p_index);
	ERR_FAIL_NULL(stage);
	if (stage->type == teamforge::StageKind::SWISS) {
		teamforge::seed_swiss_stage(*this, *stage, p_seed_list);
	} else if (stage->type == teamforge::StageKind::SINGLE_ELIM) {
		teamforge::seed_single_elim_stage(*stage, p_seed_list, p_first_stage);
	} else if (stage->type == teamforge::StageKind::BLAST_BRACKET) {
		teamforge::seed_blast_stage(*stage, p_seed_list);
	} else if (stage->type == teamforge::StageKind::IEM_GROUPS) {
		teamforge::seed_group_stage(*stage, p_seed_list);
	}
}

bool TeamforgeTournamentProbe::score_node(int64_t p_index, const String &p_node_id, int32_t p_score_a, int32_t p_score_b) {
	teamforge::TournamentStage *stage = stage_at(p_index);
	ERR_FAIL_NULL_V(stage, false);
	for (teamforge::MatchNode &node : stage->nodes) {
		if (node.id != p_node_id) {
			continue;
		}
		node.score_a = p_score_a;
		node.score_b = p_score_b;
		node.status = teamforge::MatchStatus::PLAYED;
		const bool a_won = p_score_a > p_score_b;
		node.winner = a_won ? node.team_a : node.team_b;
		node.loser = a_won ? node.team_b : node.team_a;
		if (stage->type == teamforge::StageKind::SWISS) {
			teamforge::update_swiss_records(*stage, node);
			return true;
		}
		// Just enough advancement to play a bracket through: each side moves along its link.
		const teamforge::NodeLink links[2] = { node.winner_to, node.loser_to };
		const Dictionary moving[2] = { node.winner, node.loser };
		for (int i = 0; i < 2; i++) {
			for (teamforge::MatchNode &target : stage->nodes) {
				if (target.id == links[i].id) {
					(links[i].slot == String("team_a") ? target.team_a : target.team_b) = moving[i];
					break;
				}
			}
		}
		return true;
	}
	return false;
}

void TeamforgeTournamentProbe::advance_swiss(int64_t p_index) {
	teamforge::TournamentStage *stage = stage_at(p_index);
	ERR_FAIL_NULL(stage);
	// A script sees an interruption in the stage it reads back.
	static_cast<void>(teamforge::advance_swiss_round(*this, tournament, *stage));
}

bool TeamforgeTournamentProbe::swiss_finished(int64_t p_index) const {
	const teamforge::TournamentStage *stage = const_cast<TeamforgeTournamentProbe *>(this)->stage_at(p_index);
	ERR_FAIL_NULL_V(stage, false);
	return teamforge::swiss_stage_finished(*stage);
}

void TeamforgeTournamentProbe::close_swiss(int64_t p_index) {
	teamforge::TournamentStage *stage = stage_at(p_index);
	ERR_FAIL_NULL(stage);
	static_cast<void>(teamforge::close_swiss_stage(*this, tournament, *stage));
}

Array TeamforgeTournamentProbe::group_qualifiers(int64_t p_index) const {
	const teamforge::TournamentStage *stage = const_cast<TeamforgeTournamentProbe *>(this)->stage_at(p_index);
	ERR_FAIL_NULL_V(stage, Array());
	return teamforge::group_stage_qualifiers(*stage);
}

int32_t TeamforgeTournamentProbe::match_heat(const Dictionary &p_team_a, const Dictionary &p_team_b, int32_t p_prize,
		int32_t p_round_factor) const {
	return teamforge::compute_match_heat(teamforge::TeamRoster(database()), p_team_a, p_team_b, p_prize, p_round_factor);
}

int32_t TeamforgeTournamentProbe::round_heat_factor(const String &p_match_name) const {
	return teamforge::round_heat_factor(p_match_name);
}

double TeamforgeTournamentProbe::placement_weight(const String &p_label) const {
	return teamforge::placement_weight(p_label);
}

void TeamforgeTournamentProbe::record_placement(const Dictionary &p_entry, const String &p_label) {
	teamforge::record_placement(*this, tournament, p_entry, p_label);
}

void TeamforgeTournamentProbe::emit_event(const String &p_type, const Dictionary &p_context) {
	static_cast<void>(teamforge::emit_achievement_event(*this, p_type, tournament, p_context));
}

TeamDatabase *TeamforgeTournamentProbe::database() const {
	return Object::cast_to<TeamDatabase>(team_database.get_validated_object());
}

Ref<MatchSimulator> TeamforgeTournamentProbe::simulator() {
	return match_simulator;
}

int64_t TeamforgeTournamentProbe::funds() const {
	return 0;
}

void TeamforgeTournamentProbe::set_funds(int64_t p_funds) {
}

Dictionary TeamforgeTournamentProbe::quota_map() const {
	return Dictionary();
}

void TeamforgeTournamentProbe::set_quota_map(const Dictionary &p_quotas) {
}

bool TeamforgeTournamentProbe::has_achievement_listeners() const {
	return has_connections("achievement_event");
}

bool TeamforgeTournamentProbe::emit_achievement_event(const Dictionary &p_event) {
	// A script holds the probe while it runs the engines, so no handler can free it.
	emit_signal("achievement_event", p_event);
	return day_goes_on();
}

bool TeamforgeTournamentProbe::emit_tournament_completed(int32_t p_tournament_id) {
	return day_goes_on();
}

bool TeamforgeTournamentProbe::emit_tournament_updated(int32_t p_tournament_id) {
	return day_goes_on();
}

ObjectID TeamforgeTournamentProbe::host_id() const {
	return ObjectID(get_instance_id());
}

bool TeamforgeTournamentProbe::day_goes_on() const {
	return !interrupted;
}

} // namespace godot
