#include "game_core.h"

#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "common/emit_and_check.h"
#include "common/text_key_reading.h"
#include "team_database.h"
#include "tournament_manager.h"
#include "views/game_views.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/core/memory.hpp>
#include <godot_cpp/core/object.hpp>
#include <godot_cpp/core/object_id.hpp>
#include <godot_cpp/variant/callable_method_pointer.hpp>
#include <godot_cpp/variant/string_name.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace godot {

// Marks a call of this node as running, so that nodes released meanwhile wait for its end.
class GameCore::CallScope {
public:
	explicit CallScope(std::shared_ptr<DeferredRelease> p_deferred) :
			deferred(std::move(p_deferred)) {
		deferred->calls_running++;
	}
	~CallScope() {
		if (--deferred->calls_running == 0) {
			free_deferred(*deferred);
		}
	}
	CallScope(const CallScope &) = delete;
	CallScope &operator=(const CallScope &) = delete;

private:
	std::shared_ptr<DeferredRelease> deferred;
};

TeamDatabase *GameCore::database() const {
	return Object::cast_to<TeamDatabase>(ObjectDB::get_instance(team_database_id));
}

TournamentManager *GameCore::manager() const {
	return Object::cast_to<TournamentManager>(ObjectDB::get_instance(tournament_manager_id));
}

TeamDatabase *GameCore::ensure_database() {
	if (database() == nullptr) {
		create_team_database();
	}
	return database();
}

TournamentManager *GameCore::ensure_manager() {
	if (manager() == nullptr) {
		create_tournament_manager();
	}
	return manager();
}

void GameCore::create_team_database() {
	team_database_id = memnew(TeamDatabase)->get_instance_id();
}

void GameCore::create_tournament_manager() {
	tournament_manager_id = memnew(TournamentManager)->get_instance_id();
	wire_tournament_manager();
	seed_simulator();
}

void GameCore::wire_tournament_manager() {
	TournamentManager *tournament_manager = manager();
	if (tournament_manager == nullptr) {
		return;
	}
	tournament_manager->set_team_database(database());
	const Callable relay = callable_mp(this, &GameCore::_on_tournament_achievement_event);
	// Wiring again (after a load) must not double the relay.
	if (tournament_manager->has_signal(TF_NAME("achievement_event")) &&
			!tournament_manager->is_connected(TF_NAME("achievement_event"), relay)) {
		tournament_manager->connect(TF_NAME("achievement_event"), relay);
	}
}

void GameCore::release_tournament_manager() {
	TournamentManager *tournament_manager = manager();
	tournament_manager_id = 0;
	if (tournament_manager == nullptr) {
		return;
	}
	if (deferred->calls_running > 0) {
		// The manager may still be inside its day or sending a signal: cut it off from the game so the
		// day stops, and free it once the call has returned.
		const Callable relay = callable_mp(this, &GameCore::_on_tournament_achievement_event);
		if (tournament_manager->is_connected(TF_NAME("achievement_event"), relay)) {
			tournament_manager->disconnect(TF_NAME("achievement_event"), relay);
		}
		tournament_manager->set_team_database(nullptr);
	}
	release(tournament_manager->get_instance_id());
}

void GameCore::seed_simulator() {
	TournamentManager *tournament_manager = manager();
	if (!has_game_seed || tournament_manager == nullptr) {
		return;
	}
	// Every draw of the season, the manager's own included, derives from the simulator's seed.
	tournament_manager->simulator()->set_seed(static_cast<uint64_t>(game_seed));
}

void GameCore::release(uint64_t p_node_id) {
	if (deferred->calls_running > 0) {
		deferred->node_ids.push_back(p_node_id);
	} else if (Node *node = Object::cast_to<Node>(ObjectDB::get_instance(p_node_id))) {
		memdelete(node);
	}
}

void GameCore::free_deferred(DeferredRelease &r_deferred) {
	// By id: a script may have freed a released node already.
	for (const uint64_t id : r_deferred.node_ids) {
		if (Node *node = Object::cast_to<Node>(ObjectDB::get_instance(id))) {
			memdelete(node);
		}
	}
	r_deferred.node_ids.clear();
}

bool GameCore::refresh() {
	if (!teamforge::emit_and_check(*this, TF_NAME("current_date_changed"), get_current_date())) {
		return false;
	}
	if (!emit_if_heard(TF_NAME("leaderboard_changed"), [this]() { return get_leaderboard_data("ALL", "VRS"); })) {
		return false;
	}
	return emit_if_heard(TF_NAME("organize_changed"), [this]() { return get_organize_data(); });
}

template <class MakePayload>
bool GameCore::emit_if_heard(const StringName &p_signal, MakePayload p_make_payload) {
	// The views grow with the game and cost more than the day itself; a signal nobody listens to
	// would deliver them to no one.
	if (!has_connections(p_signal)) {
		return true;
	}
	return teamforge::emit_and_check(*this, p_signal, p_make_payload());
}

