#pragma once

// Invitations: on its invitation date a tournament picks its field from the database by rating (after
// the tier's rank offset) and, for a Major, by regional quotas; each team accepts or declines by a
// seeded draw against its stamina; the field is seeded and the first stage set up.

#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

namespace teamforge {

// Leaves the tournament "WAITING" with its participants, ratings at invitation and seeded first
// stage. Does nothing without a team database.
void send_invitations(TournamentHost &p_host, Tournament &r_tournament);

} // namespace teamforge
