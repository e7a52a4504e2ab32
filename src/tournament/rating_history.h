#pragma once

// A team's rating match by match, read back from the played nodes of the tournaments: charts and
// statistics need it, and a script could only rebuild it by walking every node of every tournament.

#include "tournament/tournament_records.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/string.hpp>

namespace teamforge {

// One dictionary per series the team played, oldest first (forfeits and walkovers are no series and
// change no rating). A new array that shares nothing with the records.
godot::Array rating_history(const TournamentList &p_tournaments, const godot::String &p_team_id);

} // namespace teamforge
