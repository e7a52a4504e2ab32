#pragma once

// The daily step of the tournament manager: the calendar moves on one day, tournaments are invited,
// started and played in creation order, and every team recovers a little stamina.

#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/variant/string.hpp>

namespace teamforge {

struct DayOutcome {
	// The date the day moved to.
	godot::String date;
	// False when a signal handler stopped the day (see TournamentHost::day_goes_on): the remaining
	// work was dropped, including the stamina recovery.
	bool completed = false;
};

// Runs one day over p_tournaments, the manager's list as it stood when the day began: a handler
// that replaces the manager's list cannot free the records in use. Needs a team database.
DayOutcome run_tournament_day(TournamentHost &p_host, const TournamentList &p_tournaments);

} // namespace teamforge
