#include "tournament/match_play.h"

#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "common/emit_and_check.h"
#include "common/match_heat.h"
#include "common/rounding.h"
#include "common/saved_numbers.h"
#include "common/script_values.h"
#include "common/text_key_reading.h"
#include "data/top_teams.h"
#include "match_simulator.h"
#include "team_data.h"
#include "team_database.h"
#include "tournament/completion.h"
#include "tournament/double_elim_stage.h"
#include "tournament/placements_events.h"
#include "tournament/single_elim_stage.h"
#include "tournament/stage_building.h"
#include "tournament/swiss_stage.h"
#include "tournament/team_entries.h"
#include "tournament/tournament_creation.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace teamforge {

namespace {

using godot::Array;
using godot::Dictionary;
using godot::Ref;
using godot::String;
using godot::TeamData;
using godot::Variant;

bool is_pending(const MatchNode &p_node) {
	return p_node.status == MatchStatus::PENDING;
}

bool is_swiss(const TournamentStage &p_stage) {
	return p_stage.type == StageKind::SWISS;
}

bool is_last_stage(const Tournament &p_tournament) {
	return static_cast<size_t>(p_tournament.current_stage_idx) + 1 >= p_tournament.stages.size();
}

bool is_top_team(const Dictionary &p_entry) {
	return is_top_team_name(readable_by_text_keys(p_entry).get(TF_KEY("name"), String()));
}

// A team moves along a link only when there is a team to move; a side that a link names is otherwise
// left as it is.
void follow_link(TournamentStage &r_stage, const NodeLink &p_link, const Dictionary &p_team) {
	if (!p_link.is_complete() || p_team.is_empty()) {
		return;
	}
	MatchNode *target = find_stage_node(r_stage, p_link.id);
	if (target == nullptr) {
		return;
	}
	if (p_link.slot == TF_TEXT("team_a")) {
		target->team_a = p_team;
	} else if (p_link.slot == TF_TEXT("team_b")) {
		target->team_b = p_team;
	}
}

// Winners and losers move on; a node that leads nowhere is a final, whose winner takes the
// tournament when it is the last stage.
void advance_along_links(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage, MatchNode &r_node) {
	follow_link(r_stage, r_node.winner_to, r_node.winner);
	follow_link(r_stage, r_node.loser_to, r_node.loser);
	if (!r_node.winner_to.is_complete() && !r_node.loser_to.is_complete() && is_last_stage(r_tournament)) {
		record_placement(p_host, r_tournament, r_node.winner, "1st");
	}
	if (!r_node.loser_tag.is_empty()) {
		record_placement(p_host, r_tournament, r_node.loser, r_node.loser_tag);
	}
}

// Records the result of a node decided without the simulator: the present side wins 1-0.
void settle_without_match(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage,
		MatchNode &r_node, bool p_a_wins) {
	r_node.status = MatchStatus::PLAYED;
	r_node.score_a = p_a_wins ? 1 : 0;
	r_node.score_b = p_a_wins ? 0 : 1;
	r_node.details = Array();
	r_node.played_maps.clear();
	r_node.heat = 0;
	r_node.vrs_delta_a = 0;
	r_node.vrs_delta_b = 0;
	r_node.winner = p_a_wins ? r_node.team_a : r_node.team_b;
	r_node.loser = p_a_wins ? r_node.team_b : r_node.team_a;
	if (is_swiss(r_stage)) {
		update_swiss_records(r_stage, r_node);
	} else {
		advance_along_links(p_host, r_tournament, r_stage, r_node);
	}
}

// A side whose team has left the database (removed or freed by a script) can never play: rather
// than retrying the node for ever, the team still there wins by forfeit. When neither is there,
// side A goes on, so the bracket still runs to its end.
void forfeit(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage, MatchNode &r_node,
		TeamData *p_team_a, TeamData *p_team_b) {
	if (p_team_a != nullptr) {
		r_node.team_a = refresh_team_entry(r_node.team_a, *p_team_a);
	}
	if (p_team_b != nullptr) {
		r_node.team_b = refresh_team_entry(r_node.team_b, *p_team_b);
	}
	settle_without_match(p_host, r_tournament, r_stage, r_node, p_team_b == nullptr);
}

// A node with one team whose other side no remaining match can fill: the team goes on unopposed.
void walkover(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage, MatchNode &r_node) {
	const TeamRoster roster(p_host.database());
	const bool a_present = !r_node.team_a.is_empty();
	Dictionary &present = a_present ? r_node.team_a : r_node.team_b;
	const TeamData *team = roster.find_entry(present);
	if (team != nullptr) {
		present = refresh_team_entry(present, *team);
	}
	settle_without_match(p_host, r_tournament, r_stage, r_node, a_present);
}

void add_rating_change(Dictionary &r_map, const String &p_id, int32_t p_delta) {
	const int64_t current = r_map.get(p_id, 0);
	r_map[p_id] = saturating_add(current, p_delta);
}

// The records by team id, as p_records held them. The stage only ever replaces its records and their list
// (copy on write), so a list taken before a match still holds the records from before it.
Dictionary swiss_snapshot(const TournamentStage &p_stage, const Array &p_records) {
	Dictionary snapshot;
	if (!is_swiss(p_stage)) {
		return snapshot;
	}
	const int64_t count = p_records.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant &record = p_records[i];
		if (record.get_type() != Variant::DICTIONARY) {
			continue;
		}
		// The event detaches the whole context, so the records need no copy of their own here.
		const Dictionary value = as_dictionary(record);
		snapshot[entry_id(value.get(TF_KEY("team"), Variant()))] = value;
	}
	return snapshot;
}

