#include "tournament_manager.h"

#include "common/detached_copy.h"
#include "common/plain_data.h"
#include "common/dictionary_keys.h"
#include "common/emit_and_check.h"
#include "common/rounding.h"
#include "common/saved_numbers.h"
#include "common/text_key_reading.h"
#include "data/tournament_catalog.h"
#include "tournament/archiving.h"
#include "tournament/day_driver.h"
#include "tournament/loaded_tournament_repair.h"
#include "tournament/rating_history.h"
#include "tournament/tournament_creation.h"
#include "views/tournament_summary.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/core/object.hpp>
#include <godot_cpp/variant/utility_functions.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <memory>

namespace godot {

namespace {

constexpr int32_t FIRST_TOURNAMENT_ID = 1;

Dictionary default_edition_counters() {
	Dictionary counters;
	for (const char *counter_key : teamforge::EDITION_COUNTER_KEYS) {
		counters[teamforge::dictionary_key(counter_key)] = static_cast<int64_t>(1);
	}
	return counters;
}

// Each tournament through p_convert, in order, as a new list.
template <class Convert>
Array list_each(const teamforge::TournamentList &p_tournaments, Convert p_convert) {
	Array list;
	list.resize(static_cast<int64_t>(p_tournaments.size()));
	int64_t index = 0;
	for (const teamforge::TournamentPtr &tournament : p_tournaments) {
		list[index++] = p_convert(*tournament);
	}
	return list;
}

// The load step shared by from_dict and set_tournaments: dictionaries only, and the next id kept past
// every loaded one.
teamforge::TournamentList load_tournaments(const Variant &p_tournaments, int32_t &r_next_tournament_id) {
	teamforge::TournamentList loaded;
	if (p_tournaments.get_type() != Variant::ARRAY) {
		return loaded;
	}
	const Array list = teamforge::plain_data(p_tournaments, "tournaments").operator Array();
	const int64_t count = list.size();
	loaded.reserve(static_cast<size_t>(count));
	teamforge::LoadedRecordCopier copier;
	for (int64_t i = 0; i < count; ++i) {
		const Variant &element = list[i];
		if (element.get_type() != Variant::DICTIONARY) {
			continue;
		}
		auto tournament = std::make_shared<teamforge::Tournament>(teamforge::tournament_from_dict(element.operator Dictionary(), copier));
		teamforge::repair_loaded_tournament(*tournament);
		const int32_t after = teamforge::saturate_to_int32(static_cast<int64_t>(tournament->id) + 1);
		if (after > r_next_tournament_id) {
			r_next_tournament_id = after;
		}
		loaded.push_back(std::move(tournament));
	}
	return loaded;
}

} // namespace

void TournamentManager::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("set_team_database", "team_database_node"), &TournamentManager::set_team_database);
	ClassDB::bind_method(D_METHOD("get_team_database"), &TournamentManager::get_team_database);
	ClassDB::bind_method(D_METHOD("set_match_simulator", "match_simulator"), &TournamentManager::set_match_simulator);
	ClassDB::bind_method(D_METHOD("get_match_simulator"), &TournamentManager::get_match_simulator);
	ClassDB::bind_method(D_METHOD("create_tournament", "format_id", "tier_id", "inv_date", "city"), &TournamentManager::create_tournament, DEFVAL(String()));
	ClassDB::bind_method(D_METHOD("advance_day"), &TournamentManager::advance_day);
	ClassDB::bind_method(D_METHOD("get_tournaments"), &TournamentManager::get_tournaments);
	ClassDB::bind_method(D_METHOD("set_tournaments", "tournaments"), &TournamentManager::set_tournaments);
	ClassDB::bind_method(D_METHOD("get_available_funds"), &TournamentManager::get_available_funds);
	ClassDB::bind_method(D_METHOD("set_available_funds", "available_funds"), &TournamentManager::set_available_funds);
	ClassDB::bind_method(D_METHOD("get_major_slots"), &TournamentManager::get_major_slots);
	ClassDB::bind_method(D_METHOD("set_major_slots", "major_slots"), &TournamentManager::set_major_slots);
	ClassDB::bind_method(D_METHOD("get_match_log"), &TournamentManager::get_match_log);
	ClassDB::bind_method(D_METHOD("set_match_log", "match_log"), &TournamentManager::set_match_log);
	ClassDB::bind_method(D_METHOD("get_last_create_error"), &TournamentManager::get_last_create_error);
	ClassDB::bind_method(D_METHOD("to_dict"), &TournamentManager::to_dict);
	ClassDB::bind_method(D_METHOD("from_dict", "data"), &TournamentManager::from_dict);
	ClassDB::bind_method(D_METHOD("get_rating_history", "team_id"), &TournamentManager::get_rating_history);
	ClassDB::bind_method(D_METHOD("get_tournament", "tournament_id"), &TournamentManager::get_tournament);
	ClassDB::bind_method(D_METHOD("get_tournament_summaries"), &TournamentManager::get_tournament_summaries);
	ClassDB::bind_method(D_METHOD("archive_tournaments_before", "date"), &TournamentManager::archive_tournaments_before);
	ClassDB::bind_method(D_METHOD("set_series_log_enabled", "enabled"), &TournamentManager::set_series_log_enabled);
	ClassDB::bind_method(D_METHOD("is_series_log_enabled"), &TournamentManager::is_series_log_enabled);
	ClassDB::bind_method(D_METHOD("get_series_log"), &TournamentManager::get_series_log);
	ClassDB::bind_method(D_METHOD("clear_series_log"), &TournamentManager::clear_series_log);

	// Properties.
	ADD_PROPERTY(PropertyInfo(Variant::OBJECT, "team_database"), "set_team_database", "get_team_database");
	// Neither saved with a scene nor shown in the inspector: a stored simulator would give every instance of
	// the scene the same seed, and so the same season, and the editor would take the constructor's own
	// simulator for the class's default value. Scripts read and set it as before.
	ADD_PROPERTY(PropertyInfo(Variant::OBJECT, "match_simulator", PROPERTY_HINT_NONE, "", PROPERTY_USAGE_NONE),
			"set_match_simulator", "get_match_simulator");
	ADD_PROPERTY(PropertyInfo(Variant::ARRAY, "tournaments"), "set_tournaments", "get_tournaments");
	ADD_PROPERTY(PropertyInfo(Variant::INT, "available_funds"), "set_available_funds", "get_available_funds");
	ADD_PROPERTY(PropertyInfo(Variant::DICTIONARY, "major_slots"), "set_major_slots", "get_major_slots");
	ADD_PROPERTY(PropertyInfo(Variant::DICTIONARY, "match_log"), "set_match_log", "get_match_log");
	ADD_PROPERTY(PropertyInfo(Variant::BOOL, "series_log_enabled"), "set_series_log_enabled", "is_series_log_enabled");

	// Signals.
	ADD_SIGNAL(MethodInfo("day_advanced", PropertyInfo(Variant::STRING, "current_date")));
	ADD_SIGNAL(MethodInfo("tournament_created", PropertyInfo(Variant::INT, "tournament_id")));
	ADD_SIGNAL(MethodInfo("tournament_updated", PropertyInfo(Variant::INT, "tournament_id")));
	ADD_SIGNAL(MethodInfo("tournament_completed", PropertyInfo(Variant::INT, "tournament_id")));
	ADD_SIGNAL(MethodInfo("achievement_event", PropertyInfo(Variant::DICTIONARY, "event")));
}