void GameCore::_on_tournament_achievement_event(const Dictionary &p_event) {
	emit_signal(TF_NAME("achievement_event"), p_event);
}

void GameCore::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("initialize_new_game"), &GameCore::initialize_new_game);
	ClassDB::bind_method(D_METHOD("advance_day"), &GameCore::advance_day);
	ClassDB::bind_method(D_METHOD("get_current_date"), &GameCore::get_current_date);
	ClassDB::bind_method(D_METHOD("get_leaderboard_data", "region_filter", "sort_mode"),
			&GameCore::get_leaderboard_data, DEFVAL("ALL"), DEFVAL("VRS"));
	ClassDB::bind_method(D_METHOD("get_organize_data"), &GameCore::get_organize_data);
	ClassDB::bind_method(D_METHOD("create_tournament", "format_id", "tier_id", "inv_date", "city"),
			&GameCore::create_tournament, DEFVAL(""));
	ClassDB::bind_method(D_METHOD("get_credits"), &GameCore::get_credits);
	ClassDB::bind_method(D_METHOD("set_credits", "credits"), &GameCore::set_credits);
	ClassDB::bind_method(D_METHOD("to_dict"), &GameCore::to_dict);
	ClassDB::bind_method(D_METHOD("from_dict", "data"), &GameCore::from_dict);
	ClassDB::bind_method(D_METHOD("get_rating_history", "team_id"), &GameCore::get_rating_history);
	ClassDB::bind_method(D_METHOD("get_tournament", "tournament_id"), &GameCore::get_tournament);
	ClassDB::bind_method(D_METHOD("get_tournament_summaries"), &GameCore::get_tournament_summaries);
	ClassDB::bind_method(D_METHOD("archive_tournaments_before", "date"), &GameCore::archive_tournaments_before);
	ClassDB::bind_method(D_METHOD("set_seed", "seed"), &GameCore::set_seed);

	// Properties: none.

	// Signals.
	ADD_SIGNAL(MethodInfo("current_date_changed", PropertyInfo(Variant::STRING, "current_date")));
	ADD_SIGNAL(MethodInfo("leaderboard_changed", PropertyInfo(Variant::DICTIONARY, "leaderboard_data")));
	ADD_SIGNAL(MethodInfo("organize_changed", PropertyInfo(Variant::DICTIONARY, "organize_data")));
	ADD_SIGNAL(MethodInfo("tournament_created", PropertyInfo(Variant::DICTIONARY, "result")));
	ADD_SIGNAL(MethodInfo("achievement_event", PropertyInfo(Variant::DICTIONARY, "event")));
}

GameCore::GameCore() :
		deferred(std::make_shared<DeferredRelease>()) {
	create_team_database();
	database()->initialize_defaults();
	create_tournament_manager();
}

GameCore::~GameCore() {
	// A handler that frees this node during a day leaves both objects to the day, which frees them when
	// it returns.
	release_tournament_manager();
	const uint64_t database_id = team_database_id;
	team_database_id = 0;
	release(database_id);
}

void GameCore::initialize_new_game() {
	const CallScope scope(deferred);
	const ObjectID self(get_instance_id());
	// The database's reset signals run first: a handler may free this node.
	ensure_database()->initialize_defaults();
	if (!teamforge::still_exists(self)) {
		return;
	}
	release_tournament_manager();
	create_tournament_manager();
	refresh();
}

bool GameCore::advance_day() {
	if (database() == nullptr) {
		return false;
	}
	if (days_running > 0) {
		// A handler inside the day asked for the next one: the day in progress finishes first.
		return false;
	}
	const CallScope scope(deferred);
	const ObjectID self(get_instance_id());
	days_running++;
	if (TournamentManager *tournament_manager = manager()) {
		tournament_manager->advance_day();
	} else {
		TeamDatabase *team_database = database();
		team_database->set_current_date(teamforge::add_days(team_database->get_current_date(), 1));
	}
	if (!teamforge::still_exists(self)) {
		// This node was freed by a handler; the scope frees what it left behind.
		return false;
	}
	days_running--;
	const TeamDatabase *team_database = database();
	if (team_database == nullptr) {
		return false;
	}

	const String date = team_database->get_current_date();
	if (!teamforge::emit_and_check(*this, TF_NAME("current_date_changed"), date)) {
		return true;
	}
	if (!emit_if_heard(TF_NAME("leaderboard_changed"), [this]() { return get_leaderboard_data("ALL", "VRS"); })) {
		return true;
	}
	Dictionary short_data;
	short_data[TF_KEY("current_date")] = date;
	const TournamentManager *tournament_manager = manager();
	short_data[TF_KEY("available_funds")] = tournament_manager ? tournament_manager->get_available_funds() : int64_t(0);
	emit_signal(TF_NAME("organize_changed"), short_data);
	return true;
}