// The log's row of a series just played; the node holds its result already.
SeriesLogRow series_log_row(const Tournament &p_tournament, const TournamentStage &p_stage,
		const MatchNode &p_node, const godot::MatchSimulator::PlayedSeries &p_series, const String &p_id_a,
		const String &p_id_b, const String &p_played_on) {
	SeriesLogRow row;
	row.tournament_id = p_tournament.id;
	row.stage_index = p_tournament.current_stage_idx;
	row.stage_type = p_stage.type.text();
	row.match_id = p_node.id;
	row.date = p_played_on;
	row.is_bo5 = p_node.is_bo5;
	row.team_a_id = p_id_a;
	row.team_b_id = p_id_b;
	row.seed_a = read_saved_int32(p_node.team_a.get(TF_KEY("seed"), 0));
	row.seed_b = read_saved_int32(p_node.team_b.get(TF_KEY("seed"), 0));
	row.score_a = p_node.score_a;
	row.score_b = p_node.score_b;
	row.sides = p_series.sides;
	row.heat = p_node.heat;
	return row;
}

// p_day_roster, when given, is the team list read before the day's first match: good while no script runs.
// Returns false once the day stops.
bool play_match(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage, MatchNode &r_node,
		const TeamRoster *p_day_roster) {
	const Ref<godot::MatchSimulator> simulator = p_host.simulator();
	// Only the simulator's handlers could see the node while its match is played; without them the
	// entries are refreshed once, after the match, to the same values.
	const bool watched = simulator.is_null() || simulator->is_watched();
	Ref<TeamData> team_a;
	Ref<TeamData> team_b;
	int32_t heat = 0;
	{
		// A roster of its own is dropped before the simulator runs: its signal may change the team list.
		std::optional<TeamRoster> own_roster;
		const TeamRoster &roster = p_day_roster != nullptr ? *p_day_roster : own_roster.emplace(p_host.database());
		// Held as references, so the teams outlive a handler that drops them from the database.
		team_a = Ref<TeamData>(roster.find_entry(r_node.team_a));
		team_b = Ref<TeamData>(roster.find_entry(r_node.team_b));
		if (team_a.is_null() || team_b.is_null()) {
			forfeit(p_host, r_tournament, r_stage, r_node, team_a.ptr(), team_b.ptr());
			return true;
		}
		if (watched) {
			r_node.team_a = refresh_team_entry(r_node.team_a, *team_a.ptr());
			r_node.team_b = refresh_team_entry(r_node.team_b, *team_b.ptr());
		}
		const int32_t famous = (team_a->has_top_name() ? 1 : 0) + (team_b->has_top_name() ? 1 : 0);
		heat = played_match_heat(team_a->get_vrs(), team_b->get_vrs(), r_tournament.prize, roster.rank_of(team_a.ptr()),
				roster.rank_of(team_b.ptr()), famous, round_heat_factor(r_node.name));
	}
	r_node.heat = heat;
	// Read only when the event goes out.
	const Array records_before = r_stage.records;

	ERR_FAIL_COND_V(simulator.is_null(), true);
	// The log's date is read before the simulator's handlers run: one may swap in a database on another day.
	const godot::TeamDatabase *database = p_host.database();
	const String played_on = database != nullptr ? database->get_current_date() : r_node.date;
	// The simulator's handlers may free the manager: then nothing is left to write to.
	const godot::ObjectID host = p_host.host_id();
	const godot::MatchSimulator::PlayedSeries series = simulator->simulate_match_privately(team_a, team_b, r_node.is_bo5);
	if (!still_exists(host)) {
		return false;
	}

	// The result is written even when a handler stopped the day otherwise: the teams have played.
	r_node.status = MatchStatus::PLAYED;
	r_node.score_a = series.score_a;
	r_node.score_b = series.score_b;
	r_node.details = Array();
	r_node.played_maps = series.maps;
	r_node.vrs_delta_a = saturate_to_int32(series.vrs_delta_a);
	r_node.vrs_delta_b = saturate_to_int32(series.vrs_delta_b);
	const bool a_won = r_node.score_a > r_node.score_b;
	// Both sides as they stand after the match; the winner and loser are the same snapshots. Entries
	// refreshed before the match are the node's alone (handlers only ever saw copies), so they are brought
	// up to date where they are; others may be shared with records and other nodes, so they are replaced.
	if (watched) {
		refresh_own_team_entry(r_node.team_a, *team_a.ptr());
		refresh_own_team_entry(r_node.team_b, *team_b.ptr());
	} else {
		r_node.team_a = refresh_team_entry(r_node.team_a, *team_a.ptr());
		r_node.team_b = refresh_team_entry(r_node.team_b, *team_b.ptr());
	}
	r_node.winner = a_won ? r_node.team_a : r_node.team_b;
	r_node.loser = a_won ? r_node.team_b : r_node.team_a;

	r_tournament.total_heat = saturate_to_int32(saturating_add(r_tournament.total_heat, r_node.heat));
	const String id_a = team_a->get_id();
	const String id_b = team_b->get_id();
	if (SeriesLog *log = p_host.series_log()) {
		log->add(series_log_row(r_tournament, r_stage, r_node, series, id_a, id_b, played_on));
	}
	// The map is the tournament's own (saves and loads detach it), so it is written in place once it
	// takes any value, as a loaded typed one might not.
	ensure_writable(r_tournament.vrs_delta_map);
	add_rating_change(r_tournament.vrs_delta_map, id_a, r_node.vrs_delta_a);
	add_rating_change(r_tournament.vrs_delta_map, id_b, r_node.vrs_delta_b);

	if (is_swiss(r_stage)) {
		update_swiss_records(r_stage, r_node);
	} else {
		advance_along_links(p_host, r_tournament, r_stage, r_node);
	}
	if (!p_host.day_goes_on()) {
		return false;
	}
	if (!p_host.has_achievement_listeners()) {
		return true;
	}

	Dictionary context;
	context[TF_KEY("stage_idx")] = r_tournament.current_stage_idx;
	context[TF_KEY("stage_name")] = r_stage.name;
	context[TF_KEY("stage_type")] = r_stage.type.text();
	context[TF_KEY("match_id")] = r_node.id;
	context[TF_KEY("match_name")] = r_node.name;
	context[TF_KEY("team_a_id")] = id_a;
	context[TF_KEY("team_b_id")] = id_b;
	context[TF_KEY("winner_id")] = a_won ? id_a : id_b;
	context[TF_KEY("score_a")] = r_node.score_a;
	context[TF_KEY("score_b")] = r_node.score_b;
	context[TF_KEY("record_before_by_id")] = swiss_snapshot(r_stage, records_before);
	return emit_achievement_event(p_host, "match_played", r_tournament, context);
}

