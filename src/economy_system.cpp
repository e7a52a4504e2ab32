#include "economy_system.h"

#include "common/copy_on_write.h"
#include "common/detached_copy.h"
#include "common/plain_data.h"
#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "common/match_heat.h"
#include "common/rounding.h"
#include "common/saved_numbers.h"
#include "common/text_key_reading.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace godot {

namespace {

struct GuessOdds {
	double odds_a = 1.5;
	double odds_b = 1.5;
};

// Decimal odds from the distance of each rating to just below the lower one,
// priced against the harmonic mean of the two distances.
GuessOdds compute_guess_odds(double p_rating_a, double p_rating_b) {
	const double a_rating = std::max(p_rating_a, 1.0);
	const double b_rating = std::max(p_rating_b, 1.0);
	const double baseline = std::min(std::min(a_rating, b_rating) - 1.0, 1000.0);
	const double a = std::max(a_rating - baseline, 0.000001);
	const double b = std::max(b_rating - baseline, 0.000001);
	const double harmonic = (a + a) * b / std::max(a + b, 0.000001);

	auto price = [harmonic](double p_distance) {
		const double odds = teamforge::round_half_away((1.5 - std::log(p_distance / harmonic)) * 100.0) / 100.0;
		return std::min(std::max(odds, 1.0), 15.0);
	};
	GuessOdds odds;
	odds.odds_a = price(a);
	odds.odds_b = price(b);
	return odds;
}

int64_t team_rank(const Ref<TeamData> &p_team, const Dictionary &p_rank_map) {
	if (p_team.is_null()) {
		return teamforge::UNRANKED;
	}
	// A map whose keys a script typed for numbers is read through a plain copy, without engine errors.
	return teamforge::readable_by_text_keys(p_rank_map).get(p_team->get_id(), teamforge::UNRANKED);
}

// The stored array itself when the value is one (shared, as scripts expect),
// else a new empty array.
Array array_or_empty(const Variant &p_value) {
	if (p_value.get_type() != Variant::ARRAY) {
		return Array();
	}
	const Array array = p_value;
	return array;
}

Dictionary booked(const Dictionary &p_guess, int64_t p_funds) {
	Dictionary result;
	result[TF_KEY("ok")] = true;
	result[TF_KEY("guess")] = p_guess;
	result[TF_KEY("funds")] = p_funds;
	return result;
}

Dictionary failure(const char *p_code) {
	Dictionary result;
	result[TF_KEY("ok")] = false;
	result[TF_KEY("error")] = p_code;
	return result;
}

} // namespace

void EconomySystem::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("get_funds"), &EconomySystem::get_funds);
	ClassDB::bind_method(D_METHOD("set_funds", "funds"), &EconomySystem::set_funds);
	ClassDB::bind_method(D_METHOD("get_next_guess_id"), &EconomySystem::get_next_guess_id);
	ClassDB::bind_method(D_METHOD("set_next_guess_id", "next_guess_id"), &EconomySystem::set_next_guess_id);
	ClassDB::bind_method(D_METHOD("get_guess_history"), &EconomySystem::get_guess_history);
	ClassDB::bind_method(D_METHOD("set_guess_history", "guess_history"), &EconomySystem::set_guess_history);
	ClassDB::bind_method(D_METHOD("get_fund_ledger"), &EconomySystem::get_fund_ledger);
	ClassDB::bind_method(D_METHOD("set_fund_ledger", "fund_ledger"), &EconomySystem::set_fund_ledger);
	ClassDB::bind_method(D_METHOD("calculate_guess_ratios", "team_a", "team_b"), &EconomySystem::calculate_guess_ratios);
	ClassDB::bind_method(D_METHOD("calculate_match_heat", "team_a", "team_b", "prize", "rank_map", "round_multiplier"), &EconomySystem::calculate_match_heat, DEFVAL(1));
	ClassDB::bind_method(D_METHOD("place_guess", "tour_id", "tour_name", "stage_idx", "match_id", "match_name", "match_date", "team_a", "team_b", "pick_team_id", "amount"), &EconomySystem::place_guess);
	ClassDB::bind_method(D_METHOD("settle_prediction", "guess_id", "winner_team_id", "winner_team_name", "settle_date"), &EconomySystem::settle_prediction);
	ClassDB::bind_method(D_METHOD("to_dict"), &EconomySystem::to_dict);
	ClassDB::bind_method(D_METHOD("from_dict", "data"), &EconomySystem::from_dict);

	// Properties.
	ADD_PROPERTY(PropertyInfo(Variant::INT, "funds"), "set_funds", "get_funds");
	ADD_PROPERTY(PropertyInfo(Variant::INT, "next_guess_id"), "set_next_guess_id", "get_next_guess_id");
	ADD_PROPERTY(PropertyInfo(Variant::ARRAY, "guess_history"), "set_guess_history", "get_guess_history");
	ADD_PROPERTY(PropertyInfo(Variant::ARRAY, "fund_ledger"), "set_fund_ledger", "get_fund_ledger");

	// Signals: none, every operation reports through its result.
}

