#include "match_simulator.h"

#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "common/played_maps.h"
#include "common/rounding.h"
#include "common/saved_numbers.h"
#include "common/text_key_reading.h"
#include "data/map_pool.h"

#include <godot_cpp/core/class_db.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/string_name.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace godot {

namespace {

constexpr int32_t REGULATION_WIN = 13;
constexpr int32_t REGULATION_TIE = 12;
constexpr int32_t MAX_MAP_ROUNDS = 96;

std::vector<size_t> draw_map_indices(teamforge::RandomEngine &r_engine, int32_t p_count) {
	std::vector<size_t> picked;
	if (p_count < 1) {
		return picked;
	}
	const size_t wanted = std::min(static_cast<size_t>(p_count), teamforge::MAP_POOL_SIZE);
	std::vector<size_t> pool;
	for (size_t i = 0; i < teamforge::MAP_POOL_SIZE; i++) {
		pool.push_back(i);
	}
	for (size_t draw = 0; draw < wanted; draw++) {
		int64_t total = 0;
		for (const size_t index : pool) {
			total += teamforge::MAP_POOL[index].weight;
		}
		if (total < 1) {
			break;
		}
		const int64_t roll = r_engine.uniform_int(1, total);
		int64_t running = 0;
		for (size_t k = 0; k < pool.size(); k++) {
			running += teamforge::MAP_POOL[pool[k]].weight;
			if (running >= roll) {
				picked.push_back(pool[k]);
				pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(k));
				break;
			}
		}
	}
	return picked;
}

void play_round(teamforge::RandomEngine &r_engine, double p_probability, teamforge::PlayedMap &r_map) {
	const double roll = r_engine.uniform_real();
	if (p_probability > roll) {
		r_map.score_a++;
		r_map.rounds.push_back('A');
	} else {
		r_map.score_b++;
		r_map.rounds.push_back('B');
	}
}

// First to 13; from 12-12 six-round overtimes won at 16, 19, 22, ... A map
// still level after the round cap gets one deciding round.
teamforge::PlayedMap play_map(teamforge::RandomEngine &r_engine, double p_probability, size_t p_map_index) {
	double p = std::isfinite(p_probability) ? p_probability : 0.5;
	p = std::min(std::max(p, 0.01), 0.99);

	teamforge::PlayedMap map;
	map.map_index = p_map_index;
	bool in_overtime = false;
	while (static_cast<int32_t>(map.rounds.size()) < MAX_MAP_ROUNDS) {
		if (!in_overtime) {
			if (map.score_a == REGULATION_TIE && map.score_b == REGULATION_TIE) {
				in_overtime = true;
				map.overtime_count = 1;
			} else if (map.score_a >= REGULATION_WIN || map.score_b >= REGULATION_WIN) {
				return map;
			}
		} else {
			const int32_t tie = (map.overtime_count + 4) * 3;
			if (map.score_a == tie && map.score_b == tie) {
				map.overtime_count++;
				continue;
			}
			if ((map.score_a > tie || map.score_b > tie) && map.score_a != map.score_b) {
				return map;
			}
		}
		play_round(r_engine, p, map);
	}
	if (map.score_a == map.score_b) {
		play_round(r_engine, p, map);
	}
	return map;
}

// Elo step with factor 40 on the 400-point scale plus a pull of half a point
// per hundred towards 1400. Ratings come from scripts, so work in double.
int64_t rating_change(int32_t p_own, int32_t p_opponent, bool p_won) {
	const double exponent = (static_cast<double>(p_opponent) - static_cast<double>(p_own)) / 400.0;
	const double expected = 1.0 / (std::pow(10.0, exponent) + 1.0);
	const double change = (1400.0 - static_cast<double>(p_own)) * 0.005 + ((p_won ? 1.0 : 0.0) - expected) * 40.0;
	return teamforge::round_to_int64(change);
}

int32_t clamped_int32(int64_t p_value, int64_t p_min, int64_t p_max) {
	return static_cast<int32_t>(teamforge::clamp_int64(p_value, p_min, p_max));
}