// For each pending node, whether each side holds a team or can still receive one from a pending
// node that will produce it (a winner from any node that can get a team, a loser only from one that
// can get two). Brackets are acyclic, so this settles within as many passes as the bracket is deep.
struct SideReach {
	std::vector<char> side_a;
	std::vector<char> side_b;
};

SideReach reachable_sides(const TournamentStage &p_stage) {
	const size_t count = p_stage.nodes.size();
	SideReach reach;
	reach.side_a.assign(count, 0);
	reach.side_b.assign(count, 0);
	struct Feed {
		size_t source;
		size_t target;
		bool side_a;
		bool needs_both;
	};
	std::vector<Feed> feeds;
	for (size_t i = 0; i < count; i++) {
		const MatchNode &node = p_stage.nodes[i];
		if (!is_pending(node)) {
			continue;
		}
		reach.side_a[i] = !node.team_a.is_empty();
		reach.side_b[i] = !node.team_b.is_empty();
		for (const NodeLink *link : { &node.winner_to, &node.loser_to }) {
			if (!link->is_complete()) {
				continue;
			}
			const bool to_a = link->slot == TF_TEXT("team_a");
			if (!to_a && link->slot != TF_TEXT("team_b")) {
				continue;
			}
			const MatchNode *target = find_stage_node(p_stage, link->id);
			if (target == nullptr || !is_pending(*target)) {
				continue;
			}
			const size_t target_index = static_cast<size_t>(target - p_stage.nodes.data());
			feeds.push_back({ i, target_index, to_a, link == &node.loser_to });
		}
	}
	bool changed = true;
	while (changed) {
		changed = false;
		for (const Feed &feed : feeds) {
			const bool delivers = feed.needs_both ? (reach.side_a[feed.source] && reach.side_b[feed.source])
												  : (reach.side_a[feed.source] || reach.side_b[feed.source]);
			std::vector<char> &side = feed.side_a ? reach.side_a : reach.side_b;
			if (delivers && !side[feed.target]) {
				side[feed.target] = 1;
				changed = true;
			}
		}
	}
	return reach;
}