int64_t EconomySystem::get_funds() const {
	return funds;
}

void EconomySystem::set_funds(int64_t p_funds) {
	funds = p_funds;
}

int64_t EconomySystem::get_next_guess_id() const {
	return next_guess_id;
}

void EconomySystem::set_next_guess_id(int64_t p_next_guess_id) {
	next_guess_id = std::max<int64_t>(p_next_guess_id, 1);
}

Array EconomySystem::get_guess_history() const {
	return guess_history;
}

void EconomySystem::set_guess_history(const Array &p_guess_history) {
	guess_history = p_guess_history;
}

Array EconomySystem::get_fund_ledger() const {
	return fund_ledger;
}

void EconomySystem::set_fund_ledger(const Array &p_fund_ledger) {
	fund_ledger = p_fund_ledger;
}

Dictionary EconomySystem::calculate_guess_ratios(const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b) const {
	const int32_t rating_a = p_team_a.is_valid() ? p_team_a->get_vrs() : teamforge::DEFAULT_RATING;
	const int32_t rating_b = p_team_b.is_valid() ? p_team_b->get_vrs() : teamforge::DEFAULT_RATING;
	const GuessOdds odds = compute_guess_odds(rating_a, rating_b);

	Dictionary result;
	result[TF_KEY("ratio_a")] = odds.odds_a;
	result[TF_KEY("ratio_b")] = odds.odds_b;
	result[TF_KEY("team_a_id")] = p_team_a.is_valid() ? p_team_a->get_id() : String();
	result[TF_KEY("team_b_id")] = p_team_b.is_valid() ? p_team_b->get_id() : String();
	return result;
}

int32_t EconomySystem::calculate_match_heat(const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b, int32_t p_prize, const Dictionary &p_rank_map, int32_t p_round_multiplier) const {
	const int32_t rating_a = p_team_a.is_valid() ? p_team_a->get_vrs() : teamforge::DEFAULT_RATING;
	const int32_t rating_b = p_team_b.is_valid() ? p_team_b->get_vrs() : teamforge::DEFAULT_RATING;
	int32_t top_count = 0;
	if (p_team_a.is_valid() && p_team_a->has_top_name()) {
		top_count++;
	}
	if (p_team_b.is_valid() && p_team_b->has_top_name()) {
		top_count++;
	}
	return teamforge::prediction_heat(rating_a, rating_b, p_prize, team_rank(p_team_a, p_rank_map), team_rank(p_team_b, p_rank_map), top_count, p_round_multiplier);
}

