#pragma once

// The player's funds and match predictions: odds from the two ratings, stakes
// booked at once, settlement against the known winner, a ledger of every
// change of funds, and the heat figure of a match.

#include "common/game_rules.h"
#include "team_data.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>

namespace godot {

class EconomySystem : public RefCounted {
	GDCLASS(EconomySystem, RefCounted)

	int64_t funds = teamforge::STARTING_FUNDS;
	int64_t next_guess_id = 1;
	// Newest first; shared with scripts, which read and replace it directly.
	Array guess_history;
	// Oldest first; shared like the history.
	Array fund_ledger;

protected:
	static void _bind_methods();

public:
	int64_t get_funds() const;
	void set_funds(int64_t p_funds);
	int64_t get_next_guess_id() const;
	void set_next_guess_id(int64_t p_next_guess_id);
	Array get_guess_history() const;
	void set_guess_history(const Array &p_guess_history);
	Array get_fund_ledger() const;
	void set_fund_ledger(const Array &p_fund_ledger);
	Dictionary calculate_guess_ratios(const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b) const;
	int32_t calculate_match_heat(const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b, int32_t p_prize, const Dictionary &p_rank_map, int32_t p_round_multiplier = 1) const;
	Dictionary place_guess(int32_t p_tour_id, const String &p_tour_name, int32_t p_stage_idx, const String &p_match_id, const String &p_match_name, const String &p_match_date, const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b, const String &p_pick_team_id, int64_t p_amount);
	Dictionary settle_prediction(const String &p_guess_id, const String &p_winner_team_id, const String &p_winner_team_name, const String &p_settle_date);
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
};

} // namespace godot