bool date_has_come(const String &p_date, const String &p_today) {
	return !p_date.is_empty() && compare_dates(p_date, p_today) <= 0;
}

// Returns false once the day stops.
bool play_due_matches(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage, const String &p_today) {
	const size_t count = r_stage.nodes.size();
	std::vector<char> due(count, 0);
	std::vector<char> unopposed(count, 0);
	bool has_lone_team = false;
	for (size_t i = 0; i < count; i++) {
		MatchNode &node = r_stage.nodes[i];
		if (!is_pending(node)) {
			continue;
		}
		const bool has_a = !node.team_a.is_empty();
		const bool has_b = !node.team_b.is_empty();
		if (has_a && has_b) {
			if (node.date.is_empty()) {
				node.date = p_today;
			}
			due[i] = date_has_come(node.date, p_today);
		} else if (has_a != has_b && (node.date.is_empty() || date_has_come(node.date, p_today))) {
			has_lone_team = true;
		}
	}
	// Swiss nodes are never linked: a team left without an opponent there waits for the stage close.
	if (has_lone_team && !is_swiss(r_stage)) {
		const SideReach reach = reachable_sides(r_stage);
		for (size_t i = 0; i < count; i++) {
			MatchNode &node = r_stage.nodes[i];
			if (!is_pending(node) || due[i]) {
				continue;
			}
			const bool has_a = !node.team_a.is_empty();
			const bool has_b = !node.team_b.is_empty();
			const bool stranded = has_a ? !reach.side_b[i] : !reach.side_a[i];
			if (has_a == has_b || !stranded) {
				continue;
			}
			if (node.date.is_empty()) {
				node.date = p_today;
			}
			if (date_has_come(node.date, p_today)) {
				due[i] = 1;
				unopposed[i] = 1;
			}
		}
	}

	// While no handler can run between two matches (none on the series, none on the manager's events), the
	// team list cannot change, so one reading of it serves all of them: the whole list is read for a match.
	std::optional<TeamRoster> day_roster;
	// Taken once before any match: a node that gets its second team today plays on a later day.
	for (size_t i = 0; i < count; i++) {
		if (!due[i]) {
			continue;
		}
		MatchNode &node = r_stage.nodes[i];
		if (unopposed[i]) {
			// Sends no signal.
			walkover(p_host, r_tournament, r_stage, node);
			continue;
		}
		const godot::Ref<godot::MatchSimulator> simulator = p_host.simulator();
		const bool unheard = simulator.is_valid() && !simulator->is_watched() && !p_host.has_achievement_listeners();
		if (unheard && !day_roster.has_value()) {
			day_roster.emplace(p_host.database());
		}
		if (!play_match(p_host, r_tournament, r_stage, node, unheard ? &*day_roster : nullptr)) {
			return false;
		}
	}
	return true;
}

