#pragma once

// A tournament read from a save or set by a script may hold positions that lead nowhere: a stage index
// outside its stages, a Swiss round outside the five, a rest longer than its tier gives, or dates the
// calendar never reaches. Played as they are, these leave the tournament waiting for ever (or replay
// what was played), so they are put right once, when the record is loaded. Links to missing nodes need
// nothing: the bracket passes them by and still comes to its end.

#include "tournament/tournament_records.h"

namespace teamforge {

// Leaves completed tournaments and everything already sound untouched, so a save the library wrote
// loads back unchanged.
void repair_loaded_tournament(Tournament &r_tournament);

} // namespace teamforge
