#pragma once

// The two read-only views of a game for the user interface: the leaderboard (every team ranked, with an
// optional region filter and a prize-money order) and the organize screen (what the player may create,
// the default invitation date, the funds and the tournament list).

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

namespace godot {
class TeamDatabase;
class TournamentManager;
} // namespace godot

namespace teamforge {

// "europe " and "Europe" read as "EU"; texts that name no known region keep their trimmed upper case.
godot::String normalize_region(const godot::String &p_region);

godot::Dictionary leaderboard_view(const godot::TeamDatabase *p_database, const godot::String &p_region_filter,
		const godot::String &p_sort_mode);
godot::Dictionary organize_view(const godot::TeamDatabase *p_database, const godot::TournamentManager *p_manager);

} // namespace teamforge