// Over when every node is played or no pending node holds a team any more: nothing is left that
// could ever be played, so a short or unseeded bracket ends instead of stalling its tournament.
bool bracket_finished(const TournamentStage &p_stage) {
	for (const MatchNode &node : p_stage.nodes) {
		if (is_pending(node) && (!node.team_a.is_empty() || !node.team_b.is_empty())) {
			return false;
		}
	}
	return true;
}

// Returns false once the day stops.
bool end_play_day(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage) {
	const bool swiss = is_swiss(r_stage);
	if (swiss && !advance_swiss_round(p_host, r_tournament, r_stage)) {
		return false;
	}
	if (swiss ? !swiss_stage_finished(r_stage) : !bracket_finished(r_stage)) {
		return true;
	}
	if (swiss) {
		if (!close_swiss_stage(p_host, r_tournament, r_stage)) {
			return false;
		}
	} else if (r_stage.type == StageKind::IEM_GROUPS) {
		r_tournament.advanced_pool = group_stage_qualifiers(r_stage);
	}
	if (is_last_stage(r_tournament)) {
		return complete_tournament(p_host, r_tournament);
	}
	r_tournament.current_stage_idx++;
	r_tournament.rest = tier_rest_days(r_tournament.tier_id);
	start_next_stage(p_host, r_tournament);
	return true;
}

// Only team entries can be seeded.
Array entries_only(const Array &p_list, int64_t p_from, int64_t p_to) {
	Array entries;
	const int64_t end = std::min(p_to, p_list.size());
	for (int64_t i = std::max<int64_t>(p_from, 0); i < end; i++) {
		const Variant &value = p_list[i];
		if (value.get_type() == Variant::DICTIONARY) {
			entries.push_back(value);
		}
	}
	return entries;
}

Array all_entries(const Array &p_list) {
	return entries_only(p_list, 0, std::numeric_limits<int64_t>::max());
}

// A full field fills its playoff bracket exactly. A short one (a small database, a Major after a
// short Major) would leave the bracket unseeded and its best teams unplaced, so it is padded with
// empty sides, which the teams beside them pass by walkover; a long one is cut to the best-rated.
// Pools of the bracket's own size are left as they are.
Array fit_to_bracket(const TournamentStage &p_stage, const Array &p_seed_list) {
	const size_t nodes = p_stage.nodes.size();
	const int64_t bracket = nodes == 5 ? 6 : (nodes == 7 || nodes == 15 ? static_cast<int64_t>(nodes) + 1 : 0);
	if (bracket == 0 || p_seed_list.size() == bracket) {
		return p_seed_list;
	}
	Array fitted;
	for (int64_t i = 0; i < bracket; i++) {
		fitted.push_back(i < p_seed_list.size() ? p_seed_list[i] : Variant(Dictionary()));
	}
	return fitted;
}

enum class StageOrder {
	FIRST,
	LATER,
};

// Seeds a stage by its kind. A first stage takes its field as invited; a later one fits its pool to the
// bracket, and only Swiss and single-elimination stages follow another stage.
void seed_stage(TournamentHost &p_host, TournamentStage &r_stage, const Array &p_seed_list, StageOrder p_order) {
	const bool first = p_order == StageOrder::FIRST;
	switch (r_stage.type.get()) {
		case StageKind::SWISS:
			seed_swiss_stage(p_host, r_stage, p_seed_list);
			return;
		case StageKind::SINGLE_ELIM:
			seed_single_elim_stage(r_stage, first ? p_seed_list : fit_to_bracket(r_stage, p_seed_list), first);
			return;
		case StageKind::IEM_GROUPS:
			if (first) {
				seed_group_stage(r_stage, p_seed_list);
			}
			return;
		case StageKind::BLAST_BRACKET:
			if (first) {
				seed_blast_stage(r_stage, p_seed_list);
			}
			return;
		case StageKind::OTHER:
			// A type only a save from elsewhere names: nothing to seed.
			return;
	}
}

Array direct_invitees(const Tournament &p_tournament, const char *p_stage_key) {
	return as_array(readable_by_text_keys(p_tournament.major_direct).get(dictionary_key(p_stage_key), Array()));
}

} // namespace