TournamentManager::TournamentManager() :
		major_slots(teamforge::default_quota_map()),
		epl_counters(default_edition_counters()) {
	match_simulator.instantiate();
}

TournamentManager::~TournamentManager() = default;

void TournamentManager::set_team_database(teamforge::ObjectArgument<Node> p_team_database_node) {
	const TeamDatabase *given = Object::cast_to<TeamDatabase>(p_team_database_node.get());
	const uint64_t id = given != nullptr ? given->get_instance_id() : 0;
	if (id != team_database_id) {
		team_database_id = id;
		++state_generation;
	}
}

Node *TournamentManager::get_team_database() const {
	return database();
}

void TournamentManager::set_match_simulator(const Ref<MatchSimulator> &p_match_simulator) {
	match_simulator = p_match_simulator;
}

Ref<MatchSimulator> TournamentManager::get_match_simulator() const {
	return match_simulator;
}

bool TournamentManager::create_tournament(const String &p_format_id, const String &p_tier_id, const String &p_inv_date,
		const String &p_city) {
	const teamforge::CreationRequest request{ p_format_id, p_tier_id, p_inv_date, p_city };
	const TeamDatabase *team_database = database();
	const String today = team_database != nullptr ? team_database->get_current_date() : String();
	const char *error = teamforge::validate_creation(request, team_database != nullptr, today, tournaments, available_funds);
	if (error != nullptr) {
		last_create_error = String(error);
		UtilityFunctions::push_warning(last_create_error);
		return false;
	}

	last_create_error = String();
	// A save may have pushed the id to the top of its range; ids then stay there rather than wrap.
	const int32_t id = next_tournament_id;
	next_tournament_id = teamforge::saturate_to_int32(static_cast<int64_t>(next_tournament_id) + 1);
	auto tournament = std::make_shared<teamforge::Tournament>(
			teamforge::make_created_tournament(request, id, epl_counters, major_slots));
	available_funds = teamforge::saturating_sub(available_funds, tournament->prize);
	tournaments.push_back(std::move(tournament));
	// Last: a handler may replace or free everything.
	emit_signal(TF_NAME("tournament_created"), id);
	return true;
}