Dictionary EconomySystem::place_guess(int32_t p_tour_id, const String &p_tour_name, int32_t p_stage_idx, const String &p_match_id, const String &p_match_name, const String &p_match_date, const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b, const String &p_pick_team_id, int64_t p_amount) {
	if (p_team_a.is_null() || p_team_b.is_null()) {
		return failure("ERROR_INVALID_TEAM_DATA");
	}
	const String team_a_id = p_team_a->get_id();
	const String team_b_id = p_team_b->get_id();
	if (p_pick_team_id != team_a_id && p_pick_team_id != team_b_id) {
		return failure("ERROR_INVALID_PICK_TEAM");
	}
	if (p_amount < 0) {
		return failure("ERROR_GUESS_AMOUNT_NEGATIVE");
	}
	if (p_amount > funds) {
		return failure("ERROR_INSUFFICIENT_FUNDS");
	}

	const GuessOdds odds = compute_guess_odds(p_team_a->get_vrs(), p_team_b->get_vrs());
	const bool picked_a = p_pick_team_id == team_a_id;
	const double chosen_odds = picked_a ? odds.odds_a : odds.odds_b;
	const String pick_name = picked_a ? p_team_a->get_name() : p_team_b->get_name();

	const String guess_id = String::num_int64(p_tour_id) + ":" + p_match_id + ":" + String::num_int64(next_guess_id);
	next_guess_id = teamforge::saturating_add(next_guess_id, 1);

	Dictionary guess;
	guess[TF_KEY("id")] = guess_id;
	guess[TF_KEY("status")] = TF_KEY("OPEN");
	guess[TF_KEY("tour_id")] = p_tour_id;
	guess[TF_KEY("tour_name")] = p_tour_name;
	guess[TF_KEY("stage_idx")] = p_stage_idx;
	guess[TF_KEY("match_id")] = p_match_id;
	guess[TF_KEY("match_name")] = p_match_name;
	guess[TF_KEY("match_date")] = p_match_date;
	guess[TF_KEY("team_a_id")] = team_a_id;
	guess[TF_KEY("team_a_name")] = p_team_a->get_name();
	guess[TF_KEY("team_b_id")] = team_b_id;
	guess[TF_KEY("team_b_name")] = p_team_b->get_name();
	guess[TF_KEY("pick_team_id")] = p_pick_team_id;
	guess[TF_KEY("pick_name")] = pick_name;
	guess[TF_KEY("amount")] = p_amount;
	guess[TF_KEY("chosen_odds")] = chosen_odds;
	guess[TF_KEY("odds_a")] = odds.odds_a;
	guess[TF_KEY("odds_b")] = odds.odds_b;
	guess[TF_KEY("potential_payout")] = teamforge::round_to_int64(static_cast<double>(p_amount) * chosen_odds);
	guess[TF_KEY("success")] = Variant();
	guess[TF_KEY("payout")] = 0;
	guess[TF_KEY("settle_date")] = TF_KEY("");
	guess[TF_KEY("winner_name")] = TF_KEY("");

	teamforge::ensure_writable(guess_history, Variant::DICTIONARY);
	teamforge::ensure_writable(fund_ledger, Variant::DICTIONARY);
	// 0 <= amount <= funds here, but keep the money rule in one form.
	funds = teamforge::saturating_sub(funds, p_amount);
	guess_history.insert(0, guess);

	Dictionary entry;
	entry[TF_KEY("type")] = TF_KEY("GUESS_PLACED");
	entry[TF_KEY("guess_id")] = guess_id;
	entry[TF_KEY("tour_id")] = p_tour_id;
	entry[TF_KEY("match_id")] = p_match_id;
	entry[TF_KEY("delta")] = -p_amount;
	entry[TF_KEY("balance_after")] = funds;
	entry[TF_KEY("date")] = p_match_date;
	fund_ledger.push_back(entry);

	return booked(guess, funds);
}

