#pragma once

#include "team_data.h"

#include <godot_cpp/classes/node.hpp>
#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/core/object_id.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace godot {

// The world's teams and the game's current date. The team list is an engine Array shared with
// scripts: get_teams() hands out the stored array itself, and the database only ever clears it
// in place, so an array handed out earlier always stays the live list.
class TeamDatabase : public Node {
	GDCLASS(TeamDatabase, Node)

	String current_date;
	Array teams;
	// What each element of teams resolved to, by position, remembered by the instance id it held. The
	// list holds a reference to each record in it, so an element that still holds the same id still
	// holds the same live record.
	struct ResolvedTeam {
		ObjectID id;
		TeamData *team = nullptr;
	};
	mutable std::vector<ResolvedTeam> resolved_teams;
	mutable std::vector<TeamData *> live_teams;
	// The first record of each id, for the records it was built from while every id kept its value.
	mutable std::unordered_map<std::string, TeamData *> teams_by_id;
	mutable std::vector<TeamData *> indexed_teams;
	mutable uint64_t indexed_generation = 0;
	mutable bool indexed = false;

	// Replaces a list a script has frozen by a plain copy before the list changes.
	void teams_writable();
	// current_date_changed, teams_rebuilt and database_reset, in the order listeners rely on.
	void emit_reset_signals();

protected:
	static void _bind_methods();

public:
	TeamDatabase();

	void initialize_defaults();
	void clear_database();
	String get_current_date() const;
	void set_current_date(const String &p_current_date);
	Array get_teams() const;
	void set_teams(const Array &p_teams);
	// The TeamData records of the list as it stands, in order, anything else skipped: what the
	// tournaments read teams through. Valid until the next change of the list.
	const std::vector<TeamData *> &team_records() const;
	// The first of p_records (as team_records() gave them, the list unchanged since) with this id; null for
	// "" and for an id none has.
	TeamData *find_team_record(const std::vector<TeamData *> &p_records, const String &p_id) const;
	int32_t get_team_count() const;
	Ref<TeamData> get_team_at(int32_t p_index) const;
	Ref<TeamData> get_team_by_id(const String &p_team_id) const;
	bool has_team(const String &p_team_id) const;
	void add_or_update_team(const Ref<TeamData> &p_team);
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
};

} // namespace godot