bool TournamentManager::advance_day() {
	// Signal handlers run inside the day; one that asks for another day gets none until this one ends.
	if (day_running) {
		UtilityFunctions::push_warning("ERROR_DAY_ALREADY_ADVANCING");
		return false;
	}
	if (database() == nullptr) {
		UtilityFunctions::push_warning("ERROR_TEAM_DATABASE_REQUIRED");
		return false;
	}
	day_running = true;
	day_generation = state_generation;
	// The day works on the list as it stands now. A handler that loads other records, or drops or
	// frees the database, stops the day at the next safe point: the rest of that day (later
	// tournaments, stamina recovery, day_advanced) is dropped rather than applied to the new state.
	// Tournaments created during the day join from the next day on.
	const teamforge::TournamentList today = tournaments;
	const ObjectID self(get_instance_id());
	const teamforge::DayOutcome outcome = teamforge::run_tournament_day(*this, today);
	if (!teamforge::still_exists(self)) {
		// A handler freed this manager: the day ended where it stood, and nothing of the node is left.
		return false;
	}
	day_running = false;
	if (outcome.completed) {
		emit_signal(TF_NAME("day_advanced"), outcome.date);
	}
	return true;
}

Array TournamentManager::get_tournaments() const {
	return list_each(tournaments, teamforge::tournament_to_dict);
}

void TournamentManager::set_tournaments(const Array &p_tournaments) {
	tournaments = load_tournaments(Variant(p_tournaments), next_tournament_id);
	++state_generation;
}

int64_t TournamentManager::get_available_funds() const {
	return available_funds;
}

void TournamentManager::set_available_funds(int64_t p_available_funds) {
	available_funds = p_available_funds;
}

Dictionary TournamentManager::get_major_slots() const {
	return teamforge::detached(major_slots);
}

void TournamentManager::set_major_slots(const Dictionary &p_major_slots) {
	major_slots = teamforge::normalize_quota_map(p_major_slots);
}

Dictionary TournamentManager::get_match_log() const {
	return Dictionary();
}

void TournamentManager::set_match_log(const Dictionary &p_match_log) {
	// The log is never kept; whatever is given is dropped.
	(void)p_match_log;
}

String TournamentManager::get_last_create_error() const {
	return last_create_error;
}

Dictionary TournamentManager::to_dict() const {
	Dictionary data;
	data[TF_KEY("tournaments")] = get_tournaments();
	data[TF_KEY("next_tournament_id")] = next_tournament_id;
	data[TF_KEY("available_funds")] = available_funds;
	data[TF_KEY("major_slots")] = teamforge::detached(major_slots);
	data[TF_KEY("epl_counters")] = teamforge::detached(epl_counters);
	data[TF_KEY("match_log")] = Dictionary();
	return data;
}