// A played series as plain values; the teams are the caller's and outlive it.
struct SeriesOutcome {
	const TeamData *team_a = nullptr;
	const TeamData *team_b = nullptr;
	bool is_bo5 = false;
	double probability = 0.5;
	teamforge::PlayedMaps maps;
	int32_t maps_a = 0;
	int32_t maps_b = 0;
	int32_t vrs_a = 0;
	int32_t vrs_b = 0;
	int32_t vrs_after_a = 0;
	int32_t vrs_after_b = 0;
	int64_t delta_a = 0;
	int64_t delta_b = 0;
	int32_t stamina_before_a = 0;
	int32_t stamina_before_b = 0;
	int32_t stamina_after_a = 0;
	int32_t stamina_after_b = 0;
	int64_t drop_a = 0;
	int64_t drop_b = 0;
};

// Plays the series and writes its outcome into both teams.
SeriesOutcome play_series(teamforge::RandomEngine &r_engine, TeamData &r_team_a, TeamData &r_team_b, bool p_is_bo5) {
	SeriesOutcome outcome;
	outcome.team_a = &r_team_a;
	outcome.team_b = &r_team_b;
	outcome.is_bo5 = p_is_bo5;
	outcome.vrs_a = r_team_a.get_vrs();
	outcome.vrs_b = r_team_b.get_vrs();
	const int64_t total = static_cast<int64_t>(outcome.vrs_a) + static_cast<int64_t>(outcome.vrs_b);
	outcome.probability = total > 0 ? static_cast<double>(outcome.vrs_a) / static_cast<double>(total) : 0.5;

	// Every map of the series is drawn before the first one is played.
	const std::vector<size_t> maps = draw_map_indices(r_engine, p_is_bo5 ? 5 : 3);
	const int32_t needed = p_is_bo5 ? 3 : 2;
	for (const size_t map_index : maps) {
		outcome.maps.push_back(play_map(r_engine, outcome.probability, map_index));
		if (outcome.maps.back().score_a > outcome.maps.back().score_b) {
			outcome.maps_a++;
		} else {
			outcome.maps_b++;
		}
		if (outcome.maps_a == needed || outcome.maps_b == needed) {
			break;
		}
	}
	const bool a_won = outcome.maps_a > outcome.maps_b;

	const int64_t drop_low = p_is_bo5 ? 10 : 5;
	const int64_t drop_high = p_is_bo5 ? 20 : 10;
	outcome.stamina_before_a = r_team_a.get_stamina();
	outcome.stamina_before_b = r_team_b.get_stamina();
	outcome.drop_a = r_engine.uniform_int(drop_low, drop_high);
	outcome.drop_b = r_engine.uniform_int(drop_low, drop_high);
	outcome.stamina_after_a = clamped_int32(static_cast<int64_t>(r_team_a.get_stamina()) - outcome.drop_a, teamforge::STAMINA_MIN, teamforge::STAMINA_MAX);
	r_team_a.set_stamina(outcome.stamina_after_a);
	outcome.stamina_after_b = clamped_int32(static_cast<int64_t>(r_team_b.get_stamina()) - outcome.drop_b, teamforge::STAMINA_MIN, teamforge::STAMINA_MAX);
	r_team_b.set_stamina(outcome.stamina_after_b);

	outcome.delta_a = rating_change(outcome.vrs_a, outcome.vrs_b, a_won);
	outcome.delta_b = rating_change(outcome.vrs_b, outcome.vrs_a, !a_won);
	outcome.vrs_after_a = clamped_int32(teamforge::saturating_add(outcome.vrs_a, outcome.delta_a), teamforge::RATING_MIN, teamforge::RATING_MAX);
	r_team_a.set_vrs(outcome.vrs_after_a);
	outcome.vrs_after_b = clamped_int32(teamforge::saturating_add(outcome.vrs_b, outcome.delta_b), teamforge::RATING_MIN, teamforge::RATING_MAX);
	r_team_b.set_vrs(outcome.vrs_after_b);

	// Records saturate rather than wrap when a script has set them to the limit.
	if (a_won) {
		r_team_a.set_wins(teamforge::saturate_to_int32(static_cast<int64_t>(r_team_a.get_wins()) + 1));
		r_team_b.set_losses(teamforge::saturate_to_int32(static_cast<int64_t>(r_team_b.get_losses()) + 1));
	} else {
		r_team_a.set_losses(teamforge::saturate_to_int32(static_cast<int64_t>(r_team_a.get_losses()) + 1));
		r_team_b.set_wins(teamforge::saturate_to_int32(static_cast<int64_t>(r_team_b.get_wins()) + 1));
	}
	return outcome;
}

