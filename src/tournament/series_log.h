#pragma once

// The series a manager has played, kept as plain rows while it plays and handed out as columns, so a
// script gathering statistics over many seasons reads one array per value instead of a dictionary per
// series. Beside each result and where it was played, a row holds what the records do not keep: the
// ratings and stamina each side began with.

#include "common/ratings_and_stamina.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>
#include <utility>
#include <vector>

namespace teamforge {

struct SeriesLogRow {
	int32_t tournament_id = 0;
	int32_t stage_index = 0;
	godot::String stage_type;
	godot::String match_id;
	godot::String date;
	bool is_bo5 = false;
	godot::String team_a_id;
	godot::String team_b_id;
	int32_t seed_a = 0;
	int32_t seed_b = 0;
	int32_t score_a = 0;
	int32_t score_b = 0;
	RatingsAndStamina sides;
	int32_t heat = 0;
};

class SeriesLog {
public:
	void add(SeriesLogRow &&p_row) { rows.push_back(std::move(p_row)); }
	void clear() { rows.clear(); }
	// One new Array per key, all of the same length, in playing order. Keys in this order: "tournament_id",
	// "stage_index", "stage_type", "match_id", "date", "is_bo5", "team_a_id", "team_b_id", "seed_a",
	// "seed_b", "score_a", "score_b", "vrs_before_a", "vrs_before_b", "vrs_after_a", "vrs_after_b",
	// "stamina_before_a", "stamina_before_b", "stamina_after_a", "stamina_after_b", "heat".
	godot::Dictionary columns() const;

private:
	std::vector<SeriesLogRow> rows;
};

} // namespace teamforge
