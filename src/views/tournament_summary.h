#pragma once

// The light view of a tournament for lists: its identity, dates, prize pool and champion, built from
// a handful of fields so that a list of every tournament of a long career stays cheap.

#include "tournament/tournament_records.h"

#include <godot_cpp/variant/dictionary.hpp>

namespace teamforge {

// Keys in this order: "id", "name", "format_id", "tier_id", "status", "inv_date", "start_date", "prize",
// "city", "champion_id", "champion_name", "archived". The champion is the team of the first standing
// placed "1st" ("" before completion).
godot::Dictionary tournament_summary(const Tournament &p_tournament);

} // namespace teamforge