Dictionary build_report(const SeriesOutcome &p_outcome) {
	const TeamData &team_a = *p_outcome.team_a;
	const TeamData &team_b = *p_outcome.team_b;
	const bool a_won = p_outcome.maps_a > p_outcome.maps_b;
	const TeamData &winner = a_won ? team_a : team_b;
	const TeamData &loser = a_won ? team_b : team_a;

	Dictionary report;
	report[TF_KEY("team_a_id")] = team_a.get_id();
	report[TF_KEY("team_a_name")] = team_a.get_name();
	report[TF_KEY("team_b_id")] = team_b.get_id();
	report[TF_KEY("team_b_name")] = team_b.get_name();
	report[TF_KEY("winner_id")] = winner.get_id();
	report[TF_KEY("winner_name")] = winner.get_name();
	report[TF_KEY("loser_id")] = loser.get_id();
	report[TF_KEY("loser_name")] = loser.get_name();
	report[TF_KEY("score_a")] = p_outcome.maps_a;
	report[TF_KEY("score_b")] = p_outcome.maps_b;
	report[TF_KEY("is_bo5")] = p_outcome.is_bo5;
	report[TF_KEY("probability_a")] = p_outcome.probability;
	report[TF_KEY("probability_b")] = 1.0 - p_outcome.probability;
	report[TF_KEY("map_reports")] = teamforge::map_reports(p_outcome.maps, teamforge::RoundHistories::SHARED);
	report[TF_KEY("vrs_before_a")] = p_outcome.vrs_a;
	report[TF_KEY("vrs_before_b")] = p_outcome.vrs_b;
	report[TF_KEY("vrs_after_a")] = p_outcome.vrs_after_a;
	report[TF_KEY("vrs_after_b")] = p_outcome.vrs_after_b;
	report[TF_KEY("vrs_delta_a")] = p_outcome.delta_a;
	report[TF_KEY("vrs_delta_b")] = p_outcome.delta_b;
	report[TF_KEY("stamina_before_a")] = clamped_int32(p_outcome.stamina_after_a + p_outcome.drop_a, teamforge::STAMINA_MIN, teamforge::STAMINA_MAX);
	report[TF_KEY("stamina_before_b")] = clamped_int32(p_outcome.stamina_after_b + p_outcome.drop_b, teamforge::STAMINA_MIN, teamforge::STAMINA_MAX);
	report[TF_KEY("stamina_after_a")] = p_outcome.stamina_after_a;
	report[TF_KEY("stamina_after_b")] = p_outcome.stamina_after_b;
	report[TF_KEY("stamina_drop_a")] = p_outcome.drop_a;
	report[TF_KEY("stamina_drop_b")] = p_outcome.drop_b;
	report[TF_KEY("change")] = p_outcome.delta_a < 0 ? -p_outcome.delta_a : p_outcome.delta_a;
	return report;
}

Dictionary invalid_team_report() {
	Dictionary error;
	error[TF_KEY("error")] = "ERROR_INVALID_TEAM_DATA";
	return error;
}

} // namespace

void MatchSimulator::_bind_methods() {
	// Methods.
	ClassDB::bind_method(D_METHOD("reseed"), &MatchSimulator::reseed);
	ClassDB::bind_method(D_METHOD("set_seed", "seed"), &MatchSimulator::set_seed);
	ClassDB::bind_method(D_METHOD("get_seed"), &MatchSimulator::get_seed);
	ClassDB::bind_method(D_METHOD("pick_maps", "count"), &MatchSimulator::pick_maps);
	ClassDB::bind_method(D_METHOD("simulate_match", "team_a", "team_b", "is_bo5"), &MatchSimulator::simulate_match, DEFVAL(false));
	ClassDB::bind_method(D_METHOD("get_match_history"), &MatchSimulator::get_match_history);
	ClassDB::bind_method(D_METHOD("set_match_history", "match_history"), &MatchSimulator::set_match_history);
	ClassDB::bind_method(D_METHOD("clear_match_history"), &MatchSimulator::clear_match_history);
	ClassDB::bind_method(D_METHOD("to_dict"), &MatchSimulator::to_dict);
	ClassDB::bind_method(D_METHOD("from_dict", "data"), &MatchSimulator::from_dict);

	// Properties.
	ADD_PROPERTY(PropertyInfo(Variant::INT, "seed"), "set_seed", "get_seed");
	ADD_PROPERTY(PropertyInfo(Variant::ARRAY, "match_history"), "set_match_history", "get_match_history");

	// Signals.
	ADD_SIGNAL(MethodInfo("match_simulated", PropertyInfo(Variant::DICTIONARY, "report")));
}

