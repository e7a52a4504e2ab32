#pragma once

// Test-build-only host for the stage engines: one tournament record, a real MatchSimulator and a real
// TeamDatabase, so a script can build, seed, score and close stages step by step and watch the events.

#include "match_simulator.h"
#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>

namespace godot {

class TeamforgeTournamentProbe : public RefCounted, public teamforge::TournamentHost {
	GDCLASS(TeamforgeTournamentProbe, RefCounted)

	teamforge::Tournament tournament;
	// Held as a Variant, which resolves to null once the node is freed.
	Variant team_database;
	Ref<MatchSimulator> match_simulator;
	bool interrupted = false;

	teamforge::TournamentStage *stage_at(int64_t p_index);
	int64_t add_stage(const teamforge::TournamentStage &p_stage);

protected:
	static void _bind_methods();

public:
	TeamforgeTournamentProbe();

	void set_database(const Variant &p_database);
	Ref<MatchSimulator> get_simulator() const;
	void set_tournament(const Dictionary &p_fields);
	Dictionary get_tournament() const;
	void set_current_stage(int32_t p_index);
	void interrupt();

	int64_t build_swiss(const String &p_name, int32_t p_team_count, int32_t p_first_match, const String &p_start_date);
	int64_t build_single_elim(const String &p_name, int32_t p_team_count, bool p_best_of_five, int32_t p_first_match,
			const String &p_start_date);
	int64_t build_blast(const String &p_name, bool p_best_of_five, int32_t p_first_match, const String &p_start_date);
	int64_t build_groups(int32_t p_first_match, const String &p_start_date);
	Dictionary get_stage(int64_t p_index) const;
	// Replaces a stage with one loaded from a save dictionary, as a restored game would hold it.
	void set_stage(int64_t p_index, const Dictionary &p_stage);

	Array shuffle(const Array &p_entries);
	void seed_stage(int64_t p_index, const Array &p_seed_list, bool p_first_stage);
	// Writes a result into a node (scores, status, winner and loser), then updates the Swiss records or
	// moves both teams along the node's links.
	bool score_node(int64_t p_index, const String &p_node_id, int32_t p_score_a, int32_t p_score_b);
	void advance_swiss(int64_t p_index);
	bool swiss_finished(int64_t p_index) const;
	void close_swiss(int64_t p_index);
	Array group_qualifiers(int64_t p_index) const;

	int32_t match_heat(const Dictionary &p_team_a, const Dictionary &p_team_b, int32_t p_prize, int32_t p_round_factor) const;
	int32_t round_heat_factor(const String &p_match_name) const;
	double placement_weight(const String &p_label) const;
	void record_placement(const Dictionary &p_entry, const String &p_label);
	void emit_event(const String &p_type, const Dictionary &p_context);

	// teamforge::TournamentHost
	TeamDatabase *database() const override;
	Ref<MatchSimulator> simulator() override;
	// The engines are probed without a series log.
	teamforge::SeriesLog *series_log() override { return nullptr; }
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
