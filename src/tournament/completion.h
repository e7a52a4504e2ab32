#pragma once

// The end of a tournament: final standings from the placements, the prize split by placement
// weight, honours, the next Major's quotas, stamina recovery, the organiser's heat and the signals.

#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

namespace teamforge {

// False once a handler of its signals stopped the day.
[[nodiscard]] bool complete_tournament(TournamentHost &p_host, Tournament &r_tournament);

// The payout after the announcement: prizes, honours, stamina (drawn from the tournament's payout seed),
// the organiser's heat and the tournament_completed signal. Run by completion itself, and by the day
// driver for a loaded tournament whose save was made between the announcement and the payout.
[[nodiscard]] bool pay_out_completion(TournamentHost &p_host, Tournament &r_tournament);

} // namespace teamforge
