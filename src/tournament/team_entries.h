#pragma once

// Team entries: the dictionary snapshots of teams that tournaments keep (participants, node sides,
// placements, standings), and a roster of the database's teams for quick look-ups while no script runs.

#include "common/copy_on_write.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace godot {
class TeamData;
class TeamDatabase;
} // namespace godot

namespace teamforge {

// A new entry holding the team's values of this moment. The honours are a copy, so honours won
// later never rewrite a snapshot taken before.
godot::Dictionary make_team_entry(const godot::TeamData &p_team);
// A new entry with every key of p_entry in its order, the team's own keys taken afresh from p_team.
godot::Dictionary refresh_team_entry(const godot::Dictionary &p_entry, const godot::TeamData &p_team);
// refresh_team_entry in place, for an entry that nothing else holds (one refresh_team_entry made).
void refresh_own_team_entry(godot::Dictionary &r_entry, const godot::TeamData &p_team);

// The "id" of a team entry, "" when there is none (or the value is no dictionary).
godot::String entry_id(const godot::Variant &p_entry);

// The database's teams as they stand, in list order. Holds plain pointers: valid only until the next
// signal, since a handler may change the list or free the database.
class TeamRoster {
public:
	// Empty for a null database.
	explicit TeamRoster(const godot::TeamDatabase *p_database);

	const std::vector<godot::TeamData *> &teams() const { return list; }
	// The first team of the list with this id, or null (also for "").
	godot::TeamData *find(const godot::String &p_id) const;
	godot::TeamData *find_entry(const godot::Dictionary &p_entry) const;
	// Position in the rating order, best first from 1, teams of equal rating in list order; UNRANKED for a
	// team not in the list.
	int64_t rank_of(const godot::TeamData *p_team) const;
	// The team's rating now, else the entry's "vrs" (DEFAULT_RATING when missing).
	int64_t live_rating(const godot::Dictionary &p_entry) const;
	// The team's stamina now, else the entry's "stamina" (STAMINA_MAX when missing).
	int64_t live_stamina(const godot::Dictionary &p_entry) const;

private:
	const godot::TeamDatabase *database = nullptr;
	std::vector<godot::TeamData *> list;
};

} // namespace teamforge
