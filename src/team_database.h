#pragma once

#include "common/life_token.h"
#include "team_data.h"

#include <godot_cpp/classes/node.hpp>
#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace godot {

// The world's teams and the game's current date. The team list is an engine Array shared with
// scripts: get_teams() hands out the stored array itself, and the database only ever clears it
// in place, so an array handed out earlier always stays the live list.
class TeamDatabase : public Node {
	GDCLASS(TeamDatabase, Node)

	String current_date;
	Array teams;
	// Read between signals sent in a row: a handler may free this node.
	teamforge::LifeToken life;

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
	int32_t get_team_count() const;
	Ref<TeamData> get_team_at(int32_t p_index) const;
	Ref<TeamData> get_team_by_id(const String &p_team_id) const;
	bool has_team(const String &p_team_id) const;
	void add_or_update_team(const Ref<TeamData> &p_team);
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
};

} // namespace godot
