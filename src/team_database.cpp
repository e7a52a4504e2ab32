#include "team_database.h"

#include "common/copy_on_write.h"
#include "common/dictionary_keys.h"
#include "common/emit_and_check.h"
#include "common/game_rules.h"
#include "common/text_key_reading.h"
#include "data/default_roster.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <limits>
#include <vector>

namespace godot {

namespace {

// The list may hold anything a script put there; only live TeamData records count as teams
// (get_validated_object yields null for other values and for freed objects).
TeamData *as_team(const Variant &p_value) {
	return Object::cast_to<TeamData>(p_value.get_validated_object());
}

} // namespace

void TeamDatabase::teams_writable() {
	// A script may have frozen the list it got from get_teams(); the change must still land.
	teamforge::ensure_writable(teams, Variant::OBJECT);
}

void TeamDatabase::emit_reset_signals() {
	// A handler may free this database; the signals after that have no one left to come from.
	if (!teamforge::emit_and_check(*this, TF_NAME("current_date_changed"), current_date)) {
		return;
	}
	if (!teamforge::emit_and_check(*this, TF_NAME("teams_rebuilt"))) {
		return;
	}
	emit_signal(TF_NAME("database_reset"));
}

void TeamDatabase::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("initialize_defaults"), &TeamDatabase::initialize_defaults);
	ClassDB::bind_method(D_METHOD("clear_database"), &TeamDatabase::clear_database);
	ClassDB::bind_method(D_METHOD("get_current_date"), &TeamDatabase::get_current_date);
	ClassDB::bind_method(D_METHOD("set_current_date", "current_date"), &TeamDatabase::set_current_date);
	ClassDB::bind_method(D_METHOD("get_teams"), &TeamDatabase::get_teams);
	ClassDB::bind_method(D_METHOD("set_teams", "teams"), &TeamDatabase::set_teams);
	ClassDB::bind_method(D_METHOD("get_team_count"), &TeamDatabase::get_team_count);
	ClassDB::bind_method(D_METHOD("get_team_at", "index"), &TeamDatabase::get_team_at);
	ClassDB::bind_method(D_METHOD("get_team_by_id", "team_id"), &TeamDatabase::get_team_by_id);
	ClassDB::bind_method(D_METHOD("has_team", "team_id"), &TeamDatabase::has_team);
	ClassDB::bind_method(D_METHOD("add_or_update_team", "team"), &TeamDatabase::add_or_update_team);
	ClassDB::bind_method(D_METHOD("to_dict"), &TeamDatabase::to_dict);
	ClassDB::bind_method(D_METHOD("from_dict", "data"), &TeamDatabase::from_dict);

	// Properties.
	ADD_PROPERTY(PropertyInfo(Variant::STRING, "current_date"), "set_current_date", "get_current_date");
	ADD_PROPERTY(PropertyInfo(Variant::ARRAY, "teams"), "set_teams", "get_teams");

	// Signals.
	ADD_SIGNAL(MethodInfo("current_date_changed", PropertyInfo(Variant::STRING, "current_date")));
	ADD_SIGNAL(MethodInfo("team_changed", PropertyInfo(Variant::STRING, "team_id")));
	ADD_SIGNAL(MethodInfo("teams_rebuilt"));
	ADD_SIGNAL(MethodInfo("database_reset"));
}

TeamDatabase::TeamDatabase() :
		current_date(teamforge::START_DATE) {
}

void TeamDatabase::initialize_defaults() {
	current_date = teamforge::START_DATE;
	teams_writable();
	teams.clear();
	for (size_t row = 0; row < teamforge::DEFAULT_ROSTER_SIZE; ++row) {
		const teamforge::RosterRow &entry = teamforge::DEFAULT_ROSTER[row];
		Ref<TeamData> team;
		team.instantiate();
		team->set_id(String("t-") + String::num_int64(static_cast<int64_t>(row)));
		team->set_name(String(entry.name));
		team->set_region(String(entry.region));
		team->set_vrs(entry.vrs);
		teams.push_back(Variant(team));
	}
	emit_reset_signals();
}

void TeamDatabase::clear_database() {
	current_date = teamforge::START_DATE;
	teams_writable();
	teams.clear();
	emit_reset_signals();
}

String TeamDatabase::get_current_date() const {
	return current_date;
}

void TeamDatabase::set_current_date(const String &p_current_date) {
	if (p_current_date == current_date) {
		return;
	}
	current_date = p_current_date;
	emit_signal(TF_NAME("current_date_changed"), current_date);
}

Array TeamDatabase::get_teams() const {
	return teams;
}

void TeamDatabase::set_teams(const Array &p_teams) {
	// p_teams may be the stored array itself: take the records (and a reference to each) before
	// clearing, or they would vanish with it.
	const int64_t count = p_teams.size();
	std::vector<Variant> kept;
	kept.reserve(static_cast<size_t>(count));
	for (int64_t i = 0; i < count; ++i) {
		const Variant &element = p_teams[i];
		if (as_team(element) != nullptr) {
			kept.push_back(element);
		}
	}

	teams_writable();
	teams.clear();
	for (const Variant &team : kept) {
		teams.push_back(team);
	}
	emit_signal(TF_NAME("teams_rebuilt"));
}