MatchSimulator::MatchSimulator() {
	reseed();
}

void MatchSimulator::reseed() {
	uint32_t r1 = 0;
	uint32_t r2 = 0;
#if defined(__cpp_exceptions) || defined(__EXCEPTIONS)
	// A platform without an entropy source still gets a seed from the clocks.
	try {
		std::random_device device;
		r1 = device();
		r2 = device();
	} catch (...) {
		r1 = 0;
		r2 = 0;
	}
#else
	std::random_device device;
	r1 = device();
	r2 = device();
#endif
	const uint64_t clock = static_cast<uint64_t>(
			std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
	const uint64_t wall = static_cast<uint64_t>(
			std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
	const uint64_t address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(this));

	const uint64_t mixed = (((wall << 16) ^ address) << 1) ^ clock ^ r2 ^ (static_cast<uint64_t>(r1) << 32);
	seed = static_cast<int64_t>(mixed);

	const uint32_t words[5] = {
		static_cast<uint32_t>(mixed),
		static_cast<uint32_t>(mixed >> 32),
		static_cast<uint32_t>(clock),
		static_cast<uint32_t>(clock >> 32),
		static_cast<uint32_t>(address),
	};
	engine.seed_words(words, 5);
}

void MatchSimulator::set_seed(uint64_t p_seed) {
	seed = static_cast<int64_t>(p_seed);
	engine.seed(static_cast<uint32_t>(p_seed));
}

int64_t MatchSimulator::get_seed() const {
	return seed;
}

Array MatchSimulator::pick_maps(int32_t p_count) {
	Array names;
	for (const size_t index : draw_map_indices(engine, p_count)) {
		names.push_back(teamforge::map_name(index));
	}
	return names;
}

Dictionary MatchSimulator::simulate_match(const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b, bool p_is_bo5) {
	if (p_team_a.is_null() || p_team_b.is_null()) {
		return invalid_team_report();
	}
	const SeriesOutcome outcome = play_series(engine, *p_team_a.ptr(), *p_team_b.ptr(), p_is_bo5);
	const Dictionary report = build_report(outcome);
	// Nothing of this object is touched after the signal: a handler may
	// reseed it, play again or drop the last reference to it.
	emit_signal(match_simulated_signal(), report);
	return report;
}

MatchSimulator::PlayedSeries MatchSimulator::simulate_match_privately(const Ref<TeamData> &p_team_a,
		const Ref<TeamData> &p_team_b, bool p_is_bo5) {
	PlayedSeries played;
	if (p_team_a.is_null() || p_team_b.is_null()) {
		return played;
	}
	const SeriesOutcome outcome = play_series(engine, *p_team_a.ptr(), *p_team_b.ptr(), p_is_bo5);
	played.score_a = outcome.maps_a;
	played.score_b = outcome.maps_b;
	played.vrs_delta_a = outcome.delta_a;
	played.vrs_delta_b = outcome.delta_b;
	played.sides = { outcome.vrs_a, outcome.vrs_b, outcome.vrs_after_a, outcome.vrs_after_b, outcome.stamina_before_a,
		outcome.stamina_before_b, outcome.stamina_after_a, outcome.stamina_after_b };
	played.maps = outcome.maps;
	// The report is only built for handlers.
	if (has_connections(match_simulated_signal())) {
		emit_signal(match_simulated_signal(), build_report(outcome));
	}
	return played;
}

const StringName &MatchSimulator::match_simulated_signal() {
	return TF_NAME("match_simulated");
}

Array MatchSimulator::get_match_history() const {
	return Array();
}

void MatchSimulator::set_match_history([[maybe_unused]] const Array &p_match_history) {
	match_history.clear();
}

void MatchSimulator::clear_match_history() {
	match_history.clear();
}

Dictionary MatchSimulator::to_dict() const {
	Dictionary data;
	data[TF_KEY("seed")] = seed;
	data[TF_KEY("match_history")] = Array();
	return data;
}

void MatchSimulator::from_dict(const Dictionary &p_data) {
	// A dictionary whose keys a script typed would make every look-up by text an engine error.
	const Dictionary data = teamforge::readable_by_text_keys(p_data);
	const int64_t saved_seed = teamforge::read_saved_int64(data.get(TF_KEY("seed"), 0));
	if (saved_seed != 0) {
		set_seed(static_cast<uint64_t>(saved_seed));
	} else {
		reseed();
	}
	match_history.clear();
}

} // namespace godot
