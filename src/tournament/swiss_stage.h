#pragma once

// The Swiss engine: five rounds of best-of-three matches in which teams meet others with the same
// record, through at three wins and out at three losses. Built in advance with dated rounds, paired
// round by round with the seeded shuffle, closed with final groups, placements and qualifiers.

#include "tournament/tournament_host.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace teamforge {

constexpr int32_t SWISS_ROUNDS = 5;

// The name of a Swiss round's nodes: "Round " and the round number from 1.
godot::String swiss_round_name(int64_t p_round);

TournamentStage build_swiss_stage(const godot::String &p_name, int32_t p_team_count, int32_t p_first_match,
		const godot::String &p_start_date);
// A copy of p_entries in seeded random order; moves the simulator's seed on, even for an empty list.
godot::Array shuffle_entries(TournamentHost &p_host, const godot::Array &p_entries);
void seed_swiss_stage(TournamentHost &p_host, TournamentStage &r_stage, const godot::Array &p_seed_list);

// Where each team's records sit in a stage's record list, read once instead of for every match. Valid
// while only update_swiss_records changes the list, which keeps every record in its place with its team;
// seeding the stage drops it.
class SwissRecordIndex {
public:
	// The positions of the records of the team with this id (not ""), in list order.
	const std::vector<int64_t> &positions_of(const TournamentStage &p_stage, const godot::String &p_id);

private:
	bool built = false;
	std::unordered_map<std::string, std::vector<int64_t>> positions;
};

// Counts a played node into both teams' records (every record of each team), found through the stage's
// record index, which this makes when the stage has none.
void update_swiss_records(TournamentStage &r_stage, const MatchNode &p_node);
// End of a play day: pairs the next round once the current one is over. False once a handler of its
// event stopped the day.
[[nodiscard]] bool advance_swiss_round(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage);
// Finished when every record has three wins or three losses (a stage without records at once), or when
// the last round has nothing left to play: a short or over-full field cannot stall the tournament.
bool swiss_stage_finished(const TournamentStage &p_stage);
// Final groups, the "swiss_stage_completed" event, placements of the eliminated teams and the qualifiers.
// When a handler of the event stops the day, placements and advanced_pool are left untouched and the
// answer is false.
[[nodiscard]] bool close_swiss_stage(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage);

} // namespace teamforge