const std::vector<TeamData *> &TeamDatabase::team_records() const {
	// Reading the id an element holds is one call into the engine; resolving the object behind it takes
	// several, and the tournaments read the whole list for every match.
	const int64_t count = teams.size();
	resolved_teams.resize(static_cast<size_t>(count));
	live_teams.clear();
	for (int64_t i = 0; i < count; ++i) {
		const Variant &element = teams[i];
		if (element.get_type() != Variant::OBJECT) {
			continue;
		}
		const ObjectID id = element;
		ResolvedTeam &slot = resolved_teams[static_cast<size_t>(i)];
		if (slot.id != id) {
			slot.id = id;
			slot.team = as_team(element);
		}
		if (slot.team != nullptr) {
			live_teams.push_back(slot.team);
		}
	}
	return live_teams;
}

TeamData *TeamDatabase::find_team_record(const std::vector<TeamData *> &p_records, const String &p_id) const {
	if (p_records.empty() || p_id.is_empty()) {
		return nullptr;
	}
	// Built once for a list and kept while no record changes its id: a match looks up two teams, a
	// season thousands.
	const uint64_t generation = TeamData::id_generation();
	if (!indexed || indexed_generation != generation || indexed_teams != p_records) {
		teams_by_id.clear();
		for (TeamData *team : p_records) {
			const CharString id = team->get_id().utf8();
			teams_by_id.emplace(std::string(id.get_data(), static_cast<size_t>(id.length())), team);
		}
		indexed_teams = p_records;
		indexed_generation = generation;
		indexed = true;
	}
	const CharString id = p_id.utf8();
	const auto found = teams_by_id.find(std::string(id.get_data(), static_cast<size_t>(id.length())));
	return found == teams_by_id.end() ? nullptr : found->second;
}

int32_t TeamDatabase::get_team_count() const {
	return static_cast<int32_t>(std::min<int64_t>(teams.size(), std::numeric_limits<int32_t>::max()));
}

Ref<TeamData> TeamDatabase::get_team_at(int32_t p_index) const {
	if (p_index < 0 || p_index >= teams.size()) {
		return Ref<TeamData>();
	}
	return Ref<TeamData>(as_team(teams[p_index]));
}

Ref<TeamData> TeamDatabase::get_team_by_id(const String &p_team_id) const {
	const int64_t count = teams.size();
	for (int64_t i = 0; i < count; ++i) {
		TeamData *team = as_team(teams[i]);
		if (team != nullptr && team->get_id() == p_team_id) {
			return Ref<TeamData>(team);
		}
	}
	return Ref<TeamData>();
}

bool TeamDatabase::has_team(const String &p_team_id) const {
	return get_team_by_id(p_team_id).is_valid();
}

void TeamDatabase::add_or_update_team(const Ref<TeamData> &p_team) {
	if (p_team.is_null()) {
		return;
	}
	// Copied now: a team_changed handler may change the record before later listeners run.
	const String team_id = p_team->get_id();
	teams_writable();
	const int64_t count = teams.size();
	for (int64_t i = 0; i < count; ++i) {
		TeamData *team = as_team(teams[i]);
		if (team != nullptr && team->get_id() == team_id) {
			teams[i] = Variant(p_team);
			emit_signal(TF_NAME("team_changed"), team_id);
			return;
		}
	}
	teams.push_back(Variant(p_team));
	emit_signal(TF_NAME("team_changed"), team_id);
}

Dictionary TeamDatabase::to_dict() const {
	Array saved_teams;
	const int64_t count = teams.size();
	for (int64_t i = 0; i < count; ++i) {
		const TeamData *team = as_team(teams[i]);
		if (team != nullptr) {
			saved_teams.push_back(team->to_dict());
		}
	}

	Dictionary data;
	data[TF_KEY("current_date")] = current_date;
	data[TF_KEY("teams")] = saved_teams;
	return data;
}

void TeamDatabase::from_dict(const Dictionary &p_data) {
	// A dictionary whose keys a script typed would make every look-up by text an engine error.
	const Dictionary data = teamforge::readable_by_text_keys(p_data);
	// The records are read before the list is cleared, so loading from an array that aliases
	// the stored list loses nothing.
	const Variant source = data.get(TF_KEY("teams"), Array());
	std::vector<Dictionary> records;
	if (source.get_type() == Variant::ARRAY) {
		const Array list = source;
		const int64_t count = list.size();
		records.reserve(static_cast<size_t>(count));
		for (int64_t i = 0; i < count; ++i) {
			const Variant &element = list[i];
			if (element.get_type() == Variant::DICTIONARY) {
				const Dictionary record = element;
				records.push_back(record);
			}
		}
	}

	current_date = String(data.get(TF_KEY("current_date"), teamforge::START_DATE));
	teams_writable();
	teams.clear();
	for (const Dictionary &record : records) {
		Ref<TeamData> team;
		team.instantiate();
		team->from_dict(record);
		teams.push_back(Variant(team));
	}

	if (!teamforge::emit_and_check(*this, TF_NAME("current_date_changed"), current_date)) {
		return;
	}
	emit_signal(TF_NAME("teams_rebuilt"));
}

} // namespace godot