String GameCore::get_current_date() const {
	const TeamDatabase *team_database = database();
	return team_database ? team_database->get_current_date() : String();
}

Dictionary GameCore::get_leaderboard_data(const String &p_region_filter, const String &p_sort_mode) const {
	return teamforge::leaderboard_view(database(), p_region_filter, p_sort_mode);
}

Dictionary GameCore::get_organize_data() const {
	return teamforge::organize_view(database(), manager());
}

Dictionary GameCore::create_tournament(const String &p_format_id, const String &p_tier_id, const String &p_inv_date,
		const String &p_city) {
	const CallScope scope(deferred);
	const ObjectID self(get_instance_id());
	TournamentManager *tournament_manager = ensure_manager();
	const bool ok = tournament_manager->create_tournament(p_format_id, p_tier_id, p_inv_date, p_city);
	// The manager's own signal ran first: its handler may have freed the manager or this node.
	if (!teamforge::still_exists(self)) {
		return Dictionary();
	}
	String message_key("ORGANIZE_CREATE_SUCCESS");
	if (!ok) {
		tournament_manager = manager();
		message_key = tournament_manager ? tournament_manager->get_last_create_error() : String();
		if (message_key.is_empty()) {
			message_key = String("ORGANIZE_CREATE_FAILED");
		}
	}
	Dictionary result;
	result[TF_KEY("ok")] = ok;
	result[TF_KEY("format_id")] = p_format_id;
	result[TF_KEY("tier_id")] = p_tier_id;
	result[TF_KEY("inv_date")] = p_inv_date;
	result[TF_KEY("city")] = p_city;
	const Dictionary organize_data = get_organize_data();
	result[TF_KEY("organize_data")] = organize_data;
	result[TF_KEY("message_key")] = message_key;
	if (teamforge::emit_and_check(*this, TF_NAME("tournament_created"), result)) {
		emit_signal(TF_NAME("organize_changed"), organize_data);
	}
	return result;
}

int64_t GameCore::get_credits() const {
	const TournamentManager *tournament_manager = manager();
	return tournament_manager ? tournament_manager->get_available_funds() : 0;
}

void GameCore::set_credits(int64_t p_credits) {
	ensure_manager()->set_available_funds(p_credits);
}

Dictionary GameCore::to_dict() const {
	Dictionary data;
	if (const TeamDatabase *team_database = database()) {
		data[TF_KEY("team_database")] = team_database->to_dict();
	}
	if (const TournamentManager *tournament_manager = manager()) {
		data[TF_KEY("tournament_manager")] = tournament_manager->to_dict();
	}
	return data;
}

void GameCore::from_dict(const Dictionary &p_data) {
	// A dictionary whose keys a script typed would make every look-up by text an engine error.
	const Dictionary data = teamforge::readable_by_text_keys(p_data);
	const CallScope scope(deferred);
	const ObjectID self(get_instance_id());
	// The database's load signals run first: a handler may free this node.
	ensure_database()->from_dict(data.get(TF_KEY("team_database"), Dictionary()).operator Dictionary());
	if (!teamforge::still_exists(self)) {
		return;
	}
	if (manager() == nullptr) {
		create_tournament_manager();
	} else {
		wire_tournament_manager();
	}
	// Looked up again: the database's signals ran in between.
	if (TournamentManager *tournament_manager = manager()) {
		tournament_manager->from_dict(data.get(TF_KEY("tournament_manager"), Dictionary()).operator Dictionary());
	}
	// The save holds no simulator state: a seeded game restarts its stream here, so the same save
	// with the same seed always plays on the same way.
	seed_simulator();
	refresh();
}

Array GameCore::get_rating_history(const String &p_team_id) const {
	const TournamentManager *tournament_manager = manager();
	return tournament_manager ? tournament_manager->get_rating_history(p_team_id) : Array();
}

Dictionary GameCore::get_tournament(int64_t p_tournament_id) const {
	const TournamentManager *tournament_manager = manager();
	return tournament_manager ? tournament_manager->get_tournament(p_tournament_id) : Dictionary();
}

Array GameCore::get_tournament_summaries() const {
	const TournamentManager *tournament_manager = manager();
	return tournament_manager ? tournament_manager->get_tournament_summaries() : Array();
}

int64_t GameCore::archive_tournaments_before(const String &p_date) {
	TournamentManager *tournament_manager = manager();
	return tournament_manager ? tournament_manager->archive_tournaments_before(p_date) : 0;
}

void GameCore::set_seed(int64_t p_seed) {
	has_game_seed = true;
	game_seed = p_seed;
	seed_simulator();
}

} // namespace godot