Dictionary EconomySystem::settle_prediction(const String &p_guess_id, const String &p_winner_team_id, const String &p_winner_team_name, const String &p_settle_date) {
	int64_t index = -1;
	Dictionary guess;
	const int64_t count = guess_history.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant &candidate = guess_history[i];
		if (candidate.get_type() != Variant::DICTIONARY) {
			continue;
		}
		// A record typed by a script for other keys is read through a plain copy.
		const Dictionary record = teamforge::readable_by_text_keys(candidate);
		const String record_id = record.get(TF_KEY("id"), TF_KEY(""));
		if (record_id == p_guess_id) {
			index = i;
			guess = record;
			break;
		}
	}
	if (index < 0) {
		return failure("ERROR_GUESS_NOT_FOUND");
	}
	const String status = guess.get(TF_KEY("status"), TF_KEY("OPEN"));
	if (status == String(TF_KEY("SETTLED"))) {
		Dictionary result = failure("ERROR_GUESS_ALREADY_SETTLED");
		result[TF_KEY("guess")] = guess;
		return result;
	}

	const String pick_team_id = guess.get(TF_KEY("pick_team_id"), TF_KEY(""));
	const bool success = pick_team_id == p_winner_team_id;
	int64_t payout = 0;
	if (success) {
		const int64_t amount = teamforge::read_saved_int64(guess.get(TF_KEY("amount"), 0));
		const double chosen_odds = guess.get(TF_KEY("chosen_odds"), 0.0);
		// Records may come from a save; an absurd stake or odds saturates
		// instead of wrapping the balance.
		payout = teamforge::round_to_int64(static_cast<double>(amount) * chosen_odds);
	}
	teamforge::ensure_writable(guess_history, Variant::DICTIONARY);
	teamforge::ensure_writable(fund_ledger, Variant::DICTIONARY);
	// A locked record could not be marked settled and would pay again; a typed one cannot hold the
	// settlement's numbers. Either is replaced in the history by a plain copy.
	teamforge::ensure_writable(guess);
	funds = teamforge::saturating_add(funds, payout);

	guess[TF_KEY("status")] = TF_KEY("SETTLED");
	guess[TF_KEY("success")] = success;
	guess[TF_KEY("payout")] = payout;
	guess[TF_KEY("settle_date")] = p_settle_date;
	guess[TF_KEY("winner_name")] = p_winner_team_name;
	guess[TF_KEY("winner_team_id")] = p_winner_team_id;
	guess_history.set(index, guess);

	Dictionary entry;
	entry[TF_KEY("type")] = TF_KEY("GUESS_SETTLED");
	entry[TF_KEY("guess_id")] = p_guess_id;
	entry[TF_KEY("delta")] = payout;
	entry[TF_KEY("balance_after")] = funds;
	entry[TF_KEY("date")] = p_settle_date;
	entry[TF_KEY("success")] = success;
	fund_ledger.push_back(entry);

	return booked(guess, funds);
}

Dictionary EconomySystem::to_dict() const {
	Dictionary data;
	data[TF_KEY("funds")] = funds;
	data[TF_KEY("next_guess_id")] = next_guess_id;
	// A save stays as it was taken: later guesses and settlements write into the live arrays.
	data[TF_KEY("guess_history")] = teamforge::detached(guess_history);
	data[TF_KEY("fund_ledger")] = teamforge::detached(fund_ledger);
	return data;
}

void EconomySystem::from_dict(const Dictionary &p_data) {
	// A dictionary whose keys a script typed would make every look-up by text an engine error.
	const Dictionary data = teamforge::readable_by_text_keys(p_data);
	funds = teamforge::read_saved_int64(data.get(TF_KEY("funds"), teamforge::STARTING_FUNDS));
	set_next_guess_id(teamforge::read_saved_int64(data.get(TF_KEY("next_guess_id"), 1)));
	// Detached, or playing on would write into the dictionary the script loaded from.
	guess_history = teamforge::detached(array_or_empty(teamforge::plain_data(data.get(TF_KEY("guess_history"), Variant()), "guess_history")));
	fund_ledger = teamforge::detached(array_or_empty(teamforge::plain_data(data.get(TF_KEY("fund_ledger"), Variant()), "fund_ledger")));
}

} // namespace godot