void TournamentManager::from_dict(const Dictionary &p_data) {
	const Dictionary data = teamforge::readable_by_text_keys(p_data);
	int32_t loaded_next_id = teamforge::read_saved_int32(
			data.get(TF_KEY("next_tournament_id"), Variant(FIRST_TOURNAMENT_ID)));
	const int64_t loaded_funds = teamforge::read_saved_int64(
			data.get(TF_KEY("available_funds"), Variant(teamforge::STARTING_FUNDS)));
	const Dictionary loaded_slots = teamforge::normalize_quota_map(
			data.get(TF_KEY("major_slots"), Variant()).operator Dictionary());
	const Dictionary loaded_counters = teamforge::detached(
			teamforge::plain_data(data.get(TF_KEY("epl_counters"), Variant()), "epl_counters").operator Dictionary());
	teamforge::TournamentList loaded = load_tournaments(data.get(TF_KEY("tournaments"), Variant()), loaded_next_id);

	next_tournament_id = loaded_next_id;
	available_funds = loaded_funds;
	major_slots = loaded_slots;
	epl_counters = loaded_counters;
	tournaments = std::move(loaded);
	++state_generation;
}

Array TournamentManager::get_rating_history(const String &p_team_id) const {
	return teamforge::rating_history(tournaments, p_team_id);
}

Dictionary TournamentManager::get_tournament(int64_t p_tournament_id) const {
	for (const teamforge::TournamentPtr &tournament : tournaments) {
		if (tournament->id == p_tournament_id) {
			return teamforge::tournament_to_dict(*tournament);
		}
	}
	return Dictionary();
}

Array TournamentManager::get_tournament_summaries() const {
	return list_each(tournaments, teamforge::tournament_summary);
}

int64_t TournamentManager::archive_tournaments_before(const String &p_date) {
	int64_t archived = 0;
	for (teamforge::TournamentPtr &tournament : tournaments) {
		if (teamforge::archivable_before(*tournament, p_date)) {
			// A new record in the list's slot: a day in progress (this may be one of its handlers) keeps
			// the old one it works on.
			tournament = std::make_shared<teamforge::Tournament>(teamforge::archived_copy(*tournament));
			++archived;
		}
	}
	return archived;
}

void TournamentManager::set_series_log_enabled(bool p_enabled) {
	series_log_enabled = p_enabled;
}

bool TournamentManager::is_series_log_enabled() const {
	return series_log_enabled;
}

Dictionary TournamentManager::get_series_log() const {
	return played_series.columns();
}

void TournamentManager::clear_series_log() {
	played_series.clear();
}

teamforge::SeriesLog *TournamentManager::series_log() {
	return series_log_enabled ? &played_series : nullptr;
}

TeamDatabase *TournamentManager::database() const {
	return Object::cast_to<TeamDatabase>(ObjectDB::get_instance(team_database_id));
}

Ref<MatchSimulator> TournamentManager::simulator() {
	// A script may have cleared the simulator; the draws still need one.
	if (match_simulator.is_null()) {
		match_simulator.instantiate();
	}
	return match_simulator;
}

int64_t TournamentManager::funds() const {
	return available_funds;
}

void TournamentManager::set_funds(int64_t p_funds) {
	available_funds = p_funds;
}

Dictionary TournamentManager::quota_map() const {
	return major_slots;
}

void TournamentManager::set_quota_map(const Dictionary &p_quotas) {
	major_slots = teamforge::normalize_quota_map(p_quotas);
}

bool TournamentManager::has_achievement_listeners() const {
	return has_connections(TF_NAME("achievement_event"));
}

bool TournamentManager::emit_achievement_event(const Dictionary &p_event) {
	return teamforge::emit_and_check(*this, TF_NAME("achievement_event"), p_event) && day_goes_on();
}

bool TournamentManager::emit_tournament_completed(int32_t p_tournament_id) {
	return teamforge::emit_and_check(*this, TF_NAME("tournament_completed"), p_tournament_id) && day_goes_on();
}

bool TournamentManager::emit_tournament_updated(int32_t p_tournament_id) {
	return teamforge::emit_and_check(*this, TF_NAME("tournament_updated"), p_tournament_id) && day_goes_on();
}

ObjectID TournamentManager::host_id() const {
	return ObjectID(get_instance_id());
}

bool TournamentManager::day_goes_on() const {
	return !day_running || (state_generation == day_generation && database() != nullptr);
}

} // namespace godot
