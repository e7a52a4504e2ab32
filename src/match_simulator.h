#pragma once

// Plays a best-of-three or best-of-five series map by map and round by round
// from the two teams' ratings, and writes the outcome back into both teams.

#include "common/played_maps.h"
#include "common/random.h"
#include "common/ratings_and_stamina.h"
#include "team_data.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/classes/ref_counted.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string_name.hpp>

#include <cstdint>

namespace godot {

class MatchSimulator : public RefCounted {
	GDCLASS(MatchSimulator, RefCounted)

	teamforge::RandomEngine engine;
	int64_t seed = 0;
	// Never filled; kept because the property and the save format carry it.
	Array match_history;

	static const StringName &match_simulated_signal();

protected:
	static void _bind_methods();

public:
	MatchSimulator();

	void reseed();
	void set_seed(uint64_t p_seed);
	int64_t get_seed() const;
	Array pick_maps(int32_t p_count);
	Dictionary simulate_match(const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b, bool p_is_bo5 = false);

	// What the library's own matches keep of a series: all zero when a team is missing.
	struct PlayedSeries {
		int32_t score_a = 0;
		int32_t score_b = 0;
		int64_t vrs_delta_a = 0;
		int64_t vrs_delta_b = 0;
		teamforge::RatingsAndStamina sides;
		teamforge::PlayedMaps maps;
	};
	// simulate_match for the library's own use: the report is built only for the signal's handlers, when
	// there are any, and the caller gets the series as plain values.
	PlayedSeries simulate_match_privately(const Ref<TeamData> &p_team_a, const Ref<TeamData> &p_team_b, bool p_is_bo5);
	// Whether a script would see anything while a series is played: its signal is the only way in.
	bool is_watched() const { return has_connections(match_simulated_signal()); }
	Array get_match_history() const;
	void set_match_history(const Array &p_match_history);
	void clear_match_history();
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
};

} // namespace godot
