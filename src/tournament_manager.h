#pragma once

// The node through which the game runs its tournaments: creation from the catalog, the day driver, and
// the save format. The work lives in src/tournament/; this class holds the state and translates at the
// engine boundary.

#include "common/game_rules.h"
#include "common/object_argument.h"
#include "match_simulator.h"
#include "team_database.h"
#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/classes/node.hpp>
#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/core/object_id.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace godot {

class TournamentManager : public Node, public teamforge::TournamentHost {
	GDCLASS(TournamentManager, Node)

	// Held by instance id, so a database freed behind the manager's back reads as none.
	uint64_t team_database_id = 0;
	Ref<MatchSimulator> match_simulator;
	teamforge::TournamentList tournaments;
	int32_t next_tournament_id = 1;
	int64_t available_funds = teamforge::STARTING_FUNDS;
	Dictionary major_slots;
	Dictionary epl_counters;
	String last_create_error;
	// Not saved: a statistics script turns it on for the seasons it reads.
	bool series_log_enabled = false;
	teamforge::SeriesLog played_series;

	// Counts replacements of the records or the database, so a day in progress notices a signal
	// handler that replaced them.
	uint64_t state_generation = 0;
	uint64_t day_generation = 0;
	bool day_running = false;

protected:
	static void _bind_methods();

public:
	TournamentManager();
	~TournamentManager() override;

	void set_team_database(teamforge::ObjectArgument<Node> p_team_database_node);
	Node *get_team_database() const;
	void set_match_simulator(const Ref<MatchSimulator> &p_match_simulator);
	Ref<MatchSimulator> get_match_simulator() const;
	bool create_tournament(const String &p_format_id, const String &p_tier_id, const String &p_inv_date,
			const String &p_city = String());
	bool advance_day();
	Array get_tournaments() const;
	void set_tournaments(const Array &p_tournaments);
	int64_t get_available_funds() const;
	void set_available_funds(int64_t p_available_funds);
	Dictionary get_major_slots() const;
	void set_major_slots(const Dictionary &p_major_slots);
	Dictionary get_match_log() const;
	void set_match_log(const Dictionary &p_match_log);
	String get_last_create_error() const;
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
	// Beyond the saved surface: a team's rating series by series, for charts and statistics.
	Array get_rating_history(const String &p_team_id) const;
	// Beyond the core surface: light queries for long careers, and archiving.
	Dictionary get_tournament(int64_t p_tournament_id) const;
	Array get_tournament_summaries() const;
	int64_t archive_tournaments_before(const String &p_date);
	// Beyond the core surface: every series played while the log is on, as columns for statistics.
	void set_series_log_enabled(bool p_enabled);
	bool is_series_log_enabled() const;
	Dictionary get_series_log() const;
	void clear_series_log();

	// teamforge::TournamentHost
	TeamDatabase *database() const override;
	Ref<MatchSimulator> simulator() override;
	teamforge::SeriesLog *series_log() override;
	int64_t funds() const override;
	void set_funds(int64_t p_funds) override;
	Dictionary quota_map() const override;
	void set_quota_map(const Dictionary &p_quotas) override;
	bool has_achievement_listeners() const override;
	bool emit_achievement_event(const Dictionary &p_event) override;
	bool emit_tournament_completed(int32_t p_tournament_id) override;
	bool emit_tournament_updated(int32_t p_tournament_id) override;
	ObjectID host_id() const override;
	bool day_goes_on() const override;
};

} // namespace godot