bool play_tournament_day(TournamentHost &p_host, Tournament &r_tournament, const String &p_today) {
	if (r_tournament.status != TournamentStatus::ACTIVE || r_tournament.current_stage_idx < 0) {
		return true;
	}
	if (static_cast<size_t>(r_tournament.current_stage_idx) >= r_tournament.stages.size()) {
		// Nothing left to play (a record loaded without stages): it ends rather than stays active.
		return complete_tournament(p_host, r_tournament);
	}
	if (r_tournament.rest >= 1) {
		r_tournament.rest--;
		return true;
	}
	TournamentStage &stage = r_tournament.stages[static_cast<size_t>(r_tournament.current_stage_idx)];
	return play_due_matches(p_host, r_tournament, stage, p_today) && end_play_day(p_host, r_tournament, stage);
}

void start_first_stage(TournamentHost &p_host, Tournament &r_tournament) {
	if (r_tournament.stages.empty()) {
		return;
	}
	Array seed_list;
	if (r_tournament.format_id == FormatKind::MAJOR) {
		seed_list = all_entries(direct_invitees(r_tournament, "stage1"));
	} else if (r_tournament.format_id == FormatKind::EPL) {
		seed_list = entries_only(r_tournament.participants, 8, std::numeric_limits<int64_t>::max());
	} else {
		seed_list = all_entries(r_tournament.participants);
	}
	seed_stage(p_host, r_tournament.stages[0], seed_list, StageOrder::FIRST);
}

void start_next_stage(TournamentHost &p_host, Tournament &r_tournament) {
	const int32_t index = r_tournament.current_stage_idx;
	if (index < 0 || static_cast<size_t>(index) >= r_tournament.stages.size()) {
		return;
	}
	Array pool;
	if (r_tournament.format_id == FormatKind::MAJOR && (index == 1 || index == 2)) {
		pool = all_entries(direct_invitees(r_tournament, index == 1 ? "stage2" : "stage3"));
	} else if (r_tournament.format_id == FormatKind::EPL && index == 1) {
		pool = entries_only(r_tournament.participants, 0, 8);
	}
	const Array carried = all_entries(r_tournament.advanced_pool);
	for (int64_t i = 0; i < carried.size(); i++) {
		pool.push_back(carried[i]);
	}

	std::vector<std::pair<int64_t, Dictionary>> ranked;
	{
		const TeamRoster roster(p_host.database());
		for (int64_t i = 0; i < pool.size(); i++) {
			const Dictionary entry = pool[i];
			ranked.emplace_back(roster.live_rating(entry), entry);
		}
	}
	std::stable_sort(ranked.begin(), ranked.end(), [](const auto &p_a, const auto &p_b) { return p_a.first > p_b.first; });
	// Numbered on copies: the carried entries stay as the previous stage and the invitation left them.
	Array seed_list;
	for (size_t i = 0; i < ranked.size(); i++) {
		Dictionary entry = plain_copy(ranked[i].second);
		entry[TF_KEY("seed")] = static_cast<int64_t>(i + 1);
		seed_list.push_back(entry);
	}

	seed_stage(p_host, r_tournament.stages[static_cast<size_t>(index)], seed_list, StageOrder::LATER);
}

int32_t compute_match_heat(const TeamRoster &p_roster, const Dictionary &p_team_a, const Dictionary &p_team_b,
		int32_t p_prize, int32_t p_round_factor) {
	const int32_t famous = (is_top_team(p_team_a) ? 1 : 0) + (is_top_team(p_team_b) ? 1 : 0);
	return played_match_heat(static_cast<double>(p_roster.live_rating(p_team_a)), static_cast<double>(p_roster.live_rating(p_team_b)),
			p_prize, p_roster.rank_of(p_roster.find_entry(p_team_a)), p_roster.rank_of(p_roster.find_entry(p_team_b)), famous,
			p_round_factor);
}

int32_t round_heat_factor(const String &p_match_name) {
	const String name = p_match_name.to_lower();
	const auto contains = [&name](const char *p_part) { return name.contains(p_part); };
	if (contains("quarterfinal")) {
		return 2;
	}
	if (contains("semifinal") || contains("semi-final") || contains("semi final") || contains("upper sf") || contains("lower sf")) {
		return 5;
	}
	if (contains("final")) {
		return 20;
	}
	return 1;
}

} // namespace teamforge
